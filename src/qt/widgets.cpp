#include "qt/widgets.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "data/cp1250.h"
#include "qt/style.h"

namespace tervano::qt {

bool representable(const QString& text) {
  for (char32_t cp : text.toUcs4())
    if (!cp1250::representable(cp)) return false;
  return true;
}

QString representablePart(const QString& text) {
  QList<uint> kept;
  for (char32_t cp : text.toUcs4())
    if (cp1250::representable(cp)) kept.push_back(cp);
  return QString::fromUcs4(reinterpret_cast<const char32_t*>(kept.constData()), kept.size());
}

void fitText(QWidget* widget, const QString& text, int available) {
  QFont f = widget->font();
  // Fonts sized in pixels are drawn as they were asked for.
  if (f.pointSize() <= 0) return;
  // Each fit starts again from the size the widget was given.
  const QVariant given = widget->property("tervanoPointSize");
  const int base = given.isValid() ? given.toInt() : f.pointSize();
  if (!given.isValid()) widget->setProperty("tervanoPointSize", base);
  for (int size : {base, base - 1}) {
    f.setPointSize(size);
    for (int spacing = 100; spacing >= 90; spacing -= 2) {
      f.setLetterSpacing(QFont::PercentageSpacing, spacing);
      if (QFontMetrics(f).horizontalAdvance(text) <= available) {
        widget->setFont(f);
        return;
      }
    }
  }
  widget->setFont(f);
}

// ---- CheckBox ----

void CheckBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink = isEnabled() ? style::kLime : style::kDimmed;
  const QRectF box(0.5, (height() - 13) / 2 + 0.5, 12, 12);
  p.setPen(QPen(isEnabled() && (underMouse() || hasFocus()) ? style::kAqua : ink, 1));
  p.setBrush(style::kBlack);
  p.drawRoundedRect(box, 2, 2);
  if (isChecked()) {
    p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF o = box.topLeft();
    const QPointF tick[] = {o + QPointF(2.8, 6.2), o + QPointF(5.2, 8.8), o + QPointF(9.4, 3.2)};
    p.drawPolyline(tick, 3);
  }
  if (text().isEmpty()) return;
  p.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  p.setFont(font());
  p.drawText(rect().adjusted(19, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text());
}

void RadioButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink = isEnabled() ? style::kLime : style::kDimmed;
  const QRectF ring(0.5, (height() - 13) / 2 + 0.5, 12, 12);
  p.setPen(QPen(isEnabled() && (underMouse() || hasFocus()) ? style::kAqua : ink, 1));
  p.setBrush(style::kBlack);
  p.drawEllipse(ring);
  if (isChecked()) {
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(ring.center(), 3.2, 3.2);
  }
  p.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  p.setFont(font());
  p.drawText(rect().adjusted(19, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text());
}

// ---- PieGauge ----

PieGauge::PieGauge(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PieGauge::setRange(int minimum, int maximum) {
  if (minimum == minimum_ && maximum == maximum_) return;
  minimum_ = minimum;
  maximum_ = maximum;
  update();
}

void PieGauge::setValue(int value) {
  if (value == value_) return;
  value_ = value;
  update();
}

double PieGauge::fraction() const {
  if (maximum_ <= minimum_) return 0.0;
  const int v = std::clamp(value_, minimum_, maximum_);
  return double(v - minimum_) / double(maximum_ - minimum_);
}

void PieGauge::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), style::kBlack);
  p.setRenderHint(QPainter::Antialiasing);
  const int side = std::min(width(), height()) - 3;
  const QRectF circle((width() - side) / 2.0, (height() - side) / 2.0, side, side);
  p.setPen(QPen(style::kTeal, 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(circle);
  const double f = fraction();
  if (f <= 0.0) return;
  p.setPen(Qt::NoPen);
  p.setBrush(style::kLime);
  if (f >= 1.0)
    p.drawEllipse(circle);
  else
    p.drawPie(circle, 90 * 16, -int(f * 360 * 16));
}

// ---- ClickLabel ----

void ClickLabel::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return QLabel::mousePressEvent(e);
  pressed_ = true;
  e->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e) {
  const bool wasPressed = pressed_;
  pressed_ = false;
  if (e->button() == Qt::LeftButton && wasPressed && rect().contains(e->position().toPoint())) {
    if (afterDoubleClick_)
      afterDoubleClick_ = false;
    else
      emit clicked();
  }
  QLabel::mouseReleaseEvent(e);
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) {
    afterDoubleClick_ = true;
    pressed_ = true;
    emit doubleClicked();
  }
}

