// Crosswords as iPuz: what the export writes (checked against the iPuz crossword rules, not the
// writer's tables), what the reader takes from files as other programs write them and what it
// refuses, the delivered crosswords through a round trip, and both through the editor's windows.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "data/textfile.h"
#include "editor/ipuz.h"
#include "editor_rig.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;
using editor::CrosswordFiles;
using editor::readIpuz;
using Json = nlohmann::json;

CrosswordFiles crossword(TextList map, TextList solution, TextList legend) {
  return {std::move(map), std::move(legend), std::move(solution), {"0", "0", "0", "0", "N", "0"}};
}

std::string exported(const CrosswordFiles& files, int grade = 2, int number = 3) {
  std::vector<std::string> warnings;
  return editor::writeIpuz(editor::makeWorksheet(files, grade, number, warnings), "Sada");
}

// A row of a grid: "#" for a block, a number for a cell's label, a letter.
Json row(std::initializer_list<Json> cells) {
  return Json(cells);
}

// Each crossword, and the fields of its file by the iPuz crossword rules: dimensions are the
// map's width in cells by its lines, "#" where the map has no cell, a line's number at its first
// cell and 0 elsewhere, the solution in capitals with "ch" in two cells, the legend across by
// line number, and the tajenka down from the top of its column (numbered after the last line when
// that cell starts no line) and in the explanation; without one tajenka column neither.
TEST(IpuzExport, FieldsFollowTheRules) {
  const Json B = "#";
  struct Case {
    const char* what;
    CrosswordFiles files;
    Json expected;
    bool tajenka;
  };
  const Case cases[] = {
      {"a gap, ch, the tajenka starting inside a line",
       crossword({"  x x x", "x x x x", "", "      x x x"},
                 {"  d o g", "a c h t", "", "      e r a"},
                 {"1. Pes", "2. Osm & <víc>", "3. (mezera v tajence)", "Éra"}),
       {{"dimensions", {{"width", 6}, {"height", 4}}},
        {"puzzle",
         {row({B, 1, 0, 5, B, B}), row({2, 0, 0, 0, B, B}), row({B, B, B, B, B, B}),
          row({B, B, B, 4, 0, 0})}},
        {"solution",
         {row({B, "D", "O", "G", B, B}), row({"A", "C", "H", "T", B, B}), row({B, B, B, B, B, B}),
          row({B, B, B, "E", "R", "A"})}},
        {"clues",
         {{"Across", {row({1, "Pes"}), row({2, "Osm &amp; &lt;víc&gt;"}), row({4, "Éra"})}},
          {"Down", {row({5, "Tajenka"})}}}},
        {"explanation", "Tajenka: GT E"},
        {editor::kIpuzGapsField, {row({3, "(mezera v tajence)"})}}},
       true},
      {"the tajenka starting a line",
       crossword({"    x x", "x x x"}, {"    o x", "c a t"}, {"1. Vůl", "2. Kočka"}),
       {{"dimensions", {{"width", 4}, {"height", 2}}},
        {"puzzle", {row({B, B, 1, 0}), row({2, 0, 0, B})}},
        {"clues",
         {{"Across", {row({1, "Vůl"}), row({2, "Kočka"})}}, {"Down", {row({1, "Tajenka"})}}}},
        {"explanation", "Tajenka: OT"}},
       true},
      {"no single tajenka column",
       crossword({"x x x", "x x x"}, {"c a t", "d o g"}, {"1. Kočka", "2. Pes"}),
       {{"puzzle", {row({1, 0, 0}), row({2, 0, 0})}},
        {"clues", {{"Across", {row({1, "Kočka"}), row({2, "Pes"})}}}}},
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string text = exported(c.files);
    const Json doc = Json::parse(text);
    for (const auto& [key, value] : c.expected.items())
      EXPECT_EQ(doc.at(key), value) << key;
    EXPECT_EQ(doc.contains("explanation"), c.tajenka);
    EXPECT_EQ(doc["version"], "http://ipuz.org/v2");
    EXPECT_EQ(doc["kind"], Json({"http://ipuz.org/crossword#1"}));
    EXPECT_EQ(doc["title"], "Sada · 2. ročník · Křížovka 3");
    EXPECT_EQ(doc["author"], "Sada");
    EXPECT_EQ(doc["copyright"], "");
    // UTF-8 as it stands, not escaped: the "í" of "ročník" is the two bytes C3 AD.
    EXPECT_NE(text.find("ro\xC4\x8Dn\xC3\xADk"), std::string::npos);
  }
  // A crossword the solution does not fill, or without a cell, is not written.
  EXPECT_THROW(exported(crossword({"x x"}, {"a"}, {"1. A"})), UserError);
  EXPECT_THROW(exported(crossword({""}, {""}, {"1. A"})), UserError);
}

// Files as other programs write them: a byte order mark or the "ipuz(...)" wrapper, cells as
// objects with a style, null cells, other block and empty marks, a saved state, clues as arrays
// and as objects under "Across:" with a title, HTML in clues, two words in one row. Every word
// across is one line at its offset, a row without cells an empty line; down clues are dropped
// and counted, except the tajenka's over the column every line crosses.
TEST(IpuzImport, CommonFormsInTheWild) {
  struct Case {
    const char* what;
    std::string file;
    TextList map, solution, legend;
    int dropped;
  };
  const Case cases[] = {
      {"cells as objects, a gap, the tajenka down",
       "\xEF\xBB\xBF"
       R"j({"version": "http://ipuz.org/v2", "kind": ["http://ipuz.org/crossword#1"],
           "block": "*", "empty": "_", "dimensions": {"width": 5, "height": 4},
           "puzzle": [[{"cell": 1, "style": {"shapebg": "circle"}}, "_", 4, "*", null],
                      ["*", 2, {"style": {"color": "red"}}, "_", "_"],
                      [null, "*", "*", null, "*"],
                      ["*", "*", {"cell": 3}, 0, null]],
           "solution": [["K", {"value": "O"}, "T", "*", null], ["*", "Ř", "E", "K", "A"],
                        [null, "*", "*", null, "*"], ["*", "*", "L", "E", null]],
           "saved": [["K", "", "", "*", null]],
           "clues": {"Across:Vodorovně": [[1, "Kočka <i>anglicky</i>"],
                                          {"number": 2, "clue": "Řeka &amp;<br/>proud"},
                                          {"number": "3", "clue": "Ležet\n(tvar)"}],
                     "Down": [[4, "Tajenka"], {"number": 2, "clue": "Svisle"}, [1, "Jiná"]]}})j",
       {"x x x", "  x x x x", "", "    x x"},
       {"k o t", "  ř e k a", "", "    l e"},
       {"1. Kočka anglicky", "2. Řeka & proud", "", "4. Ležet (tvar)"},
       2},
      {"two words in a row, no tajenka",
       R"j(ipuz({"kind": ["http://ipuz.org/crossword#1"], "dimensions": {"width": 4, "height": 2},
                "puzzle": [[1, 0, "#", 2], [3, 0, 0, 0]],
                "solution": [["A", "B", "#", "C"], ["D", "E", "F", "G"]],
                "clues": {"Across": [[1, "Ab"], [2, "Cé"], [3, "Defg"]],
                          "Down": [[1, "Ad"], [2, "Cg"]]}}))j",
       {"x x", "      x", "x x x x"},
       {"a b", "      c", "d e f g"},
       {"1. Ab", "2. Cé", "3. Defg"},
       2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto got = readIpuz(c.file);
    EXPECT_EQ(got.files.map, c.map);
    EXPECT_EQ(got.files.solution, c.solution);
    EXPECT_EQ(got.files.legend, c.legend);
    EXPECT_EQ(got.droppedClues, c.dropped);
    EXPECT_EQ(got.files.konf, (TextList{"0", "0", "0", "0", "N", std::to_string(c.map.count())}));
  }
}

