#include "qt/accessible.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>

namespace tervano::qt {

namespace {

// A list box: its list (0) and, when it can be written in, its field (1) are its children; its
// action opens or closes the list.
class AccessibleListBox : public QAccessibleWidget {
 public:
  explicit AccessibleListBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

  int childCount() const override { return box()->isEditable() ? 2 : 1; }
  QAccessibleInterface* child(int index) const override {
    if (index == 0) return QAccessible::queryAccessibleInterface(box()->view());
    if (index == 1 && box()->isEditable())
      return QAccessible::queryAccessibleInterface(box()->lineEdit());
    return nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (!child) return -1;
    if (child->object() == box()->view()) return 0;
    if (box()->isEditable() && child->object() == box()->lineEdit()) return 1;
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    if (!box()->isEditable()) return nullptr;
    const QRect field(box()->lineEdit()->mapToGlobal(QPoint(0, 0)), box()->lineEdit()->size());
    return field.contains(x, y) ? child(1) : nullptr;
  }
  // The field has the keyboard through the box, which stands in for it.
  QAccessibleInterface* focusChild() const override {
    return box()->isEditable() ? child(1) : nullptr;
  }

  QString text(QAccessible::Text t) const override {
    const QString shown = box()->isEditable() ? box()->lineEdit()->text() : box()->currentText();
    switch (t) {
      case QAccessible::Name: {
        const QString name = QAccessibleWidget::text(t);
        return name.isEmpty() ? shown : name;
      }
      case QAccessible::Value:
        return shown;
      case QAccessible::Accelerator:
        return QKeySequence(Qt::Key_Down).toString(QKeySequence::NativeText);
      default:
        return QAccessibleWidget::text(t);
    }
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    s.expanded = box()->view()->isVisible();
    s.editable = box()->isEditable();
    return s;
  }

  QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
  QString localizedActionDescription(const QString& action) const override {
    return action == showMenuAction() || action == pressAction() ? QString("Otevře seznam")
                                                                 : QString();
  }
  QStringList keyBindingsForAction(const QString& action) const override {
    if (action == showMenuAction() || action == pressAction())
      return {QKeySequence(Qt::Key_Down).toString(QKeySequence::NativeText)};
    return {};
  }
  void doAction(const QString& action) override {
    if (action != showMenuAction() && action != pressAction()) return;
    if (box()->view()->isVisible())
      box()->hidePopup();
    else
      box()->showPopup();
  }

 private:
  QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* listBoxes(const QString& className, QObject* object) {
  if (className == QLatin1String("QComboBox") && object && object->isWidgetType())
    return new AccessibleListBox(static_cast<QComboBox*>(object));
  return nullptr;
}

}  // namespace

void nameListBoxesAfterTheirCaptions() {
  static const bool installed = (QAccessible::installFactory(listBoxes), true);
  (void)installed;
}

}  // namespace tervano::qt
