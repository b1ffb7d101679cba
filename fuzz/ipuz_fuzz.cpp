// Random iPuz files read as crosswords. The first byte chooses the way, the rest is the file:
//   bit 0  the reader alone (0), or the editor's "Načíst iPuz ..." over an open crossword (1)
//   bit 1  with the open crossword edited and not saved (the question is answered "do not save")
//   bit 2  the rest is not the file but drives a maker of crosswords in iPuz: grids of any shape
//          with the cell, clue and wrapper forms of the wild and now and then a fault; a file
//          made without a fault must be read, with one line per word across and per row
//          without cells
// The reader refuses with a Czech text (a UserError, nothing else) or gives a crossword whose
// files agree: the map in the map's layout, letters exactly on its cells, a legend line for every
// line, all of it in code page 1250 and within the sheet limits. Written out again and read back
// it is the same crossword with nothing dropped, and a second export is the first byte for byte.
// Through the editor a refusal shows one error box and leaves the areas, the scores and the
// status as they were; an accepted file is what the reader gave, as a new unsaved crossword with
// scores 0. No file of the program folder is written either way.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "data/cp1250.h"
#include "data/errors.h"
#include "editor/ipuz.h"
#include "fuzz_support.h"
#include "program_folder.h"
#include "ui/ids.h"

using namespace tervano;
using fuzz::require;

