// Every editable field of every screen tells the model of every change of its text, not only of
// typing: text put in by an assistive tool (voice control, test automation) through the field's
// editable-text interface counts as well. What the view writes into a field from the model is
// never reported back, and a pick from a list box is reported once, as the choice.
#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "app/chooser.h"
#include "program_window.h"
#include "ui/ids.h"

using tervano::app::Event;
namespace id = tervano::id;

namespace {

// Puts the text into the field as an assistive tool does (AT-SPI's SetTextContents): its whole
// text replaced through its editable-text interface, without a key.
bool setByAssistiveTool(QWidget* field, const QString& text) {
  auto* combo = qobject_cast<QComboBox*>(field);
  QWidget* edited = combo ? combo->lineEdit() : field;
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(edited);
  if (!a || !a->editableTextInterface() || !a->textInterface()) return false;
  a->editableTextInterface()->replaceText(0, a->textInterface()->characterCount(), text);
  return true;
}

enum class Holds { Text, Number, Lines };

struct Field {
  const char* mode;
  const char* opens;  // the command that shows the field, if any
  const char* control;
  Holds holds;
  const char* text;  // what the tool puts in
  const char* back;  // what the model then writes into the field itself
};

bool modelHolds(const tervano::ui::Controls& model, const Field& f, const char* text) {
  switch (f.holds) {
    case Holds::Text:
      return model.text(f.control) == text;
    case Holds::Number:
      return model.value(f.control) == QString(text).toInt();
    case Holds::Lines:
      return model.lines(f.control) == tervano::TextList::fromText(text);
  }
  return false;
}

void modelWrites(tervano::ui::Controls& model, const Field& f) {
  switch (f.holds) {
    case Holds::Text:
      return model.setText(f.control, f.back);
    case Holds::Number:
      return model.setValue(f.control, QString(f.back).toInt());
    case Holds::Lines:
      return model.setLines(f.control, tervano::TextList::fromText(f.back));
  }
}

}  // namespace

class FieldsTest : public QObject {
  Q_OBJECT

