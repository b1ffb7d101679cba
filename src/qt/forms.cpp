#include "qt/forms.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "qt/accessible.h"
#include "qt/style.h"

namespace tervano::qt {

namespace {

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

using Kind = app::Event::Kind;

// The text of a one-line field as the model last had it. What the view writes into the field from
// the model is no edit; any other change of the text is one, however it came (typed, pasted,
// completed, picked, or set by an assistive tool), and it is reported once.
struct FieldText {
  QString known;
  bool writing = false;

  // Runs the view's own writing of the model's text (and, for a list box, of its items).
  template <typename Write>
  void write(const QString& modelText, Write&& writeIt) {
    writing = true;
    writeIt();
    writing = false;
    known = modelText;
  }
  // True for a change the model has not heard of yet; it counts as heard from now on.
  bool fresh(const QString& text) {
    if (writing || text == known) return false;
    known = text;
    return true;
  }
};

}  // namespace

QString joinLines(const TextList& lines) {
  QStringList out;
  for (const auto& l : lines.lines())
    out << q(l);
  return out.join('\n');
}

QLabel* Forms::caption(QWidget* parent, const QRect& r, const QString& text, const QColor& color,
                       int pointSize, Qt::Alignment align) {
  auto* l = new QLabel(text, parent);
  l->setTextFormat(Qt::PlainText);
  l->setAttribute(Qt::WA_TransparentForMouseEvents);
  l->setAlignment(align);
  if (pointSize != 8) l->setFont(style::sans(pointSize));
  style::setTextColor(l, color);
  if (r.isEmpty()) {
    l->move(r.topLeft());
    l->adjustSize();
  } else {
    l->setGeometry(r);
    fitText(l, text, r.width());
  }
  return l;
}

QLabel* Forms::label(const std::string& id, QWidget* parent, const QRect& r, const QColor& color,
                     Aspects aspects, Qt::Alignment align) {
  auto* l = new QLabel(parent);
  l->setTextFormat(Qt::PlainText);
  l->setAlignment(align);
  if (aspects.pointSize != 8) l->setFont(style::sans(aspects.pointSize));
  style::setTextColor(l, color);
  if (!r.isEmpty()) l->setGeometry(r);
  aspects.text = true;
  if (!aspects.color.isValid()) aspects.color = color;
  binder_.bind(id, l, aspects);
  return l;
}

ClickLabel* Forms::clickLabel(const std::string& id, QWidget* parent, const QRect& r,
                              const QColor& color, Aspects aspects) {
  auto* l = new ClickLabel(parent);
  l->setTextFormat(Qt::PlainText);
  style::setTextColor(l, color);
  if (!r.isEmpty()) l->setGeometry(r);
  aspects.text = true;
  if (!aspects.color.isValid()) aspects.color = color;
  binder_.bind(id, l, aspects);
  QObject::connect(l, &ClickLabel::clicked, [this, id] { click(id); });
  QObject::connect(l, &ClickLabel::doubleClicked, [this, id] {
    dispatch_({Kind::DoubleClick, id});
  });
  return l;
}

QPushButton* Forms::button(const std::string& id, QWidget* parent, const QRect& r) {
  auto* b = new QPushButton(parent);
  b->setGeometry(r);
  b->setFocusPolicy(Qt::TabFocus);
  Aspects a;
  a.text = true;
  binder_.bind(id, b, a);
  QObject::connect(b, &QPushButton::clicked, [this, id] { click(id); });
  return b;
}

QCheckBox* Forms::check(const std::string& id, QWidget* parent, const QRect& r, bool withText) {
  auto* box = new CheckBox(parent);
  box->setGeometry(r);
  box->setFocusPolicy(Qt::TabFocus);
  Aspects a;
  a.text = withText;
  binder_.bind(id, box, a, [box](const ui::Control& c) {
    if (box->isChecked() != c.checked) box->setChecked(c.checked);
  });
  // Only the user's clicks: the model's own changes come back through the binder.
  QObject::connect(box, &QCheckBox::clicked, [this, id](bool on) {
    dispatch_({Kind::Toggle, id, {}, on ? 1 : 0});
  });
  return box;
}

QRadioButton* Forms::radio(const std::string& id, QWidget* parent, const QRect& r) {
  auto* button = new RadioButton(parent);
  button->setGeometry(r);
  button->setFocusPolicy(Qt::TabFocus);
  Aspects a;
  a.text = true;
  binder_.bind(id, button, a, [button](const ui::Control& c) {
    if (button->isChecked() != c.checked) button->setChecked(c.checked);
  });
  QObject::connect(button, &QRadioButton::clicked, [this, id](bool on) {
    if (on) dispatch_({Kind::Toggle, id, {}, 1});
  });
  return button;
}

TextArea* Forms::area(const std::string& id, QWidget* parent, const QRect& r, bool editable,
                      const QColor& color, Qt::ScrollBarPolicy vertical,
                      Qt::ScrollBarPolicy horizontal) {
  auto* t = new TextArea(parent);
  t->setGeometry(r);
  t->setReadOnly(!editable);
  t->setVerticalScrollBarPolicy(vertical);
  t->setHorizontalScrollBarPolicy(horizontal);
  style::setTextColor(t, color);
  auto updating = std::make_shared<bool>(false);
  binder_.bind(id, t, Aspects{}, [t, updating](const ui::Control& c) {
    // The model may hold exactly what is on screen (the user's own edit): leave it alone.
    if (TextList::fromText(t->toPlainText().toStdString()) == c.lines) return;
    const QTextCursor old = t->textCursor();
    const int block = old.blockNumber();
    const int column = old.positionInBlock();
    const int scroll = t->verticalScrollBar()->value();
    *updating = true;
    t->setPlainText(joinLines(c.lines));
    *updating = false;
    if (!t->hasFocus() && block == 0 && column == 0) return;
    // Keep the cursor on its line and column when the line is still there.
    QTextBlock b = t->document()->findBlockByNumber(
        std::min(block, std::max(0, t->document()->blockCount() - 1)));
    QTextCursor cur(b);
    cur.setPosition(b.position() + std::min(column, std::max(0, b.length() - 1)));
    t->setTextCursor(cur);
    t->verticalScrollBar()->setValue(scroll);
  });
  if (editable)
    QObject::connect(t, &QPlainTextEdit::textChanged, [this, t, id, updating] {
      if (*updating) return;
      dispatch_({Kind::Edit, id, t->toPlainText().toStdString()});
    });
  return t;
}

QComboBox* Forms::combo(const std::string& id, QWidget* parent, const QRect& r, const QString& name,
                        bool sorted) {
  nameListBoxesAfterTheirCaptions();
  auto* box = new QComboBox(parent);
  box->setGeometry(r);
  box->setEditable(true);
  // Named after its caption like every other control, not by the text it holds; its field too.
  box->setAccessibleName(name);
  box->lineEdit()->setAccessibleName(name);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMaxVisibleItems(12);
  box->setValidator(new Cp1250Validator(box));
  struct State : FieldText {
    int index = -1;                  // the item the box was on at the last change
    std::optional<QString> pending;  // moved to an item: a pick follows, or nothing does
  };
  auto state = std::make_shared<State>();
  binder_.bind(id, box, Aspects{}, [box, sorted, state](const ui::Control& c) {
    state->write(q(c.text), [&] {
      QStringList items;
      for (const auto& l : c.lines.lines())
        items << q(l);
      if (sorted) items.sort(Qt::CaseInsensitive);
      QStringList shown;
      for (int i = 0; i < box->count(); ++i)
        shown << box->itemText(i);
      if (shown != items) {
        box->clear();
        box->addItems(items);
      }
      if (box->currentText() != q(c.text)) box->setEditText(q(c.text));
    });
    state->index = box->currentIndex();
    state->pending.reset();
  });
  auto edit = [this, id, state](const QString& text) {
    if (state->fresh(text)) dispatch_({Kind::Edit, id, text.toStdString()});
  };
  auto settle = [state, edit] {
    if (auto text = std::exchange(state->pending, std::nullopt)) edit(*text);
  };
  QObject::connect(box->lineEdit(), &QLineEdit::textChanged, box,
                   [box, state, edit, settle](const QString& text) {
                     if (state->writing) return;
                     settle();
                     const int before = std::exchange(state->index, box->currentIndex());
                     // The box moved to one of its items. A pick (the pointer, the arrow keys,
                     // the wheel) announces itself at once and is reported as the choice only;
                     // an item set in any other way is an edit like any other.
                     if (box->currentIndex() != before && box->currentIndex() >= 0 &&
                         box->itemText(box->currentIndex()) == text) {
                       state->pending = text;
                       QTimer::singleShot(0, box, settle);
                       return;
                     }
                     edit(text);
                   });
  QObject::connect(box, &QComboBox::textActivated, box,
                   [this, id, box, state](const QString& text) {
                     state->pending.reset();
                     state->known = text;
                     state->index = box->currentIndex();
                     dispatch_({Kind::Select, id, text.toStdString()});
                   });
  return box;
}

QSpinBox* Forms::spin(const std::string& id, QWidget* parent, const QRect& r, int step) {
  auto* box = new QSpinBox(parent);
  box->setGeometry(r);
  box->setSingleStep(step);
  box->setAlignment(Qt::AlignRight);
  auto updating = std::make_shared<bool>(false);
  binder_.bind(id, box, Aspects{}, [box, updating](const ui::Control& c) {
    *updating = true;
    box->setRange(c.minimum, c.maximum);
    box->setValue(c.value);
    *updating = false;
  });
  QObject::connect(box, &QSpinBox::valueChanged, [this, id, updating](int value) {
    if (*updating) return;
    dispatch_({Kind::Edit, id, {}, value});
  });
  // A number put into the field whole (by an assistive tool) counts at once, as a typed one does
  // when it is typed (or, for a box that waits for the end of the typing, at Enter).
  if (auto* field = box->findChild<QLineEdit*>()) {
    auto typed = std::make_shared<bool>(false);
    QObject::connect(field, &QLineEdit::textEdited, box, [typed] { *typed = true; });
    QObject::connect(field, &QLineEdit::textChanged, box, [box, updating, typed] {
      if (std::exchange(*typed, false) || *updating) return;
      box->interpretText();
    });
  }
  return box;
}

void Forms::nameBy(QWidget* widget, std::initializer_list<const char*> ids,
                   std::function<QString()> name) {
  widget->setAccessibleName(name());
  for (const char* id : ids)
    if (id)
      binder_.watch(id, [widget, name](const ui::Control&) { widget->setAccessibleName(name()); });
}

QString Forms::counted(const QString& caption, const QString& value) {
  QString counts = caption.trimmed();
  if (counts.endsWith(':')) counts.chop(1);
  return value.isEmpty() ? counts : counts + ": " + value;
}

QFrame* Forms::panel(const std::string& id, QWidget* parent, const QRect& r) {
  auto* f = new QFrame(parent);
  // A rounded border over a black ground, laid over the screen.
  f->setFrameShape(QFrame::StyledPanel);
  style::fill(f, style::kBlack);
  f->setGeometry(r);
  Aspects a;
  a.raise = true;
  binder_.bind(id, f, a);
  return f;
}

QLineEdit* Forms::entry(const std::string& id, QWidget* parent, const QRect& r) {
  auto* e = new QLineEdit(parent);
  e->setGeometry(r);
  e->setValidator(new Cp1250Validator(e));
  Aspects a;
  a.focus = true;
  a.raise = true;
  auto state = std::make_shared<FieldText>();
  binder_.bind(id, e, a, [e, state](const ui::Control& c) {
    state->write(q(c.text), [&] {
      if (e->text() != q(c.text)) e->setText(q(c.text));
    });
  });
  QObject::connect(e, &QLineEdit::textChanged, e, [this, id, state](const QString& text) {
    if (state->fresh(text)) dispatch_({Kind::Edit, id, text.toStdString()});
  });
  return e;
}

}  // namespace tervano::qt
