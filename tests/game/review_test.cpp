// Rules of the game whose breaking an earlier test would not have noticed, and the faults a
// review found: each case states the rule it holds the game to.
#include <gtest/gtest.h>

#include <filesystem>

#include "game_rig.h"

namespace tervano {
namespace {

using testing::GameRig;
using V = std::vector<std::string>;

std::vector<std::string> withLine(std::vector<std::string> record, int line, std::string value) {
  record[static_cast<std::size_t>(line)] = std::move(value);
  return record;
}

// --- The answer check ---

TEST(CheckRules, TheSolutionIsLowerCasedAsTheAnswerIs) {
  GameRig rig;
  rig.dir.addCrossword(1, 1, {"C A T", "D O G"}, {"10", "5", "20", "15", "N", "2"});
  rig.play();
  rig.answer("c a t\r\nd o g");
  ASSERT_TRUE(rig.kontrola());
  EXPECT_EQ(rig.text(id::kGood), "2");
  EXPECT_EQ(rig.text(id::kBad), "0");
}

TEST(CheckRules, AGradeEndsWhenItsCountMatchesAsANumber) {
  GameRig rig({3, 1, 1, 1});
  TextList desc = rig.dir.read("tervano/Tervano.ini");
  desc.set(1, "03");  // written with a leading zero
  rig.dir.write("tervano/Tervano.ini", desc.lines());
  rig.play(testing::record("1", "3"));
  rig.answer("c a t\r\nd o g");
  ASSERT_TRUE(rig.kontrola());
  EXPECT_EQ(rig.host.only({"cue vyhrar"}).size(), 1u);
  EXPECT_EQ(rig.text(id::kGrade), "2");
  EXPECT_EQ(rig.text(id::kCrossword), "1");
}

TEST(CheckRules, TheLastRoundSwitchesTheMusicOnlyWithTheMusicOn) {
  for (bool music : {false, true}) {
    GameRig rig({1, 1, 1, 3});
    rig.dir.makeMusic();
    rig.play(withLine(testing::record("4", "2"), 0, music ? "A" : "N"));
    const std::string before = rig.host.fakeMusic().file();
    rig.kontrola();
    EXPECT_EQ(rig.host.only({"warning"}), (V{"warning: Toto kolo je poslední."})) << music;
    const std::string after = std::filesystem::path(rig.host.fakeMusic().file()).filename();
    if (music)
      EXPECT_EQ(after, "Final.mid");
    else
      EXPECT_EQ(rig.host.fakeMusic().file(), before);  // nothing chose the final's piece
  }
}

TEST(CheckRules, ACompletedGameDoesNotReloadTheEndMarkerWhileItsFlagIsSet) {
  GameRig rig({1, 1, 1, 1});
  rig.play(testing::record("4", "1"));
  rig.dir.writeScript("50nazacatkukrizovky.lsc", {"zprava.info", "konec znovu"});
  rig.answer("c a t\r\nd o g");
  ASSERT_TRUE(rig.kontrola());  // completes the game: the end marker loads once
  EXPECT_EQ(rig.host.only({"info: konec"}), (V{"info: konec znovu"}));
  rig.host.clear();
  ASSERT_TRUE(rig.kontrola());  // no Kontrola timer tick between: the flag is still set
  EXPECT_TRUE(rig.host.only({"info: konec"}).empty());
  rig.app->tick(id::kTimerKontrola);  // clears the flag
  ASSERT_TRUE(rig.kontrola());
  EXPECT_EQ(rig.host.only({"info: konec"}), (V{"info: konec znovu"}));
}

// --- Saved games ---

TEST(SavedGameRules, OnlyAnAInLineTenShowsTheAnswersInErrors) {
  struct Case {
    const char* line10;
    bool shows;
  };
  for (const Case& c : {Case{"A", true}, Case{"N", false}, Case{"X", false}, Case{"", false}}) {
    GameRig rig;
    rig.play(withLine(testing::record(), 10, c.line10));
    EXPECT_EQ(rig.app->session().showAnswersInErrors, c.shows) << "'" << c.line10 << "'";
  }
}

TEST(SavedGameRules, LineTenIsWrittenFromTheAnswersSwitchNotFromTheDetailBox) {
  GameRig rig;
  rig.play(withLine(withLine(testing::record(), 9, "N"), 10, "A"));
  ASSERT_FALSE(rig.c().checked(id::kErrorPerLine));
  ASSERT_TRUE(rig.app->session().showAnswersInErrors);
  rig.host.pick(rig.dir.path("Data/kriz/ulozena"));
  rig.app->click(id::kSaveGame);
  const TextList saved = rig.dir.read("Data/kriz/ulozena.kr1");
  EXPECT_EQ(saved.get(9), "N");
  EXPECT_EQ(saved.get(10), "A");
}

TEST(SavedGameRules, TheRefusalOfANewerSaveIsAnnouncedBeforeItsBox) {
  GameRig rig;
  rig.host.pick(rig.dir.makeSave("nova", testing::record("1", "1", "5")));
  rig.start("");
  const V seen = rig.host.only({"cue", "error"});
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen[seen.size() - 2], "cue hlasen.wav");
  EXPECT_EQ(seen.back().rfind("error: Váš save není možné pod touto verzí spustit.", 0), 0u);
}

TEST(SavedGameFaults, AShortRecordIsRepairedForRealAndLoadsWithoutQuestionsNextTime) {
  GameRig rig;
  const std::string save = rig.dir.makeSave("kratka", {"N", "35", "1", "2", "3", "1"});
  rig.host.pick(save).ok().ok();  // both questions of the repair: OK
  rig.start("");
  EXPECT_EQ(rig.host.only({"ask"}).size(), 1u);  // asked once, not again for the repaired save
  const TextList repaired = rig.dir.read("Data/kriz/kratka.kr1");
  EXPECT_EQ(repaired.count(), 12);
  EXPECT_EQ(repaired.get(8), "4");   // the set's version
  EXPECT_EQ(repaired.get(1), "35");  // the points are kept
  // The next start loads it without a finding.
  GameRig next;
  next.dir.makeSet({3, 2, 2, 2});
  next.dir.write("Data/kriz/kratka.kr1", repaired.lines());
  next.host.pick(next.dir.path("Data/kriz/kratka.kr1"));
  next.start("");
  EXPECT_TRUE(next.host.only({"error", "ask"}).empty());
  EXPECT_FALSE(next.host.quitRequested());
}

TEST(SavedGameFaults, AnEmptyRecordIsNeverWrittenAsASavedGame) {
  GameRig rig;
  rig.play();
  rig.app->click(id::kEndGame);  // OK, then no saving
  // The first crossword of the new game is missing: the new game stops with an empty record.
  rig.dir.remove("tervano/r1/k1");
  rig.app->click(id::kNewGame);
  ASSERT_TRUE(rig.c().enabled(id::kSaveGame));
  rig.host.clear();
  rig.host.pick(rig.dir.path("Data/kriz/prazdna"));
  rig.app->click(id::kSaveGame);
  EXPECT_FALSE(rig.dir.exists("Data/kriz/prazdna.kr1"));
  const V errors = rig.host.only({"error"});
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("nelze uložit"), std::string::npos);
  // A script that saves between the steps of a new game is refused the same way.
  rig.app->session().saveRecord.clear();
  rig.app->session().saveFileName = rig.dir.path("Data/kriz/ze-skriptu.kr1");
  rig.app->invoke([&] { rig.app->game().sk(); });
  EXPECT_FALSE(rig.dir.exists("Data/kriz/ze-skriptu.kr1"));
}

