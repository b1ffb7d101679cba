#include "ui/qt/style.h"

#include <QProxyStyle>

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

QString sheet() {
  return QStringLiteral(R"(
QPushButton {
  background-color: #000000; color: #00FF00;
  border: 1px solid #008080; border-radius: 3px; padding: 1px 3px;
}
QPushButton:hover { border-color: #00FFFF; color: #FFFF00; }
QPushButton:pressed { background-color: #003030; }
QPushButton:disabled { color: #506050; border-color: #1C3838; }
QFrame#commandPanel {
  background-color: #000000; border: 1px solid #008080; border-radius: 3px;
}
QFrame#toolScreen { background-color: #000000; }
QLineEdit, QComboBox, QSpinBox {
  background-color: #000000; color: #00FF00; border: 1px solid #008080;
  border-radius: 2px; padding: 1px 3px; selection-background-color: #008080;
  selection-color: #FFFF00;
}
QLineEdit:focus, QComboBox:focus, QSpinBox:focus { border-color: #00FFFF; }
QComboBox QAbstractItemView {
  background-color: #000000; color: #00FF00; border: 1px solid #008080;
  selection-background-color: #008080; selection-color: #FFFF00;
}
QPlainTextEdit, QTextBrowser {
  background-color: #000000; border: 1px solid #008080;
  selection-background-color: #008080; selection-color: #FFFF00;
}
QPlainTextEdit:focus { border-color: #00FFFF; }
QGroupBox {
  color: #00FF00; border: 1px solid #00FF00; border-radius: 3px; margin-top: 7px;
}
QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0px 3px; }
QScrollBar:vertical { background: #000000; width: 12px; margin: 0px; border-left: 1px solid #004040; }
QScrollBar:horizontal { background: #000000; height: 12px; margin: 0px; border-top: 1px solid #004040; }
QScrollBar::handle:vertical { background: #008080; min-height: 18px; border-radius: 3px; margin: 2px; }
QScrollBar::handle:horizontal { background: #008080; min-width: 18px; border-radius: 3px; margin: 2px; }
QScrollBar::handle:hover { background: #00A0A0; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0px; height: 0px; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
QAbstractScrollArea::corner { background: #000000; }
QToolTip { background-color: #000000; color: #FFFF00; border: 1px solid #008080; }
)");
}

void applyWindowLook(QWidget* window) {
  window->setAutoFillBackground(true);
  window->setPalette(palette());
  window->setFont(sans());
  window->setStyleSheet(sheet());
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

namespace {

class TervanoStyle : public QProxyStyle {
 public:
  TervanoStyle() : QProxyStyle("Fusion") {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

}  // namespace

QStyle* makeStyle() {
  return new TervanoStyle;
}

}  // namespace tervano::qt::style
