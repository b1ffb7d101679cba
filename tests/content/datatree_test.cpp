// The delivered data tree: every crossword of every set is complete and agrees with itself and
// with its source, the lists and descriptors agree with the folders, every text list is code
// page 1250 with CR LF, the set registry holds, and the game starts from the delivered saved
// game and can be played to the end with the solutions.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <numeric>
#include <set>

#include "data/cp1250.h"
#include "data/numbers.h"
#include "data/textfile.h"
#include "editor/crossword_builder.h"
#include "program_folder.h"
#include "tree.h"
#include "ui/ids.h"

namespace tervano::testing {
namespace {

namespace fs = std::filesystem;

std::size_t codePoints(std::string_view s) {
  std::size_t n = 0;
  for (char c : s)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

// The letters of a solution line without its blanks.
std::string lettersOf(const std::string& line) {
  std::string out;
  for (char c : line)
    if (c != ' ') out.push_back(c);
  return out;
}

std::string crosswordFolder(const std::string& set, int grade, int number) {
  return set + "/r" + std::to_string(grade) + "/k" + std::to_string(number);
}

TEST(DeliveredSets, TheSourcesDescribeTheThreeSetsWithEnoughCrosswords) {
  std::set<std::string> folders;
  for (const auto& s : sourceSets())
    folders.insert(s.folder);
  EXPECT_EQ(folders, (std::set<std::string>{"tervano", "tervanodef", "instalace-nemcina"}));
  for (int g = 0; g < 4; ++g) {
    const auto gi = static_cast<std::size_t>(g);
    EXPECT_GE(sourceSet("tervano").grades[gi].size(), 6u) << "grade " << g + 1;
    EXPECT_GE(sourceSet("instalace-nemcina").grades[gi].size(), 3u) << "grade " << g + 1;
    EXPECT_EQ(sourceSet("tervanodef").grades[gi].size(), 1u) << "grade " << g + 1;
  }
  EXPECT_EQ(sourceSet("tervano").number, "20");
  EXPECT_EQ(sourceSet("instalace-nemcina").number, "21");
  EXPECT_EQ(sourceSet("tervanodef").number, "30");
}

TEST(DeliveredSets, DescriptorGradeListsAndFoldersAgree) {
  for (const char* folder : kSetFolders) {
    SCOPED_TRACE(folder);
    const auto& src = sourceSet(folder);
    const TextList d = loadTextList(kTree / folder / "Tervano.ini");
    ASSERT_EQ(d.count(), 8);
    EXPECT_FALSE(d.get(0).empty());
    EXPECT_EQ(d.get(5), "4");
    EXPECT_EQ(d.get(6), src.number);
    EXPECT_EQ(d.get(7), src.language);
    EXPECT_EQ(loadTextList(kTree / folder / "sur" / "r.cbx"), (TextList{"1", "2", "3", "4"}));
    for (int g = 1; g <= 4; ++g) {
      const auto count = src.grades[static_cast<std::size_t>(g - 1)].size();
      EXPECT_EQ(d.get(g), std::to_string(count)) << "descriptor line " << g;
      const TextList list = loadTextList(kTree / folder / "sur" / (std::to_string(g) + ".cbx"));
      TextList expected;
      for (std::size_t n = 1; n <= count; ++n)
        expected.append(std::to_string(n));
      EXPECT_EQ(list, expected) << "grade list " << g;
      std::set<std::string> dirs;
      for (const auto& e : fs::directory_iterator(kTree / folder / ("r" + std::to_string(g))))
        dirs.insert(e.path().filename().string());
      std::set<std::string> wanted;
      for (std::size_t n = 1; n <= count; ++n)
        wanted.insert("k" + std::to_string(n));
      EXPECT_EQ(dirs, wanted) << "crossword folders of grade " << g;
    }
    EXPECT_TRUE(fs::is_directory(kTree / folder / "r5" / "k0"));
    EXPECT_TRUE(fs::is_regular_file(kTree / folder / "script" / "BEZEJMENA.lsc"));
    EXPECT_FALSE(filesBelow(kTree / folder / "def").empty());
    EXPECT_EQ(
        filesBelow(kTree / folder / "hdb"),
        (std::vector<std::string>{"1r.mid", "2r.mid", "3r.mid", "4r.mid", "Final.mid", "chyba.wav",
                                  "dobre.wav", "hlasen.wav", "vyhraco.wav", "vyhrar.wav"}));
  }
}

TEST(DeliveredSets, EveryCrosswordIsCompleteAndSpellsItsTajenka) {
  int crosswords = 0;
  for (const char* folder : kSetFolders) {
    const auto& src = sourceSet(folder);
    for (int g = 1; g <= 5; ++g) {
      const auto& list = src.grades[static_cast<std::size_t>(g - 1)];
      for (std::size_t i = 0; i < list.size(); ++i) {
        const auto& c = list[i];
        const int number = g == 5 ? 0 : static_cast<int>(i + 1);
        const std::string where = crosswordFolder(folder, g, number);
        SCOPED_TRACE(where + " (" + c.theme + ")");
        const fs::path dir = kTree / where;
        for (const char* f : {"k.mk", "k.lk", "k.vk", "k.nk"})
          EXPECT_TRUE(fs::is_regular_file(dir / f)) << f;
        const editor::CrosswordCheck check = editor::checkCrosswordFolder(dir);
        for (const auto& p : check.problems)
          ADD_FAILURE() << p;
        EXPECT_TRUE(check.spells(c.input.tajenka)) << "tajenka " << c.input.tajenka;

        const TextList solution = loadTextList(dir / "k.vk");
        const TextList konf = loadTextList(dir / "k.nk");
        const TextList legend = loadTextList(dir / "k.lk");
        ASSERT_EQ(solution.count(), static_cast<int>(c.input.answers.size()));
        for (int line = 0; line < solution.count(); ++line) {
          const auto li = static_cast<std::size_t>(line);
          EXPECT_EQ(lettersOf(solution.get(line)), cp1250::toLower(c.input.answers[li]));
          EXPECT_EQ(solution.get(line), cp1250::toLower(solution.get(line)));
          // The legend area shows about as many characters as the answer area.
          EXPECT_LE(codePoints(legend.get(line)), 39u) << legend.get(line);
        }
        const auto& s = c.input.scoring;
        EXPECT_EQ(konf, (TextList{std::to_string(s.pointsPerGood), std::to_string(s.pointsPerBad),
                                  std::to_string(s.goodTajenka), std::to_string(s.badTajenka),
                                  s.savePoint ? "A" : "N", std::to_string(solution.count())}));
        ++crosswords;
      }
    }
  }
  EXPECT_GE(crosswords, 24 + 12 + 4 + 3);
}

TEST(DeliveredSets, ScoringGrowsWithTheGradesAndSomeCrosswordsAreSavePoints) {
  const auto& src = sourceSet("tervano");
  int previous = 0;
  int savePoints = 0;
  for (int g = 0; g < 4; ++g) {
    int lowest = INT32_MAX;
    for (const auto& c : src.grades[static_cast<std::size_t>(g)]) {
      lowest = std::min(lowest, c.input.scoring.pointsPerGood);
      savePoints += c.input.scoring.savePoint ? 1 : 0;
    }
    EXPECT_GT(lowest, previous) << "grade " << g + 1;
    previous = lowest;
  }
  EXPECT_GE(savePoints, 4);
  // One crossword of about thirty lines.
  std::size_t longest = 0;
  for (const auto& c : src.grades[3])
    longest = std::max(longest, c.input.answers.size());
  EXPECT_GE(longest, 28u);
}

TEST(DeliveredSets, TheGeneratedFilesAreUpToDateWithTheirSources) {
  // tools/regenerate.sh writes these files; a source changed without regenerating fails here.
  for (const auto& src : sourceSets()) {
    SCOPED_TRACE(src.folder);
    const content::FileMap files = content::renderSet(src);
    for (const auto& [relative, bytes] : files) {
      const fs::path p = kTree / src.folder / relative;
      ASSERT_TRUE(fs::is_regular_file(p)) << relative;
      EXPECT_EQ(readFileBytes(p), bytes) << relative;
    }
    for (const char* generated : {"sur", "r1", "r2", "r3", "r4", "r5"})
      for (const auto& f : filesBelow(kTree / src.folder / generated))
        EXPECT_TRUE(files.count(std::string(generated) + "/" + f)) << "stray file " << f;
  }
  for (const auto& [relative, bytes] : content::renderTextTree(kContent / "koren")) {
    ASSERT_TRUE(fs::is_regular_file(kTree / relative)) << relative;
    EXPECT_EQ(readFileBytes(kTree / relative), bytes) << relative;
  }
}

bool isTextList(const fs::path& p) {
  static const std::set<std::string> binary = {".wav", ".mid", ".bmp", ".ico", ".png", ".hlp"};
  std::string ext = p.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  });
  return binary.count(ext) == 0;
}

TEST(DeliveredTree, EveryTextListIsCodePage1250WithCrLf) {
  int lists = 0;
  for (const auto& relative : filesBelow(kTree)) {
    if (!isTextList(relative)) continue;
    SCOPED_TRACE(relative);
    ++lists;
    const std::string bytes = readFileBytes(kTree / relative);
    const std::string text = cp1250::decode(bytes);
    EXPECT_EQ(cp1250::encode(text), bytes);
    std::size_t pos = 0;
    while (pos < text.size()) {
      const char32_t cp = cp1250::nextCodePoint(text, pos);
      // The five bytes the code page leaves unassigned decode to C1 controls.
      EXPECT_FALSE(cp >= 0x80 && cp <= 0x9F) << "unassigned byte";
      EXPECT_FALSE(cp < 0x20 && cp != '\r' && cp != '\n') << "control character " << int(cp);
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\n') {
        EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at " << i;
      }
      if (bytes[i] == '\r') {
        EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at " << i;
      }
    }
    if (!bytes.empty()) {
      EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    }
  }
  EXPECT_GT(lists, 200);
}

