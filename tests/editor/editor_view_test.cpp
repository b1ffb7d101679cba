// The editor's screen in real widgets: every control can be found by the name a screen reader
// reads (the caption it stands under), the scoring captions read as documented, the map and the
// legend take typing, and the word-list window follows the model.
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <set>

#include "editor_rig.h"
#include "rig_window.h"

namespace id = tervano::id;

namespace {

using tervano::testing::accessibleName;

struct Program : tervano::testing::RigWindow<tervano::testing::EditorRig> {
  void click(const char* control) { send({tervano::app::Event::Kind::Click, control}); }
};

}  // namespace

class EditorViewTest : public QObject {
  Q_OBJECT

 private slots:
  // The four captions of the scoring panel are the documented texts, in every mode.
  void scoringCaptionsReadAsDocumented() {
    tervano::testing::Rig rig;
    rig.dir.makeSet({1, 1, 1, 1});
    rig.host.pick(rig.dir.makeSave("hra", tervano::testing::record()));
    rig.start("");
    tervano::qt::MainWindow window(*rig.app, [] { return false; });
    window.completeBuild();
    QGroupBox* group = nullptr;
    for (auto* g : window.playScreen()->findChildren<QGroupBox*>())
      if (g->title() == "Bodování za tuto křížovku") group = g;
    QVERIFY(group);
    QStringList captions;
    for (auto* l : group->findChildren<QLabel*>())
      captions << l->text();
    for (const char* text :
         {"Body za dobře zodpovězená slova:", "Body za špatně zodpovězená slova:",
          "Body za dobře zodpovězenou tajenku:", "Body za špatně zodpovězenou tajenku:"})
      QVERIFY2(captions.contains(QString::fromUtf8(text)), text);
    for (const char* old : {"Za každé správné slovo:", "Za vyluštěnou tajenku:"})
      QVERIFY2(!captions.contains(QString::fromUtf8(old)), old);
  }

