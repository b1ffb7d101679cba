// Event scripts at their moments, nested runs and the guard against endless nesting.
#include <gtest/gtest.h>

#include "game_rig.h"
#include "script/interpreter.h"

namespace tervano {
namespace {

using testing::GameRig;
using V = std::vector<std::string>;

void allSixScripts(const testing::TempProgram& dir) {
  for (auto s : {"prispusteniprogramu.lsc", "priukonceniprogramu.lsc", "nazacatkuhry.lsc",
                 "nakoncihry.lsc", "11nazacatkukrizovky.lsc", "11nakoncikrizovky.lsc"})
    dir.writeScript(s, {"zprava.info", s});
}

TEST(Hooks, NoHookRunsInAnyToolModeEvenWithAllSixFiles) {
  for (auto mode : {"-EDITOR", "-SADA", "-SCRIPTEDITOR", "-SPAUTOSAVE", "-LOADAUTOSAVE"}) {
    GameRig rig;
    allSixScripts(rig.dir);
    rig.start(mode);
    rig.app->invoke([&] { rig.app->game().newGame(); });
    rig.app->game().setCounter(id::kGrade, "1");
    rig.app->game().setCounter(id::kCrossword, "1");
    rig.app->invoke([&] { rig.app->game().prvkr(); });
    rig.app->invoke([&] { rig.app->game().kontrola(); });
    rig.app->dispatch({app::Event::Kind::CloseRequest});
    // Each script shows its own name; the autosave manager's note on the empty log is no hook.
    for (const auto& line : rig.host.only({"info"}))
      EXPECT_EQ(line.find(".lsc"), std::string::npos) << mode << ": " << line;
  }
}

TEST(Hooks, TheMainApplicationRunsThemAtTheirMoments) {
  GameRig rig({1, 1, 1, 1});
  allSixScripts(rig.dir);
  rig.host.pick(rig.dir.makeSave("hra", testing::record("4", "1")));
  rig.start("");
  // The program start as the chooser is created (crossword 4/1 has no script of its own).
  EXPECT_EQ(rig.host.only({"info"}), (V{"info: prispusteniprogramu.lsc"}));
  rig.host.clear();
  rig.host.cancel();  // do not save at the end
  rig.app->click(id::kKontrola);
  EXPECT_EQ(rig.host.only({"info"}),
            (V{"info: nakoncihry.lsc",
               "info: Absolvoval jste luštění všech současných křízovek s bodovým úspěchem -25 "
               "bodů.Za Vaši hru Vám děkuji."}));
  rig.host.clear();
  rig.app->click(id::kNewGame);
  EXPECT_EQ(rig.host.only({"info"}),
            (V{"info: nazacatkuhry.lsc", "info: 11nazacatkukrizovky.lsc"}));
  rig.host.clear();
  rig.host.ok().cancel();
  rig.app->click(id::kEndGame);
  rig.app->click(id::kQuit);
  EXPECT_EQ(rig.host.only({"info", "quit"}), (V{"info: priukonceniprogramu.lsc", "quit"}));
}

TEST(Hooks, TheCheckLooksUpTheCrosswordJustCheckedThenTheNextOne) {
  GameRig rig({5, 1, 1, 1});
  rig.play(testing::record("1", "3"));
  rig.dir.writeScript("13nakoncikrizovky.lsc", {"zprava.info", "konec 1/3"});
  rig.dir.writeScript("14nazacatkukrizovky.lsc", {"zprava.info", "začátek 1/4"});
  rig.kontrola();
  EXPECT_EQ(rig.host.only({"info"}), (V{"info: konec 1/3", "info: začátek 1/4"}));
}

TEST(Hooks, AStartOfGameScriptDecidesTheFirstCrossword) {
  GameRig rig({3, 2, 2, 2});
  rig.play();
  rig.host.ok().cancel();
  rig.app->click(id::kEndGame);
  rig.dir.writeScript("nazacatkuhry.lsc",
                      {"aplikace.promene.rocnik", "=", "2", "aplikace.promene.kriz", "=", "2"});
  rig.dir.addCrossword(2, 2, {"z e b r a"}, {"1", "1", "1", "1", "N", "1"});
  rig.app->click(id::kNewGame);
  EXPECT_EQ(rig.c().lines(id::kMapArea), (TextList{"x x x x x"}));
  EXPECT_EQ(rig.text(id::kGrade), "2");
}

TEST(Hooks, AConversionErrorInAStartOfGameScriptEndsNewGame) {
  GameRig rig;
  rig.play(testing::record("2", "2"));
  rig.host.ok().cancel();
  rig.app->click(id::kEndGame);
  rig.dir.writeScript("nazacatkuhry.lsc", {"aplikace.promene.body", "+", "x"});
  EXPECT_FALSE(rig.app->click(id::kNewGame));
  // The first crossword was never loaded: the map is still empty from the new game's start.
  EXPECT_TRUE(rig.c().lines(id::kMapArea).empty());
  EXPECT_FALSE(rig.c().enabled(id::kKontrola) && rig.app->session().saveRecord.count() == 12);
}

TEST(Hooks, NestedHooksCutOffTheRestOfTheOuterScript) {
  for (bool innerExists : {false, true}) {
    GameRig rig;
    rig.dir.writeScript("prispusteniprogramu.lsc",
                        {"aplikace.hra.ukh", "aplikace.hra.nova", "zprava.info(%1%)"});
    if (innerExists) rig.dir.writeScript("nazacatkuhry.lsc", {"zprava.info", "nová hra"});
    rig.host.pick(rig.dir.makeSave("hra", testing::record()));
    rig.host.ok().cancel();  // "aplikace.hra.ukh": end the game, do not save
    rig.start("");
    const auto infos = rig.host.only({"info"});
    if (innerExists)
      EXPECT_EQ(infos, (V{"info: nová hra"}));
    else
      EXPECT_EQ(infos, (V{"info: Vše jste měl bez chyby."}));
  }
}

TEST(Hooks, DisabledScriptsStillLoadTheBufferAndFireAuto2) {
  GameRig rig;
  rig.dir.write("Data/kriz/automatické uložení.kra",
                {"A", "50", "0", "provedení zadaného skriptu"});
  std::vector<std::string> rec = testing::record("1", "1");
  rec[11] = "X";  // anything but "N" ticks the box
  rig.dir.writeScript("11nazacatkukrizovky.lsc", {"zprava.info", "nic"});
  rig.play(rec);
  EXPECT_TRUE(rig.app->session().scriptsDisabled);
  EXPECT_EQ(rig.app->session().scriptBuffer, (TextList{"zprava.info", "nic"}));
  rig.app->invoke([&] { rig.app->game().prvkr(); });
  EXPECT_TRUE(rig.host.only({"info"}).empty());
  // One record at start-up and one for the retry.
  EXPECT_EQ(rig.dir.read("Data/kriz/automatické uložení.kra").get(2), "2");
}

TEST(Hooks, EndGameAsCompletedRunsTheEndScriptWithoutAuto2) {
  GameRig rig;
  rig.dir.write("Data/kriz/automatické uložení.kra",
                {"A", "50", "0", "provedení zadaného skriptu"});
  rig.play();
  rig.dir.writeScript("nakoncihry.lsc", {"zprava.varovani", "hotovo"});
  rig.app->session().scriptBuffer =
      TextList{"aplikace.promene.body", "=", "12", "aplikace.hra.ukhjdok"};
  rig.host.cancel();
  rig.app->invoke([&] { rig.app->interpreter().run(); });
  EXPECT_EQ(rig.boxesAndCues(),
            (V{"warning: hotovo",
               "info: Absolvoval jste luštění všech současných křízovek s bodovým úspěchem 12 "
               "bodů. Za Vaši hru Vám děkuji.",
               "ask: Chcete současnou hru uložit? -> Cancel"}));
  EXPECT_EQ(rig.text(id::kGrade), "5");
  EXPECT_EQ(rig.text(id::kCrossword), "0");
  EXPECT_FALSE(rig.c().enabled(id::kEndGame));
  EXPECT_TRUE(rig.c().enabled(id::kKontrola));
  EXPECT_EQ(rig.dir.read("Data/kriz/automatické uložení.kra").get(2), "0");
}

TEST(NestingGuard, AStartScriptThatRetriesItsCrosswordStopsWithAMessage) {
  GameRig rig;
  rig.play();
  rig.dir.writeScript("11nazacatkukrizovky.lsc",
                      {"aplikace.promene.body", "+", "1", "cross.retry"});
  EXPECT_TRUE(rig.app->invoke([&] { rig.app->game().prvkr(); }));
  EXPECT_EQ(rig.host.only({"warning"}), (V{"warning: " + script::nestingMessage()}));
  EXPECT_EQ(rig.text(id::kPoints), std::to_string(script::kMaxScriptNesting));
  EXPECT_EQ(rig.app->interpreter().depth(), 0);
  // The program goes on: the check still works.
  rig.dir.remove("tervano/script/11nazacatkukrizovky.lsc");
  rig.answer("c a t\r\nd o g");
  EXPECT_TRUE(rig.kontrola());
  EXPECT_EQ(rig.text(id::kCrossword), "2");
}

TEST(NestingGuard, RetryPressedAgainAndAgainStopsAtTheLimit) {
  GameRig rig;
  rig.play();
  for (int i = 0; i < 100; ++i)
    rig.host.retry();
  rig.app->session().scriptBuffer = TextList{"chyba"};
  rig.app->invoke([&] { rig.app->interpreter().run(); });
  EXPECT_EQ(rig.host.only({"plain"}).size(), static_cast<std::size_t>(script::kMaxScriptNesting));
  EXPECT_EQ(rig.host.only({"warning"}).size(), 1u);
}

TEST(Interpreter, TheStepCountIsFixedWhenTheRunStarts) {
  GameRig rig;
  rig.play();
  // "cross.retry" replaces the buffer with the start script (one line); the outer run still
  // takes its remaining steps, reading the new buffer below the shared line counter.
  rig.dir.writeScript("11nazacatkukrizovky.lsc", {"zprava.info(%2%)"});
  rig.app->session().scriptBuffer =
      TextList{"cross.retry", "zprava.info(%1%)", "zprava.info(%1%)", "zprava.info(%1%)"};
  rig.app->invoke([&] { rig.app->interpreter().run(); });
  EXPECT_EQ(rig.host.only({"info", "plain"}), (V{"info: Sada byla úspěšně přehozena."}));
}

TEST(Interpreter, NestedRunsShareOneLineCounterAndTheOuterKeepsItsStepCount) {
  GameRig rig;
  rig.play();
  // The outer run (three steps) retries the crossword; its start script runs nested in the same
  // buffer and is cancelled at its faulty third line. The outer run then goes on below the line
  // where the nested run stopped, in the nested script's lines, for its two remaining steps:
  // the lines after those are never reached.
  rig.dir.writeScript("11nazacatkukrizovky.lsc",
                      {"zprava.info", "uvnitř", "nesmysl", "zprava.info(%1%)", "zprava.info(%2%)",
                       "zprava.info", "za koncem kroků"});
  rig.app->session().scriptBuffer = TextList{"cross.retry", "zprava.info(%3%)", "kont"};
  rig.host.clear();
  rig.app->invoke([&] { rig.app->interpreter().run(); });
  EXPECT_EQ(rig.host.only({"info", "plain"}),
            (V{"info: uvnitř",
               "plain[SKRIPT]: Ve skriptu došlo k chybě.\rřádek: 2\rpříkaz: nesmysl \rCo chcete "
               "dělat? -> "
               "Cancel",
               "info: Vše jste měl bez chyby.", "info: Sada byla úspěšně přehozena."}));
}

TEST(Interpreter, DisabledScriptsDoNothing) {
  GameRig rig;
  rig.play();
  rig.app->click(id::kNoScriptsCaption);
  rig.app->session().scriptBuffer = TextList{"zprava.info(%1%)", "kont", "nesmysl"};
  rig.app->invoke([&] { rig.app->interpreter().run(); });
  EXPECT_TRUE(rig.host.transcript().empty());
}

}  // namespace
}  // namespace tervano