TEST(DeliveredTree, RegistryListsTheActiveSetAndTheMediumCanBeInstalled) {
  const TextList sets = loadTextList(kTree / "sady.ini");
  const TextList selection = loadTextList(kTree / "Tervano.ini");
  const TextList active = loadTextList(kTree / "tervano" / "Tervano.ini");
  ASSERT_GT(sets.count(), 0);
  std::set<std::string> seen;
  for (const auto& name : sets.lines()) {
    EXPECT_TRUE(seen.insert(name).second) << "listed twice: " << name;
    ASSERT_EQ(name.rfind("tervano", 0), 0u) << name;
    const std::string number = name.substr(7);
    ASSERT_TRUE(isDigits(number)) << name;
    if (number == active.get(6)) continue;
    ASSERT_TRUE(fs::is_directory(kTree / name)) << "listed set without a folder: " << name;
    EXPECT_EQ(loadTextList(kTree / name / "Tervano.ini").get(6), number);
  }
  EXPECT_TRUE(seen.count("tervano" + active.get(6))) << "the active set is not listed";
  EXPECT_TRUE(seen.count(selection.get(0))) << "selection " << selection.get(0);

  // The medium: an installation file of at least 8 lines whose set is not installed yet.
  const TextList medium = loadTextList(kTree / "instalace-nemcina" / "Tervano.ini");
  EXPECT_GE(medium.count(), 8);
  EXPECT_EQ(medium.get(7), "Němčina");
  EXPECT_FALSE(seen.count("tervano" + medium.get(6)));
  EXPECT_FALSE(fs::exists(kTree / ("tervano" + medium.get(6))));
  EXPECT_LT(parseInt(medium.get(6)), 30);
  EXPECT_LT(parseInt(active.get(6)), 30);
  EXPECT_NE(medium.get(6), active.get(6));
  // The template is not a registered set; a new set renumbers it.
  EXPECT_EQ(loadTextList(kTree / "tervanodef" / "Tervano.ini").get(6), "30");
  EXPECT_FALSE(seen.count("tervano30"));
}

