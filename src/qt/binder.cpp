#include "qt/binder.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>

#include "qt/style.h"
#include "qt/widgets.h"

namespace tervano::qt {

namespace {

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

Binder::Entry& Binder::entry(std::string_view id) {
  auto it = byId_.find(id);
  if (it != byId_.end()) return entries_[it->second];
  byId_.emplace(std::string(id), entries_.size());
  entries_.push_back(Entry{std::string(id), {}, std::nullopt});
  return entries_.back();
}

void Binder::bind(std::string_view id, QWidget* widget, const Aspects& aspects, Apply extra) {
  Entry& e = entry(id);
  e.seen.reset();
  modelRevision_.reset();
  e.apply.push_back([widget, aspects, extra](const ui::Control& c) {
    applyAspects(widget, aspects, c);
    if (extra) extra(c);
  });
  if (widgets_.find(id) == widgets_.end()) {
    widgets_.emplace(std::string(id), widget);
    ids_.insert(widget, std::string(id));
  }
}

void Binder::watch(std::string_view id, Apply apply) {
  Entry& e = entry(id);
  e.seen.reset();
  modelRevision_.reset();
  e.apply.push_back(std::move(apply));
}

void Binder::invalidate() {
  for (auto& e : entries_)
    e.seen.reset();
  modelRevision_.reset();
}

void Binder::sync(const ui::Controls& controls) {
  // Most events change nothing at all: one comparison decides that.
  if (modelRevision_ && *modelRevision_ == controls.revision()) return;
  modelRevision_ = controls.revision();
  for (auto& e : entries_) {
    if (!controls.has(e.id)) continue;
    const ui::Control& c = controls.get(e.id);
    if (e.seen && *e.seen == c.revision) continue;
    e.seen = c.revision;
    for (auto& apply : e.apply)
      apply(c);
  }
}

std::vector<std::string> Binder::ids() const {
  std::vector<std::string> all;
  for (const Entry& e : entries_)
    all.push_back(e.id);
  return all;
}

QWidget* Binder::widget(std::string_view id) const {
  auto it = widgets_.find(id);
  return it == widgets_.end() ? nullptr : it->second;
}

const std::string* Binder::idAt(const QWidget* w) const {
  for (; w; w = w->parentWidget()) {
    auto it = ids_.constFind(w);
    if (it != ids_.constEnd()) return &it.value();
    if (w->isWindow()) break;
  }
  return nullptr;
}

void Binder::applyAspects(QWidget* w, const Aspects& a, const ui::Control& c) {
  if (a.style) {
    style::setTextColor(w, style::colorNamed(c.color, a.color));
    QFont f = w->font();
    const int size = c.fontSize > 0 ? c.fontSize : a.pointSize;
    f.setPointSize(size);
    f.setLetterSpacing(QFont::PercentageSpacing, 100);
    w->setProperty("tervanoPointSize", size);
    f.setUnderline(c.underline);
    w->setFont(f);
    if (c.cursor == ui::Cursor::Normal)
      w->unsetCursor();
    else
      w->setCursor(style::cursorShape(c.cursor));
  }
  if (a.text) {
    if (auto* label = qobject_cast<QLabel*>(w)) {
      label->setText(q(c.text));
      if (!a.move && !label->wordWrap() && label->width() > 0)
        fitText(label, label->text(), label->width());
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      button->setText(q(c.text).replace('&', "&&"));
      // Frame and padding of the style sheet, and the picture when there is one.
      const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
      if (!qobject_cast<QCheckBox*>(button))
        fitText(button, q(c.text), button->width() - 10 - icon);
    }
  }
  if ((a.text || a.style) && (a.move || w->size().isEmpty())) {
    if (auto* label = qobject_cast<QLabel*>(w)) label->adjustSize();
  }
  if (a.move) w->move(c.geometry.left, c.geometry.top);
  if (a.size && c.geometry.width > 0 && c.geometry.height > 0)
    w->setGeometry(c.geometry.left, c.geometry.top, c.geometry.width, c.geometry.height);
  if (a.enabled) w->setEnabled(c.enabled);
  if (a.visible && w->isHidden() == c.visible) {
    w->setVisible(c.visible);
    if (c.visible && a.raise) w->raise();
    if (c.visible && a.focus) w->setFocus(Qt::OtherFocusReason);
  }
}

}  // namespace tervano::qt
