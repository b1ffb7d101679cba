#include "qt/style.h"

#include <QPainter>
#include <QWidget>

namespace tervano::qt::style {

QColor colorNamed(std::string_view name, const QColor& fallback) {
  if (name == "yellow") return kYellow;
  if (name == "blue") return kBlue;
  if (name == "lime") return kLime;
  if (name == "red") return kRed;
  if (name == "aqua") return kAqua;
  if (name == "teal") return kTeal;
  if (name == "black") return kBlack;
  return fallback;
}

QFont sans(int pointSize) {
  QFont f("DejaVu Sans");
  f.setPointSize(pointSize);
  f.setBold(true);
  return f;
}

QFont mono() {
  QFont f("DejaVu Sans Mono");
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  f.setPointSize(8);
  f.setBold(true);
  return f;
}

QPalette palette() {
  QPalette p;
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(group, QPalette::Window, kBlack);
    p.setColor(group, QPalette::WindowText, kLime);
    p.setColor(group, QPalette::Base, kBlack);
    p.setColor(group, QPalette::AlternateBase, QColor(0x00, 0x20, 0x20));
    p.setColor(group, QPalette::Text, kLime);
    p.setColor(group, QPalette::Button, kBlack);
    p.setColor(group, QPalette::ButtonText, kLime);
    p.setColor(group, QPalette::Highlight, kTeal);
    p.setColor(group, QPalette::HighlightedText, kYellow);
    p.setColor(group, QPalette::Light, QColor(0x00, 0x60, 0x60));
    p.setColor(group, QPalette::Midlight, QColor(0x00, 0x50, 0x50));
    p.setColor(group, QPalette::Mid, QColor(0x00, 0x40, 0x40));
    p.setColor(group, QPalette::Dark, QColor(0x00, 0x30, 0x30));
    p.setColor(group, QPalette::Shadow, kBlack);
    p.setColor(group, QPalette::ToolTipBase, kBlack);
    p.setColor(group, QPalette::ToolTipText, kYellow);
    p.setColor(group, QPalette::PlaceholderText, kDimmed);
  }
  p.setColor(QPalette::Disabled, QPalette::Window, kBlack);
  p.setColor(QPalette::Disabled, QPalette::Base, kBlack);
  p.setColor(QPalette::Disabled, QPalette::Button, kBlack);
  p.setColor(QPalette::Disabled, QPalette::WindowText, kDimmed);
  p.setColor(QPalette::Disabled, QPalette::Text, kDimmed);
  p.setColor(QPalette::Disabled, QPalette::ButtonText, kDimmed);
  p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x00, 0x30, 0x30));
  return p;
}

void applyWindowLook(QWidget* window) {
  window->setAutoFillBackground(true);
  window->setPalette(palette());
  window->setFont(sans());
}

void EdgedFrame::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter p(this);
  const QRect r = rect();
  switch (edge_) {
    case Qt::TopEdge:
      p.fillRect(r.left(), r.top(), r.width(), 1, color_);
      break;
    case Qt::BottomEdge:
      p.fillRect(r.left(), r.bottom(), r.width(), 1, color_);
      break;
    case Qt::LeftEdge:
      p.fillRect(r.left(), r.top(), 1, r.height(), color_);
      break;
    case Qt::RightEdge:
      p.fillRect(r.right(), r.top(), 1, r.height(), color_);
      break;
  }
}

void fill(QWidget* widget, const QColor& color) {
  QPalette p = widget->palette();
  p.setColor(QPalette::Window, color);
  widget->setPalette(p);
  widget->setAutoFillBackground(true);
}

void setTextColor(QWidget* widget, const QColor& color) {
  QPalette p = widget->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(group, QPalette::WindowText, color);
    p.setColor(group, QPalette::Text, color);
    p.setColor(group, QPalette::ButtonText, color);
  }
  widget->setPalette(p);
}

Qt::CursorShape cursorShape(ui::Cursor cursor) {
  switch (cursor) {
    case ui::Cursor::Busy:
      return Qt::WaitCursor;
    case ui::Cursor::Help:
      return Qt::WhatsThisCursor;
    case ui::Cursor::NotAllowed:
      return Qt::ForbiddenCursor;
    case ui::Cursor::Hand:
      return Qt::PointingHandCursor;
    case ui::Cursor::Normal:
      break;
  }
  return Qt::ArrowCursor;
}

}  // namespace tervano::qt::style
