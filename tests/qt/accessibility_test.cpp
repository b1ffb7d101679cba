// Every widget of the play and menu screens has a name for assistive tools: its caption, or for a
// widget without one the caption beside it; a label showing a value says what it counts.
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "program_window.h"
#include "qt/forms.h"
#include "rig_window.h"
#include "ui/ids.h"

namespace id = tervano::id;

namespace {

using tervano::testing::accessibleName;

// The parts Qt makes inside its own composite widgets (the viewport and scroll bars of a text
// area, the field of a spin box) and pop-up windows belong to their widget, not to the screen.
bool ownPart(const QWidget* w, const QWidget* screen) {
  for (; w && w != screen; w = w->parentWidget())
    if (w->isWindow() || w->objectName().startsWith("qt_")) return false;
  return true;
}

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void everyWidgetOfThePlayAndMenuScreensIsNamed() {
    ProgramWindow p;
    QVERIFY(p.shown());
    int walked = 0;
    for (const char* screenId : {id::kBackground, id::kMenuScreen}) {
      QWidget* screen = p.window->control(screenId);
      QVERIFY(screen);
      QList<QWidget*> widgets = screen->findChildren<QWidget*>();
      widgets.prepend(screen);
      for (QWidget* w : widgets) {
        if (!ownPart(w, screen)) continue;
        ++walked;
        QVERIFY2(!accessibleName(w).trimmed().isEmpty(),
                 qPrintable(QString("%1 \"%2\" on %3 has no name")
                                .arg(w->metaObject()->className(), w->objectName(), screenId)));
      }
    }
    // The screens hold their counters, areas, panels and buttons: far more than a handful.
    QVERIFY(walked > 100);
  }

  // A label that shows a value is named after what it counts, with the value as shown, and
  // follows the value.
  void valueLabelsSayWhatTheyCount() {
    ProgramWindow p;
    QVERIFY(p.shown());
    struct Case {
      const char* id;
      const char* counts;
    };
    const Case cases[] = {
        {id::kPoints, "Body"},
        {id::kGrade, "Ročník"},
        {id::kCrossword, "Křížovka"},
        {id::kGood, "Dobře"},
        {id::kBad, "Špatně"},
        {id::kLanguage, "Jazyk"},
        {id::kWordCountBig, "Počet slov křížovky"},
        {id::kScoreGood, "Body za dobře zodpovězená slova"},
        {id::kScoreBad, "Body za špatně zodpovězená slova"},
        {id::kScoreGoodTajenka, "Body za dobře zodpovězenou tajenku"},
        {id::kScoreBadTajenka, "Body za špatně zodpovězenou tajenku"},
        {id::kScoreWordCount, "Počet slov křížovky"},
        {id::kCanGain, "Na této křížovce můžete získat"},
        {id::kCanLose, "Na této křížovce můžete ztratit"},
    };
    auto& model = p.rig.app->controls();
    for (const Case& c : cases) {
      auto* label = p.widget<QLabel>(c.id);
      QVERIFY2(label, c.id);
      QCOMPARE(accessibleName(label), QString(c.counts) + ": " + label->text());
      model.setText(c.id, "140");
      p.window->sync();
      QVERIFY2(label->text().endsWith("140"), c.id);
      QCOMPARE(accessibleName(label), QString(c.counts) + ": " + label->text());
    }
    // A caption changed by the model renames its value too.
    model.setText(id::kGradeCaption, "Třída:");
    p.window->sync();
    QCOMPARE(accessibleName(p.widget(id::kGrade)), QString("Třída: 140"));
    // The progress gauges say how far, out of how many.
    QVERIFY(accessibleName(p.widget(id::kGaugeGrades)).startsWith("Ročníky: "));
    QVERIFY(accessibleName(p.widget(id::kGaugeGrades)).contains(" / "));
  }

  // The editable boxes of every screen (list, number and one-line boxes) are named after their
  // captions, not by what they hold; a list box's field reads the same name, and the name stays
  // when the text changes.
  void editableBoxesAreNamedAfterTheirCaptions() {
    struct Box {
      const char* mode;
      const char* id;
      const char* name;  // null: the text of the label `label`
      const char* label = nullptr;
    };
    const Box boxes[] = {
        {"", id::kChooserGrade, "Ročník:"},
        {"", id::kChooserCrossword, "Křížovka:"},
        {"", id::kAutosaveTrigger, "Automatické uložení po"},
        {"", id::kAutosaveQuota, "Obsah souboru nesmí překročit hranici (záznamů)"},
        {"", id::kAccessCode, "Přístupový kód"},
        {"-EDITOR", id::kChooserGrade, "Ročník:"},
        {"-EDITOR", id::kChooserCrossword, "Křížovka:"},
        {"-EDITOR", id::kLanguageBox, "Jazyk:"},
        {"-EDITOR", id::kGradeSpin, "Ročník:"},
        {"-EDITOR", id::kScoreSpinBad, "Body za špatně zodpovězená slova:"},
        {"-EDITOR", id::kWordListTajenka, "Tajenka:"},
        {"-SADA", id::kSetBox, "Sady:"},
        {"-SADA", id::kNewNumber, nullptr, id::kNewNameLabel},
        {"-SCRIPTEDITOR", id::kScriptEvent, "Událost:"},
    };
    QStringList faults;
    for (const Box& b : boxes) {
      ProgramWindow p(b.mode);
      QVERIFY(p.shown());
      QWidget* box = p.widget(b.id);
      QVERIFY2(box, b.id);
      const QString name = b.name ? QString::fromUtf8(b.name)
                                  : QString::fromStdString(p.rig.app->controls().text(b.label));
      QList<QWidget*> parts{box};
      if (auto* combo = qobject_cast<QComboBox*>(box)) {
        parts << combo->lineEdit();
        combo->setEditText("1");
        // What it holds is its value.
        if (QAccessible::queryAccessibleInterface(combo)->text(QAccessible::Value) != "1")
          faults << QString("%1 %2: no value").arg(b.mode, b.id);
      }
      for (QWidget* w : parts)
        if (accessibleName(w) != name)
          faults << QString("%1 %2: \"%3\"").arg(b.mode, b.id, accessibleName(w));
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
  }

  // Check boxes without a text of their own are named after the caption beside them.
  void checkBoxesAreNamedAfterTheirCaptions() {
    ProgramWindow p;
    QVERIFY(p.shown());
    for (auto [box, caption] : {std::pair{id::kErrorPerLine, id::kErrorPerLineCaption},
                                {id::kAskOverwrite, id::kAskOverwriteCaption},
                                {id::kNoScripts, id::kNoScriptsCaption}})
      QCOMPARE(accessibleName(p.widget(box)),
               QString::fromStdString(p.rig.app->controls().text(caption)));
  }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
