// Typing over the map: the Insert key switches an editable text area between inserting and
// overwriting, visibly; overwriting replaces the character under the cursor (the "x" of the map)
// but never the end of a line, and the model hears of each key once.
#include <QTest>

#include "program_window.h"
#include "qt/widgets.h"
#include "ui/ids.h"

using tervano::app::Event;
using tervano::qt::TextArea;
namespace id = tervano::id;

namespace {

// Puts the lines into the area through the model and the cursor at a position.
void prepare(ProgramWindow& p, const char* areaId, const tervano::TextList& lines, int position) {
  auto* area = p.widget<TextArea>(areaId);
  p.rig.app->controls().setLines(areaId, lines);
  p.window->sync();
  area->setFocus();
  QTextCursor c = area->textCursor();
  c.setPosition(position);
  area->setTextCursor(c);
}

}  // namespace

class TypingTest : public QObject {
  Q_OBJECT

 private slots:
  void overwritingReplacesTheCharacterUnderTheCursor() {
    struct Case {
      const char* what;
      tervano::TextList lines;
      int position;
      bool overwrite;
      const char* keys;
      tervano::TextList expected;
    };
    const Case cases[] = {
        {"the x of the map", {"x x x"}, 0, true, "c", {"c x x"}},
        {"letters and blanks alike", {"x x x"}, 0, true, "c a t", {"c a t"}},
        {"inserting pushes the map on", {"x x x"}, 0, false, "c", {"cx x x"}},
        {"beyond the end of a line it adds", {"x x"}, 2, true, "abc", {"x abc"}},
        {"the line break is never overwritten", {"x x", "x x"}, 2, true, "ab", {"x ab", "x x"}},
        {"on the second line", {"x x", "x x x"}, 6, true, "d", {"x x", "x d x"}},
    };
    for (const Case& c : cases) {
      ProgramWindow p;
      QVERIFY(p.shown());
      auto* area = p.widget<TextArea>(id::kAnswerArea);
      prepare(p, id::kAnswerArea, c.lines, c.position);
      if (c.overwrite) QTest::keyClick(area, Qt::Key_Insert);
      QCOMPARE(area->overwriteMode(), c.overwrite);
      const int before = p.count(Event::Kind::Edit, id::kAnswerArea);
      QTest::keyClicks(area, c.keys);
      QVERIFY2(p.rig.app->controls().lines(id::kAnswerArea) == c.expected, c.what);
      // One edit per key: never the line without its character first.
      QCOMPARE(p.count(Event::Kind::Edit, id::kAnswerArea) - before, int(strlen(c.keys)));
    }
  }

  // The state shows: a block cursor over the next character (the area's overwrite mode), the mark
  // in the corner and the description for assistive tools; Insert again goes back.
  void insertSwitchesBackAndForthVisibly() {
    ProgramWindow p;
    QVERIFY(p.shown());
    auto* area = p.widget<TextArea>(id::kAnswerArea);
    prepare(p, id::kAnswerArea, {"x x x"}, 0);
    QCOMPARE(area->modeMark(), QString("VLO"));
    const QImage inserting = area->viewport()->grab().toImage();
    QTest::keyClick(area, Qt::Key_Insert);
    QVERIFY(area->overwriteMode());
    QCOMPARE(area->modeMark(), QString("PŘE"));
    QCOMPARE(area->accessibleDescription(), QString("Přepisování"));
    QVERIFY(area->viewport()->grab().toImage() != inserting);
    QTest::keyClick(area, Qt::Key_Insert);
    QVERIFY(!area->overwriteMode());
    QCOMPARE(area->accessibleDescription(), QString("Vkládání"));
    // Shift+Insert still pastes; it does not switch.
    QTest::keyClick(area, Qt::Key_Insert, Qt::ShiftModifier);
    QVERIFY(!area->overwriteMode());
  }

  // The map and the legend of a game are read-only: Insert changes nothing there. In the editor
  // they are written like the answer area, and overwrite the same way.
  void theEditorsAreasOverwriteTooTheGamesMapDoesNot() {
    {
      ProgramWindow p;
      QVERIFY(p.shown());
      auto* map = p.widget<TextArea>(id::kMapArea);
      map->setFocus();
      QTest::keyClick(map, Qt::Key_Insert);
      QVERIFY(!map->overwriteMode());
    }
    ProgramWindow p("-EDITOR");
    QVERIFY(p.shown());
    for (const char* areaId : {id::kMapArea, id::kLegendArea}) {
      auto* area = p.widget<TextArea>(areaId);
      QVERIFY(!area->isReadOnly());
      prepare(p, areaId, {"x x x", "x x"}, 2);
      QTest::keyClick(area, Qt::Key_Insert);
      QTest::keyClicks(area, "a b");
      QVERIFY2(p.rig.app->controls().lines(areaId) == (tervano::TextList{"x a b", "x x"}), areaId);
    }
  }
};

QTEST_MAIN(TypingTest)
#include "typing_test.moc"