// What cannot become a crossword is refused with a Czech text that says why.
TEST(IpuzImport, RefusalsSayWhy) {
  const std::string head =
      R"j("kind": ["http://ipuz.org/crossword#1"], "dimensions": {"width": 2, "height": 1},
         "clues": {"Across": [[1, "A"]]}, )j";
  const std::pair<std::string, std::string> cases[] = {
      {"{\"kind\": [", "není platný JSON"},
      {R"j({"kind": ["http://ipuz.org/sudoku#1"]})j",
       "není křížovka, ale hádanka jiného druhu („http://ipuz.org/sudoku#1“)"},
      {"{" + head + R"j("puzzle": [[1, 0]], "solution": [["A", "Ж"]]})j",
       "Písmeno „Ж“ na řádku 1, ve sloupci 2 mřížky nelze uložit"},
      {"{" + head + R"j("puzzle": [[1, 0]], "solution": [["A", "TH"]]})j", "jedno písmeno"},
      {"{" + head + R"j("puzzle": [[1, 0], [0, 0]], "solution": [["A", "B"]]})j",
       "neodpovídá rozměrům 2 × 1"},
      {"{" + head + R"j("puzzle": [[0, 0]], "solution": [["A", "B"]]})j",
       "nemá v mřížce políčko s číslem 1"},
  };
  for (const auto& [file, says] : cases) {
    SCOPED_TRACE(file);
    try {
      readIpuz(file);
      ADD_FAILURE() << "accepted";
    } catch (const UserError& e) {
      EXPECT_NE(std::string(e.what()).find(says), std::string::npos) << e.what();
    }
  }
}

