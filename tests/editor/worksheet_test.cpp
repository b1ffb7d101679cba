// Worksheets: the grid a map draws (a cell is "x" and a blank, an indent two blanks per cell),
// the tajenka column every word crosses, the key's letters, the pages of a job and what a scope
// reads from the active set, warnings included.
#include "editor/worksheet.h"

#include <gtest/gtest.h>

#include "data/errors.h"
#include "program_folder.h"

namespace tervano::editor {
namespace {

using testing::TempProgram;

std::vector<std::vector<int>> columnsOf(const std::vector<std::string>& map) {
  std::vector<std::vector<int>> rows;
  for (const auto& line : map)
    rows.push_back(mapLineColumns(line));
  return rows;
}

TEST(WorksheetGrid, AnXStandsInTheColumnOfHalfItsPosition) {
  const struct {
    const char* line;
    std::vector<int> columns;
  } cases[] = {
      {"x x x", {0, 1, 2}},
      {"    x x", {2, 3}},  // two blanks of indent per cell
      {"", {}},             // a line without a word
      {"   ", {}},
      {"X x", {0, 1}},    // a capital X is a cell too
      {"xx x", {0, 1}},   // two marks in one cell make one cell
      {"x  x", {0, 1}},   // a third blank: the x at 3 is still in column 1
      {"x - x", {0, 2}},  // anything else is no cell
      {"ž x", {1}},       // positions count characters, not bytes
  };
  for (const auto& c : cases)
    EXPECT_EQ(mapLineColumns(c.line), c.columns) << "\"" << c.line << "\"";
}

TEST(WorksheetGrid, TheTajenkaColumnIsTheOneEveryWordCrosses) {
  const struct {
    std::vector<std::string> map;
    std::optional<int> column;
  } cases[] = {
      // The delivered crossword "Barvy" read from its map: only column 2 crosses every word.
      {{"    x x x x x", "    x x x", "x x x x", "    x x x x x x", "  x x x x x"}, std::nullopt},
      {{"    x x x x x", "    x x x", "x x x", "    x x x x x x", "  x x x x x"}, 2},
      {{"x x x", "x", "x x"}, 0},          // the first column
      {{"x x x", "    x", "  x x"}, 2},    // the last
      {{"x x", "", "  x x"}, 1},           // a line without a word does not count
      {{"x x", "    x x"}, std::nullopt},  // no column is common
      {{"x x x", "x x x"}, std::nullopt},  // three are: none is marked
      {{"", ""}, std::nullopt},            // no word at all
      {{"x"}, 0},                          // one word of one cell
  };
  for (const auto& c : cases) {
    EXPECT_EQ(findTajenkaColumn(columnsOf(c.map)), c.column) << c.map.front();
    EXPECT_EQ(buildGrid(TextList(c.map), {}).tajenkaColumn, c.column);
  }
}

TEST(WorksheetGrid, TheKeyTakesTheSolutionsLetterAtEachCellInCapitals) {
  const TextList map{"  x x x", "", "x x x x", "x x"};
  const TextList solution{"  ř e ž", "", "c h u ť", "ß a"};
  const Grid g = buildGrid(map, solution);
  ASSERT_EQ(g.rows.size(), 4u);
  EXPECT_EQ(g.columns, 4);
  EXPECT_EQ(g.cellCount(), 9);
  EXPECT_EQ(g.rows[0].number, 1);
  EXPECT_EQ(g.rows[3].number, 4);
  EXPECT_EQ(g.rows[0].cells, (std::vector<GridCell>{{1, "Ř"}, {2, "E"}, {3, "Ž"}}));
  EXPECT_TRUE(g.rows[1].cells.empty());
  // "ch" is two cells, as in the map; ß has no capital in the code page.
  EXPECT_EQ(g.rows[2].cells, (std::vector<GridCell>{{0, "C"}, {1, "H"}, {2, "U"}, {3, "Ť"}}));
  EXPECT_EQ(g.rows[3].cells.front().letter, "ß");
  EXPECT_EQ(g.rows[0].answer, "ŘEŽ");
  EXPECT_EQ(g.rows[2].answer, "CHUŤ");
  ASSERT_EQ(g.cellAt(2, 1)->letter, "H");
  EXPECT_EQ(g.cellAt(1, 1), nullptr);
  EXPECT_EQ(g.cellAt(4, 0), nullptr);
  EXPECT_EQ(g.cellAt(-1, 0), nullptr);
  // Column 1 crosses every word; the line without a word is a blank of the phrase.
  EXPECT_EQ(g.tajenkaColumn, 1);
  EXPECT_EQ(g.tajenka(), "Ř HA");
  // Without a column there is nothing to read down.
  EXPECT_EQ(buildGrid({"x x", "x x"}, {"a b", "c d"}).tajenka(), std::nullopt);
}

TEST(WorksheetGrid, TheMapAloneDecidesTheCells) {
  // A shorter solution leaves cells empty; a longer one adds no row; letters where the map has
  // no cell are not drawn.
  const Grid shorter = buildGrid({"x x", "x x x"}, {"a b"});
  EXPECT_EQ(shorter.cellCount(), 5);
  EXPECT_EQ(shorter.rows[1].cells[2].letter, "");
  const Grid longer = buildGrid({"x x"}, {"a b", "c d"});
  EXPECT_EQ(longer.rows.size(), 1u);
  const Grid shifted = buildGrid({"x x"}, {"  a b"});
  EXPECT_EQ(shifted.rows[0].cells, (std::vector<GridCell>{{0, ""}, {1, "A"}}));
}

TEST(Worksheet, CluesAreNumberedUnlessTheyAreAlready) {
  EXPECT_EQ(numberedClue("3. Modrá", 3), "3. Modrá");
  EXPECT_EQ(numberedClue("12.Modrá", 1), "12.Modrá");
  EXPECT_EQ(numberedClue("Modrá", 3), "3. Modrá");
  EXPECT_EQ(numberedClue("3 Modrá", 3), "3. 3 Modrá");
  EXPECT_EQ(numberedClue("", 7), "7.");
  EXPECT_EQ(numberedClue("2020", 1), "1. 2020");
}

CrosswordFiles files(std::vector<std::string> map, std::vector<std::string> solution,
                     std::vector<std::string> legend,
                     std::vector<std::string> konf = {"10", "5", "20", "15", "N", "2"}) {
  return {TextList(std::move(map)), TextList(std::move(legend)), TextList(std::move(solution)),
          TextList(std::move(konf))};
}

TEST(Worksheet, OddButPrintableCrosswordsArePrintedWithAWarning) {
  struct Case {
    CrosswordFiles f;
    std::vector<std::string> warnings;
  };
  const Case cases[] = {
      {files({"x x", "x x"}, {"a b", "c d"}, {"jedna", "dvě"}), {}},
      {files({"x x", "x x", "x"}, {"a b", "c d"}, {"1", "2", "3"}),
       {"2. ročník, křížovka 4: mapa má 3 řádky, řešení 2 řádky; tiskne se podle mapy."}},
      {files({"x x"}, {"a b", "c d"}, {"jedna"}),
       {"2. ročník, křížovka 4: mapa má 1 řádek, řešení 2 řádky; tiskne se podle mapy."}},
      {files({"x x", "x x"}, {"a b", "c d"}, {"1", "2", "3", "4", "5"}),
       {"2. ročník, křížovka 4: legenda má 5 řádků, mapa 2 řádky."}},
      {files({"", ""}, {"", ""}, {"1", "2"}),
       {"2. ročník, křížovka 4: mapa nemá žádné políčko „x“; vytiskne se jen legenda."}},
      {files({"x"}, {"a"}, {"1"}, {"10", "pět", "20", "", "N", "1"}),
       {"2. ročník, křížovka 4: některá hodnota bodování (k.nk) není celé číslo; vytiskne se "
        "jako „?“."}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> warnings;
    const Worksheet s = makeWorksheet(c.f, 2, 4, warnings);
    EXPECT_EQ(warnings, c.warnings);
    EXPECT_EQ(static_cast<int>(s.grid.rows.size()), c.f.map.count()) << "printed from the map";
    EXPECT_EQ(static_cast<int>(s.clues.size()), c.f.legend.count());
  }
  std::vector<std::string> warnings;
  const Worksheet s = makeWorksheet(
      files({"x"}, {"a"}, {"Modrá"}, {"10", "-5", "x", "0", "N", "1"}), 1, 0, warnings);
  EXPECT_EQ(s.scoring.pointsPerGood, 10);
  EXPECT_EQ(s.scoring.pointsPerBad, -5);
  EXPECT_EQ(s.scoring.goodTajenka, std::nullopt);
  EXPECT_EQ(s.scoring.badTajenka, 0);
  EXPECT_EQ(s.clues, std::vector<std::string>{"1. Modrá"});
  EXPECT_EQ(s.heading(), "1. ročník · Nová křížovka");
  EXPECT_EQ(s.name(), "1. ročník, nová křížovka");
}

TEST(Worksheet, AMapOverTheSizeLimitsIsRefusedNotPrinted) {
  const std::string wide = [] {
    std::string line = "x";
    for (int i = 1; i < kMaxSheetColumns; ++i)
      line += " x";
    return line;
  }();
  const std::vector<std::string> tall(kMaxSheetRows, "x");
  std::vector<std::string> warnings;
  const std::string longest(kMaxClueLength - 2, 'a');
  // At the limits a crossword is printed.
  EXPECT_NO_THROW(makeWorksheet(files({wide}, {}, {}), 1, 1, warnings));
  EXPECT_NO_THROW(makeWorksheet(files(tall, {}, tall), 1, 1, warnings));
  EXPECT_NO_THROW(makeWorksheet(files({"x"}, {}, {"ž " + longest}), 1, 1, warnings));
  // One past them, of the map's width, its height or the legend's, it is refused by name.
  const struct {
    CrosswordFiles f;
    const char* says;
  } over[] = {
      {files({wide + " x"}, {}, {}), "mapa je široká 61 políček"},
      {files({"  " + wide}, {}, {}), "mapa je široká 61 políček"},
      {files(
           [&] {
             auto t = tall;
             t.push_back("");
             return t;
           }(),
           {}, {}),
       "mapa má 151 řádků"},
      {files({"x"}, {},
             [&] {
               auto t = tall;
               t.push_back("a");
               return t;
             }()),
       "legenda má 151 řádků"},
  };
  for (const auto& o : over) {
    try {
      makeWorksheet(o.f, 3, 2, warnings);
      ADD_FAILURE() << o.says;
    } catch (const UserError& e) {
      const std::string text = e.what();
      EXPECT_EQ(text.rfind("3. ročník, křížovka 2 se nevytiskne: ", 0), 0u) << text;
      EXPECT_NE(text.find(o.says), std::string::npos) << text;
    }
  }
}

TEST(Worksheet, AJobHasAPupilsPagePerCrosswordAndWithKeysItsKeyAfterIt) {
  WorksheetJob job;
  for (int n = 1; n <= 3; ++n) {
    Worksheet s;
    s.number = n;
    job.sheets.push_back(s);
  }
  EXPECT_EQ(job.pageCount(), 3);
  EXPECT_EQ(job.page(0).sheet->number, 1);
  EXPECT_FALSE(job.page(2).key);
  EXPECT_EQ(job.page(2).sheet->number, 3);
  job.keys = true;
  EXPECT_EQ(job.pageCount(), 6);
  const std::pair<int, bool> expected[] = {{1, false}, {1, true},  {2, false},
                                           {2, true},  {3, false}, {3, true}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(job.page(i).sheet->number, expected[i].first) << i;
    EXPECT_EQ(job.page(i).key, expected[i].second) << i;
  }
  EXPECT_THROW(job.page(6), std::out_of_range);
  EXPECT_EQ(WorksheetJob{}.pageCount(), 0);
}

TEST(Worksheet, AScopeReadsTheActiveSetAndSaysWhatItCouldNotRead) {
  TempProgram dir;
  dir.makeSet({3, 0, 2, 1});
  dir.addCrossword(1, 2, {"  k o s", "p e s"}, {"1", "2", "3", "4", "N", "2"});
  const ProgramFolder folder(dir.root());

  Collected grade = readGrade(folder, 1);
  ASSERT_EQ(grade.sheets.size(), 3u);
  EXPECT_TRUE(grade.warnings.empty());
  EXPECT_EQ(grade.sheets[1].number, 2);
  EXPECT_EQ(grade.sheets[1].grid.rows[0].answer, "KOS");
  EXPECT_EQ(grade.sheets[1].scoring.badTajenka, 4);
  EXPECT_TRUE(readGrade(folder, 2).sheets.empty());

  // The whole set: grades 1 to 4 in order, each from its first crossword.
  Collected set = readSet(folder);
  std::vector<std::pair<int, int>> order;
  for (const auto& s : set.sheets)
    order.emplace_back(s.grade, s.number);
  EXPECT_EQ(order,
            (std::vector<std::pair<int, int>>{{1, 1}, {1, 2}, {1, 3}, {3, 1}, {3, 2}, {4, 1}}));

  // A missing file leaves its crossword out with a warning naming it; the others print. So
  // does a missing grade list.
  dir.remove("tervano/r1/k2/k.vk");
  dir.remove("tervano/sur/3.cbx");
  set = readSet(folder);
  EXPECT_EQ(set.sheets.size(), 3u);
  ASSERT_EQ(set.warnings.size(), 2u);
  EXPECT_EQ(set.warnings[0].rfind("1. ročník, křížovka 2 se nevytiskne: ", 0), 0u);
  EXPECT_NE(set.warnings[0].find("k.vk"), std::string::npos);
  EXPECT_EQ(set.warnings[1].rfind("3. ročník se nevytiskne, jeho seznam křížovek nelze přečíst", 0),
            0u);
  // A crossword listed in the grade but without a folder is one more missing crossword.
  dir.write("tervano/sur/4.cbx", {"1", "2"});
  EXPECT_EQ(readGrade(folder, 4).sheets.size(), 1u);
  EXPECT_EQ(readGrade(folder, 4).warnings.size(), 1u);
}

TEST(Worksheet, TheNoticeCountsCrosswordsWithoutASingleTajenkaColumn) {
  std::vector<std::string> w;
  const Worksheet marked = makeWorksheet(files({"x x", "  x"}, {}, {}), 1, 1, w);
  const Worksheet open = makeWorksheet(files({"x x", "x x"}, {}, {}), 1, 2, w);
  const Worksheet empty = makeWorksheet(files({""}, {}, {}), 1, 3, w);
  EXPECT_EQ(tajenkaNotice({marked, empty}), "");
  EXPECT_EQ(tajenkaNotice({open}).rfind("Z mapy nelze určit jediný sloupec tajenky", 0), 0u);
  EXPECT_EQ(tajenkaNotice({marked, open, open}).rfind("U 2 křížovek nelze z mapy určit", 0), 0u);
  EXPECT_EQ(tajenkaNotice({open, marked}).rfind("U 1 křížovky nelze", 0), 0u);
}

TEST(Worksheet, NamesForHeadingsAndFiles) {
  EXPECT_EQ(setTitle({"  Angličtina A1  ", "7"}), "Angličtina A1");
  EXPECT_EQ(setTitle({"", "1", "1", "1", "1", "4", "20"}), "tervano20");
  EXPECT_EQ(setTitle({"", "1", "1", "1", "1", "4", "../x"}), "Tervano");
  EXPECT_EQ(safeFileName("Sada 1/2: \"nová\" <A|B>?*"), "Sada 1-2- -nová- -A-B---");
  EXPECT_EQ(safeFileName(" ..skrytá. "), "skrytá");
  EXPECT_EQ(safeFileName("a\\b\x01"
                         "c"),
            "a-b-c");
  EXPECT_EQ(czechCount(1, "řádek", "řádky", "řádků"), "1 řádek");
  EXPECT_EQ(czechCount(4, "řádek", "řádky", "řádků"), "4 řádky");
  EXPECT_EQ(czechCount(5, "řádek", "řádky", "řádků"), "5 řádků");
  EXPECT_EQ(czechCount(0, "řádek", "řádky", "řádků"), "0 řádků");
}

}  // namespace
}  // namespace tervano::editor
