// The script editor's panel over the play screen: the event box, the script text, the command list
// and "Smazání skriptu".
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

#include "qt/screens.h"
#include "qt/sizes.h"
#include "qt/style.h"
#include "qt/widgets.h"
#include "ui/ids/script_panel.h"

namespace tervano::qt {

namespace {

using Kind = app::Event::Kind;

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

// "Obsah příkazů:": the items are the control's lines. A double click on one, or Enter on the
// selected one, sends its index.
class CommandList : public QListWidget {
 public:
  CommandList(Forms& forms, QWidget* parent) : QListWidget(parent), forms_(forms) {
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { insert(item); });
  }

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && currentItem()) {
      insert(currentItem());
      return;
    }
    QListWidget::keyPressEvent(e);
  }

 private:
  void insert(QListWidgetItem* item) {
    forms_.send({Kind::DoubleClick, id::kScriptCommands, item->text().toStdString(), row(item)});
  }
  Forms& forms_;
};

QListWidget* commandList(ScreenKit& kit, QWidget* parent, const QRect& r) {
  auto* list = new CommandList(kit.forms, parent);
  list->setGeometry(r);
  list->setFont(style::mono());
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setStyleSheet(
      "QListWidget { background-color: #000000; border: 1px solid #008080; }"
      "QListWidget:focus { border-color: #00FFFF; }"
      "QListWidget::item:selected { background-color: #008080; color: #FFFF00; }");
  style::setTextColor(list, style::kAqua);
  kit.binder.bind(id::kScriptCommands, list, Aspects{}, [list](const ui::Control& c) {
    QStringList items;
    for (const auto& l : c.lines.lines())
      items << q(l);
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
      shown << list->item(i)->text();
    if (shown == items) return;
    list->clear();
    list->addItems(items);
  });
  return list;
}

}  // namespace

void buildScriptPanel(ScreenKit& kit, QWidget* s) {
  if (!kit.model.has(id::kScriptPanel)) return;
  Forms& forms = kit.forms;
  // It covers the play screen down to the row of "Hlavní nabídka", which stays the way back to
  // the menu.
  auto* panel = new QFrame(s);
  style::fill(panel, style::kBlack);
  panel->setGeometry(0, 0, size::kWidth, 516);
  kit.binder.bind(id::kScriptPanel, panel, Aspects{});

  QLabel* eventCaption = forms.caption(panel, QRect(8, 10, 60, 20), "Událost:", style::kYellow);
  eventCaption->setBuddy(
      forms.combo(id::kScriptEvent, panel, QRect(70, 8, 240, 24), eventCaption->text()));
  forms.button(id::kScriptDelete, panel, QRect(438, 7, 150, 26));

  const int top = 58;
  const int height = 430;
  forms.caption(panel, QRect(8, top - 18, 200, 16), "Příkazy:", style::kYellow);
  TextArea* text = forms.area(id::kScriptText, panel, QRect(8, top, 330, height), true,
                              style::kLime, Qt::ScrollBarAlwaysOn, Qt::ScrollBarAsNeeded);
  text->setAccessibleName("Příkazy:");
  forms.caption(panel, QRect(346, top - 18, 240, 16), "Obsah příkazů:", style::kYellow);
  QListWidget* commands = commandList(kit, panel, QRect(346, top, 244, height));
  commands->setAccessibleName("Obsah příkazů:");
  forms.caption(panel, QRect(346, top + height + 4, 244, 16),
                "Dvojklik nebo Enter vloží příkaz na konec.", style::kTeal);

  // "Ulož" is pressed by the editor itself, never by the user.
  auto* save = forms.button(id::kScriptSave, panel, QRect(8, top + height + 4, 80, 20));
  save->hide();
}

}  // namespace tervano::qt
