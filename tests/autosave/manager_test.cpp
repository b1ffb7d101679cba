// The autosave manager: listing, viewing, deleting and exporting the records of the log, in both
// of its modes, and what the next start of the game does with the export.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "app/modes/autosave_manager_mode.h"
#include "data/textfile.h"
#include "game_rig.h"

namespace tervano {
namespace {

using testing::Rig;
using V = std::vector<std::string>;
using Kind = app::Event::Kind;
const char* kLog = "Data/kriz/automatické uložení.kra";
const char* kExport = "Data/kriz/~automatické uložení.kr1";
const char* kEvery = "kontrole každé křížovky";

struct State {
  std::string set = "4", grade = "1", crossword = "1", points = "0", trigger = kEvery;
};

// One record as the game appends it: a separator, "<>", set, grade, crossword, a blank,
// "<data1>", the twelve lines of a saved game, the trigger and "</>".
V record(const State& s) {
  return {" ", "<>",     s.set,   s.grade,     s.crossword, " ",       "<data1>",
          "N", s.points, s.grade, s.crossword, "0",         "0",       "A",
          "S", s.set,    "N",     "N",         "N",         s.trigger, "</>"};
}

V logOf(const V& header, const std::vector<V>& records) {
  V all = header;
  for (const auto& r : records)
    all.insert(all.end(), r.begin(), r.end());
  return all;
}

V header(int count, const std::string& limit = "50") {
  return {"A", limit, std::to_string(count), kEvery};
}

// The log given line by line.
struct Lines {
  V lines;
};

struct ManagerRig : Rig {
  explicit ManagerRig(const Lines& log, const std::string& mode = "-SPAUTOSAVE") {
    const V& logLines = log.lines;
    dir.makeSet({2, 2, 2, 2});
    dir.write(kLog, logLines);
    start(mode);
  }
  explicit ManagerRig(const std::vector<V>& records, const std::string& mode = "-SPAUTOSAVE")
      : ManagerRig(Lines{logOf(header(static_cast<int>(records.size())), records)}, mode) {}

