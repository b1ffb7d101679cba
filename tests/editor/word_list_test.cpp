// A teacher's word list becomes a crossword: the words, in the list's order, carry the letters
// of the tajenka down one column; what does not fit is named by its line.
#include <gtest/gtest.h>

#include "editor/crossword_builder.h"
#include "editor/word_list.h"
#include "editor_rig.h"

namespace tervano::editor {
namespace {

using testing::EditorRig;

// The error text of a word list that must fail, or "" when it builds.
std::string failure(const std::string& tajenka, const TextList& list) {
  try {
    buildFromWordList(tajenka, list);
  } catch (const LayoutError& e) {
    return e.what();
  }
  return "";
}

TEST(WordList, EveryUsualSeparatorSplitsAnswerAndClue) {
  const auto pairs = parseWordList({"monday – pondělí", "", "  long = dlouhý  ", "doll: panenka",
                                    "ice - led", "Straße\tulice", "tree strom velký"});
  ASSERT_EQ(pairs.size(), 6u);
  const std::pair<std::string, std::string> expected[] = {
      {"monday", "pondělí"}, {"long", "dlouhý"},  {"doll", "panenka"},
      {"ice", "led"},        {"Straße", "ulice"}, {"tree", "strom velký"}};
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    EXPECT_EQ(pairs[i].answer, expected[i].first);
    EXPECT_EQ(pairs[i].clue, expected[i].second);
  }
  // Lines are counted as the teacher sees them, empty ones included.
  EXPECT_EQ(pairs[1].line, 3);
}

TEST(WordList, ATajenkaThatFitsIsLaidOutInOneColumn) {
  const CrosswordFiles f =
      buildFromWordList("Old", {"monday – pondělí", "long – dlouhý", "doll – panenka"});
  EXPECT_EQ(f.solution, (TextList{"m o n d a y", "  l o n g", "  d o l l"}));
  EXPECT_EQ(f.map, (TextList{"x x x x x x", "  x x x x", "  x x x x"}));
  EXPECT_EQ(f.legend, (TextList{"1. pondělí", "2. dlouhý", "3. panenka"}));
  EXPECT_TRUE(checkCrossword(f).spells("old"));
  // A blank of the tajenka is a line without a word, and takes no word of the list.
  const CrosswordFiles gap = buildFromWordList("a b", {"cat kočka", "bus autobus"});
  EXPECT_EQ(gap.solution, (TextList{"c a t", "", "  b u s"}));
  EXPECT_TRUE(checkCrossword(gap).spells("a b"));
}

TEST(WordList, WhatDoesNotFitIsNamedByItsLine) {
  struct Case {
    const char* tajenka;
    TextList list;
    const char* expected;  // a piece of the message
  };
  const Case cases[] = {
      {"OLD",
       {"monday – pondělí", "", "ramp – rampa", "doll – panenka"},
       "Řádek 3 („ramp“): slovo neobsahuje písmeno „l“"},
      {"OLDER",
       {"monday – pondělí", "long – dlouhý", "doll – panenka"},
       "má 5 písmen, seznam ale jen 3 slov: pro písmeno „e“ (4. znak tajenky)"},
      {"OL",
       {"monday – pondělí", "long – dlouhý", "doll – panenka"},
       "Řádek 3 („doll“) už žádné písmeno tajenky nemá"},
      {"O", {"o'clock – hodiny"}, "Řádek 1: slovo „o'clock“ obsahuje znak „'“"},
      {"O", {"monday"}, "Řádek 1 („monday“): chybí nápověda"},
      {"O", {"– nic"}, "Řádek 1 nezačíná slovem"},
      {"  ", {"monday – pondělí"}, "Napište tajenku."},
  };
  for (const auto& c : cases) {
    const std::string message = failure(c.tajenka, c.list);
    EXPECT_NE(message.find(c.expected), std::string::npos) << c.tajenka << ": " << message;
  }
}

TEST(WordList, TheEditorFillsANewUnsavedCrosswordFromTheWindow) {
  EditorRig rig;
  rig.a().click(id::kDataFromWords);
  EXPECT_TRUE(rig.c().visible(id::kWordListWindow));
  EXPECT_FALSE(rig.c().enabled(id::kMainWindow));
  rig.a().edit(id::kWordListTajenka, "kůň");
  // The list does not fit: the error names the line, the window stays open, nothing changes.
  rig.a().edit(id::kWordListPairs, "kočka cat\nmůra moth\nnic nothing");
  rig.a().click(id::kWordListBuild);
  ASSERT_EQ(rig.host.only({"error"}).size(), 1u);
  EXPECT_NE(rig.host.only({"error"})[0].find("Řádek 3 („nic“)"), std::string::npos);
  EXPECT_TRUE(rig.c().visible(id::kWordListWindow));
  EXPECT_EQ(rig.status(), "?");
  EXPECT_TRUE(rig.c().lines(id::kAnswerArea).empty());

  rig.a().edit(id::kWordListPairs, "kočka kočka\nmůra můra\ndlaň dlaň");
  rig.a().click(id::kWordListBuild);
  EXPECT_FALSE(rig.c().visible(id::kWordListWindow));
  EXPECT_TRUE(rig.c().enabled(id::kMainWindow));
  EXPECT_FALSE(rig.c().visible(id::kMenuScreen));
  EXPECT_EQ(rig.c().lines(id::kAnswerArea), (TextList{"k o č k a", "    m ů r a", "d l a ň"}));
  EXPECT_EQ(rig.text(id::kScoreWordCount), "3");
  EXPECT_EQ(rig.status(), "Neuložená");
  EXPECT_TRUE(rig.c().enabled(id::kDataSave));
  // Saved the ordinary way, it plays like any other.
  rig.saveAs("1", "4");
  EXPECT_TRUE(checkCrosswordFolder(rig.dir.root() / "tervano/r1/k4").spells("kůň"));
}

TEST(WordList, UnsavedWorkIsReplacedOnlyWhenTheUserAgrees) {
  EditorRig rig;
  rig.load("1", "1");
  rig.spin(id::kScoreSpinGood, 9);
  rig.type(id::kAnswerArea, "moje práce");
  rig.a().click(id::kDataFromWords);
  rig.a().edit(id::kWordListTajenka, "a");
  rig.a().edit(id::kWordListPairs, "cat kočka");
  rig.host.cancel();
  rig.a().click(id::kWordListBuild);
  EXPECT_EQ(rig.c().lines(id::kAnswerArea), (TextList{"moje práce"}));
  EXPECT_TRUE(rig.c().visible(id::kWordListWindow));
  rig.host.ok();
  rig.a().click(id::kWordListBuild);
  EXPECT_EQ(rig.c().lines(id::kAnswerArea), (TextList{"c a t"}));
  // The open crossword keeps its scores.
  EXPECT_EQ(rig.text(id::kScoreGood), "9");
  rig.a().click(id::kDataFromWords);
  rig.a().click(id::kWordListBack);
  EXPECT_FALSE(rig.c().visible(id::kWordListWindow));
  EXPECT_TRUE(rig.c().enabled(id::kMainWindow));
}

}  // namespace
}  // namespace tervano::editor