TEST(DeliveredTree, SavedGameAutosaveLogAndLanguages) {
  EXPECT_EQ(loadTextList(kTree / "Data" / "kriz" / "Nová hra.kr1"),
            (TextList{"A", "0", "1", "1", "0", "0", "A", "N", "20", "A", "A", "N"}));
  EXPECT_FALSE(fs::exists(kTree / "Data" / "kriz" / "Nová hra.kn1"));
  EXPECT_EQ(loadTextList(kTree / "Data" / "kriz" / "automatické uložení.kra"),
            (TextList{"N", "50", "0", "kontrole každé křížovky"}));
  const TextList languages = loadTextList(kTree / "jazyky.ini");
  const std::set<std::string> unique(languages.lines().begin(), languages.lines().end());
  EXPECT_EQ(unique.size(), languages.lines().size());
  for (const auto& src : sourceSets())
    EXPECT_TRUE(unique.count(src.language)) << src.language;
  for (const char* l :
       {"Francouzština", "Španělština", "Italština", "Ruština", "Polština", "Latina"})
    EXPECT_TRUE(unique.count(l)) << l;
}

// A program folder with a copy of the delivered tree, started with a saved game.
class DeliveredGame : public ::testing::Test {
 protected:
  void SetUp() override { fs::copy(kTree, rig.dir.root(), fs::copy_options::recursive); }
  void startWith(const std::string& saveName) {
    rig.host.pick(rig.dir.path("Data/kriz/" + saveName));
    rig.start();
  }
  std::vector<std::string> complaints() const {
    return rig.host.only({"error", "warning", "plain"});
  }
  Rig rig;
};