 private slots:
  void textSetByAnAssistiveToolReachesTheModel() {
    const Field fields[] = {
        // The main game: the access code, the autosave settings.
        {"", nullptr, id::kAccessCode, Holds::Text, "4711", "12"},
        {"", nullptr, id::kAutosaveTrigger, Holds::Text, "každé křížovce", "ukončení hry"},
        {"", nullptr, id::kAutosaveQuota, Holds::Number, "350", "400"},
        // The crossword editor: the chooser, the language, the areas, the numbers, the word list.
        {"-EDITOR", id::kDataLoad, id::kChooserGrade, Holds::Text, "2", "4"},
        {"-EDITOR", id::kDataLoad, id::kChooserCrossword, Holds::Text, "3", "1"},
        {"-EDITOR", nullptr, id::kLanguageBox, Holds::Text, "Němčina", "Angličtina"},
        {"-EDITOR", nullptr, id::kAnswerArea, Holds::Lines, "c a t\nd o g", "o w l"},
        {"-EDITOR", nullptr, id::kMapArea, Holds::Lines, "x x x\n  x x", "x"},
        {"-EDITOR", nullptr, id::kLegendArea, Holds::Lines, "1. kočka", "1. sova"},
        {"-EDITOR", nullptr, id::kScoreSpinGood, Holds::Number, "7", "8"},
        {"-EDITOR", nullptr, id::kScoreSpinBadTajenka, Holds::Number, "500", "0"},
        {"-EDITOR", nullptr, id::kGradeSpin, Holds::Number, "3", "4"},
        {"-EDITOR", id::kDataFromWords, id::kWordListTajenka, Holds::Text, "kos", "pes"},
        {"-EDITOR", id::kDataFromWords, id::kWordListPairs, Holds::Lines, "cat kočka\nowl sova",
         "dog pes"},
        // Set selection: the set box and the number of a new set.
        {"-SADA", nullptr, id::kSetBox, Holds::Text, "tervano31", "tervano4"},
        {"-SADA", id::kSetCreate, id::kNewNumber, Holds::Number, "42", "43"},
        // The script editor: the event and the script.
        {"-SCRIPTEDITOR", id::kDataNew, id::kScriptEvent, Holds::Text, "nakoncihry",
         "nazacatkuhry"},
        {"-SCRIPTEDITOR", id::kDataNew, id::kScriptText, Holds::Lines, "kont\nukch", "kont"},
    };
    QStringList faults;
    for (const Field& f : fields) {
      ProgramWindow p(f.mode);
      QVERIFY(p.shown());
      if (f.opens) p.window->dispatch({Event::Kind::Click, f.opens});
      QWidget* field = p.widget(f.control);
      QVERIFY2(field, f.control);
      auto& model = p.rig.app->controls();
      auto fault = [&](const char* what) { faults << QString("%1: %2").arg(f.control, what); };

      QVERIFY2(setByAssistiveTool(field, QString::fromUtf8(f.text)), f.control);
      if (!modelHolds(model, f, f.text)) fault("the model missed the tool's text");
      if (p.count(Event::Kind::Edit, f.control) < 1) fault("no edit reported");

      // The model's own text shows in the field and comes back as no edit.
      const int edits = p.count(Event::Kind::Edit, f.control);
      modelWrites(model, f);
      p.window->sync();
      if (!modelHolds(model, f, f.back)) fault("the model's own text was changed");
      if (p.count(Event::Kind::Edit, f.control) != edits) fault("the model's own text came back");
      if (p.count(Event::Kind::Select, f.control) != 0) fault("a choice was reported");
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
  }

  // The reviewer's way: grade and crossword put into the chooser by the tool, then "Potvrď"
  // loads that crossword; no "Údaj o ročníku a křížovce musí být vyplněn.".
  void theChooserTakesWhatAToolPutIntoIt() {
    ProgramWindow p("-EDITOR");
    QVERIFY(p.shown());
    p.window->dispatch({Event::Kind::Click, id::kDataLoad});
    QVERIFY(p.window->control(id::kChooserGrade)->isVisible());
    QVERIFY(setByAssistiveTool(p.widget(id::kChooserGrade), "1"));
    // The grade's crosswords came into the second box, which starts again from "<Neznámo>".
    auto* crossword = p.widget<QComboBox>(id::kChooserCrossword);
    QCOMPARE(crossword->count(), 3);
    QCOMPARE(crossword->currentText(), QString(tervano::app::kUnknown));
    QVERIFY(setByAssistiveTool(crossword, "2"));
    p.rig.host.clear();
    p.window->dispatch({Event::Kind::Click, id::kChooserConfirm});
    QVERIFY(p.rig.host.only({"info"}).empty());
    QVERIFY(!p.window->control(id::kChooserGrade)->isVisible());
    QCOMPARE(p.rig.app->controls().text(id::kDataStatus), std::string("Uložená"));
    QCOMPARE(p.rig.app->controls().text(id::kCrossword), std::string("2"));
  }

  // A pick from the list (the arrow keys here) is one choice, not an edit and a choice; the text
  // typed into the box is one edit per key.
  void aPickIsReportedOnceAndTypingKeyByKey() {
    ProgramWindow p("-EDITOR");
    QVERIFY(p.shown());
    p.window->dispatch({Event::Kind::Click, id::kDataLoad});
    auto* grade = p.widget<QComboBox>(id::kChooserGrade);
    grade->setFocus();
    QTest::keyClick(grade, Qt::Key_Down);
    QTest::keyClick(grade, Qt::Key_Down);
    QCOMPARE(p.count(Event::Kind::Select, id::kChooserGrade), 2);
    QCOMPARE(p.count(Event::Kind::Edit, id::kChooserGrade), 0);
    QCOMPARE(p.rig.app->controls().text(id::kChooserGrade), std::string("3"));
    // The item set from outside, with no pick after it, is an edit once the moment has passed.
    grade->setCurrentIndex(3);
    QTRY_COMPARE(p.rig.app->controls().text(id::kChooserGrade), std::string("4"));
    QCOMPARE(p.count(Event::Kind::Edit, id::kChooserGrade), 1);

    auto* crossword = p.widget<QComboBox>(id::kChooserCrossword);
    crossword->lineEdit()->selectAll();
    crossword->setFocus();
    QTest::keyClicks(crossword, "12");
    QCOMPARE(p.rig.app->controls().text(id::kChooserCrossword), std::string("12"));
    QCOMPARE(p.count(Event::Kind::Edit, id::kChooserCrossword), 2);
    QCOMPARE(p.count(Event::Kind::Select, id::kChooserCrossword), 0);
  }
};

QTEST_MAIN(FieldsTest)
#include "fields_test.moc"
