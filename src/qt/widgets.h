#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QValidator>
#include <QWidget>

// Small widgets of the view: the pie gauge, the sound and music switch pictures, clickable
// labels and the text area that refuses what code page 1250 cannot hold.
namespace tervano::qt {

// True when every character of the text can be written to a data file.
bool representable(const QString& text);
// The text without the characters that code page 1250 cannot hold.
QString representablePart(const QString& text);

// Shrinks a widget's font a little (letter spacing, then one point) until the text fits the
// width; long captions stay whole in the narrow buttons and fields of the fixed layout.
void fitText(QWidget* widget, const QString& text, int available);

// A check box drawn to be seen on black: a lime frame, a tick when checked.
class CheckBox : public QCheckBox {
  Q_OBJECT

 public:
  using QCheckBox::QCheckBox;

 protected:
  void paintEvent(QPaintEvent*) override;
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

// A radio button drawn like the check boxes: a lime ring, a dot when chosen.
class RadioButton : public QRadioButton {
  Q_OBJECT

 public:
  using QRadioButton::QRadioButton;

 protected:
  void paintEvent(QPaintEvent*) override;
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

// A lime pie on black showing value / maximum, clamped to the range.
class PieGauge : public QWidget {
  Q_OBJECT

 public:
  explicit PieGauge(QWidget* parent = nullptr);
  void setRange(int minimum, int maximum);
  void setValue(int value);
  int value() const { return value_; }
  int maximum() const { return maximum_; }
  // The filled share, 0 to 1.
  double fraction() const;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  int minimum_ = 0;
  int maximum_ = 100;
  int value_ = 0;
};

// A label that reports clicks and double clicks (a double click reports one click first, as a
// button press before it does).
class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

 signals:
  void clicked();
  void doubleClicked();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  bool pressed_ = false;
  bool afterDoubleClick_ = false;
};

// One picture of a settings switch: a speaker for the sound, a note for the music, each in an
// "on" and an "off" form.
class SwitchPicture : public ClickLabel {
 public:
  enum class Kind { Sound, Music };
  SwitchPicture(Kind kind, bool on, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  Kind kind_;
  bool on_;
};

// A plain text area that refuses, at input, characters that could never be saved. The Insert key
// switches an editable area between inserting and overwriting, so that the answers can be typed
// over the "x"s of the map: overwriting shows a block cursor and, while the area has the focus,
// "PŘE" in its corner ("VLO" when inserting).
class TextArea : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit TextArea(QWidget* parent = nullptr);
  // Number of inputs refused so far (a refused key, or a paste that lost characters).
  int refusals() const { return refusals_; }
  // The mark shown in the corner: "PŘE" overwriting, "VLO" inserting.
  QString modeMark() const;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void insertFromMimeData(const QMimeData* source) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  void refuse();
  void setOverwriting(bool on);
  int refusals_ = 0;
};

// The same rule for one-line entries and editable list boxes.
class Cp1250Validator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

// The decoration of the menu screen: a few crossword tiles spelling the game's name.
class CrosswordMotif : public QWidget {
 public:
  explicit CrosswordMotif(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent*) override;
};

}  // namespace tervano::qt
