// Deleting a crossword moves the grade's last crossword into the gap, with its scripts, and
// shortens the list; the checks refuse what would lose or misplace a crossword. The arrows step
// through the crosswords across grades and stop, with a message, at either end.
#include <gtest/gtest.h>

#include "editor/crossword_editor.h"
#include "editor_rig.h"

namespace tervano {
namespace {

using testing::EditorRig;
using V = std::vector<std::string>;

// Crossword n of grade 2 has n solution lines, so each folder can be told apart.
void distinctGradeTwo(EditorRig& rig, int count) {
  for (int n = 1; n <= count; ++n) {
    std::vector<std::string> solution(static_cast<std::size_t>(n), "k " + std::to_string(n));
    rig.dir.addCrossword(2, n, solution, {"1", "1", "1", "1", "N", std::to_string(n)});
  }
}

void remove(EditorRig& rig, const std::string& grade, const std::string& crossword) {
  rig.choose(grade, crossword);
  rig.a().click(id::kChooserDelete);
}

TEST(DeleteCrossword, TheLastCrosswordTakesTheDeletedOnesNumber) {
  EditorRig rig({1, 5, 1, 1});
  distinctGradeTwo(rig, 5);
  const auto fifth = rig.crossword("tervano/r2/k5");
  rig.dir.writeScript("22nazacatkukrizovky.lsc", {"zprava.info", "druhá"});
  rig.dir.writeScript("25nakoncikrizovky.lsc", {"zprava.info", "pátá"});
  // A file of the user's own in the deleted folder goes with it.
  rig.dir.write("tervano/r2/k2/poznámky.txt", {"pryč"});
  rig.load("1", "1");
  rig.host.ok();
  remove(rig, "2", "2");
  EXPECT_EQ(rig.host.only({"warning", "info"}),
            (V{"warning: Opravdu si přejete smazat vybranou křížovku? -> OK",
               "info: Křížovka byla úspěšně odstraněna."}));
  EXPECT_EQ(rig.crossword("tervano/r2/k2"), fifth);
  EXPECT_FALSE(rig.dir.exists("tervano/r2/k2/poznámky.txt"));
  EXPECT_FALSE(rig.dir.exists("tervano/r2/k5"));
  EXPECT_EQ(rig.dir.read("tervano/sur/2.cbx"), (TextList{"1", "2", "3", "4"}));
  EXPECT_EQ(rig.dir.read("tervano/Tervano.ini").get(2), "4");
  // The deleted crossword's script is gone; the moved one's follows it.
  EXPECT_FALSE(rig.dir.exists("tervano/script/22nazacatkukrizovky.lsc"));
  EXPECT_FALSE(rig.dir.exists("tervano/script/25nakoncikrizovky.lsc"));
  EXPECT_EQ(rig.dir.read("tervano/script/22nakoncikrizovky.lsc"),
            (TextList{"zprava.info", "pátá"}));
  // The editor's areas are cleared; nothing is left beside the crossword folders.
  EXPECT_TRUE(rig.c().lines(id::kAnswerArea).empty());
  for (const auto& [file, bytes] : rig.snapshot())
    EXPECT_EQ(file.find(".smazana"), std::string::npos) << file;
}

TEST(DeleteCrossword, TheLastOneIsRemovedWithoutARename) {
  EditorRig rig({1, 5, 1, 1});
  distinctGradeTwo(rig, 5);
  const auto fourth = rig.crossword("tervano/r2/k4");
  rig.host.ok();
  remove(rig, "2", "5");
  EXPECT_EQ(rig.host.only({"info"}), (V{"info: Křížovka byla úspěšně odstraněna."}));
  EXPECT_FALSE(rig.dir.exists("tervano/r2/k5"));
  EXPECT_EQ(rig.crossword("tervano/r2/k4"), fourth);
  EXPECT_EQ(rig.dir.read("tervano/sur/2.cbx").count(), 4);
}

TEST(DeleteCrossword, TheOneBeforeTheLastTakesTheLastOne) {
  EditorRig rig({1, 5, 1, 1});
  distinctGradeTwo(rig, 5);
  const auto third = rig.crossword("tervano/r2/k3");
  const auto fifth = rig.crossword("tervano/r2/k5");
  rig.host.ok();
  remove(rig, "2", "4");
  EXPECT_EQ(rig.host.only({"info", "warning"}),
            (V{"warning: Opravdu si přejete smazat vybranou křížovku? -> OK",
               "info: Křížovka byla úspěšně odstraněna."}));
  EXPECT_EQ(rig.crossword("tervano/r2/k4"), fifth);
  EXPECT_EQ(rig.crossword("tervano/r2/k3"), third);
  EXPECT_FALSE(rig.dir.exists("tervano/r2/k5"));
  EXPECT_EQ(rig.dir.read("tervano/sur/2.cbx"), (TextList{"1", "2", "3", "4"}));
}

TEST(DeleteCrossword, RefusalsAndCancelChangeNoFile) {
  struct Case {
    const char* grade;
    const char* crossword;
  };
  // Beyond the list, zero, a leading zero, no number, a grade outside 1 to 4, a crossword that
  // is listed but has no folder.
  const Case refused[] = {{"2", "6"}, {"2", "0"},  {"2", "02"},        {"2", "abc"}, {"5", "1"},
                          {"0", "1"}, {"-1", "1"}, {"2", "<Neznámo>"}, {"2", "3"}};
  EditorRig rig({1, 5, 1, 1});
  distinctGradeTwo(rig, 5);
  rig.dir.remove("tervano/r2/k3/k.mk");
  std::filesystem::remove_all(rig.dir.root() / "tervano/r2/k3");
  const auto before = rig.snapshot();
  for (const auto& c : refused) {
    rig.host.clear();
    remove(rig, c.grade, c.crossword);
    EXPECT_EQ(rig.host.only({"info", "warning"}),
              (V{"info: Údaj o ročníku a křížovce musí být vyplněn."}))
        << c.grade << "/" << c.crossword;
    EXPECT_EQ(rig.snapshot(), before) << c.grade << "/" << c.crossword;
  }
  rig.host.clear();
  rig.host.cancel();
  remove(rig, "2", "1");
  EXPECT_EQ(rig.host.only({"info"}), V{});
  EXPECT_EQ(rig.snapshot(), before);
}

TEST(DeleteCrossword, AFailedMoveUndoesTheDeletion) {
  EditorRig rig({1, 5, 1, 1});
  distinctGradeTwo(rig, 5);
  // The list names five crosswords, but the fifth folder is missing: the move cannot be done.
  std::filesystem::remove_all(rig.dir.root() / "tervano/r2/k5");
  const auto before = rig.snapshot();
  rig.host.ok();
  remove(rig, "2", "2");
  EXPECT_EQ(rig.host.only({"info", "warning"}),
            (V{"warning: Opravdu si přejete smazat vybranou křížovku? -> OK",
               "warning: Došlo k chybě a funkce selhala."}));
  // Everything is where it was; only the recount rewrote the descriptor.
  auto after = rig.snapshot();
  EXPECT_EQ(after, before);
}

TEST(SaveValidation, GradesOneToFourAndCrosswordsFromOneOnly) {
  const std::pair<const char*, const char*> refused[] = {{"5", "0"},  {"9", "1"}, {"-1", "1"},
                                                         {"1", "-1"}, {"1", "0"}, {"2", "02"},
                                                         {"0", "1"},  {"2", "x"}};
  EditorRig rig;
  rig.a().click(id::kDataNew);
  rig.type(id::kAnswerArea, "n e c o");
  const auto before = rig.snapshot();
  for (auto [grade, crossword] : refused) {
    rig.host.clear();
    rig.saveAs(grade, crossword);
    EXPECT_EQ(rig.host.only({"info", "error"}),
              (V{"info: Údaj o ročníku a křížovce musí být vyplněn."}))
        << grade << "/" << crossword;
    EXPECT_EQ(rig.snapshot(), before) << grade << "/" << crossword;
    // The chooser stays open for another choice.
    EXPECT_TRUE(rig.c().visible(id::kChooserWindow));
    rig.a().click(id::kChooserBack);
  }
  EXPECT_EQ(rig.status(), "Neuložená");
}

// Grades of 3, 0, 2 and 2 crosswords; the arrows start from a loaded crossword.
struct ArrowCase {
  const char* from;
  const char* arrow;
  const char* lands;  // grade/crossword after the click
  bool message;
};

TEST(EditorArrows, StepAcrossGradesAndStopAtBothEnds) {
  const ArrowCase cases[] = {
      {"1/1", id::kArrowNext, "1/2", false},
      {"1/3", id::kArrowNext, "3/1", false},  // grade 2 has none
      {"3/2", id::kArrowNext, "4/1", false},
      {"4/2", id::kArrowNext, "4/2", true},   // the end: the last crossword of grade 4
      {"4/1", id::kArrowPrev, "3/2", false},  // the last of the earlier grade
      {"3/1", id::kArrowPrev, "1/3", false},
      {"1/2", id::kArrowPrev, "1/1", false},
      {"1/1", id::kArrowPrev, "1/1", true},  // the beginning: nothing loads
  };
  for (const auto& c : cases) {
    EditorRig rig({3, 0, 2, 2});
    const std::string from = c.from;
    rig.load(from.substr(0, 1), from.substr(2));
    rig.host.clear();
    rig.recordWrites();
    rig.a().click(c.arrow);
    EXPECT_EQ(rig.text(id::kGrade) + "/" + rig.text(id::kCrossword), c.lands)
        << c.from << " " << c.arrow;
    EXPECT_EQ(rig.host.only({"info"}),
              c.message ? V{"info: Na seznamu již nejsou žádné další křížovky."} : V{})
        << c.from << " " << c.arrow;
    EXPECT_EQ(rig.status(), "Uložená");
    EXPECT_FALSE(rig.c().visible(id::kChooserWindow));
    // An arrow writes no crossword: only the recount of the chooser's load rewrites the descriptor.
    for (const auto& w : rig.host.only({"write"}))
      EXPECT_EQ(w, "write tervano\\Tervano.ini") << c.from << " " << c.arrow;
  }
}

TEST(EditorArrows, PreviousStopsSilentlyAtAGapInTheNumbering) {
  // Grade 1 lists four crosswords, but the folder before the loaded one is missing: the arrow
  // loads nothing and says nothing. Only a step back to number 0 leaves the grade.
  struct Case {
    const char* missing;
    const char* from;
    const char* lands;
  };
  const Case cases[] = {{"k3", "1/4", "1/4"}, {"k1", "1/2", "1/2"}, {"k2", "1/4", "1/3"}};
  for (const auto& c : cases) {
    EditorRig rig({4, 0, 0, 0});
    const std::string from = c.from;
    rig.load(from.substr(0, 1), from.substr(2));
    std::filesystem::remove_all(rig.dir.root() / "tervano/r1" / c.missing);
    rig.host.clear();
    rig.a().click(id::kArrowPrev);
    EXPECT_EQ(rig.text(id::kGrade) + "/" + rig.text(id::kCrossword), c.lands)
        << c.missing << " " << c.from;
    EXPECT_EQ(rig.host.only({"info", "warning", "error"}), V{}) << c.missing << " " << c.from;
  }
}

TEST(CrosswordNumbers, OnlyPlainNumbersInRange) {
  EXPECT_EQ(editor::gradeNumber("3"), 3);
  for (auto bad : {"0", "5", "03", "+1", " 1", "", "1a"})
    EXPECT_FALSE(editor::gradeNumber(bad)) << bad;
  EXPECT_EQ(editor::crosswordNumber("12"), 12);
  for (auto bad : {"0", "012", "-3", "+3", "3 ", "", "99999999999"})
    EXPECT_FALSE(editor::crosswordNumber(bad)) << bad;
}

}  // namespace
}  // namespace tervano