// Every delivered crossword exported and read back has the same solution, map and legend, the
// same tajenka column, and no clue dropped.
TEST(IpuzRoundTrip, DeliveredCrosswordsComeBackTheSame) {
  int crosswords = 0;
  for (const char* set : {"tervano", "tervanodef", "instalace-nemcina"})
    for (const auto& grade : fs::directory_iterator(fs::path(TERVANO_DATA_TREE) / set)) {
      if (!grade.is_directory()) continue;
      for (const auto& folder : fs::directory_iterator(grade.path())) {
        if (!fs::exists(folder.path() / "k.mk")) continue;
        SCOPED_TRACE(folder.path().string());
        CrosswordFiles files;
        files.map = loadTextList(folder.path() / "k.mk");
        files.legend = loadTextList(folder.path() / "k.lk");
        files.solution = loadTextList(folder.path() / "k.vk");
        files.konf = loadTextList(folder.path() / "k.nk");
        const std::string json = exported(files);
        const auto back = readIpuz(json);
        EXPECT_EQ(back.files.solution, files.solution);
        EXPECT_EQ(back.files.map, files.map);
        EXPECT_EQ(back.files.legend, files.legend);
        EXPECT_EQ(back.droppedClues, 0);
        const auto column = [](const TextList& map) {
          std::vector<std::vector<int>> rows;
          for (const auto& line : map.lines())
            rows.push_back(editor::mapLineColumns(line));
          return editor::findTajenkaColumn(rows);
        };
        EXPECT_EQ(column(back.files.map), column(files.map));
        EXPECT_EQ(Json::parse(json)["clues"].contains("Down"), column(files.map).has_value());
        ++crosswords;
      }
    }
  EXPECT_GE(crosswords, 40);
}

struct IpuzRig : testing::EditorRig {
  fs::path write(const std::string& name, const std::string& bytes) {
    dir.writeBytes(name, bytes);
    return dir.root() / name;
  }
  const TextList& area(const char* id) const { return c().lines(id); }
};

const char* const kWild = R"j({"kind": ["http://ipuz.org/crossword#1"],
    "dimensions": {"width": 3, "height": 2}, "puzzle": [[1, 0, 3], [2, 0, 0]],
    "solution": [["O", "K", "O"], ["S", "U", "D"]],
    "clues": {"Across": [[1, "Oko"], [2, "Osud"]], "Down": [[1, "Os"], [3, "Od"]]}})j";

