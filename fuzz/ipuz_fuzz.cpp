// Random iPuz files read as crosswords. The first byte chooses the way, the rest is the file:
//   bit 0  the reader alone (0), or the editor's "Načíst iPuz ..." over an open crossword (1)
//   bit 1  with the open crossword edited and not saved (the question is answered "do not save")
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
  fuzz::context() = [&host] {
    for (const auto& line : host.transcript())
      std::fprintf(stderr, "  %s\n", line.c_str());
  };
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::optional<editor::IpuzImport> read;
  std::string refusal;
  try {
    read = editor::readIpuz(file);
  } catch (const UserError& e) {
    refusal = e.what();
    require(!refusal.empty(), "a refusal says why");
  }
  if (read) {
    checkCrossword(*read);
    checkRoundTrip(*read);
  }
  if (data[0] & 1) throughTheEditor(file, data[0] & 2, read, refusal);
  return 0;
}
