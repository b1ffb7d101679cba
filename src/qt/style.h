#pragma once

#include <QStyle>

#include <QColor>
#include <QFont>
#include <QFrame>
#include <QPalette>
#include <QString>
#include <string_view>

#include "ui/host.h"

class QWidget;

// The look shared by every window: the six colours, the two fonts, the palette and the style that
// paints frames, buttons, fields and scroll bars in them.
namespace tervano::qt::style {

inline const QColor kYellow{0xFF, 0xFF, 0x00};
inline const QColor kBlue{0x00, 0x00, 0xFF};
inline const QColor kLime{0x00, 0xFF, 0x00};
inline const QColor kRed{0xFF, 0x00, 0x00};
inline const QColor kAqua{0x00, 0xFF, 0xFF};
inline const QColor kTeal{0x00, 0x80, 0x80};
inline const QColor kBlack{0x00, 0x00, 0x00};
// Dividing lines: a dark teal that stays in the background.
inline const QColor kRule{0x00, 0x40, 0x40};
// Disabled text: dim but still legible on black.
inline const QColor kDimmed{0x60, 0x70, 0x60};

// A colour name of the model ("red", "lime" ...); an empty or unknown name gives the fallback.
QColor colorNamed(std::string_view name, const QColor& fallback);

// "DejaVu Sans" bold 8 pt, the font of everything.
QFont sans(int pointSize = 8);
// "DejaVu Sans Mono" bold 8 pt, for the text areas: really fixed-pitch.
QFont mono();

QPalette palette();

// The program's widget style (tervano_style.cpp). Owned by the caller.
QStyle* makeStyle();

// Makes a window black and gives it the fonts and palette.
void applyWindowLook(QWidget* window);
// Paints a widget's background in one colour.
void fill(QWidget* widget, const QColor& color);
// A frame with a one-pixel line along one edge.
class EdgedFrame : public QFrame {
 public:
  EdgedFrame(QWidget* parent, Qt::Edge edge, const QColor& color)
      : QFrame(parent), edge_(edge), color_(color) {}

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Qt::Edge edge_;
  QColor color_;
};
void setTextColor(QWidget* widget, const QColor& color);
Qt::CursorShape cursorShape(ui::Cursor cursor);

}  // namespace tervano::qt::style