// "Načíst iPuz ..." asks first like "Načíst", fills the three areas as a new unsaved crossword
// with scores 0 and says how many clues it dropped; a refused file leaves the editor as it was.
TEST(IpuzInEditor, ImportFillsANewUnsavedCrosswordOrChangesNothing) {
  IpuzRig rig;
  rig.load("2", "1");
  rig.type(id::kLegendArea, "Kočka\nPes");
  const auto big = rig.write("velka.ipuz", std::string(editor::kMaxIpuzBytes + 1, ' '));
  const auto before = rig.snapshot();
  // Not saved first; the file is refused for its size.
  rig.host.cancel().pick(big.string());
  rig.host.clear();
  rig.a().click(id::kDataIpuz);
  const auto errors = rig.host.only({"error: "});
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("příliš velký"), std::string::npos) << errors[0];
  EXPECT_NE(errors[0].find("Editor zůstal beze změny."), std::string::npos);
  EXPECT_EQ(rig.area(id::kLegendArea), (TextList{"Kočka", "Pes"}));
  EXPECT_EQ(rig.area(id::kAnswerArea), (TextList{"c a t", "d o g"}));
  EXPECT_EQ(rig.text(id::kScoreGood), "10");
  EXPECT_EQ(rig.status(), "Neuložená");
  EXPECT_EQ(rig.snapshot(), before);

  // Saved first through the chooser; the file dialog follows the save.
  const auto wild = rig.write("wild.ipuz", kWild);
  rig.host.ok().pick(wild.string());
  rig.a().click(id::kDataIpuz);
  EXPECT_TRUE(rig.c().visible(id::kChooserWindow));
  rig.choose("2", "1");
  rig.a().click(id::kChooserConfirm);
  EXPECT_EQ(rig.dir.read("tervano/r2/k1/k.lk"), (TextList{"Kočka", "Pes"}));
  EXPECT_EQ(rig.area(id::kMapArea), (TextList{"x x x", "x x x"}));
  EXPECT_EQ(rig.area(id::kAnswerArea), (TextList{"o k o", "s u d"}));
  EXPECT_EQ(rig.area(id::kLegendArea), (TextList{"1. Oko", "2. Osud"}));
  for (auto score : {id::kScoreGood, id::kScoreBad, id::kScoreGoodTajenka, id::kScoreBadTajenka})
    EXPECT_EQ(rig.text(score), "0");
  EXPECT_EQ(rig.text(id::kCrossword), "0");
  EXPECT_EQ(rig.status(), "Neuložená");
  EXPECT_TRUE(rig.c().enabled(id::kDataSave));
  const auto infos = rig.host.only({"info: "});
  ASSERT_EQ(infos.size(), 1u);
  EXPECT_NE(infos[0].find("Vynecháno nápověd: 2."), std::string::npos) << infos[0];
}

// "Uložit iPuz ..." writes the open crossword into the file the user names, a grade into a
// folder as r<grade>k<n>.ipuz, replaces files only after a question and says what it did.
TEST(IpuzInPrintWindow, WritesTheScopeAndSaysWhat) {
  IpuzRig rig;
  rig.load("1", "2");
  rig.type(id::kLegendArea, "Kočka\nPes");
  rig.a().click(id::kDataPrint);
  const std::string one = rig.dir.path("ven/jedna");
  fs::create_directories(rig.dir.root() / "ven");
  rig.host.pick(one);
  rig.a().click(id::kPrintIpuz);
  const Json doc = Json::parse(rig.dir.readBytes("ven/jedna.ipuz"));
  EXPECT_EQ(doc["title"], "Tervano · 1. ročník · Křížovka 2");
  EXPECT_EQ(doc["clues"]["Across"][0], Json({1, "Kočka"}));
  EXPECT_EQ(rig.text(id::kPrintStatus), "Uloženo: " + one +
                                            ".ipuz. Bez tajenky: z mapy nelze určit jediný sloupec "
                                            "tajenky.");

  rig.app->dispatch({app::Event::Kind::Toggle, id::kPrintScopeGrade, {}, 1});
  const std::string folder = rig.dir.path("ven");
  rig.host.pick(folder);
  rig.a().click(id::kPrintIpuz);
  for (auto name : {"r1k1.ipuz", "r1k2.ipuz", "r1k3.ipuz"})
    EXPECT_TRUE(rig.dir.exists(std::string("ven/") + name)) << name;
  EXPECT_EQ(rig.text(id::kPrintStatus),
            "Uloženo 3 soubory iPuz do „" + folder +
                "“. Bez tajenky (z mapy nelze určit jediný sloupec tajenky): 3 křížovky.");
  // Again: the question, and Cancel keeps every file.
  const auto before = rig.snapshot();
  rig.host.clear();
  rig.host.pick(folder).cancel();
  rig.a().click(id::kPrintIpuz);
  EXPECT_EQ(rig.host.only({"ask: "}),
            (std::vector<std::string>{"ask: Ve složce „" + folder +
                                      "“ už jsou soubory r1k1.ipuz a další, celkem 3.\rChcete je "
                                      "nahradit? -> Cancel"}));
  EXPECT_EQ(rig.text(id::kPrintStatus), "Nic nebylo uloženo.");
  EXPECT_EQ(rig.snapshot(), before);
  // A folder that is a file: the error box, and the status says how far it got.
  rig.host.pick(rig.dir.path("ven/r1k1.ipuz"));
  rig.a().click(id::kPrintIpuz);
  EXPECT_EQ(rig.host.only({"error: "}).size(), 1u);
  EXPECT_EQ(rig.text(id::kPrintStatus), "Uloženo 0 z 3 souborů, r1k1.ipuz se už neuložil.");
}

}  // namespace
}  // namespace tervano