  TextList log() const { return dir.read(kLog); }
  V entries() const { return c().lines(id::kManagerList).lines(); }
  void select(int index) { app->dispatch({Kind::Select, id::kManagerList, "", index}); }
  bool selectionButtons(bool enabled) const {
    for (auto b : {id::kManagerLoad, id::kManagerDelete, id::kManagerView})
      if (c().enabled(b) != enabled) return false;
    return true;
  }
};

TEST(ManagerList, EntriesAreNamedBySetGradeAndCrosswordWithThePictureOfTheirTrigger) {
  // Pictures 0 to 4: every check, start of a grade, a script, a save point, the closing record.
  const std::vector<std::pair<std::string, int>> triggers = {{"kontrole každé křížovky", 0},
                                                             {"začátku ročníku", 1},
                                                             {"provedení zadaného skriptu", 2},
                                                             {"zadaném bodu uložení", 3},
                                                             {" ", 4},
                                                             {"kdykoli", -1}};
  std::vector<V> records;
  for (const auto& [trigger, icon] : triggers)
    records.push_back(record({"35", "2", std::to_string(records.size() + 7), "0", trigger}));
  ManagerRig rig(records);
  EXPECT_EQ(rig.entries(), (V{"35/2/7", "35/2/8", "35/2/9", "35/2/10", "35/2/11", "35/2/12"}));
  std::vector<int> icons;
  for (const auto& t : triggers)
    icons.push_back(t.second);
  EXPECT_EQ(rig.c().get(id::kManagerList).icons, icons);
  EXPECT_EQ(rig.text(id::kManagerCount), "Počet záznamů: 6 / 50 povolených");
  EXPECT_TRUE(rig.host.only({"info", "error"}).empty());
}

// The log is read as every text file: CR, LF or CR LF end a line, a last line without an ending
// counts, a final ending starts no further line.
TEST(ManagerList, TheLogIsSplitIntoLinesAsEveryTextFile) {
  const std::vector<std::pair<std::string, V>> cases = {
      {"", {}},
      {"A", {"A"}},
      {"A\r\n50\r\n", {"A", "50"}},
      {"A\n50\r0", {"A", "50", "0"}},
      {"A\r\r\n\n<>", {"A", "", "", "<>"}},
      {"\r\n\r\n", {"", ""}},
  };
  for (const auto& [text, lines] : cases)
    EXPECT_EQ(autosave::splitLines(text), TextList(lines)) << ::testing::PrintToString(text);
}

// What the game appends, the manager reads back as it was written: whatever the values hold,
// also a trigger line that looks like a marker and the closing record's blank trigger.
TEST(RecordLayout, WhatTheGameWritesTheManagerReadsBack) {
  const std::vector<autosave::RecordValues> values = {
      {"20", "1", "1", TextList(testing::record()), "kontrole každé křížovky"},
      {"4", "4", "28", TextList(testing::record("4", "28")), "</>"},
      {"123", "2", "7", TextList(testing::record("2", "7")), " "},
  };
  TextList log{"A", "50", "3", "kontrole každé křížovky"};
  for (const auto& v : values) {
    const TextList lines = autosave::recordLines(v);
    for (const auto& line : lines.lines())
      log.append(line);
  }
  EXPECT_EQ(log.count(), 4 + 3 * autosave::kRecordLines);
  const auto places = autosave::findRecords(log);
  ASSERT_EQ(places.size(), values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_TRUE(places[i].complete) << i;
    EXPECT_EQ(autosave::readRecord(log, places[i]), values[i]) << i;
    EXPECT_EQ(autosave::recordCaption(log, places[i]),
              values[i].setNumber + "/" + values[i].grade + "/" + values[i].crossword);
    // The exported record is the saved game with the trigger and the end marker after it.
    const TextList exported = autosave::exportedRecord(log, places[i]);
    EXPECT_EQ(exported.count(), 14) << i;
    EXPECT_EQ(exported.get(12), values[i].trigger) << i;
  }
}

// The trigger box takes any text, also "<>": such a header or trigger line starts no record.
TEST(ManagerList, AStartMarkerTypedAsTheTriggerIsNoRecord) {
  ManagerRig rig(Lines{logOf({"A", "50", "2", "<>"}, {record({"4", "1", "1", "0", "<>"}),
                                                      record({"4", "1", "2", "0", "<>"})})});
  EXPECT_EQ(rig.entries(), (V{"4/1/1", "4/1/2"}));
  rig.select(1);
  rig.host.ok();
  rig.app->click(id::kManagerDelete);
  EXPECT_EQ(rig.log(),
            TextList(logOf({"A", "50", "1", "<>"}, {record({"4", "1", "1", "0", "<>"}), {" "}})));
}

TEST(ManagerList, TheCountNamesTheEntriesAndTheQuotaOfTheHeader) {
  ManagerRig rig(Lines{logOf({"N", "50", "9", kEvery}, {record({}), record({}), record({})})});
  EXPECT_EQ(rig.text(id::kManagerCount), "Počet záznamů: 3 / 50 povolených");
  EXPECT_EQ(rig.c().value(id::kManagerList), -1);
  EXPECT_TRUE(rig.selectionButtons(false));
  // The bar and the animation are seen only while the list is filled.
  EXPECT_FALSE(rig.c().visible(id::kManagerProgress));
  EXPECT_FALSE(rig.c().visible(id::kManagerAnimation));
  EXPECT_TRUE(rig.c().checked(id::kManagerStyleIcons));
}

TEST(ManagerList, EmptyLogsAndLogsWithOnlySeparators) {
  {
    ManagerRig rig(Lines{header(0)});
    EXPECT_EQ(rig.host.only({"info"}), (V{"info: Soubor automatického uložení nemá žádný obsah."}));
    EXPECT_TRUE(rig.entries().empty());
  }
  {
    ManagerRig rig(Lines{logOf(header(0), {{" ", " "}})});
    EXPECT_TRUE(rig.host.only({"info"}).empty());
    EXPECT_TRUE(rig.entries().empty());
    EXPECT_EQ(rig.text(id::kManagerCount), "Počet záznamů: 0 / 50 povolených");
  }
}

TEST(ManagerList, AMissingLogIsReportedAndTheListStaysEmpty) {
  Rig rig;
  rig.dir.makeSet({2, 2, 2, 2});
  rig.dir.remove(kLog);
  rig.start("-SPAUTOSAVE");
  ASSERT_EQ(rig.host.only({"error"}).size(), 1u);
  EXPECT_NE(rig.host.only({"error"})[0].find("automatické uložení.kra"), std::string::npos);
  EXPECT_TRUE(rig.c().lines(id::kManagerList).empty());
}

TEST(ManagerModes, TheLoadOnlyManagerKeepsOnlyPickingAndLoading) {
  for (const std::string mode : {"-SPAUTOSAVE", "-LOADAUTOSAVE"}) {
    ManagerRig rig({record({}), record({})}, mode);
    const bool full = mode == "-SPAUTOSAVE";
    EXPECT_EQ(rig.c().visible(id::kManagerEditPanel), full) << mode;
    EXPECT_EQ(rig.c().visible(id::kManagerDeleteAll), full) << mode;
    EXPECT_TRUE(rig.c().visible(id::kManagerLoad)) << mode;
    EXPECT_TRUE(rig.c().visible(id::kAutosaveScreen)) << mode;
    EXPECT_EQ(rig.entries().size(), 2u) << mode;  // listed once, not twice
    EXPECT_EQ(rig.text(id::kWindowTitle),
              full ? "Správce automatického uložení" : "Načtení automatického uložení");
    EXPECT_FALSE(rig.c().enabled(id::kScNewGame));
    EXPECT_TRUE(rig.c().enabled(id::kScQuit));
    EXPECT_TRUE(rig.c().enabled(id::kScMainMenu));
  }
}

TEST(ManagerSelection, ASelectionEnablesTheThreeButtonsAndTheStylesAreExclusive) {
  ManagerRig rig({record({}), record({})});
  rig.select(1);
  EXPECT_EQ(rig.c().value(id::kManagerList), 1);
  EXPECT_TRUE(rig.selectionButtons(true));
  rig.select(-1);
  EXPECT_TRUE(rig.selectionButtons(false));
  for (auto style : {id::kManagerStyleDetails, id::kManagerStyleList, id::kManagerStyleIcons}) {
    rig.app->click(style);
    int checked = 0;
    for (auto s : {id::kManagerStyleIcons, id::kManagerStyleList, id::kManagerStyleDetails})
      checked += rig.c().checked(s);
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(rig.c().checked(style));
  }
}

TEST(ManagerView, TheRecordIsShownLineByLineWithOneBreakBetweenLines) {
  ManagerRig rig({record({"4", "1", "1"}), record({"35", "2", "7", "120"})});
  rig.select(1);
  rig.app->click(id::kManagerView);
  std::string expected = "info: Obsah záznamu:35/2/7\r\r<>";
  const V second = record({"35", "2", "7", "120"});
  for (std::size_t i = 2; i < second.size(); ++i)
    expected += "\r" + second[i];
  EXPECT_EQ(rig.host.only({"info"}), (V{expected}));
  EXPECT_EQ(expected.find('\n'), std::string::npos);
  EXPECT_EQ(rig.log(), TextList(logOf(header(2), {record({"4", "1", "1"}), second})));
}

// "Načíst": the record becomes a saved game of 14 lines, without answer area, that the next start
// of the main application offers and loads.
TEST(ManagerExport, TheExportedRecordIsOfferedAndLoadedByTheNextStart) {
  ManagerRig rig({record({"4", "1", "1"}), record({"4", "2", "2", "120"})});
  rig.select(1);
  rig.host.ok().ok();  // the question of "Načíst", then the return to the main application
  rig.app->click(id::kManagerLoad);
  const TextList exported = rig.dir.read(kExport);
  EXPECT_EQ(exported, (TextList{"N", "120", "2", "2", "0", "0", "A", "N", "4", "N", "N", "N",
                                kEvery, "</>"}));
  const std::string where = rig.dir.path(kExport);
  EXPECT_EQ(rig.host.only({"ask", "info", "warning", "start", "quit"}),
            (V{"ask: Chcete skutečně vybraný záznam načíst? -> OK",
               "info: Záznam automatického uložení byl vybrán a uložen jako soubor: \r" + where,
               "warning: Aplikace bude muset být ukončena.\rBude uskutečněn návrat do hlavní "
               "aplikace.\rChcete pokračovat? -> OK",
               "quit", "start instance '' in help"}));
  EXPECT_TRUE(rig.selectionButtons(false));
  EXPECT_EQ(rig.log().count(), 4 + 2 * 21);  // the log keeps the record

  // The main application started again on the same folder.
  testing::FakeHost next;
  next.ok();
  app::Application game(next, ProgramFolder(rig.dir.root()), TextList{rig.dir.path("tervano-hra")});
  game.startProgram();
  EXPECT_EQ(next.only({"ask", "open"}),
            (V{"ask: Má se načíst exportovaný záznam automatického uložení s názvem: "
               "\r~automatické uložení.kr1 ? -> OK"}));
  EXPECT_TRUE(next.only({"error"}).empty());
  EXPECT_FALSE(next.quitRequested());
  EXPECT_EQ(game.controls().text(id::kPoints), "120");
  EXPECT_EQ(game.controls().text(id::kGrade), "2");
  EXPECT_EQ(game.controls().text(id::kCrossword), "2");
  EXPECT_TRUE(game.game().gameRunning());
  EXPECT_FALSE(rig.dir.exists(kExport));  // used once
}

TEST(ManagerExport, TheMessageNamesTheFileWhereItReallyIs) {
  ManagerRig rig(std::vector<V>{record({})});
  std::filesystem::rename(rig.dir.root() / "Data/kriz", rig.dir.root() / "Data/Kriz");
  std::filesystem::rename(rig.dir.root() / "Data", rig.dir.root() / "DATA");
  rig.select(0);
  rig.host.ok().cancel();
  rig.app->click(id::kManagerLoad);
  const std::string where = rig.dir.path("DATA/Kriz/~automatické uložení.kr1");
  EXPECT_TRUE(std::filesystem::is_regular_file(where));
  EXPECT_EQ(rig.host.only({"info"}),
            (V{"info: Záznam automatického uložení byl vybrán a uložen jako soubor: \r" + where}));
}

TEST(ManagerExport, DecliningKeepsEverythingAndDisablesTheButtons) {
  ManagerRig rig(std::vector<V>{record({})});
  rig.select(0);
  rig.host.cancel();
  rig.app->click(id::kManagerLoad);
  EXPECT_FALSE(rig.dir.exists(kExport));
  EXPECT_FALSE(rig.host.quitRequested());
  EXPECT_TRUE(rig.selectionButtons(false));
}

TEST(ManagerExport, ADoubleClickLoadsTheSelectedRecordInTheLoadOnlyManager) {
  ManagerRig rig({record({}), record({"4", "3", "2"})}, "-LOADAUTOSAVE");
  rig.select(1);
  rig.host.ok().cancel();
  rig.app->dispatch({Kind::DoubleClick, id::kManagerList});
  EXPECT_EQ(rig.dir.read(kExport).get(2), "3");
}

// Fault: with nothing selected, "Načíst" and a double click exported an empty record that the
// next start failed to load; a broken record must not be exported either.
TEST(ManagerFaults, OnlyASelectedCompleteRecordIsExported) {
  V broken = record({"4", "2", "2"});
  broken.erase(broken.begin() + 10, broken.begin() + 13);  // three lines of the state lost
  ManagerRig rig({record({}), broken});
  rig.host.clear();
  rig.app->click(id::kManagerLoad);
  rig.app->dispatch({Kind::DoubleClick, id::kManagerList});
  EXPECT_TRUE(rig.host.transcript().empty());
  EXPECT_FALSE(rig.dir.exists(kExport));

  rig.select(1);
  rig.app->click(id::kManagerLoad);
  EXPECT_FALSE(rig.dir.exists(kExport));
  EXPECT_EQ(rig.host.only({"error", "ask"}),
            (V{"error: Vybraný záznam automatického uložení je neúplný a hru z něj nelze "
               "obnovit.\rVyberte prosím jiný záznam."}));
  EXPECT_FALSE(rig.host.quitRequested());
}

TEST(ManagerDelete, TheSecondOfTwoEqualCaptionsDeletesTheSecondRecord) {
  const V first = record({"4", "1", "2", "10"});
  const V second = record({"4", "1", "2", "20"});
  const V third = record({"4", "2", "1", "30"});
  ManagerRig rig({first, second, third});
  ASSERT_EQ(rig.entries(), (V{"4/1/2", "4/1/2", "4/2/1"}));
  rig.select(1);
  rig.recordWrites();
  rig.host.ok();
  rig.app->click(id::kManagerDelete);
  // The separator in front of the record stays.
  V expected = logOf(header(2), {first, {" "}, third});
  EXPECT_EQ(rig.log(), TextList(expected));
  EXPECT_EQ(rig.host.only({"ask", "write", "info"}),
            (V{"ask: Chcete skutečně vybraný záznam odstranit? -> OK",
               "write data\\kriz\\automatické uložení.kra",
               "info: Záznam ze souboru automatického\ruložení byl smazán."}));
  EXPECT_EQ(rig.entries(), (V{"4/1/2", "4/2/1"}));
  EXPECT_EQ(rig.text(id::kManagerCount), "Počet záznamů: 2 / 50 povolených");
  EXPECT_TRUE(rig.selectionButtons(false));
  // The next deletion finds the records where they are now.
  rig.select(1);
  rig.host.ok();
  rig.app->click(id::kManagerDelete);
  EXPECT_EQ(rig.log(), TextList(logOf(header(1), {first, {" "}, {" "}})));
}

TEST(ManagerDelete, CancelledChangesNothingAndTheOnlyRecordLeavesItsSeparator) {
  ManagerRig rig(std::vector<V>{record({})});
  rig.select(0);
  rig.host.cancel();
  rig.app->click(id::kManagerDelete);
  EXPECT_EQ(rig.log().count(), 4 + 21);
  EXPECT_TRUE(rig.selectionButtons(false));
  rig.select(0);
  rig.host.ok();
  rig.app->click(id::kManagerDelete);
  EXPECT_EQ(rig.log(), (TextList{"A", "50", "0", kEvery, " "}));
  EXPECT_EQ(rig.text(id::kManagerCount), "Počet záznamů: 0 / 50 povolených");
}

TEST(ManagerDelete, DeletingAllLeavesTheFourHeaderLines) {
  ManagerRig rig(
      Lines{logOf({"N", "200", "3", "začátku ročníku"}, {record({}), record({}), record({})})});
  rig.host.clear();
  rig.host.ok();
  rig.app->click(id::kManagerDeleteAll);
  EXPECT_EQ(rig.log(), (TextList{"N", "200", "0", "začátku ročníku"}));
  EXPECT_EQ(rig.host.transcript(),
            (V{"warning: Chcete smazat veškerý zaznamenaný obsah\rsouboru automatického uložení? "
               "-> OK",
               "cue hlasen.wav",
               "info: Veškerý zaznamenaný obsah byl ze \rsouboru automatického uložení smazán."}));
  EXPECT_TRUE(rig.entries().empty());
  EXPECT_TRUE(rig.c().visible(id::kManagerList));
  EXPECT_EQ(rig.text(id::kManagerCount), "Počet záznamů: 0 / 200 povolených");
  // Cancelled: nothing happens.
  rig.dir.write(kLog, logOf(header(1), {record({})}));
  rig.host.cancel();
  rig.app->click(id::kManagerDeleteAll);
  EXPECT_EQ(rig.log().count(), 4 + 21);
}

// Fault: a short record lost its end; deleting 20 lines took the start of the next record.
TEST(ManagerFaults, AShortRecordIsDeletedUpToItsEndMarkerOnly) {
  for (bool withEndMarker : {true, false}) {
    V shortRecord = {" ", "<>", "4", "1", "1", " ", "<data1>", "N", "0"};
    if (withEndMarker) shortRecord.push_back("</>");
    const V next = record({"4", "2", "2", "77"});
    ManagerRig rig({record({}), shortRecord, next});
    ASSERT_EQ(rig.entries().size(), 3u);
    rig.select(1);
    rig.host.ok();
    rig.app->click(id::kManagerDelete);
    const TextList log = rig.log();
    EXPECT_EQ(log, TextList(logOf(header(2), {record({}), {" "}, next}))) << withEndMarker;
    EXPECT_EQ(rig.entries(), (V{"4/1/1", "4/2/2"}));
  }
}

// Fault: a count that is not a number failed the deletion after the record had left the list but
// before the save: the player was told it was gone, the file kept it.
TEST(ManagerFaults, ABrokenCountRefusesTheDeletionBeforeAnythingChanges) {
  const V logLines = logOf({"A", "50", "dva", kEvery}, {record({}), record({"4", "2", "1"})});
  ManagerRig rig(Lines{logLines});
  rig.select(0);
  rig.host.clear();
  rig.app->click(id::kManagerDelete);
  EXPECT_EQ(rig.host.transcript(),
            (V{"error: Počet záznamů v hlavičce souboru automatického uložení („dva“) není číslo, "
               "záznam proto nebyl smazán.\rTlačítko Konec počet opraví."}));
  EXPECT_EQ(rig.log(), TextList(logLines));
  EXPECT_EQ(rig.entries().size(), 2u);
  // "Konec" puts the count right, and the next run deletes as usual.
  rig.app->click(id::kManagerQuit);
  EXPECT_EQ(rig.log().get(2), "2");
  ManagerRig again(Lines{rig.log().lines()});
  again.select(0);
  again.host.ok();
  again.app->click(id::kManagerDelete);
  EXPECT_EQ(again.log().get(2), "1");
  EXPECT_EQ(again.entries(), (V{"4/2/1"}));
}

// Logs made of whole, cut and stray pieces: deleting any entry takes exactly that entry away and
// leaves every complete record as it was; every complete entry exports as a saved game.
TEST(ManagerFaults, DeletingFromABrokenLogTouchesNoOtherRecord) {
  std::mt19937 random(12);
  int entries = 0, whole = 0;  // what the pieces put in
  auto piece = [&](V& log, int n) {
    V r = record({"4", std::to_string(1 + n % 4), std::to_string(n), std::to_string(n)});
    switch (random() % 6) {
      case 0:  // cut short, with or without its end marker
        r.resize(2 + random() % 17);
        if (random() % 2) r.push_back("</>");
        ++entries;
        break;
      case 1:  // stray lines
        r = {" ", random() % 2 ? "</>" : "<data1>", " "};
        break;
      default:
        ++entries;
        ++whole;
        break;
    }
    log.insert(log.end(), r.begin(), r.end());
  };
  // The complete records of a log, each as its 20 lines.
  auto complete = [](const TextList& log) {
    std::vector<V> all;
    for (const auto& r : autosave::findRecords(log))
      if (r.complete) all.emplace_back(log.lines().begin() + r.start, log.lines().begin() + r.end);
    return all;
  };
  for (int round = 0; round < 500; ++round) {
    V lines = header(0);
    entries = whole = 0;
    const int pieces = 1 + static_cast<int>(random() % 8);
    for (int n = 0; n < pieces; ++n)
      piece(lines, n);
    const TextList log(lines);
    const auto records = autosave::findRecords(log);
    const auto completeRecords = complete(log);
    ASSERT_EQ(records.size(), static_cast<std::size_t>(entries)) << "round " << round;
    ASSERT_EQ(completeRecords.size(), static_cast<std::size_t>(whole)) << "round " << round;
    int completeSeen = 0;
    for (std::size_t k = 0; k < records.size(); ++k) {
      const auto& r = records[k];
      ASSERT_EQ(log.get(r.start), "<>");
      if (r.complete) {
        const TextList saved = autosave::exportedRecord(log, r);
        EXPECT_EQ(saved.count(), 14);
        EXPECT_EQ(saved.get(7), "N");
        EXPECT_EQ(saved.get(13), "</>");
      }
      TextList after = log;
      after.lines().erase(after.lines().begin() + r.start, after.lines().begin() + r.end);
      EXPECT_EQ(autosave::findRecords(after).size(), records.size() - 1) << round << "/" << k;
      std::vector<V> expected = completeRecords;
      if (r.complete) expected.erase(expected.begin() + completeSeen++);
      ASSERT_EQ(complete(after), expected) << "round " << round << ", entry " << k;
    }
  }
}

TEST(ManagerClose, KonecWritesTheCountOfTheRecordsPresentAndEnds) {
  ManagerRig rig(Lines{logOf({"A", "50", "17", kEvery}, {record({}), record({})})});
  rig.app->click(id::kManagerQuit);
  EXPECT_EQ(rig.log(), TextList(logOf(header(2), {record({}), record({})})));
  EXPECT_TRUE(rig.host.quitRequested());
}

// Fault: "Konec" after a log that failed to load wrote the placeholder over the real log.
TEST(ManagerFaults, KonecNeverWritesALogThatWasNotRead) {
  {
    Rig rig;  // missing: nothing is created
    rig.dir.makeSet({2, 2, 2, 2});
    rig.dir.remove(kLog);
    rig.start("-SPAUTOSAVE");
    rig.app->click(id::kManagerQuit);
    EXPECT_FALSE(rig.dir.exists(kLog));
    EXPECT_TRUE(rig.host.quitRequested());
  }
  {
    Rig rig;  // too large to read: it stays as it is
    rig.dir.makeSet({2, 2, 2, 2});
    const auto path = rig.dir.root() / kLog;
    std::filesystem::resize_file(path, limits::kAutosaveLog + 1);
    const auto written = std::filesystem::last_write_time(path);
    rig.start("-SPAUTOSAVE");
    ASSERT_EQ(rig.host.only({"error"}).size(), 1u);
    rig.app->click(id::kManagerQuit);
    EXPECT_EQ(std::filesystem::file_size(path), limits::kAutosaveLog + 1);
    EXPECT_EQ(std::filesystem::last_write_time(path), written);
    EXPECT_TRUE(rig.host.quitRequested());
  }
}

// Fault: a running game kept its own copy of the log and wrote it whole at its next record,
// bringing back what the manager had deleted. The game now takes the file as it is before every
// change of the log.
struct TwoInstances {
  testing::GameRig game;
  explicit TwoInstances(const V& logLines) {
    game.dir.write(kLog, logLines);
    game.play();
  }
  // A manager started on the same folder deletes its first entry; the entries left.
  int deleteFirst() {
    testing::FakeHost host;
    app::Application manager(host, ProgramFolder(game.dir.root()),
                             TextList{game.dir.path("tervano-hra"), "-SPAUTOSAVE"});
    manager.startProgram();
    manager.dispatch({Kind::Select, id::kManagerList, "", 0});
    host.ok();
    manager.click(id::kManagerDelete);
    return manager.controls().lines(id::kManagerList).count();
  }
  TextList log() const { return game.dir.read(kLog); }
  std::vector<std::string> points() const {
    std::vector<std::string> all;
    const TextList l = log();
    for (int i = 0; i < l.count(); ++i)
      if (l.get(i) == "<>") all.push_back(l.get(i + 7));
    return all;
  }
};

TEST(ManagerFaults, ARunningGameKeepsTheDeletionsOfTheManager) {
  TwoInstances two(
      logOf(header(2), {record({"4", "1", "1", "10"}), record({"4", "1", "2", "20"})}));
  EXPECT_EQ(two.deleteFirst(), 1);
  two.game.kontrola();  // appends one record
  ASSERT_EQ(two.points().size(), 2u);
  EXPECT_EQ(two.points()[0], "20");
  EXPECT_EQ(two.log().get(2), "2");

  // The settings stored from the panel keep the deletion too.
  EXPECT_EQ(two.deleteFirst(), 1);
  two.game.app->dispatch({Kind::Edit, id::kAutosaveQuota, "", 100});
  two.game.app->click(id::kAutosaveApply);
  EXPECT_EQ(two.points().size(), 1u);
  EXPECT_EQ(two.log().get(1), "100");
  EXPECT_EQ(two.log().get(2), "1");
}

TEST(ManagerFaults, AQuotaFullInTheGamesCopyIsNotFullOnceTheManagerMadeRoom) {
  TwoInstances two(logOf(header(2, "2"), {record({"4", "1", "1", "10"}), record({})}));
  EXPECT_EQ(two.game.app->controls().checked(id::kAutosaveOn), true);
  EXPECT_EQ(two.deleteFirst(), 1);
  two.game.host.clear();
  two.game.kontrola();
  EXPECT_EQ(two.game.host.only({"error: Kvóta"}), V{});
  EXPECT_EQ(two.log().get(0), "A");
  EXPECT_EQ(two.points().size(), 2u);
}

// The manager, too, works on the file as it is: a record the game appended while the manager was
// open survives a deletion and "Konec".
TEST(ManagerFaults, TheManagerKeepsRecordsAppendedWhileItWasOpen) {
  ManagerRig rig({record({"4", "1", "1"}), record({"4", "1", "2"})});
  const V appended = record({"4", "1", "3"});
  auto append = [&] {
    TextList log = rig.log();
    for (const auto& l : appended)
      log.append(l);
    log.set(2, std::to_string(std::stoi(log.get(2)) + 1));
    rig.dir.write(kLog, log.lines());
  };
  append();
  rig.select(0);
  rig.host.ok();
  rig.app->click(id::kManagerDelete);
  EXPECT_EQ(rig.log(), TextList(logOf(header(2), {{" "}, record({"4", "1", "2"}), appended})));
  EXPECT_EQ(rig.entries(), (V{"4/1/2", "4/1/3"}));
  append();
  rig.app->click(id::kManagerQuit);
  EXPECT_EQ(rig.log().get(2), "3");
  EXPECT_EQ(rig.log().count(), 4 + 1 + 3 * 21);
}

TEST(ManagerFaults, ARecordMovedByAnotherManagerIsNotDeletedBlindly) {
  ManagerRig rig({record({"4", "1", "1"}), record({"4", "1", "2"})});
  // Another manager deleted the first record meanwhile.
  rig.dir.write(kLog, logOf(header(1), {{" "}, record({"4", "1", "2"})}));
  rig.select(1);
  rig.host.ok();
  rig.app->click(id::kManagerDelete);
  EXPECT_EQ(rig.log(), TextList(logOf(header(1), {{" "}, record({"4", "1", "2"})})));
  EXPECT_EQ(rig.host.only({"warning"}),
            (V{"warning: Soubor automatického uložení mezitím změnilo jiné spuštění "
               "programu.\rSeznam záznamů byl načten znovu; vyberte prosím záznam ještě jednou."}));
  EXPECT_EQ(rig.entries(), (V{"4/1/2"}));
}

}  // namespace
}  // namespace tervano