  // Each control of the editor's screens is named after its caption, as a screen reader and the
  // accessibility tree see it; no input of those screens is without a name.
  void everyEditorControlHasItsCaptionAsName() {
    Program p;
    const std::pair<const char*, const char*> named[] = {
        {id::kAnswerArea, "Sem pište znění křížovky:"},
        {id::kMapArea, "Mapa křížovky:"},
        {id::kLegendArea, "Legenda:"},
        {id::kScoreSpinGood, "Body za dobře zodpovězená slova:"},
        {id::kScoreSpinBad, "Body za špatně zodpovězená slova:"},
        {id::kScoreSpinGoodTajenka, "Body za dobře zodpovězenou tajenku:"},
        {id::kScoreSpinBadTajenka, "Body za špatně zodpovězenou tajenku:"},
        {id::kScoreGoodCaption, "Body za dobře zodpovězená slova:"},
        {id::kSavePoint, "Bod uložení"},
        {id::kGradeSpin, "Ročník:"},
        {id::kLanguageBox, "Jazyk:"},
        {id::kArrowNext, "Další křížovka"},
        {id::kArrowPrev, "Předchozí křížovka"},
        {id::kDataNew, "Nová ..."},
        {id::kDataLoad, "Načíst"},
        {id::kDataSave, "Uložit"},
        {id::kDataReturn, "Návrat k editaci"},
        {id::kDataClose, "Ukončit režim editace"},
        {id::kDataFromWords, "Sestavit ze slov ..."},
        {id::kDataStatus, "Data: ?"},
        {id::kWordListTajenka, "Tajenka:"},
        {id::kWordListPairs, "Slova a nápovědy:"},
        {id::kWordListBuild, "Sestavit"},
        {id::kWordListLoad, "Načíst ze souboru ..."},
        {id::kWordListBack, "Zpět"},
        {id::kDataPrint, "Tisk a export ..."},
        {id::kPrintScopeCrossword, "Tato křížovka"},
        {id::kPrintScopeGrade, "Celý ročník"},
        {id::kPrintScopeSet, "Celá sada"},
        {id::kPrintKeys, "S řešením"},
        {id::kPrintWarnings, "Upozornění:"},
        {id::kPrintPrint, "Tisknout ..."},
        {id::kPrintPreview, "Náhled ..."},
        {id::kPrintPdf, "Uložit PDF ..."},
        {id::kPrintIpuz, "Uložit iPuz ..."},
        {id::kDataIpuz, "Načíst iPuz ..."},
        {id::kPrintBack, "Zpět"},
    };
    for (auto [control, name] : named) {
      QWidget* widget = p.w(control);
      QVERIFY2(widget, control);
      QCOMPARE(accessibleName(widget), QString::fromUtf8(name));
    }
    // The list box's caption is also its label.
    QAccessibleInterface* language = QAccessible::queryAccessibleInterface(p.w(id::kLanguageBox));
    QStringList labels;
    for (const auto& relation : language->relations(QAccessible::Label))
      labels << relation.first->text(QAccessible::Name);
    QCOMPARE(labels, QStringList{"Jazyk:"});

    QList<QWidget*> inputs;
    for (QWidget* root : {p.window.playScreen(), p.w(id::kPanelEditorData),
                          p.w(id::kWordListTajenka)->window(), p.w(id::kPrintPdf)->window()})
      for (QWidget* w : root->findChildren<QWidget*>())
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
            qobject_cast<QComboBox*>(w) || qobject_cast<QPlainTextEdit*>(w))
          inputs << w;
    QVERIFY(inputs.size() > 15);
    for (QWidget* w : inputs)
      QVERIFY2(!accessibleName(w).trimmed().isEmpty(), w->metaObject()->className());
  }

  // The map takes typing in the editor; the model's own loading is no edit.
  void mapAndLegendAreWrittenInTheEditor() {
    Program p;
    p.rig.load("1", "1");
    p.window.sync();
    auto* map = qobject_cast<QPlainTextEdit*>(p.w(id::kMapArea));
    QVERIFY(!map->isReadOnly());
    QVERIFY(!qobject_cast<QPlainTextEdit*>(p.w(id::kLegendArea))->isReadOnly());
    QCOMPARE(p.rig.status(), std::string("Uložená"));
    map->setFocus();
    map->moveCursor(QTextCursor::End);
    QTest::keyClicks(map, " x");
    QCOMPARE(p.rig.c().lines(id::kMapArea).get(1), std::string("x x x x"));
    QCOMPARE(p.rig.status(), std::string("Neuložená"));
    QVERIFY(!p.w(id::kArrowNext)->isVisible());
  }

  void wordListWindowOpensAndBuilds() {
    Program p;
    p.click(id::kDataFromWords);
    QWidget* window = p.w(id::kWordListTajenka)->window();
    QVERIFY(window->isVisible());
    QVERIFY(!p.window.isEnabled());
    QTest::keyClicks(qobject_cast<QLineEdit*>(p.w(id::kWordListTajenka)), "ab");
    auto* pairs = qobject_cast<QPlainTextEdit*>(p.w(id::kWordListPairs));
    pairs->setFocus();
    QTest::keyClicks(pairs, "cat kocka");
    QTest::keyClick(pairs, Qt::Key_Return);
    QTest::keyClicks(pairs, "bus autobus");
    QTest::mouseClick(qobject_cast<QAbstractButton*>(p.w(id::kWordListBuild)), Qt::LeftButton);
    QVERIFY(!window->isVisible());
    QVERIFY(p.window.isEnabled());
    QCOMPARE(qobject_cast<QPlainTextEdit*>(p.w(id::kAnswerArea))->toPlainText(),
             QString("c a t\n  b u s"));
  }

  // The window "Tisk a export křížovek" shows what the model holds and sends the user's choices;
  // "Uložit iPuz ..." stands in its button row between "Uložit PDF ..." and "Zpět".
  void printWindowFollowsTheModel() {
    Program p;
    p.click(id::kDataPrint);
    QWidget* window = p.w(id::kPrintPdf)->window();
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QString("Tisk a export křížovek"));
    QVERIFY(!p.window.isEnabled());
    auto* crossword = qobject_cast<QAbstractButton*>(p.w(id::kPrintScopeCrossword));
    auto* grade = qobject_cast<QAbstractButton*>(p.w(id::kPrintScopeGrade));
    auto* set = qobject_cast<QAbstractButton*>(p.w(id::kPrintScopeSet));
    QVERIFY(!crossword->isEnabled());
    QVERIFY(grade->isChecked());
    QTest::mouseClick(set, Qt::LeftButton);
    p.window.sync();
    QVERIFY(p.rig.c().checked(id::kPrintScopeSet));
    QVERIFY(set->isChecked());
    QVERIFY(!grade->isChecked());
    QTest::mouseClick(qobject_cast<QAbstractButton*>(p.w(id::kPrintKeys)), Qt::LeftButton);
    QVERIFY(p.rig.c().checked(id::kPrintKeys));
    QCOMPARE(qobject_cast<QLabel*>(p.w(id::kPrintSummary))->text().toStdString(),
             p.rig.text(id::kPrintSummary));
    QVERIFY(p.rig.text(id::kPrintSummary).find("24 stran") != std::string::npos);

    const QRect pdf = p.w(id::kPrintPdf)->geometry();
    const QRect ipuz = p.w(id::kPrintIpuz)->geometry();
    const QRect back = p.w(id::kPrintBack)->geometry();
    QCOMPARE(ipuz.top(), pdf.top());
    QCOMPARE(back.top(), pdf.top());
    QVERIFY(ipuz.left() > pdf.right() && back.left() > ipuz.right());
    QVERIFY(back.right() <= window->width());
    QTest::mouseClick(qobject_cast<QAbstractButton*>(p.w(id::kPrintBack)), Qt::LeftButton);
    QVERIFY(!window->isVisible());
    QVERIFY(p.window.isEnabled());
  }

  // "Načíst ze souboru ..." fills the window's list where the teacher edits it.
  void aLoadedWordListShowsInTheWindow() {
    Program p;
    p.click(id::kDataFromWords);
    p.rig.dir.writeBytes("slova.csv", "Angličtina;Čeština\ncat;kočka\nbus;autobus\n");
    p.rig.host.pick(p.rig.dir.path("slova.csv"));
    QTest::mouseClick(qobject_cast<QAbstractButton*>(p.w(id::kWordListLoad)), Qt::LeftButton);
    QCOMPARE(qobject_cast<QPlainTextEdit*>(p.w(id::kWordListPairs))->toPlainText(),
             QString("cat – kočka\nbus – autobus"));
  }
};

QTEST_MAIN(EditorViewTest)
#include "editor_view_test.moc"