namespace {

namespace fs = std::filesystem;

struct Folder {
  testing::TempProgram dir;
  Folder() { dir.makeSet({1, 1, 1, 1}); }
};

Folder& folder() {
  static Folder f;
  return f;
}

// What checkCrossword may still say of an imported crossword: lines wider than the answer area
// and no single column for the tajenka are a crossword from elsewhere, not a broken one.
bool tolerated(const std::string& problem) {
  return fuzz::startsWith(problem, "Žádný sloupec neprochází") ||
         (fuzz::startsWith(problem, "Řádek ") &&
          problem.find(" mapy je široký ") != std::string::npos);
}

void checkCrossword(const editor::IpuzImport& got) {
  const auto& f = got.files;
  const int lines = f.map.count();
  require(lines >= 1 && lines <= editor::kMaxSheetRows, "1 to the sheet's limit of lines");
  require(f.solution.count() == lines && f.legend.count() == lines,
          "a solution and a legend line for every line");
  require(got.droppedClues >= 0, "a count of dropped clues");
  for (const auto& problem : editor::checkCrossword(f).problems)
    require(tolerated(problem), "the files agree: " + problem);
  for (const TextList* list : {&f.map, &f.solution, &f.legend})
    require(cp1250::representable(list->joined()), "every text fits code page 1250");
  int widest = 0;
  for (int i = 0; i < lines; ++i) {
    require(static_cast<int>(cp1250::codePoints(f.legend.get(i)).size()) <= editor::kMaxClueLength,
            "clues within the sheet's length");
    widest = std::max(widest, static_cast<int>(f.map.get(i).size()));
  }
  require(widest <= 2 * editor::kMaxSheetColumns - 1, "lines within the sheet's width");
}

// Written out and read back: the same crossword, nothing dropped, the same bytes again.
void checkRoundTrip(const editor::IpuzImport& got) {
  std::vector<std::string> warnings;
  std::string first;
  try {
    first = editor::writeIpuz(editor::makeWorksheet(got.files, 1, 0, warnings), "Sada");
  } catch (const UserError& e) {
    fuzz::violated(std::string("an accepted crossword can be written: ") + e.what());
  }
  editor::IpuzImport again;
  try {
    again = editor::readIpuz(first);
  } catch (const UserError& e) {
    fuzz::violated(std::string("what was written is read back: ") + e.what() + "\n" + first);
  }
  require(again.files.map == got.files.map, "the map comes back");
  require(again.files.solution == got.files.solution, "the solution comes back");
  require(again.files.legend == got.files.legend, "the legend comes back");
  require(again.droppedClues == 0, "nothing written is dropped");
  warnings.clear();
  const std::string second =
      editor::writeIpuz(editor::makeWorksheet(again.files, 1, 0, warnings), "Sada");
  require(second == first, "a second export is the first");
}

struct Shown {
  TextList answer, map, legend;
  std::vector<std::string> texts;
  bool operator==(const Shown&) const = default;
};

Shown shown(const ui::Controls& c) {
  Shown s{c.lines(id::kAnswerArea), c.lines(id::kMapArea), c.lines(id::kLegendArea), {}};
  for (auto t : {id::kScoreGood, id::kScoreBad, id::kScoreGoodTajenka, id::kScoreBadTajenka,
                 id::kDataStatus, id::kGrade, id::kCrossword})
    s.texts.push_back(c.text(t));
  s.texts.push_back(c.checked(id::kSavePoint) ? "A" : "N");
  return s;
}

void throughTheEditor(const std::string& file, bool edited,
                      const std::optional<editor::IpuzImport>& read, const std::string& refusal) {
  testing::TempProgram& dir = folder().dir;
  const fs::path path = fs::temp_directory_path() / ("ipuz-fuzz-" + std::to_string(::getpid()));
  {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    require(out != nullptr, "the scratch file can be written");
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
  }
  const auto before = fuzz::snapshot(dir.root());

  testing::FakeHost host;
  // The transcript goes with the host: a later input must not print it.
  struct Context {
    explicit Context(testing::FakeHost& host) {
      fuzz::context() = [&host] {
        for (const auto& line : host.transcript())
          std::fprintf(stderr, "  %s\n", line.c_str());
      };
    }
    ~Context() { fuzz::context() = nullptr; }
  } context(host);
  app::Application app(host, ProgramFolder(dir.root()),
                       TextList{dir.path("tervano-hra"), "-EDITOR"}, 1);
  app.startProgram();
  app.click(id::kDataLoad);
  app.dispatch({app::Event::Kind::Select, id::kChooserGrade, "1"});
  app.dispatch({app::Event::Kind::Edit, id::kChooserCrossword, "1"});
  app.click(id::kChooserConfirm);
  if (edited) {
    app.edit(id::kLegendArea, "upravená nápověda");
    host.cancel();
  }
  const Shown was = shown(app.controls());
  host.clear();
  host.pick(path.string());
  app.click(id::kDataIpuz);

  const auto errors = host.only({"error: "});
  const auto infos = host.only({"info: "});
  const auto& c = app.controls();
  if (!read) {
    require(errors.size() == 1 && errors[0].find(refusal) != std::string::npos &&
                errors[0].find("Editor zůstal beze změny.") != std::string::npos,
            "a refusal shows the reader's reason once");
    require(infos.empty(), "a refusal shows nothing else");
    require(shown(c) == was, "a refusal leaves the editor as it was");
  } else {
    require(errors.empty(), "an accepted file shows no error");
    require(c.lines(id::kMapArea) == read->files.map &&
                c.lines(id::kAnswerArea) == read->files.solution &&
                c.lines(id::kLegendArea) == read->files.legend,
            "the areas hold what the reader gave");
    for (auto t : {id::kScoreGood, id::kScoreBad, id::kScoreGoodTajenka, id::kScoreBadTajenka})
      require(c.text(t) == "0", "scores of a new crossword");
    require(c.text(id::kDataStatus) == "Neuložená", "an unsaved crossword");
    require(infos.size() <= 1, "at most one note");
    if (read->droppedClues > 0)
      require(infos.size() == 1 &&
                  infos[0].find("Vynecháno nápověd: " + std::to_string(read->droppedClues) + ".") !=
                      std::string::npos,
              "dropped clues are counted");
  }
  require(fuzz::snapshot(dir.root()) == before, "no file of the program folder is written");
  std::error_code ec;
  fs::remove(path, ec);
}

// A crossword in iPuz made from the bytes.
struct Made {
  std::string file;
  bool clean = true;  // every choice a sound one: the file must be read
  int lines = 0;      // words across and rows without cells
};

Made make(std::string_view bytes) {
  using Json = nlohmann::json;
  std::size_t at = 0;
  const auto next = [&]() -> unsigned {
    return at < bytes.size() ? static_cast<unsigned char>(bytes[at++]) : 0u;
  };
  Made made;
  Json doc;
  doc["kind"] = Json::array({"http://ipuz.org/crossword#1"});
  const unsigned flags = next();
  const std::string block = flags & 1 ? "*" : "#";
  if (flags & 1) doc["block"] = block;
  const int width = 1 + static_cast<int>(next() % 12);
  const int height = 1 + static_cast<int>(next() % 12);
  doc["dimensions"] = {{"width", width}, {"height", height}};
  static const char* const kLetters[] = {"A", "b", "Č", "ř", "ß", "X", "Ž", "é"};
  static const char* const kFaults[] = {"Ж", "CH", "1", "", " ", "#"};
  static const char* const kTexts[] = {"Kočka", "<i>Pes</i> &amp; kůň", "Řeka\nproud", "",
                                       "„Slovo“ – 3"};
  Json puzzle = Json::array(), solution = Json::array();
  int label = 0;
  std::vector<int> labels;
  for (int r = 0; r < height; ++r) {
    Json cells = Json::array(), letters = Json::array();
    bool any = false;
    for (int c = 0; c < width; ++c) {
      const unsigned k = next();
      if (k % 4 == 0) {
        cells.push_back(k & 4 ? Json(nullptr) : Json(block));
        letters.push_back(k & 4 ? Json(nullptr) : Json(block));
        continue;
      }
      any = true;
      Json cell = 0;
      if (k % 4 == 1) {
        labels.push_back(++label);
        cell = (k >> 3) % 3 == 0 ? Json(label) : Json(std::to_string(label));
      }
      if ((k >> 5) % 3 == 0) cell = {{"cell", cell}, {"style", {{"shapebg", "circle"}}}};
      cells.push_back(cell);
      const unsigned s = next();
      Json letter = kLetters[s % 8];
      if (s % 16 == 15) {
        letter = kFaults[(s >> 4) % 6];
        made.clean = false;
      }
      letters.push_back((s >> 4) % 4 == 0 ? Json{{"value", letter}} : letter);
    }
    puzzle.push_back(cells);
    solution.push_back(letters);
    if (!any) ++made.lines;
  }
  doc["puzzle"] = puzzle;
  doc["solution"] = solution;
  doc["saved"] = Json::array({Json::array({"A"})});
  const std::string across = flags & 2 ? "Across:Vodorovně" : "Across";
  doc["clues"][across] = Json::array();
  doc["clues"]["Down"] = Json::array();
  for (int n : labels) {
    const unsigned c = next();
    std::string text = kTexts[(c >> 2) % 5];
    if (c % 32 == 31) {
      text += " \U0001F600";
      made.clean = false;
    }
    const Json number = c & 64 ? Json(std::to_string(n)) : Json(n);
    const Json clue =
        c & 128 ? Json{{"number", number}, {"clue", text}} : Json::array({number, text});
    const bool isAcross = c % 3 != 0;
    doc["clues"][isAcross ? across : "Down"].push_back(clue);
    if (isAcross) ++made.lines;
  }
  if (doc["clues"][across].empty()) made.clean = false;
  if (flags & 4) doc["cz.tervano.gaps"] = Json::array({Json::array({1 + next() % 12, "mezera"})});
  made.file = doc.dump();
  if (flags & 8) made.file = "ipuz(" + made.file + ")";
  if (flags & 16) made.file = "\xEF\xBB\xBF" + made.file;
  return made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::optional<Made> made;
  if (data[0] & 4) {
    made = make(file);
    file = made->file;
  }
  std::optional<editor::IpuzImport> read;
  std::string refusal;
  try {
    read = editor::readIpuz(file);
  } catch (const UserError& e) {
    refusal = e.what();
    require(!refusal.empty(), "a refusal says why");
  }
  if (made && made->clean) {
    require(read.has_value(), "a sound crossword is read: " + refusal + "\n" + file);
    require(read->files.map.count() == made->lines,
            "a line for every word across and every row without cells");
  }
  if (read) {
    checkCrossword(*read);
    checkRoundTrip(*read);
  }
  if (data[0] & 1) throughTheEditor(file, data[0] & 2, read, refusal);
  return 0;
}
