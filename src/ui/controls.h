#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "data/textlist.h"
#include "ui/host.h"

namespace tervano::ui {

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

// What the system reads back from one named control. The view draws it; the logic only ever
// reads and writes this.
struct Control {
  bool enabled = true;
  bool visible = true;
  bool checked = false;
  std::string text;  // caption, one-line text or the text of an editable list box
  TextList lines;    // lines of a text area, or the items of a list
  // The picture of each item of a list view, by index into the view's pictures; -1 for none.
  // Empty for every other control.
  std::vector<int> icons;
  int value = 0;
  int minimum = 0;
  int maximum = 100;
  Rect geometry;      // only for controls whose position the logic changes
  int fontSize = 0;   // 0: the view's default
  std::string color;  // "" for the view's default; otherwise a colour name ("red", "lime" ...)
  bool underline = false;
  Cursor cursor = Cursor::Normal;
  std::uint64_t revision = 0;
};

struct Timer {
  int intervalMs = 0;
  bool running = false;
  // Counts the starts, so a view restarts its countdown after a stop and a start in one command.
  std::uint64_t generation = 0;
  // Its only work is to mirror state on screen: the application does that work after every
  // command instead, so the view never wakes up for it.
  bool onChange = false;
};

// The model of every named control and timer. Setters record a revision only on a real change,
// so the view can redraw just what changed.
class Controls {
 public:
  // Declares a control with its initial state. Using an undeclared name is a programming error.
  Control& declare(std::string_view id, Control initial = {});
  void declareTimer(std::string_view id, int intervalMs, bool onChange = false);

  bool has(std::string_view id) const;
  const Control& get(std::string_view id) const;

  bool enabled(std::string_view id) const { return get(id).enabled; }
  bool visible(std::string_view id) const { return get(id).visible; }
  bool checked(std::string_view id) const { return get(id).checked; }
  const std::string& text(std::string_view id) const { return get(id).text; }
  const TextList& lines(std::string_view id) const { return get(id).lines; }
  int value(std::string_view id) const { return get(id).value; }

  void setEnabled(std::string_view id, bool on);
  void setVisible(std::string_view id, bool on);
  void setChecked(std::string_view id, bool on);
  void setText(std::string_view id, std::string text);
  void setLines(std::string_view id, TextList lines);
  void setLine(std::string_view id, int index, std::string line);
  // The items of a list view and the picture of each, in one change.
  void setItems(std::string_view id, TextList lines, std::vector<int> icons);
  // Not clamped: a spin box brings its value into range itself, a gauge draws it clamped.
  void setValue(std::string_view id, int value);
  void setRange(std::string_view id, int minimum, int maximum);
  void setGeometry(std::string_view id, Rect geometry);
  void setTop(std::string_view id, int top);
  void setLeft(std::string_view id, int left);
  void setHeight(std::string_view id, int height);
  void setFontSize(std::string_view id, int size);
  void setColor(std::string_view id, std::string color);
  void setUnderline(std::string_view id, bool on);
  void setCursor(std::string_view id, Cursor cursor);

  void startTimer(std::string_view id);
  void stopTimer(std::string_view id);
  bool timerRunning(std::string_view id) const;
  const Timer& timer(std::string_view id) const;
  const std::map<std::string, Timer, std::less<>>& timers() const { return timers_; }

  const std::map<std::string, Control, std::less<>>& all() const { return controls_; }
  std::uint64_t revision() const { return revision_; }

 private:
  Control& mut(std::string_view id);
  void touched(Control& c);

  std::map<std::string, Control, std::less<>> controls_;
  std::map<std::string, Timer, std::less<>> timers_;
  std::uint64_t revision_ = 0;
};

}  // namespace tervano::ui
