// "Kontrola": the order of cues, boxes, scoring and the advance through the grades.
#include <gtest/gtest.h>

#include "game_rig.h"

namespace tervano {
namespace {

using testing::GameRig;
using V = std::vector<std::string>;

TEST(Kontrola, AllLinesRightEarnTheTajenkaBonusAndMoveOn) {
  GameRig rig;
  rig.play();
  rig.answer("c a t\r\nd o g");
  ASSERT_TRUE(rig.kontrola());
  EXPECT_EQ(rig.boxesAndCues(), (V{"cue dobre.wav", "info: Vše jste měl bez chyby."}));
  EXPECT_EQ(rig.text(id::kPoints), "40");  // 10 x 2 + 20
  EXPECT_EQ(rig.text(id::kGood), "2");
  EXPECT_EQ(rig.text(id::kBad), "0");
  EXPECT_EQ(rig.text(id::kCrossword), "2");
  EXPECT_EQ(rig.c().lines(id::kAnswerArea), (TextList{"x x x", "x x x"}));  // next map
}

TEST(Kontrola, TwoWrongLinesWithOneSummaryBox) {
  GameRig rig;
  rig.play();
  rig.answer("x x x\r\nx x x");
  ASSERT_TRUE(rig.kontrola());
  EXPECT_EQ(rig.boxesAndCues(), (V{"cue chyba.wav", "error: Někde jste měl chybu."}));
  EXPECT_EQ(rig.text(id::kPoints), "-25");  // 0 - 5 x 2 - 15: points go below zero
  EXPECT_EQ(rig.text(id::kBad), "2");
}

TEST(Kontrola, TwoWrongLinesEachInItsOwnBox) {
  GameRig rig;
  rig.play();
  rig.host.cancel();  // no answers in the boxes
  rig.app->dispatch({app::Event::Kind::Toggle, id::kErrorPerLine, "", 1});
  rig.host.clear();
  rig.dir.addCrossword(1, 1, {"c a t", "c o w", "d o g"}, {"10", "5", "20", "15", "N", "3"});
  rig.app->invoke([&] { rig.app->game().prvkr(); });
  rig.answer("C A T\r\nx x x\r\ncat");
  ASSERT_TRUE(rig.kontrola());
  EXPECT_EQ(rig.boxesAndCues(), (V{"cue chyba.wav", "error: Chyba:\rŘádek:2", "cue chyba.wav",
                                   "error: Chyba:\rŘádek:3"}));
  EXPECT_EQ(rig.text(id::kPoints), "-15");  // 10 - 5 x 2 - 15
}

TEST(Kontrola, WrongLinesWithTheAnswersShownUseTheAnnouncementCue) {
  GameRig rig;
  rig.play();
  rig.app->dispatch({app::Event::Kind::Toggle, id::kErrorPerLine, "", 1});  // asks, OK
  rig.host.clear();
  rig.answer("C O W\r\nd o g ");
  ASSERT_TRUE(rig.kontrola());
  EXPECT_EQ(rig.boxesAndCues(),
            (V{"cue hlasen.wav",
               "error: Chyba:\rŘádek:1\rVaše odpověď: ( c o w ) není správná.\rSprávná odpověď "
               "zní: ( c a t ).",
               "cue hlasen.wav",
               "error: Chyba:\rŘádek:2\rVaše odpověď: ( d o g  ) není správná.\rSprávná odpověď "
               "zní: ( d o g )."}));
}

TEST(Kontrola, UpperCaseAnswersAreRightAndShownLowerCased) {
  GameRig rig;
  rig.play();
  rig.dir.addCrossword(1, 1, {"ř e k a", "d o g"}, {"10", "5", "20", "15", "N", "2"});
  rig.app->invoke([&] { rig.app->game().prvkr(); });
  rig.answer("Ř E K A\r\nDoG\r\nEXTRA LINE");
  std::vector<std::string> seen;
  rig.host.whileBoxOpen([&] { seen = rig.c().lines(id::kAnswerArea).lines(); });
  ASSERT_TRUE(rig.kontrola());
  // While the report is open the player sees the checked lines lower-cased; extra lines stay.
  EXPECT_EQ(seen, (V{"ř e k a", "dog", "EXTRA LINE"}));
  EXPECT_EQ(rig.text(id::kGood), "1");
  EXPECT_EQ(rig.text(id::kBad), "1");
}

TEST(Kontrola, MissingAnswerLinesAreWrongUnlessTheSolutionLineIsEmpty) {
  GameRig rig;
  rig.play();
  rig.dir.addCrossword(1, 1, {"c a t", "", "d o g"}, {"1", "1", "0", "0", "N", "3"});
  rig.app->invoke([&] { rig.app->game().prvkr(); });
  rig.answer("c a t\r\n");
  ASSERT_TRUE(rig.kontrola());
  EXPECT_EQ(rig.text(id::kGood), "2");  // "c a t" and the empty line
  EXPECT_EQ(rig.text(id::kBad), "1");
}

TEST(Kontrola, FinishingAGradeGoesOnWithTheNextAndSkipsAnEmptyGrade) {
  GameRig rig({1, 1, 0, 2});
  rig.play(testing::record("2", "1"));
  rig.answer("c a t\r\nd o g");
  ASSERT_TRUE(rig.kontrola());
  EXPECT_EQ(rig.boxesAndCues(), (V{"cue dobre.wav", "info: Vše jste měl bez chyby.",
                                   "cue vyhrar.wav", "cue vyhrar.wav"}));
  EXPECT_EQ(rig.text(id::kGrade), "4");
  EXPECT_EQ(rig.text(id::kCrossword), "1");
}

TEST(Kontrola, ArrivingAtTheLastCrosswordOfGradeFourAnnouncesIt) {
  GameRig rig({1, 1, 1, 2});
  rig.play(testing::record("4", "1"));
  ASSERT_TRUE(rig.kontrola());
  EXPECT_EQ(rig.boxesAndCues(), (V{"cue chyba.wav", "error: Někde jste měl chybu.",
                                   "cue hlasen.wav", "warning: Toto kolo je poslední."}));
  EXPECT_EQ(rig.text(id::kCrossword), "2");
}

TEST(Kontrola, CheckingTheFinalCompletesTheGameAndAsksToSave) {
  GameRig rig({1, 1, 1, 2});
  std::vector<std::string> rec = testing::record("4", "2");
  rec[0] = "A";  // music on: the closing cues follow the music switch
  rig.dir.makeMusic();
  rig.play(rec);
  rig.dir.writeScript("42nakoncikrizovky.lsc", {"zprava.info", "konec křížovky"});
  rig.dir.writeScript("nakoncihry.lsc", {"zprava.info", "konec hry"});
  rig.answer("c a t\r\nd o g");
  rig.host.cancel();  // no save
  ASSERT_TRUE(rig.kontrola());
  EXPECT_EQ(rig.boxesAndCues(),
            (V{"cue dobre.wav", "info: Vše jste měl bez chyby.", "cue vyhrar.wav",
               "info: konec křížovky", "cue hlasen.wav", "info: konec hry",
               "info: Absolvoval jste luštění všech současných křízovek s bodovým úspěchem 40 "
               "bodů.Za Vaši hru Vám děkuji.",
               "cue vyhraco.wav", "ask: Chcete současnou hru uložit? -> Cancel"}));
  const auto& c = rig.c();
  EXPECT_EQ(rig.text(id::kGrade), "5");
  EXPECT_EQ(rig.text(id::kCrossword), "0");
  EXPECT_TRUE(c.visible(id::kMenuScreen));
  EXPECT_EQ(c.get(id::kMenuScreen).geometry.height, 541);
  EXPECT_TRUE(c.enabled(id::kKontrola));
  EXPECT_TRUE(c.enabled(id::kNewGame));
  EXPECT_FALSE(c.enabled(id::kEndGame));
  EXPECT_FALSE(c.enabled(id::kReturnToGame));
  EXPECT_TRUE(c.lines(id::kAnswerArea).empty());
  EXPECT_TRUE(rig.app->session().gameFinished);
  EXPECT_EQ(rig.text(id::kGood), "2");  // added after the saving question
}

TEST(Kontrola, TheTotalsSavedAtTheClosingQuestionLackTheLastCrossword) {
  GameRig rig({1, 1, 1, 1});
  rig.play(testing::record("4", "1"));
  rig.answer("c a t\r\nd o g");
  rig.host.ok().pick(rig.dir.path("Data/kriz/konec"));
  ASSERT_TRUE(rig.kontrola());
  const TextList saved = rig.dir.read("Data/kriz/konec.kr1");
  EXPECT_EQ(saved.get(1), "40");
  EXPECT_EQ(saved.get(2), "5");
  EXPECT_EQ(saved.get(4), "0");  // good total still without this crossword
  EXPECT_EQ(rig.text(id::kGood), "2");
}

TEST(Kontrola, PressedAgainAfterCompletionScoresTheEndMarkerAndRepeatsTheClosing) {
  GameRig rig({1, 1, 1, 1});
  rig.play(testing::record("4", "1"));
  rig.answer("c a t\r\nd o g");
  ASSERT_TRUE(rig.kontrola());
  rig.host.clear();
  // The Kontrola timer clears the finished flag a second later: the end marker loads again.
  rig.app->tick(id::kTimerKontrola);
  ASSERT_TRUE(rig.kontrola());
  EXPECT_EQ(rig.boxesAndCues(),
            (V{"cue chyba.wav", "error: Někde jste měl chybu.",
               "info: Absolvoval jste luštění všech současných křízovek s bodovým úspěchem 40 "
               "bodů.Za Vaši hru Vám děkuji.",
               "ask: Chcete současnou hru uložit? -> OK"}));
  EXPECT_EQ(rig.text(id::kGrade), "5");
  EXPECT_EQ(rig.text(id::kCrossword), "0");
  EXPECT_EQ(rig.text(id::kBad), "1");      // the end marker's one line, answered empty
  EXPECT_EQ(rig.text(id::kPoints), "40");  // the end marker scores nothing
}

TEST(Kontrola, AMissingNextCrosswordStopsAfterTheAdvance) {
  GameRig rig;
  rig.play();
  rig.dir.remove("tervano/r1/k2");
  rig.answer("c a t\r\nd o g");
  EXPECT_FALSE(rig.kontrola());
  EXPECT_EQ(rig.text(id::kPoints), "40");
  EXPECT_EQ(rig.text(id::kCrossword), "2");
  EXPECT_EQ(rig.text(id::kGood), "0");  // step 11 did not run
  EXPECT_EQ(rig.host.only({"error"}).size(), 1u);
}

TEST(Kontrola, PointsThatWouldLeave32BitsAreAConversionError) {
  GameRig rig;
  rig.play();
  rig.app->game().setCounter(id::kPoints, "2147483640");
  rig.answer("c a t\r\nd o g");
  EXPECT_FALSE(rig.kontrola());
  EXPECT_EQ(rig.host.only({"error"}), (V{"error: '2147483660' is not a valid integer value"}));
  EXPECT_EQ(rig.text(id::kPoints), "2147483640");
  EXPECT_EQ(rig.text(id::kCrossword), "1");  // nothing after the failed step ran
}

TEST(Kontrola, ANonNumericCounterFailsWhereItIsUsed) {
  GameRig rig;
  rig.play();
  rig.app->game().setCounter(id::kPoints, "abc");
  EXPECT_FALSE(rig.kontrola());
  EXPECT_EQ(rig.host.only({"error"}).back(), "error: 'abc' is not a valid integer value");
}

TEST(Kontrola, AutosaveTriggersComeFirstOnSavePointsAndFirstCrosswords) {
  GameRig rig;
  rig.dir.write("Data/kriz/automatické uložení.kra", {"A", "50", "0", "zadaném bodu uložení"});
  rig.dir.addCrossword(1, 1, {"c a t", "d o g"}, {"10", "5", "20", "15", "A", "2"});
  rig.play();
  rig.recordWrites();
  rig.answer("c a t\r\nd o g");
  ASSERT_TRUE(rig.kontrola());
  const auto order = rig.host.only({"write", "cue"});
  ASSERT_GE(order.size(), 2u);
  EXPECT_EQ(order[0], "write data\\kriz\\automatické uložení.kra");
  EXPECT_EQ(order[1], "cue dobre.wav");
  // The record holds the state before the check.
  const TextList log = rig.dir.read("Data/kriz/automatické uložení.kra");
  EXPECT_EQ(log.get(2), "1");
  EXPECT_EQ(log.get(4 + 8), "0");   // points
  EXPECT_EQ(log.get(4 + 10), "1");  // crossword
  EXPECT_EQ(log.get(4 + 19), "zadaném bodu uložení");
}

}  // namespace
}  // namespace tervano
