// A crossword save ends all old or all new: killed after any of its file mutations and recovered
// at the next start, failing at any of them (a full or read-only disk), and in a program folder
// with any name. Over an existing crossword the four files change together; a new crossword
// appears with its folder, its entry in the grade's list and the descriptor's count, or not at all.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <set>

#include "data/cp1250.h"
#include "data/textfile.h"
#include "data/transaction.h"
#include "editor_rig.h"
#include "interruptions.h"
#include "tool_interruptions.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;
using testing::EditorRig;
using testing::TempProgram;
using testing::Tree;

enum class Save { OverExisting, AsNew };

// The editor with crossword 1/2 loaded and changed in all four files, on a set of three
// crosswords per grade; the save goes over 1/2 or, asked for 1/9, adds 1/4.
struct SaveScene {
  SaveScene(Save kind, std::string below) : kind(kind), below(std::move(below)) {}
  Save kind;
  std::string below;
  std::unique_ptr<EditorRig> rig;

  fs::path root() const { return rig->dir.root(); }
  void prepare() {
    rig.reset();
    rig = std::make_unique<EditorRig>(std::array<int, 4>{3, 3, 3, 3}, below,
                                      TempProgram::Where::Memory);
    rig->load("1", "2");
    rig->type(id::kAnswerArea, "n o v é\nř e š e n í");
    rig->type(id::kMapArea, "x x x\nx x x x x");
    rig->type(id::kLegendArea, "Nová nápověda\nDruhá");
    rig->spin(id::kScoreSpinGood, 7);
    rig->host.clear();
  }
  void save() const { rig->saveAs("1", kind == Save::AsNew ? "9" : "2"); }
  testing::Ends ends() {
    return testing::endsOf([&] { prepare(); }, [&] { save(); }, [&] { return root(); });
  }
};

void expectOldOrNew(const SaveScene& s, const testing::Ends& e, const std::string& when) {
  const Tree now = testing::tree(s.root());
  EXPECT_TRUE(now == e.before || now == e.after)
      << when << ": against before" << testing::difference(now, e.before) << " / against after"
      << testing::difference(now, e.after);
  EXPECT_EQ(testing::listsMatchFolders(s.root() / "tervano"), "") << when;
  EXPECT_EQ(testing::temporariesIn(s.root()), std::vector<std::string>{}) << when;
}

struct Case {
  Save kind;
  const char* below;
};

class InterruptedSave : public ::testing::TestWithParam<Case> {};

TEST_P(InterruptedSave, TheEndsDifferOnlyInWhatTheSaveWrites) {
  SaveScene s(GetParam().kind, GetParam().below);
  const auto e = s.ends();
  const std::string k = "tervano/r1/k" + std::string(GetParam().kind == Save::AsNew ? "4" : "2");
  EXPECT_EQ(e.after.at(k + "/k.vk"), "file:" + cp1250::encode("n o v é\r\nř e š e n í\r\n"));
  std::set<std::string> changed;
  for (const auto& [name, content] : e.after)
    if (!e.before.contains(name) || e.before.at(name) != content) changed.insert(name);
  std::set<std::string> expected = {k + "/k.lk", k + "/k.mk", k + "/k.vk", k + "/k.nk"};
  if (GetParam().kind == Save::AsNew)
    expected.insert({k, "tervano/sur/1.cbx", "tervano/Tervano.ini"});
  EXPECT_EQ(changed, expected);
  EXPECT_EQ(testing::temporariesIn(s.root()), std::vector<std::string>{});
}

TEST_P(InterruptedSave, AKillAfterAnyMutationIsRecoveredAtTheNextStartToAllOldOrAllNew) {
  SaveScene s(GetParam().kind, GetParam().below);
  const auto e = s.ends();
  // The editor started again finishes or undoes the save before it reads anything.
  const auto ends = testing::restartedAfterEveryKill([&] { s.prepare(); }, [&] { s.save(); },
                                                     [&] { return s.root(); }, "-EDITOR", e.before,
                                                     e.after, "Uložení křížovky 1/");
  EXPECT_GT(ends.kills, 15);
  EXPECT_GT(ends.undone, 0);
  EXPECT_GT(ends.finished, 0);
}

// Each save killed at each of its mutations, then the recovery killed at each of its own: run
// again, it ends where an uninterrupted recovery ends. (The odd folder name adds nothing here that
// the kills above do not show, and the pairs are many.)
class RecoveryOfASave : public ::testing::TestWithParam<Save> {};