// ---- SwitchPicture ----

SwitchPicture::SwitchPicture(Kind kind, bool on, QWidget* parent)
    : ClickLabel(parent), kind_(kind), on_(on) {
  setCursor(Qt::PointingHandCursor);
  setToolTip(kind == Kind::Sound ? (on ? "Zvuky zapnuty" : "Zvuky vypnuty")
                                 : (on ? "Hudba zapnuta" : "Hudba vypnuta"));
}

void SwitchPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), style::kBlack);
  const QColor ink = on_ ? style::kLime : style::kRed;
  p.setPen(QPen(style::kTeal, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);

  const double h = height();
  const double cx = width() / 2.0;
  const double cy = h / 2.0;
  const double u = h / 10.0;  // drawing unit
  if (kind_ == Kind::Sound) {
    // Speaker: a box and a cone.
    QPainterPath speaker;
    speaker.moveTo(cx - 4 * u, cy - 1.3 * u);
    speaker.lineTo(cx - 2.4 * u, cy - 1.3 * u);
    speaker.lineTo(cx - 0.2 * u, cy - 3.4 * u);
    speaker.lineTo(cx - 0.2 * u, cy + 3.4 * u);
    speaker.lineTo(cx - 2.4 * u, cy + 1.3 * u);
    speaker.lineTo(cx - 4 * u, cy + 1.3 * u);
    speaker.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(speaker);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, std::max(1.5, u * 0.6), Qt::SolidLine, Qt::RoundCap));
    if (on_) {
      for (int i = 1; i <= 2; ++i) {
        const double r = u * (1.4 + 1.5 * i);
        p.drawArc(QRectF(cx - 0.2 * u - r, cy - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
      }
    } else {
      p.drawLine(QPointF(cx + 1.2 * u, cy - 1.6 * u), QPointF(cx + 4.2 * u, cy + 1.6 * u));
      p.drawLine(QPointF(cx + 1.2 * u, cy + 1.6 * u), QPointF(cx + 4.2 * u, cy - 1.6 * u));
    }
  } else {
    // Two beamed notes.
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    const QPointF left(cx - 2.2 * u, cy + 2.4 * u);
    const QPointF right(cx + 2.2 * u, cy + 1.6 * u);
    for (const QPointF& head : {left, right}) {
      p.save();
      p.translate(head);
      p.rotate(-20);
      p.drawEllipse(QRectF(-1.3 * u, -0.9 * u, 2.6 * u, 1.8 * u));
      p.restore();
    }
    p.setPen(QPen(ink, std::max(1.5, u * 0.45)));
    const QPointF leftTop(left.x() + 1.1 * u, cy - 3.2 * u);
    const QPointF rightTop(right.x() + 1.1 * u, cy - 4.0 * u);
    p.drawLine(QPointF(left.x() + 1.1 * u, left.y() - 0.3 * u), leftTop);
    p.drawLine(QPointF(right.x() + 1.1 * u, right.y() - 0.3 * u), rightTop);
    p.setPen(QPen(ink, u * 1.1, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(leftTop + QPointF(0, 0.5 * u), rightTop + QPointF(0, 0.5 * u));
    if (!on_) {
      p.setPen(QPen(style::kRed, std::max(2.0, u * 0.6), Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(cx - 4.2 * u, cy + 4 * u), QPointF(cx + 4.2 * u, cy - 4 * u));
    }
  }
}

// ---- TextArea ----

TextArea::TextArea(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setFont(style::mono());
  setTabChangesFocus(true);
}

void TextArea::refuse() {
  ++refusals_;
  QApplication::beep();
}

QString TextArea::modeMark() const {
  return overwriteMode() ? QStringLiteral("PŘE") : QStringLiteral("VLO");
}

void TextArea::setOverwriting(bool on) {
  // The text area draws its cursor as a block over the next character while overwriting.
  setOverwriteMode(on);
  setAccessibleDescription(on ? QStringLiteral("Přepisování") : QStringLiteral("Vkládání"));
  viewport()->update();
}

void TextArea::keyPressEvent(QKeyEvent* e) {
  if (isReadOnly()) {
    QPlainTextEdit::keyPressEvent(e);
    return;
  }
  if (e->key() == Qt::Key_Insert && e->modifiers() == Qt::NoModifier) {
    setOverwriting(!overwriteMode());
    e->accept();
    return;
  }
  const QString text = e->text();
  if (!text.isEmpty() && !representable(text)) {
    refuse();
    e->accept();
    return;
  }
  QTextCursor cursor = textCursor();
  if (overwriteMode() && !text.isEmpty() && text.front().isPrint() && !cursor.hasSelection() &&
      !cursor.atBlockEnd() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    // One edit, so the model hears of the new line once, not of the line without the character
    // first; the end of a line is never overwritten, so the lines stay as they are.
    cursor.beginEditBlock();
    for (int i = 0; i < text.size() && !cursor.atBlockEnd(); ++i)
      cursor.deleteChar();
    cursor.insertText(text);
    cursor.endEditBlock();
    setTextCursor(cursor);
    e->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(e);
}

void TextArea::paintEvent(QPaintEvent* e) {
  QPlainTextEdit::paintEvent(e);
  if (isReadOnly() || !hasFocus()) return;
  QPainter p(viewport());
  QFont f = style::sans(7);
  p.setFont(f);
  const QString mark = modeMark();
  const QFontMetrics fm(f);
  const QRect r(viewport()->width() - fm.horizontalAdvance(mark) - 8,
                viewport()->height() - fm.height() - 2, fm.horizontalAdvance(mark) + 6,
                fm.height());
  p.fillRect(r, overwriteMode() ? style::kYellow : style::kTeal);
  p.setPen(Qt::black);
  p.drawText(r, Qt::AlignCenter, mark);
}

void TextArea::focusInEvent(QFocusEvent* e) {
  QPlainTextEdit::focusInEvent(e);
  viewport()->update();
}

void TextArea::focusOutEvent(QFocusEvent* e) {
  QPlainTextEdit::focusOutEvent(e);
  viewport()->update();
}

void TextArea::insertFromMimeData(const QMimeData* source) {
  if (!source || !source->hasText()) return;
  const QString text = source->text();
  const QString kept = representablePart(text);
  if (kept.size() != text.size()) refuse();
  if (!kept.isEmpty()) insertPlainText(kept);
}

void TextArea::inputMethodEvent(QInputMethodEvent* e) {
  if (representable(e->commitString())) {
    QPlainTextEdit::inputMethodEvent(e);
    return;
  }
  refuse();
  QInputMethodEvent filtered(e->preeditString(), e->attributes());
  filtered.setCommitString(representablePart(e->commitString()), e->replacementStart(),
                           e->replacementLength());
  QPlainTextEdit::inputMethodEvent(&filtered);
}

// ---- Cp1250Validator ----

QValidator::State Cp1250Validator::validate(QString& input, int&) const {
  return representable(input) ? Acceptable : Invalid;
}

// ---- CrosswordMotif ----

CrosswordMotif::CrosswordMotif(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CrosswordMotif::paintEvent(QPaintEvent*) {
  struct Word {
    const char* text;
    int column, row;
    bool across;
  };
  // The game's name across, two words of the game down from its letters.
  static const Word kWords[] = {
      {"TERVANO", 0, 0, true}, {"ROČNÍK", 2, 0, false}, {"ODPOVĚĎ", 6, 0, false}};
  constexpr int kColumns = 7;
  constexpr int kRows = 7;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const int cell = std::min(width() / kColumns, height() / kRows);
  const int x0 = (width() - cell * kColumns) / 2;
  const int y0 = (height() - cell * kRows) / 2;
  QFont f = style::sans();
  f.setPixelSize(std::max(8, cell * 11 / 20));
  p.setFont(f);
  const QColor fill(0x00, 0x18, 0x18);
  for (const Word& w : kWords) {
    const QString text = QString::fromUtf8(w.text);
    for (int i = 0; i < text.size(); ++i) {
      const int col = w.column + (w.across ? i : 0);
      const int row = w.row + (w.across ? 0 : i);
      const QRectF r(x0 + col * cell + 2, y0 + row * cell + 2, cell - 4, cell - 4);
      const bool crossing = !w.across && i == 0;
      p.setPen(QPen(style::kTeal, 1.5));
      p.setBrush(crossing ? QColor(0x00, 0x40, 0x40) : fill);
      p.drawRoundedRect(r, 4, 4);
      p.setPen(crossing ? style::kYellow : (w.across ? style::kLime : style::kAqua));
      p.drawText(r, Qt::AlignCenter, text.mid(i, 1));
    }
  }
}

}  // namespace tervano::qt
