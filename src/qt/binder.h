#pragma once

#include <QColor>
#include <QHash>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"

namespace tervano::qt {

// Which parts of a control a widget takes from the model.
struct Aspects {
  bool visible = true;
  bool enabled = true;
  bool text = false;   // caption of a label or button
  bool style = false;  // colour, font size, underline and cursor
  bool move = false;   // left and top of the geometry
  bool size = false;   // the whole geometry, once it has a size
  bool raise = false;  // comes to the front when shown
  bool focus = false;  // takes the keyboard focus when shown
  QColor color;        // text colour when the model names none
  int pointSize = 8;   // font size when the model gives none
};

// Keeps widgets in step with the Controls model: each bound control is re-applied only when its
// revision changed since the last sync. It also tells which control a widget stands for, so the
// pointer and the mouse can be reported under the control's name.
class Binder {
 public:
  using Apply = std::function<void(const ui::Control&)>;

  // Binds a widget to a control. The first widget bound to an id stands for it under the pointer.
  void bind(std::string_view id, QWidget* widget, const Aspects& aspects, Apply extra = {});
  // Binds work that is not a widget (an action, a window's title) to a control.
  void watch(std::string_view id, Apply apply);

  // Brings every changed control up to date. Controls the model does not declare are skipped.
  void sync(const ui::Controls& controls);
  // Forgets what was applied, so the next sync applies everything again.
  void invalidate();

  QWidget* widget(std::string_view id) const;
  // Every control bound to a widget or watched.
  std::vector<std::string> ids() const;
  // The control a widget, or the nearest of its parents within its window, stands for.
  const std::string* idAt(const QWidget* widget) const;

  static void applyAspects(QWidget* w, const Aspects& a, const ui::Control& c);

 private:
  struct Entry {
    std::string id;
    std::vector<Apply> apply;
    std::optional<std::uint64_t> seen;
  };
  Entry& entry(std::string_view id);

  std::vector<Entry> entries_;
  std::map<std::string, std::size_t, std::less<>> byId_;
  std::map<std::string, QWidget*, std::less<>> widgets_;
  QHash<const QWidget*, std::string> ids_;
  std::optional<std::uint64_t> modelRevision_;
};

}  // namespace tervano::qt
