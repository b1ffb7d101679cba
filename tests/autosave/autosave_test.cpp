// The autosave log: header, records, triggers, the quota and the closing record.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "autosave/autosave.h"
#include "data/textfile.h"
#include "data/transaction.h"
#include "game_rig.h"

namespace tervano {
namespace {

using testing::GameRig;
using V = std::vector<std::string>;
const char* kLog = "Data/kriz/automatické uložení.kra";

struct LogRig : GameRig {
  LogRig(std::vector<std::string> header, std::vector<std::string> rec = testing::record()) {
    dir.write(kLog, header);
    play(rec);
  }
  TextList log() const { return dir.read(kLog); }
  // Changes one line of the log file, as another program would.
  void setLine(int index, const std::string& value) const {
    TextList l = log();
    l.set(index, value);
    dir.write(kLog, l.lines());
  }
  int records() const {
    int n = 0;
    const TextList all = log();
    for (const auto& l : all.lines())
      n += l == "<>";
    return n;
  }
};

TEST(AutosaveLog, EveryCheckAppendsOneRecordOfTheStateShown) {
  LogRig rig({"A", "50", "0", "kontrole každé křížovky"});
  rig.answer("c a t\r\nd o g");
  rig.kontrola();
  const TextList log = rig.log();
  ASSERT_EQ(log.count(), 4 + autosave::kRecordLines);
  EXPECT_EQ(log.get(2), "1");
  EXPECT_EQ(log.get(4), " ");
  EXPECT_EQ(log.get(5), "<>");
  EXPECT_EQ(log.get(6), "4");  // set number
  EXPECT_EQ(log.get(7), "1");  // grade
  EXPECT_EQ(log.get(8), "2");  // crossword after the check
  EXPECT_EQ(log.get(9), " ");
  EXPECT_EQ(log.get(10), "<data1>");
  EXPECT_EQ(TextList(std::vector<std::string>(log.lines().begin() + 11, log.lines().begin() + 23)),
            (TextList{"N", "40", "1", "2", "2", "0", "A", "S", "4", "N", "N", "N"}));
  EXPECT_EQ(log.get(23), "kontrole každé křížovky");
  EXPECT_EQ(log.get(24), "</>");
}

TEST(AutosaveLog, AFullQuotaSwitchesTheLogOffWithAMessage) {
  for (const char* count : {"3", "7"}) {  // equal to the quota, and above it
    LogRig rig({"A", "3", count, "kontrole každé křížovky"});
    EXPECT_TRUE(rig.c().checked(id::kAutosaveOn));
    rig.host.clear();
    rig.kontrola();
    EXPECT_EQ(rig.host.only({"error", "cue hlasen"}).back(),
              "error: Kvóta 3 záznamů byla naplněna.\rMůžete kvótu navýšit nebo hru spustit přes "
              "správce záznamů\rautomatického uložení a některé záznamy smazat. Do té "
              "doby\rfunkce nebude aktivní. Zaktivovat ji budete muset opět vy.");
    EXPECT_FALSE(rig.c().checked(id::kAutosaveOn));
    EXPECT_EQ(rig.log(), (TextList{"N", "3", count, "kontrole každé křížovky"}));
  }
}

TEST(AutosaveLog, StartingWithAFullQuotaWarnsAndLeavesTheLogOn) {
  LogRig rig({"A", "5", "5", "kontrole každé křížovky"});
  rig.create("");  // a fresh start to see the start-up messages
  rig.host.clear();
  rig.host.pick(rig.dir.path("Data/kriz/hra.kr1"));
  rig.app->startProgram();
  EXPECT_EQ(rig.host.only({"cue", "error"}).front(), "cue hlasen.wav");
  EXPECT_EQ(rig.host.only({"error"}).front(),
            "error: Kvóta 5 záznamů byla naplněna.\rMůžete kvótu navýšit nebo hru spustit přes "
            "správce záznamů\rautomatického uložení a některé záznamy smazat. Do té "
            "doby\rfunkce nebude aktivní.");
  EXPECT_EQ(rig.log().get(0), "A");
  EXPECT_TRUE(rig.c().checked(id::kAutosaveOn));
}

TEST(AutosaveLog, SwitchedOffNothingIsWrittenNotEvenAtClosing) {
  LogRig rig({"N", "50", "0", "kontrole každé křížovky"});
  rig.kontrola();
  rig.host.cancel();
  rig.app->dispatch({app::Event::Kind::CloseRequest});
  EXPECT_EQ(rig.log().count(), 4);
}

TEST(AutosaveLog, AtTheStartOfAGradeTheRecordHoldsTheStateBeforeTheCheck) {
  LogRig rig({"A", "50", "0", "začátku ročníku"}, testing::record("1", "1"));
  rig.answer("c a t\r\nd o g");
  rig.kontrola();
  EXPECT_EQ(rig.records(), 1);
  EXPECT_EQ(rig.log().get(4 + 8), "0");   // points before scoring
  EXPECT_EQ(rig.log().get(4 + 10), "1");  // crossword 1
  rig.kontrola();                         // crossword 2: no record
  EXPECT_EQ(rig.records(), 1);
}

TEST(AutosaveLog, SavePointsAndScriptsOnlyWhenTheyOccur) {
  {
    LogRig rig({"A", "50", "0", "zadaném bodu uložení"});
    rig.kontrola();  // the crossword's flag is "N"
    EXPECT_EQ(rig.records(), 0);
  }
  {
    LogRig rig({"A", "50", "0", "provedení zadaného skriptu"});
    rig.kontrola();
    rig.kontrola();
    EXPECT_EQ(rig.records(), 0);
    rig.dir.writeScript("21nazacatkukrizovky.lsc", {""});
    rig.kontrola();  // grade II comes into play with a script
    EXPECT_EQ(rig.records(), 1);
  }
}

TEST(AutosaveLog, FreeTextInTheTriggerBoxLeavesOnlyClosingRecords) {
  LogRig rig({"A", "50", "0", "kontrole každé křížovky"});
  rig.app->edit(id::kAutosaveTrigger, "kdykoli");
  rig.app->click(id::kAutosaveApply);
  rig.kontrola();
  EXPECT_EQ(rig.records(), 0);
  rig.host.cancel();
  rig.app->dispatch({app::Event::Kind::CloseRequest});
  EXPECT_EQ(rig.records(), 1);
  EXPECT_EQ(rig.log().get(4 + 19), " ");
  EXPECT_EQ(rig.log().get(3), "kdykoli");
}

TEST(AutosaveLog, TheRecommendedItemStandsForEveryCheck) {
  LogRig rig({"A", "50", "0", "začátku ročníku"});
  rig.app->dispatch({app::Event::Kind::Select, id::kAutosaveTrigger, "<doporučeno>"});
  EXPECT_EQ(rig.text(id::kAutosaveTrigger), "kontrole každé křížovky");
  rig.app->edit(id::kAutosaveTrigger, "<doporučeno>");
  EXPECT_EQ(rig.text(id::kAutosaveTrigger), "kontrole každé křížovky");
}

TEST(AutosaveLog, SettingsAreStoredAndTheQuotaBoxKeepsItsBounds) {
  LogRig rig({"N", "99999", "0", "kontrole každé křížovky"});
  EXPECT_EQ(rig.c().value(id::kAutosaveQuota), autosave::kQuotaMax);
  EXPECT_EQ(rig.log().get(1), "99999");  // the file keeps its value until "Aktualizace"
  rig.app->dispatch({app::Event::Kind::Toggle, id::kAutosaveOn, "", 1});
  rig.app->click(id::kAutosaveApply);
  EXPECT_EQ(rig.log(), (TextList{"A", "5000", "0", "kontrole každé křížovky"}));
  // Lowering the quota below the count makes it full at once.
  rig.setLine(2, "12");
  rig.app->dispatch({app::Event::Kind::Edit, id::kAutosaveQuota, "", 10});
  rig.app->click(id::kAutosaveApply);
  rig.host.clear();
  rig.kontrola();
  EXPECT_EQ(rig.host.only({"error: Kvóta 10"}).size(), 1u);
  EXPECT_EQ(rig.log().get(0), "N");
}

TEST(AutosaveLog, AClosingRecordFailureIsSwallowed) {
  LogRig rig({"A", "50", "0", "kontrole každé křížovky"});
  rig.setLine(1, "padesát");
  rig.host.cancel();
  EXPECT_TRUE(rig.app->dispatch({app::Event::Kind::CloseRequest}));
  EXPECT_TRUE(rig.host.only({"error"}).empty());
  EXPECT_TRUE(rig.host.quitRequested());
}

TEST(AutosaveLog, ABrokenHeaderFailsTheTriggerThroughTheErrorReport) {
  LogRig rig({"A", "50", "0", "kontrole každé křížovky"});
  rig.setLine(2, "x");
  EXPECT_FALSE(rig.kontrola());
  EXPECT_EQ(rig.host.only({"error"}).back(), "error: 'x' is not a valid integer value");
}

// A write interrupted at any moment (the process killed) leaves the old log or the new one,
// never a mix.
TEST(AutosaveLog, SurvivesACrashAtAnyPointOfAWrite) {
  testing::TempProgram dir;
  const auto path = dir.root() / "log.kra";
  TextList small{"A", "5000", "0", "kontrole každé křížovky"};
  saveTextList(path, small);
  TextList big = small;
  for (int r = 0; r < 3000; ++r) {
    const TextList rec = autosave::recordLines(
        {"20", "1", std::to_string(r), TextList(testing::record()), "kontrole každé křížovky"});
    for (const auto& l : rec.lines())
      big.append(l);
  }
  std::mt19937 random(42);
  for (int round = 0; round < 40; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) {
        saveTextList(path, big);
        saveTextList(path, small);
      }
    }
    ::usleep(1000 + random() % 20000);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const TextList seen = loadTextList(path);
    EXPECT_TRUE(seen == small || seen == big) << "round " << round << ": " << seen.count();
  }
  // The next start clears what killed writers left behind (a write leaves them: a temporary
  // beside it may belong to an unfinished change that the start must first end).
  recoverAtStart(dir.root());
  int entries = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.root()))
    ++entries;
  EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace tervano