TEST_P(RecoveryOfASave, KilledAtAnyOfItsStepsItEndsTheSameWhenRunAgain) {
  SaveScene s(GetParam(), "program");
  const auto e = s.ends();
  int cases = 0;
  testing::killAtEveryMutation([&] { s.prepare(); }, [&] { s.save(); },
                               [&](long n) {
                                 recoverAtStart(s.root());
                                 const Tree expected = testing::tree(s.root());
                                 cases += testing::killAtEveryMutation(
                                     [&] {
                                       s.prepare();
                                       testing::runKilledAfter(n, [&] { s.save(); });
                                     },
                                     [&] { recoverAtStart(s.root()); },
                                     [&](long m) {
                                       recoverAtStart(s.root());
                                       const std::string when =
                                           "save killed after " + std::to_string(n) +
                                           ", recovery after " + std::to_string(m);
                                       EXPECT_EQ(testing::tree(s.root()), expected) << when;
                                       expectOldOrNew(s, e, when);
                                     });
                               });
  EXPECT_GT(cases, 20);
}

INSTANTIATE_TEST_SUITE_P(BothSaves, RecoveryOfASave,
                         ::testing::Values(Save::OverExisting, Save::AsNew), [](const auto& info) {
                           return std::string(info.param == Save::AsNew ? "AsNew" : "OverExisting");
                         });

TEST_P(InterruptedSave, AFullOrReadOnlyDiskAtAnyMutationLeavesEveryFileAsItWas) {
  for (const int err : {ENOSPC, EROFS}) {
    SaveScene s(GetParam().kind, GetParam().below);
    const auto e = s.ends();
    // Past the commit mark the crossword is saved; the chooser's recount that follows may fail
    // to write the descriptor again: its own error, with the descriptor as the save left it.
    const auto refused = testing::refusedOrDone(
        err, [&] { s.prepare(); }, [&] { s.save(); }, [&] { return s.root(); },
        [&] { return s.rig->host.only({"error"}); }, e.before, e.after,
        "Křížovka nebyla uložena, žádný soubor se nezměnil.",
        [&](const std::string& when) {
          // The data stay on screen, unsaved, to be saved again.
          EXPECT_EQ(s.rig->status(), "Neuložená") << when;
        });
    EXPECT_GT(refused.runs, 10);
    for (const char* file : {"k.lk", "k.mk", "k.vk", "k.nk"})
      EXPECT_TRUE(refused.named.contains(file)) << file;
    if (GetParam().kind == Save::AsNew) {
      for (const char* file : {"k4", "1.cbx", "Tervano.ini"})
        EXPECT_TRUE(refused.named.contains(file)) << file;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothSavesInAPlainAndAnOddFolder, InterruptedSave,
                         ::testing::Values(Case{Save::OverExisting, "program"},
                                           Case{Save::AsNew, "program"},
                                           Case{Save::OverExisting, testing::kOddFolder},
                                           Case{Save::AsNew, testing::kOddFolder}),
                         [](const auto& info) {
                           return std::string(info.param.kind == Save::AsNew ? "AsNew"
                                                                             : "OverExisting") +
                                  (std::string(info.param.below) == "program" ? "" : "InOddFolder");
                         });

TEST(EditorSave, AReadOnlyListRefusesANewCrosswordBeforeAnythingChanges) {
  EditorRig rig;
  rig.load("1", "2");
  rig.type(id::kAnswerArea, "n o v a");
  ::chmod(rig.dir.path("tervano/sur/1.cbx").c_str(), 0444);
  const Tree before = testing::tree(rig.dir.root());
  rig.host.clear();
  rig.saveAs("1", "9");
  const auto errors = rig.host.only({"error"});
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("1.cbx“ je jen pro čtení"), std::string::npos) << errors[0];
  EXPECT_EQ(testing::tree(rig.dir.root()), before);
  EXPECT_FALSE(rig.dir.exists("tervano/r1/k4"));
}

TEST(EditorSave, SavingOverALinkedCrosswordFileReplacesTheLinkNotWhatItNames) {
  EditorRig rig;
  rig.dir.writeBytes("jinde/k.vk", "cizí\r\n");
  rig.dir.remove("tervano/r1/k2/k.vk");
  fs::create_symlink(rig.dir.root() / "jinde/k.vk", rig.dir.root() / "tervano/r1/k2/k.vk");
  rig.load("1", "2");
  rig.type(id::kAnswerArea, "v l a s t n í");
  rig.saveAs("1", "2");
  EXPECT_FALSE(fs::is_symlink(rig.dir.root() / "tervano/r1/k2/k.vk"));
  EXPECT_EQ(rig.dir.read("tervano/r1/k2/k.vk"), TextList{"v l a s t n í"});
  EXPECT_EQ(rig.dir.readBytes("jinde/k.vk"), "cizí\r\n");
}

}  // namespace
}  // namespace tervano
