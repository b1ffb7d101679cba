// The script editor's panel and the set's music panel in real widgets: every control is found by
// the name a screen reader reads (its caption), and typing, picking an event and double-clicking a
// command reach the editor.
#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

#include "rig_window.h"
#include "script_rig.h"

namespace id = tervano::id;

namespace {

using tervano::testing::accessibleName;
using Program = tervano::testing::RigWindow<tervano::testing::ScriptRig>;

}  // namespace

class ScriptViewTest : public QObject {
  Q_OBJECT

 private slots:
  void everyControlHasItsCaptionAsName() {
    Program p;
    const std::pair<const char*, const char*> named[] = {
        {id::kScriptEvent, "Událost:"},
        {id::kScriptText, "Příkazy:"},
        {id::kScriptCommands, "Obsah příkazů:"},
        {id::kScriptDelete, "Smazání skriptu"},
        {id::kDataNew, "Nový ..."},
        {id::kDataLoad, "Načíst"},
        {id::kDataSave, "Uložit"},
        {id::kDataReturn, "Návrat k editaci"},
        {id::kDataClose, "Ukončit režim editace"},
        {id::kDataStatus, "Data: ?"},
        {id::kCatEditorData, "Skript ..."},
        {id::kCatSetMusic, "Sada ..."},
        {id::kSetMusicOpen, "Ozvučení"},
        {id::kMusicPanel, "Ozvučení sady"},
        {id::kMusicChoose[0], "I. ročník: Vybrat ..."},
        {id::kMusicChoose[3], "IV. ročník: Vybrat ..."},
        {id::kMusicChoose[4], "Konečná skladba: Vybrat ..."},
        {id::kMusicConfirm, "Potvrdit"},
    };
    for (auto [control, name] : named) {
      QWidget* widget = p.w(control);
      QVERIFY2(widget, control);
      QCOMPARE(accessibleName(widget), QString::fromUtf8(name));
    }
    // The event box is also labelled by its caption.
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(p.w(id::kScriptEvent));
    QStringList labels;
    for (const auto& relation : box->relations(QAccessible::Label))
      labels << relation.first->text(QAccessible::Name);
    QCOMPARE(labels, QStringList{"Událost:"});

    // No input of the two panels is without a name; the music rows read differently.
    QList<QWidget*> inputs;
    for (QWidget* root : {p.w(id::kScriptPanel), p.w(id::kMusicPanel)})
      for (QWidget* w : root->findChildren<QWidget*>())
        if (w->isVisibleTo(root) &&
            (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
             qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QListWidget*>(w)))
          inputs << w;
    QVERIFY(inputs.size() >= 10);
    QSet<QString> names;
    for (QWidget* w : inputs) {
      QVERIFY2(!accessibleName(w).trimmed().isEmpty(), w->metaObject()->className());
      names << accessibleName(w);
    }
    QCOMPARE(names.size(), inputs.size());
  }

  void theListShowsTheCommandsAndADoubleClickAppendsOne() {
    Program p;
    p.send({tervano::app::Event::Kind::Click, id::kDataNew});
    auto* box = qobject_cast<QComboBox*>(p.w(id::kScriptEvent));
    QCOMPARE(box->count(), 6);
    box->setCurrentIndex(3);
    emit box->textActivated(box->currentText());
    QCOMPARE(p.rig.text(id::kScriptEvent), std::string("nakoncikrizovky"));
    QVERIFY(!box->isEnabled());

    auto* text = qobject_cast<QPlainTextEdit*>(p.w(id::kScriptText));
    QVERIFY(!text->isReadOnly());
    QCOMPARE(text->lineWrapMode(), QPlainTextEdit::NoWrap);
    text->setFocus();
    QTest::keyClicks(text, "kont");
    QCOMPARE(p.rig.script(), tervano::TextList{"kont"});

    auto* list = qobject_cast<QListWidget*>(p.w(id::kScriptCommands));
    QCOMPARE(list->count(), 49);
    QListWidgetItem* retry = list->findItems("cross.retry", Qt::MatchExactly).value(0);
    QVERIFY(retry);
    list->scrollToItem(retry);
    const QPoint at = list->visualItemRect(retry).center();
    // The first click of a double click selects the item, the second inserts it.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(p.rig.script(), (tervano::TextList{"kont", "cross.retry"}));
    QCOMPARE(text->toPlainText(), QString("kont\ncross.retry"));
    // Enter on the selected item does the same, for the keyboard.
    list->setFocus();
    list->setCurrentItem(list->findItems("kont", Qt::MatchExactly).value(0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(p.rig.script(), (tervano::TextList{"kont", "cross.retry", "kont"}));
    QCOMPARE(p.rig.status(), std::string("Neuložená"));
  }

  void theMusicPanelOpensOverTheMenuWithItsFiveRows() {
    Program p;
    p.send({tervano::app::Event::Kind::Hover, id::kCatSetMusic});
    QTest::mouseClick(qobject_cast<QAbstractButton*>(p.w(id::kSetMusicOpen)), Qt::LeftButton);
    QWidget* panel = p.w(id::kMusicPanel);
    QVERIFY(panel->isVisible());
    QStringList rows;
    for (auto* l : panel->findChildren<QLabel*>())
      rows << l->text();
    for (const char* row :
         {"I     .ročník:", "II    .ročník:", "III   .ročník:", "IV   .ročník:", "Konečný:"})
      QVERIFY2(rows.contains(QString::fromUtf8(row)), row);
    QVERIFY(!p.w(id::kMusicNoMusic)->isVisible());
  }
};

QTEST_MAIN(ScriptViewTest)
#include "script_view_test.moc"
