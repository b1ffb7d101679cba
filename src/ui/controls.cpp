#include "ui/controls.h"

#include <stdexcept>

namespace tervano::ui {

Control& Controls::declare(std::string_view id, Control initial) {
  auto [it, inserted] = controls_.try_emplace(std::string(id), std::move(initial));
  if (!inserted) throw std::logic_error("control declared twice: " + std::string(id));
  return it->second;
}

void Controls::declareTimer(std::string_view id, int intervalMs, bool onChange) {
  timers_[std::string(id)] = Timer{intervalMs, false, 0, onChange};
}

bool Controls::has(std::string_view id) const {
  return controls_.find(id) != controls_.end();
}

const Control& Controls::get(std::string_view id) const {
  auto it = controls_.find(id);
  if (it == controls_.end()) throw std::logic_error("unknown control: " + std::string(id));
  return it->second;
}

Control& Controls::mut(std::string_view id) {
  auto it = controls_.find(id);
  if (it == controls_.end()) throw std::logic_error("unknown control: " + std::string(id));
  return it->second;
}

void Controls::touched(Control& c) {
  c.revision = ++revision_;
}

#define TERVANO_SET(field, value)   \
  do {                              \
    Control& c = mut(id);           \
    if (c.field == (value)) return; \
    c.field = (value);              \
    touched(c);                     \
  } while (0)

void Controls::setEnabled(std::string_view id, bool on) {
  TERVANO_SET(enabled, on);
}
void Controls::setVisible(std::string_view id, bool on) {
  TERVANO_SET(visible, on);
}
void Controls::setChecked(std::string_view id, bool on) {
  TERVANO_SET(checked, on);
}
void Controls::setValue(std::string_view id, int value) {
  TERVANO_SET(value, value);
}
void Controls::setGeometry(std::string_view id, Rect geometry) {
  TERVANO_SET(geometry, geometry);
}
void Controls::setTop(std::string_view id, int top) {
  TERVANO_SET(geometry.top, top);
}
void Controls::setLeft(std::string_view id, int left) {
  TERVANO_SET(geometry.left, left);
}
void Controls::setHeight(std::string_view id, int height) {
  TERVANO_SET(geometry.height, height);
}
void Controls::setFontSize(std::string_view id, int size) {
  TERVANO_SET(fontSize, size);
}
void Controls::setUnderline(std::string_view id, bool on) {
  TERVANO_SET(underline, on);
}
void Controls::setCursor(std::string_view id, Cursor cursor) {
  TERVANO_SET(cursor, cursor);
}

#undef TERVANO_SET

void Controls::setText(std::string_view id, std::string text) {
  Control& c = mut(id);
  if (c.text == text) return;
  c.text = std::move(text);
  touched(c);
}

void Controls::setColor(std::string_view id, std::string color) {
  Control& c = mut(id);
  if (c.color == color) return;
  c.color = std::move(color);
  touched(c);
}

void Controls::setLines(std::string_view id, TextList lines) {
  Control& c = mut(id);
  if (c.lines == lines) return;
  c.lines = std::move(lines);
  touched(c);
}

void Controls::setLine(std::string_view id, int index, std::string line) {
  Control& c = mut(id);
  if (index < 0 || index >= c.lines.count() || c.lines.get(index) == line) return;
  c.lines.set(index, std::move(line));
  touched(c);
}

void Controls::setItems(std::string_view id, TextList lines, std::vector<int> icons) {
  Control& c = mut(id);
  if (c.lines == lines && c.icons == icons) return;
  c.lines = std::move(lines);
  c.icons = std::move(icons);
  touched(c);
}

void Controls::setRange(std::string_view id, int minimum, int maximum) {
  Control& c = mut(id);
  if (c.minimum == minimum && c.maximum == maximum) return;
  c.minimum = minimum;
  c.maximum = maximum;
  touched(c);
}

void Controls::startTimer(std::string_view id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) throw std::logic_error("unknown timer: " + std::string(id));
  if (!it->second.running) {
    it->second.running = true;
    ++it->second.generation;
    ++revision_;
  }
}

void Controls::stopTimer(std::string_view id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) throw std::logic_error("unknown timer: " + std::string(id));
  if (it->second.running) {
    it->second.running = false;
    ++revision_;
  }
}

bool Controls::timerRunning(std::string_view id) const {
  return timer(id).running;
}

const Timer& Controls::timer(std::string_view id) const {
  auto it = timers_.find(id);
  if (it == timers_.end()) throw std::logic_error("unknown timer: " + std::string(id));
  return it->second;
}

}  // namespace tervano::ui