TEST(SavedGameFaults, TheExportedRecordSurvivesAStartUpThatFails) {
  GameRig rig;
  rig.dir.write("Data/kriz/~automatické uložení.kr1", testing::record("2", "1"));
  rig.dir.remove("tervano/r2/k1");
  rig.host.ok();  // load the exported record
  rig.start("");
  EXPECT_EQ(rig.host.only({"error"}), (V{"error: Předpokládaná umístění neexistují!!!"}));
  EXPECT_TRUE(rig.dir.exists("Data/kriz/~automatické uložení.kr1"));
}

TEST(SavedGameFaults, AHugeCrosswordFileIsRefusedAtOnce) {
  GameRig rig;
  // 50 MB of map would freeze the start-up for half a minute while it is read and shown.
  rig.dir.writeBytes("tervano/r1/k1/k.mk", std::string(50u * 1024u * 1024u, 'x'));
  rig.host.pick(rig.dir.makeSave("hra", testing::record()));
  rig.start("");
  EXPECT_EQ(rig.host.only({"error"}), (V{"error: Předpokládaná umístění neexistují!!!"}));
  rig.host.clear();
  // In a running game the same file is named with its size.
  GameRig playing;
  playing.play();
  playing.dir.writeBytes("tervano/r1/k2/k.mk", std::string(300u * 1024u, 'x'));
  playing.answer("c a t\r\nd o g");
  EXPECT_FALSE(playing.kontrola());
  const V errors = playing.host.only({"error"});
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("k.mk“ je příliš velký (300 kB)"), std::string::npos) << errors[0];
}

// --- Timers ---

TEST(TimerFaults, CountersThatAreNoNumbersNeverRaiseABoxAtEveryTick) {
  GameRig rig;
  // A record without version whose grade is text: the version question is open while the
  // gauge and Kontrola timers keep firing.
  rig.host.pick(rig.dir.makeSave("divna", {"N", "0", "abc", "", "0", "0"}));
  int ticks = 0;
  rig.host.whileBoxOpen([&] {
    for (int i = 0; i < 3; ++i) {
      rig.app->tick(id::kTimerGauge);
      rig.app->tick(id::kTimerKontrola);
      ++ticks;
    }
  });
  rig.host.cancel();  // no repair: the program ends
  rig.start("");
  EXPECT_GT(ticks, 0);
  for (const auto& line : rig.host.only({"error"}))
    EXPECT_EQ(line.find("is not a valid integer value"), std::string::npos) << line;
}

}  // namespace
}  // namespace tervano
