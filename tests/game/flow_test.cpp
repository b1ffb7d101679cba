// Game flow: new game, the command columns, the access code, ending a game and the timers.
#include <gtest/gtest.h>

#include "game_rig.h"

namespace tervano {
namespace {

using testing::GameRig;
using V = std::vector<std::string>;

void expectNoGameColumn(const ui::Controls& c) {
  EXPECT_TRUE(c.enabled(id::kNewGame));
  EXPECT_TRUE(c.enabled(id::kNewGameSettings));
  EXPECT_TRUE(c.enabled(id::kLoadGame));
  EXPECT_TRUE(c.enabled(id::kQuit));
  EXPECT_FALSE(c.enabled(id::kSaveGame));
  EXPECT_FALSE(c.enabled(id::kEndGame));
  EXPECT_FALSE(c.enabled(id::kReturnToGame));
}

TEST(GameFlow, ANewGameStartsAtGradeOneCrosswordOne) {
  GameRig rig;
  rig.play(testing::record("2", "2"));
  rig.host.ok().cancel();
  rig.app->click(id::kEndGame);
  rig.app->game().setCounter(id::kPoints, "55");
  ASSERT_TRUE(rig.app->click(id::kNewGame));
  const auto& c = rig.c();
  EXPECT_EQ(rig.text(id::kPoints), "0");
  EXPECT_EQ(rig.text(id::kGrade), "1");
  EXPECT_EQ(rig.text(id::kCrossword), "1");
  EXPECT_EQ(rig.text(id::kGood), "0");
  EXPECT_EQ(rig.text(id::kBad), "0");
  EXPECT_EQ(rig.app->session().saveRecord, defaultSaveRecord());
  EXPECT_FALSE(c.visible(id::kMenuScreen));
  EXPECT_TRUE(c.enabled(id::kSaveGame));
  EXPECT_TRUE(c.enabled(id::kEndGame));
  EXPECT_TRUE(c.enabled(id::kReturnToGame));
  EXPECT_FALSE(c.enabled(id::kNewGame));
  EXPECT_FALSE(c.enabled(id::kLoadGame));
  EXPECT_FALSE(c.enabled(id::kQuit));
  EXPECT_TRUE(c.enabled(id::kKontrola));
  EXPECT_TRUE(c.timerRunning(id::kTimerGauge));
  EXPECT_EQ(c.lines(id::kMapArea), (TextList{"x x x", "x x x"}));
}

TEST(GameFlow, ShortcutsActOnlyThroughEnabledButtons) {
  GameRig rig;
  rig.play(testing::record("1", "2"));
  rig.app->key("Ctrl+F1");  // a game runs: "Nová hra" is disabled
  EXPECT_EQ(rig.text(id::kCrossword), "2");
  rig.app->key("F7");
  EXPECT_TRUE(rig.c().visible(id::kMenuScreen));
  rig.app->key("Ctrl+F5");
  EXPECT_FALSE(rig.c().visible(id::kMenuScreen));
  rig.host.ok().cancel();
  rig.app->key("Ctrl+F6");  // shows the menu, then ends the game
  EXPECT_TRUE(rig.c().visible(id::kMenuScreen));
  expectNoGameColumn(rig.c());
  rig.app->click(id::kReturnToGame);  // disabled now, but a click may still come from a script
  rig.app->controls();
  rig.app->key("F7");  // no game: nothing
  rig.app->key("Ctrl+F1");
  EXPECT_EQ(rig.text(id::kCrossword), "1");
}

TEST(GameFlow, EndingAGameAsksTwiceAndSwitchesTheMusicOn) {
  GameRig rig;
  rig.dir.makeMusic();
  rig.play();
  rig.host.cancel();
  rig.app->click(id::kEndGame);
  EXPECT_TRUE(rig.c().enabled(id::kEndGame));  // Cancel: nothing changes
  EXPECT_FALSE(rig.app->sound().musicOn());
  rig.host.clear();
  rig.host.ok().ok().pick(std::nullopt);
  rig.app->click(id::kEndGame);
  EXPECT_EQ(rig.host.only({"ask", "save"}), (V{"ask: Chcete současnou hru skutečně ukončit? -> OK",
                                               "ask: Chcete současnou hru uložit? -> OK",
                                               "save: Ulož hru hry křížovky -> cancel"}));
  expectNoGameColumn(rig.c());
  EXPECT_TRUE(rig.app->sound().musicOn());
  EXPECT_TRUE(rig.c().enabled(id::kSoundsAndMusic));
}

TEST(GameFlow, TheAccessCodeOpensTheChooserOnlyWhenTypedInTime) {
  GameRig rig;
  rig.play();
  rig.host.ok().cancel();
  rig.app->click(id::kEndGame);
  rig.app->click(id::kNewGameSettings);
  EXPECT_TRUE(rig.c().visible(id::kAccessCode));
  EXPECT_TRUE(rig.c().timerRunning(id::kTimerAccessCode));
  rig.app->edit(id::kAccessCode, "58203");
  rig.app->tick(id::kTimerAccessCode);
  EXPECT_FALSE(rig.c().visible(id::kAccessCode));
  EXPECT_FALSE(rig.c().visible(id::kChooserWindow));
  EXPECT_EQ(rig.text(id::kAccessCode), "");

  rig.app->key("Ctrl+F2");
  rig.app->edit(id::kAccessCode, "58204");
  rig.app->tick(id::kTimerAccessCode);
  EXPECT_TRUE(rig.c().visible(id::kChooserWindow));
  EXPECT_FALSE(rig.c().enabled(id::kMainWindow));
  EXPECT_FALSE(rig.c().timerRunning(id::kTimerAccessCode));
  EXPECT_TRUE(rig.host.transcript().empty() || rig.host.only({"error", "info"}).empty());
}

TEST(GameFlow, TheChooserStartsAGameAtTheChosenCrossword) {
  GameRig rig({3, 2, 2, 2});
  rig.play();
  rig.host.ok().cancel();
  rig.app->click(id::kEndGame);
  rig.app->controls();
  rig.app->chooser().open(app::kChooserTitleGame);
  rig.dir.writeScript("nazacatkuhry.lsc", {"zprava.info", "start hry"});
  rig.dir.writeScript("13nazacatkukrizovky.lsc", {"zprava.info", "křížovka 3"});
  rig.app->dispatch({app::Event::Kind::Select, id::kChooserGrade, "1"});
  EXPECT_EQ(rig.c().lines(id::kChooserCrossword), (TextList{"1", "2", "3"}));
  EXPECT_EQ(rig.text(id::kChooserCrossword), "<Neznámo>");
  rig.host.clear();
  rig.app->click(id::kChooserStart);
  EXPECT_EQ(rig.host.only({"info"}), (V{"info: Údaj o ročníku a křížovce musí být vyplněn."}));
  rig.app->edit(id::kChooserCrossword, "3");
  rig.host.clear();
  rig.app->click(id::kChooserStart);
  EXPECT_EQ(rig.host.only({"info"}), (V{"info: křížovka 3"}));  // no start-of-game script
  EXPECT_EQ(rig.text(id::kCrossword), "3");
  EXPECT_EQ(rig.text(id::kPoints), "0");
  EXPECT_FALSE(rig.c().visible(id::kChooserWindow));
  EXPECT_TRUE(rig.c().enabled(id::kMainWindow));
  EXPECT_TRUE(rig.c().enabled(id::kEndGame));
  EXPECT_EQ(rig.app->session().saveRecord.get(0), "A");
}

TEST(GameFlow, TheGaugesFollowTheCountersOnTheirTimer) {
  GameRig rig({3, 7, 2, 2});
  rig.play(testing::record("2", "3"));
  rig.app->tick(id::kTimerGauge);
  const auto& c = rig.c();
  EXPECT_EQ(c.get(id::kGaugeCrosswords).value, 3);
  EXPECT_EQ(c.get(id::kGaugeCrosswords).maximum, 7);
  EXPECT_EQ(c.get(id::kGaugeGrades).value, 2);
  EXPECT_EQ(c.get(id::kGaugeGrades).maximum, 4);
  rig.app->game().setCounter(id::kGrade, "5");
  rig.app->game().setCounter(id::kCrossword, "0");
  rig.app->tick(id::kTimerGauge);
  EXPECT_EQ(c.get(id::kGaugeCrosswords).value, 3);  // grade 5 keeps the last setting
  // A counter that is no number leaves the gauges as they are, without a box at every tick.
  rig.app->game().setCounter(id::kGrade, "x");
  EXPECT_TRUE(rig.app->tick(id::kTimerGauge));
  EXPECT_TRUE(rig.host.only({"error"}).empty());
  EXPECT_EQ(c.get(id::kGaugeGrades).value, 5);
}

TEST(GameFlow, TheKontrolaTimerReenablesTheButtonBeforeTheLastCrossword) {
  GameRig rig({3, 2, 2, 4});
  rig.play(testing::record("4", "3"));
  auto& c = rig.app->controls();
  c.setEnabled(id::kKontrola, false);
  rig.app->session().gameFinished = true;
  rig.app->tick(id::kTimerKontrola);
  EXPECT_TRUE(c.enabled(id::kKontrola));
  EXPECT_FALSE(rig.app->session().gameFinished);
  rig.app->game().setCounter(id::kCrossword, "4");
  c.setEnabled(id::kKontrola, false);
  rig.app->tick(id::kTimerKontrola);
  EXPECT_FALSE(c.enabled(id::kKontrola));
}

TEST(GameFlow, TickingErrorDetailsAsksAboutShowingTheAnswers) {
  GameRig rig;
  rig.play();
  rig.host.cancel();
  rig.app->click(id::kErrorPerLineCaption);
  EXPECT_EQ(rig.host.only({"cue", "ask"}),
            (V{"cue hlasen.wav",
               "ask: Přejete si v chybových hlášeních\rzobrazit kromě řádku na kterém se\rchyba "
               "udála špatné a správné odpovědi? -> Cancel"}));
  EXPECT_TRUE(rig.c().checked(id::kErrorPerLine));
  EXPECT_FALSE(rig.app->session().showAnswersInErrors);
  rig.host.clear();
  rig.app->click(id::kErrorPerLineCaption);  // unticking asks nothing
  EXPECT_FALSE(rig.c().checked(id::kErrorPerLine));
  EXPECT_TRUE(rig.host.transcript().empty());
}

}  // namespace
}  // namespace tervano