TEST_F(DeliveredGame, StartsFromTheDeliveredSavedGame) {
  startWith("Nová hra.kr1");
  EXPECT_TRUE(rig.app->game().gameRunning());
  EXPECT_FALSE(rig.host.quitRequested());
  EXPECT_TRUE(complaints().empty()) << complaints().front();
  EXPECT_EQ(rig.text(id::kGrade), "1");
  EXPECT_EQ(rig.text(id::kCrossword), "1");
  EXPECT_EQ(rig.text(id::kPoints), "0");
  EXPECT_EQ(rig.c().lines(id::kMapArea), rig.dir.read("tervano/r1/k1/k.mk"));
  EXPECT_EQ(rig.c().lines(id::kAnswerArea), rig.dir.read("tervano/r1/k1/k.mk"));
  EXPECT_TRUE(rig.app->sound().musicOn());
  EXPECT_TRUE(rig.app->sound().soundOn());
}

// Answers every crossword with its solution until the game is completed; returns the number
// of checks.
int playToTheEnd(Rig& rig) {
  int checks = 0;
  while (rig.text(id::kGrade) != "5" && checks < 500) {
    rig.app->edit(id::kAnswerArea, rig.app->session().vyslt.joined("\n"));
    rig.app->click(id::kKontrola);
    ++checks;
  }
  return checks;
}

void expectPerfectGame(Rig& rig, const content::SourceSet& src) {
  long long points = 0;
  int lines = 0;
  int crosswords = 0;
  for (int g = 0; g < 4; ++g)
    for (const auto& c : src.grades[static_cast<std::size_t>(g)]) {
      const int n = static_cast<int>(c.input.answers.size());
      points +=
          static_cast<long long>(c.input.scoring.pointsPerGood) * n + c.input.scoring.goodTajenka;
      lines += n;
      ++crosswords;
    }
  EXPECT_EQ(playToTheEnd(rig), crosswords);
  EXPECT_EQ(rig.text(id::kGrade), "5");
  EXPECT_EQ(rig.text(id::kBad), "0");
  EXPECT_EQ(rig.text(id::kGood), std::to_string(lines));
  EXPECT_EQ(rig.text(id::kPoints), std::to_string(points));
  const auto praise = rig.host.only({"info: Vše jste měl bez chyby."});
  EXPECT_EQ(praise.size(), static_cast<std::size_t>(crosswords));
  EXPECT_EQ(rig.host.only({"warning: Toto kolo je poslední."}).size(), 1u);
  EXPECT_EQ(rig.host.only({"cue vyhrar.wav"}).size(), 4u);
  EXPECT_EQ(rig.host.only({"info: Absolvoval jste"}).size(), 1u);
  EXPECT_TRUE(rig.host.only({"error"}).empty()) << rig.host.only({"error"}).front();
}

TEST_F(DeliveredGame, TheEnglishSetCanBePlayedToTheEndWithItsSolutions) {
  startWith("Nová hra.kr1");
  expectPerfectGame(rig, sourceSet("tervano"));
  // The music of the final played at the last crossword.
  EXPECT_EQ(fs::path(rig.host.fakeMusic().file()).filename(), "Final.mid");
}

TEST(DeliveredGames, TheGermanMediumAndTheTemplateArePlayableSetsToo) {
  // Each made the active set, as the set manager's switch would.
  for (const char* folder : {"instalace-nemcina", "tervanodef"}) {
    SCOPED_TRACE(folder);
    Rig fresh;
    fs::copy(kTree, fresh.dir.root(), fs::copy_options::recursive);
    fs::remove_all(fresh.dir.root() / "tervano");
    fs::copy(fresh.dir.root() / folder, fresh.dir.root() / "tervano", fs::copy_options::recursive);
    const auto& src = sourceSet(folder);
    fresh.dir.makeSave("start",
                       {"N", "0", "1", "1", "0", "0", "A", "N", src.number, "A", "A", "N"});
    fresh.host.pick(fresh.dir.path("Data/kriz/start.kr1"));
    fresh.start();
    ASSERT_TRUE(fresh.app->game().gameRunning());
    EXPECT_EQ(fresh.text(id::kLanguage), src.language);
    expectPerfectGame(fresh, src);
  }
}

TEST_F(DeliveredGame, AWrongLineCostsItsPointsAndTheTajenka) {
  startWith("Nová hra.kr1");
  TextList answers = rig.app->session().vyslt;
  answers.set(0, "x");
  rig.app->edit(id::kAnswerArea, answers.joined("\n"));
  rig.app->click(id::kKontrola);
  const auto& c = sourceSet("tervano").grades[0][0];
  const auto n = static_cast<int>(c.input.answers.size());
  const int expected = c.input.scoring.pointsPerGood * (n - 1) - c.input.scoring.pointsPerBad -
                       c.input.scoring.badTajenka;
  EXPECT_EQ(rig.text(id::kPoints), std::to_string(expected));
  EXPECT_EQ(rig.text(id::kCrossword), "2");
}

}  // namespace
}  // namespace tervano::testing
