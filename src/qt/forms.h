#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <functional>
#include <initializer_list>
#include <string>

#include "app/event.h"
#include "qt/binder.h"
#include "qt/widgets.h"

// Makes the widgets of the windows and binds each named one to its control: texts, states and
// the inputs that go back to the application.
namespace tervano::qt {

class Forms {
 public:
  using Dispatch = std::function<void(const app::Event&)>;
  Forms(Binder& binder, Dispatch dispatch) : binder_(binder), dispatch_(std::move(dispatch)) {}

  Binder& binder() { return binder_; }
  void send(app::Event event) { dispatch_(event); }
  void click(const std::string& id) { dispatch_({app::Event::Kind::Click, id}); }

  // A fixed caption that belongs to no control: the pointer passes through it to what is under.
  QLabel* caption(QWidget* parent, const QRect& r, const QString& text, const QColor& color,
                  int pointSize = 8, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
  // A label showing a control's text.
  QLabel* label(const std::string& id, QWidget* parent, const QRect& r, const QColor& color,
                Aspects aspects = {}, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
  ClickLabel* clickLabel(const std::string& id, QWidget* parent, const QRect& r,
                         const QColor& color, Aspects aspects = {});
  QPushButton* button(const std::string& id, QWidget* parent, const QRect& r);
  QCheckBox* check(const std::string& id, QWidget* parent, const QRect& r, bool withText = false);
  // A radio button with its control's caption; choosing it sends a toggle with the value 1. The
  // model keeps one of a group checked.
  QRadioButton* radio(const std::string& id, QWidget* parent, const QRect& r);
  // A text area showing a control's lines; an editable one sends its whole text on every change.
  TextArea* area(const std::string& id, QWidget* parent, const QRect& r, bool editable,
                 const QColor& color, Qt::ScrollBarPolicy vertical, Qt::ScrollBarPolicy horizontal);
  // An editable list box: items are the control's lines, the edit text its text. It is named
  // after its caption (`name`), whatever text it holds.
  QComboBox* combo(const std::string& id, QWidget* parent, const QRect& r, const QString& name,
                   bool sorted = false);
  QSpinBox* spin(const std::string& id, QWidget* parent, const QRect& r, int step);
  // A panel that comes to the front when it opens.
  QFrame* panel(const std::string& id, QWidget* parent, const QRect& r);
  QLineEdit* entry(const std::string& id, QWidget* parent, const QRect& r);

  // Accessible names. Buttons, captions and labels of their own text are named by it; a widget
  // without a caption of its own gets one here. nameBy names the widget by `name()` and again
  // whenever one of the controls (null ones are skipped) changes: a label showing a value says
  // what it counts and the value, "Body: 140".
  void nameBy(QWidget* widget, std::initializer_list<const char*> ids,
              std::function<QString()> name);
  // "Body: 140" from the caption "Body:" and the value "140".
  static QString counted(const QString& caption, const QString& value);

 private:
  Binder& binder_;
  Dispatch dispatch_;
};

QString joinLines(const TextList& lines);

}  // namespace tervano::qt
