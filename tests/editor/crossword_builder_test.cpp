// The crossword builder lays words out so that the tajenka stands in one column, and the
// checker reads the four files back and finds every disagreement between them.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "data/textfile.h"
#include "editor/crossword_builder.h"
#include "program_folder.h"

namespace tervano::editor {
namespace {

CrosswordInput input(std::string tajenka, std::vector<std::string> answers,
                     std::vector<std::string> clues = {}) {
  CrosswordInput in;
  in.tajenka = std::move(tajenka);
  if (clues.empty())
    for (std::size_t i = 0; i < answers.size(); ++i)
      clues.push_back("nápověda " + std::to_string(i + 1));
  in.answers = std::move(answers);
  in.clues = std::move(clues);
  in.scoring = Scoring{10, 5, 20, 15, false};
  return in;
}

// The error text of a build that must fail, or "" when it succeeds.
std::string buildError(const CrosswordInput& in) {
  try {
    buildCrossword(in);
  } catch (const LayoutError& e) {
    return e.what();
  }
  return "";
}

TEST(BuildCrossword, LaysOutTheHelpWindowsExample) {
  // The example the help window teaches: "monday", "long", "doll" with the tajenka "OLD".
  auto in = input("OLD", {"monday", "long", "doll"}, {"Pondělí", "Dlouhý", "Panenka"});
  in.tajenkaIndex = {1, 0, 0};
  const CrosswordFiles f = buildCrossword(in);
  EXPECT_EQ(f.map, (TextList{"x x x x x x", "  x x x x", "  x x x x"}));
  EXPECT_EQ(f.solution, (TextList{"m o n d a y", "  l o n g", "  d o l l"}));
  EXPECT_EQ(f.legend, (TextList{"1. Pondělí", "2. Dlouhý", "3. Panenka"}));
  EXPECT_EQ(f.konf, (TextList{"10", "5", "20", "15", "N", "3"}));
}

TEST(BuildCrossword, IndentsEveryWordSoThatTheTajenkaLettersStandInOneColumn) {
  const CrosswordFiles f = buildCrossword(input("CAT", {"cup", "bag", "tea"}));
  // c is the first letter of "cup", a the second of "bag": "cup" moves one cell right.
  EXPECT_EQ(f.solution, (TextList{"  c u p", "b a g", "  t e a"}));
  EXPECT_EQ(f.map, (TextList{"  x x x", "x x x", "  x x x"}));
  // Without numbering the legend is the clues as given.
  auto plain = input("CAT", {"cup", "bag", "tea"}, {"Šálek", "Taška", "Čaj"});
  plain.numberClues = false;
  EXPECT_EQ(buildCrossword(plain).legend, (TextList{"Šálek", "Taška", "Čaj"}));
}

TEST(BuildCrossword, ABlankOfTheTajenkaIsAnEmptyGridLineThatCountsAsAWord) {
  auto in = input("A B", {"cat", "", "bus"}, {"Kočka", "", "Autobus"});
  in.scoring.savePoint = true;
  const CrosswordFiles f = buildCrossword(in);
  EXPECT_EQ(f.map, (TextList{"x x x", "", "  x x x"}));
  EXPECT_EQ(f.solution, (TextList{"c a t", "", "  b u s"}));
  EXPECT_EQ(f.legend, (TextList{"1. Kočka", "2. –", "3. Autobus"}));
  EXPECT_EQ(f.konf.get(4), "A");
  EXPECT_EQ(f.konf.get(5), "3");
  EXPECT_TRUE(checkCrossword(f).spells("A B"));
}

TEST(BuildCrossword, PicksTheNarrowestLayoutUnlessTheLetterIsChosen) {
  // "eye" has e at 0 and 2, "tree" at 2 and 3: aligning both at 2 needs no indent at all.
  const CrosswordFiles narrow = buildCrossword(input("EE", {"eye", "tree"}));
  EXPECT_EQ(narrow.solution, (TextList{"e y e", "t r e e"}));
  auto chosen = input("EE", {"eye", "tree"});
  chosen.tajenkaIndex = {std::nullopt, 3};
  EXPECT_EQ(buildCrossword(chosen).solution, (TextList{"  e y e", "t r e e"}));
  chosen.tajenkaIndex = {0, 3};
  EXPECT_EQ(buildCrossword(chosen).solution, (TextList{"      e y e", "t r e e"}));
}

TEST(BuildCrossword, WritesLettersOfTheCodePageInLowerCase) {
  // ß has no capital in the code page and stays as it is; it is not an "s".
  const CrosswordFiles f = buildCrossword(input("ÜßS", {"GRÜN", "Fleißig", "süß"}));
  EXPECT_EQ(f.solution, (TextList{"    g r ü n", "f l e i ß i g", "        s ü ß"}));
  EXPECT_TRUE(checkCrossword(f).spells("üßs"));
  EXPECT_NE(buildError(input("S", {"Fleißig"})).find("neobsahuje písmeno tajenky „s“"),
            std::string::npos);
}

TEST(BuildCrossword, FindsTheTajenkaLetterWhateverItsCase) {
  struct Case {
    const char* tajenka;
    const char* answer;
    const char* solution;
  };
  // A capital at the start, in the middle and at the end of the word, and a Czech capital; the
  // tajenka itself in either case.
  const Case cases[] = {{"p", "Praha", "p r a h a"}, {"P", "praha", "p r a h a"},
                        {"h", "PRAha", "p r a h a"}, {"a", "prahA", "p r a h a"},
                        {"č", "Čaj", "č a j"},       {"Ř", "řeka", "ř e k a"}};
  for (const auto& c : cases) {
    const CrosswordFiles f = buildCrossword(input(c.tajenka, {c.answer}));
    EXPECT_EQ(f.solution, TextList{c.solution}) << c.tajenka << " " << c.answer;
  }
}

TEST(BuildCrossword, RefusesWordsThatCannotStandInTheGrid) {
  EXPECT_NE(buildError(input("CAT", {"cup", "bed", "tea"}))
                .find("Slovo „bed“ (řádek 2) neobsahuje písmeno tajenky „a“"),
            std::string::npos);
  for (const char* word : {"c4t", "ca-t", "ca t", "кот", "it's"}) {
    const std::string e = buildError(input("T", {word}));
    EXPECT_NE(e.find("nepovolený znak"), std::string::npos) << word << ": " << e;
  }
  auto wrongIndex = input("A", {"banana"});
  wrongIndex.tajenkaIndex = {0};
  EXPECT_NE(buildError(wrongIndex).find("není na pozici 1 písmeno tajenky „a“"), std::string::npos);
}

TEST(BuildCrossword, KeepsEveryLineWithinTheAnswerArea) {
  // 20 cells are 39 characters and fit; 21 do not.
  EXPECT_EQ(buildError(input("A", {"abcdefghijklmnopqrst"})), "");
  const std::string e = buildError(input("A", {"abcdefghijklmnopqrstu"}));
  EXPECT_NE(e.find("široký 41 znaků, vejde se nejvýše 39"), std::string::npos) << e;
  // Two words that fit alone but not together: "z" stands last in the first, first in the
  // second, so the second is pushed 11 cells to the right.
  const std::string pushed = buildError(input("ZZ", {"abcdefghijkz", "zyxwvutsrq"}));
  EXPECT_NE(pushed.find("Řádek 2 („zyxwvutsrq“) by byl široký 41 znaků"), std::string::npos)
      << pushed;
}

TEST(BuildCrossword, RefusesCountsThatDoNotMatchTheTajenka) {
  EXPECT_NE(
      buildError(input("CAT", {"cup", "bag"})).find("Tajenka „CAT“ má 3 znaků, slov je ale 2"),
      std::string::npos);
  EXPECT_NE(buildError(input("CAT", {"cup", "bag", "tea"}, {"a", "b"}))
                .find("Počet nápověd (2) neodpovídá počtu řádků křížovky (3)"),
            std::string::npos);
  EXPECT_NE(buildError(input("A B", {"cat", "dog", "bus"})).find("mezeře v tajence"),
            std::string::npos);
  EXPECT_NE(buildError(input("AB", {"cat", ""})).find("Řádek 2 nemá slovo"), std::string::npos);
  EXPECT_NE(buildError(input(" AB", {"", "cat", "bus"})).find("nesmí začínat ani končit"),
            std::string::npos);
  EXPECT_NE(buildError(input("", {})).find("prázdná"), std::string::npos);
  EXPECT_NE(buildError(input("A1", {"cat", "one"})).find("obsahuje znak „1“"), std::string::npos);
}

TEST(BuildCrossword, RefusesCluesAndScoresTheFilesCannotHold) {
  EXPECT_NE(buildError(input("A", {"cat"}, {"šipka →"})).find("Windows-1250"), std::string::npos);
  EXPECT_NE(buildError(input("A", {"cat"}, {"dva\nřádky"})).find("konec řádku"), std::string::npos);
  EXPECT_NE(buildError(input("A", {"cat"}, {""})).find("chybí nápověda"), std::string::npos);
  auto points = input("A", {"cat"});
  points.scoring.badTajenka = 501;
  EXPECT_NE(buildError(points).find("od 0 do 500"), std::string::npos);
  points.scoring.badTajenka = -1;
  EXPECT_NE(buildError(points).find("od 0 do 500"), std::string::npos);
}

// A crossword that agrees with itself, to be broken one file at a time below.
CrosswordFiles good() {
  return buildCrossword(input("CAT", {"cup", "bag", "tea"}));
}

bool mentions(const CrosswordCheck& c, const std::string& text) {
  for (const auto& p : c.problems)
    if (p.find(text) != std::string::npos) return true;
  return false;
}

TEST(CheckCrossword, ReadsTheTajenkaOfABuiltCrosswordBack) {
  // "  c u p", "b a g", "  t e a": two columns cross all three words.
  const CrosswordCheck c = checkCrossword(good());
  EXPECT_TRUE(c.ok());
  ASSERT_EQ(c.columns.size(), 2u);
  EXPECT_EQ(c.columns[0].position, 2);
  EXPECT_EQ(c.columns[0].phrase, "cat");
  EXPECT_EQ(c.columns[1].phrase, "uge");
  EXPECT_FALSE(c.tajenka().has_value());
  EXPECT_TRUE(c.spells("CAT"));
  EXPECT_FALSE(c.spells("DOG"));
  // With one column only, that column is the tajenka.
  EXPECT_EQ(checkCrossword(buildCrossword(input("OX", {"dog", "box"}))).tajenka(), std::nullopt);
  EXPECT_EQ(checkCrossword(buildCrossword(input("GB", {"dog", "box"}))).tajenka(), "gb");
}

TEST(CheckCrossword, OffersEveryColumnThatCrossesAllWords) {
  // "son" over "sun": every column crosses both words.
  CrosswordFiles f = buildCrossword(input("SS", {"son", "sun"}));
  const CrosswordCheck c = checkCrossword(f);
  EXPECT_TRUE(c.ok());
  EXPECT_EQ(c.columns.size(), 3u);
  EXPECT_FALSE(c.tajenka().has_value());
  EXPECT_TRUE(c.spells("ss"));
  EXPECT_TRUE(c.spells("ou"));
}

// Each fault made in a good crossword, and what the check must say of it.
struct Fault {
  std::function<void(CrosswordFiles&)> make;
  const char* said;
};

void expectEachFaultFound(const std::vector<Fault>& faults) {
  for (const Fault& fault : faults) {
    CrosswordFiles f = good();
    fault.make(f);
    EXPECT_TRUE(mentions(checkCrossword(f), fault.said)) << fault.said;
  }
}

TEST(CheckCrossword, FindsLettersThatStandOffTheMap) {
  expectEachFaultFound({
      {[](auto& f) { f.solution.set(1, "b a g s"); },
       "Řádek 2 řešení „b a g s“ neodpovídá mapě „x x x“"},
      {[](auto& f) { f.solution.set(0, "c u p"); }, "Řádek 1 řešení"},  // one cell to the left
      {[](auto& f) { f.solution.set(2, "  t 3 a"); }, "Řádek 3 řešení"},
      {[](auto& f) { f.map.set(1, "xx x"); }, "Řádek 2 mapy „xx x“ nemá tvar mapy"},
      {[](auto& f) { f.map.set(1, " x x x"); }, "nemá tvar mapy"},  // an odd indent
      {[](auto& f) { f.map.set(1, "x x x "); }, "nemá tvar mapy"},  // a blank after the last cell
  });
}

TEST(CheckCrossword, FindsAConfigurationThatDisagrees) {
  expectEachFaultFound({
      {[](auto& f) { f.konf.set(5, "4"); }, "počet slov) je 4, řešení má ale 3 řádků"},
      {[](auto& f) { f.konf.removeAt(5); }, "má 5 řádků, má jich mít 6"},
      {[](auto& f) { f.konf.set(1, "pět"); }, "Řádek 2 konfigurace (body za špatné slovo) „pět“"},
      {[](auto& f) { f.konf.set(4, "ano"); }, "má být „A“ nebo „N“, je „ano“"},
      {[](auto& f) { f.konf.set(5, "3.0"); }, "(počet slov) „3.0“ není celé číslo"},
  });
}

TEST(CheckCrossword, FindsFilesOfDifferentLengthsAndCrosswordsWithoutATajenka) {
  CrosswordFiles f = good();
  f.legend.removeAt(2);
  EXPECT_TRUE(mentions(checkCrossword(f), "Legenda má 2 řádků, řešení 3"));
  f = good();
  f.map.append("x x x");
  EXPECT_TRUE(mentions(checkCrossword(f), "Mapa má 4 řádků, řešení 3"));
  f.map = TextList{"x x x", "      x x x"};
  f.solution = TextList{"a b c", "      d e f"};
  f.legend = TextList{"1", "2"};
  f.konf.set(5, "2");
  EXPECT_TRUE(mentions(checkCrossword(f), "Žádný sloupec neprochází všemi slovy"));
  const std::string wide = "x x x x x x x x x x x x x x x x x x x x x";
  f = CrosswordFiles{{wide}, {"1"}, {std::string(wide.size(), 'a')}, good().konf};
  f.solution.set(0, "a a a a a a a a a a a a a a a a a a a a a");
  f.konf.set(5, "1");
  EXPECT_TRUE(mentions(checkCrossword(f), "široký 41 znaků"));
  f = CrosswordFiles{{}, {}, {}, TextList{"0", "0", "0", "0", "N", "0"}};
  EXPECT_TRUE(mentions(checkCrossword(f), "nemá žádné slovo"));
}

TEST(CheckCrossword, ReadsAFolderWrittenByTheBuilder) {
  testing::TempProgram dir;
  const auto folder = dir.root() / "tervano" / "r1" / "k1";
  writeCrossword(folder, good());
  EXPECT_EQ(loadTextList(folder / "k.vk"), good().solution);
  EXPECT_EQ(dir.readBytes("tervano/r1/k1/k.nk"), "10\r\n5\r\n20\r\n15\r\nN\r\n3\r\n");
  const CrosswordCheck c = checkCrosswordFolder(folder);
  EXPECT_TRUE(c.ok());
  EXPECT_TRUE(c.spells("cat"));
  std::filesystem::remove(folder / "k.lk");
  const CrosswordCheck missing = checkCrosswordFolder(folder);
  ASSERT_EQ(missing.problems.size(), 1u);
  EXPECT_NE(missing.problems[0].find("k.lk"), std::string::npos);
}

TEST(IsLetter, AcceptsExactlyTheLettersOfTheCodePage) {
  for (char32_t c : {U'a', U'Z', U'ž', U'Ř', U'ä', U'ß', U'ő', U'Ł', U'ş'})
    EXPECT_TRUE(isLetter(c)) << static_cast<int>(c);
  for (char32_t c : {U'1', U' ', U'-', U'\'', U'×', U'÷', U'ж', U'ø', U'µ'})
    EXPECT_FALSE(isLetter(c)) << static_cast<int>(c);
}

}  // namespace
}  // namespace tervano::editor
