// Deleting a crossword with renumbering ends whole or not at all: the deleted folder, the last
// crossword moved into its place, the shorter list, the descriptor's count and the crossword
// scripts change together. Every position of the grade follows the rule; a full or read-only
// disk at any file operation, a read-only list or folder, and a kill at any moment leave the data
// as they were or as the deletion leaves them.
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

constexpr const char* kEvents[] = {"nazacatkukrizovky", "nakoncikrizovky"};

// The editor on a set whose grade 2 has `count` crosswords, each told apart by its solution, with
// a start script for every crossword and an end script for the last one.
std::unique_ptr<EditorRig> gradeTwo(int count, const std::string& below = "",
                                    TempProgram::Where where = TempProgram::Where::Disk) {
  auto rig = std::make_unique<EditorRig>(std::array<int, 4>{1, count, 1, 1}, below, where);
  for (int n = 1; n <= count; ++n) {
    const std::string k = std::to_string(n);
    rig->dir.addCrossword(2, n, {"k " + k}, {"1", "1", "1", "1", "N", "1"});
    rig->dir.writeScript("2" + k + "nazacatkukrizovky.lsc", {"zprava.info", "start " + k});
  }
  rig->dir.writeScript("2" + std::to_string(count) + "nakoncikrizovky.lsc", {"kont"});
  rig->dir.writeScript("nazacatkuhry.lsc", {"kont"});
  rig->host.clear();
  return rig;
}

void remove(EditorRig& rig, const std::string& grade, const std::string& crossword) {
  rig.choose(grade, crossword);
  rig.a().click(id::kChooserDelete);
}

bool inside(const std::string& path, const std::string& folder) {
  return path == folder || path.starts_with(folder + "/");
}

std::string fileOf(const TextList& list) {
  return "file:" + cp1250::encode(list.joined("\r\n"));
}

// The tree that deleting crossword n of grade 2's `count` leaves, written from the rule: n's
// folder and scripts go, the last crossword and its scripts take number n, the list ends at
// count - 1 and so does the descriptor's count; nothing else changes.
Tree deletedByRule(const Tree& before, int count, int n) {
  const auto k = [](int m) { return "tervano/r2/k" + std::to_string(m); };
  const auto script = [](int m, const char* event) {
    return "tervano/script/2" + std::to_string(m) + event + ".lsc";
  };
  Tree t;
  for (const auto& [name, content] : before) {
    std::string to = name;
    if (inside(name, k(n))) continue;
    if (inside(name, k(count))) to = k(n) + name.substr(k(count).size());
    bool gone = false;
    for (const char* event : kEvents) {
      if (name == script(n, event)) gone = true;
      if (name == script(count, event)) to = script(n, event);
    }
    if (!gone) t[to] = content;
  }
  TextList list;
  for (int m = 1; m < count; ++m)
    list.append(std::to_string(m));
  t["tervano/sur/2.cbx"] = fileOf(list);
  TextList descriptor =
      TextList::fromText(cp1250::decode(before.at("tervano/Tervano.ini").substr(5)));
  descriptor.set(2, std::to_string(count - 1));
  t["tervano/Tervano.ini"] = fileOf(descriptor);
  return t;
}

TEST(DeleteCrossword, EveryPositionFollowsTheRenumberingRule) {
  struct Case {
    int count, n;
  };
  // First, second, middle, the one before the last, the last, the only one.
  for (const Case c : {Case{5, 1}, Case{5, 2}, Case{5, 3}, Case{5, 4}, Case{5, 5}, Case{1, 1}}) {
    const std::string when = std::to_string(c.n) + " of " + std::to_string(c.count);
    auto rig = gradeTwo(c.count);
    const Tree before = testing::tree(rig->dir.root());
    rig->host.ok();
    remove(*rig, "2", std::to_string(c.n));
    EXPECT_EQ(
        rig->host.only({"info", "warning", "error"}),
        (std::vector<std::string>{"warning: Opravdu si přejete smazat vybranou křížovku? -> OK",
                                  "info: Křížovka byla úspěšně odstraněna."}))
        << when;
    const Tree after = testing::tree(rig->dir.root());
    EXPECT_EQ(after, deletedByRule(before, c.count, c.n))
        << when << testing::difference(after, deletedByRule(before, c.count, c.n));
    EXPECT_EQ(testing::listsMatchFolders(rig->dir.root() / "tervano"), "") << when;
    EXPECT_EQ(rig->a().session().zaklnast.get(2), std::to_string(c.count - 1)) << when;
  }
}

// A deletion of crossword n of five in grade 2, made afresh for every run.
struct DeleteScene {
  DeleteScene(std::string below, int n) : below(std::move(below)), n(n) {}
  std::string below;
  int n;
  std::unique_ptr<EditorRig> rig;

  fs::path root() const { return rig->dir.root(); }
  void prepare() {
    rig.reset();
    rig = gradeTwo(5, below, TempProgram::Where::Memory);
  }
  void remove() const {
    rig->host.ok();
    tervano::remove(*rig, "2", std::to_string(n));
  }
  testing::Ends ends() {
    return testing::endsOf([&] { prepare(); }, [&] { remove(); }, [&] { return root(); });
  }
};

struct Case {
  const char* below;
  int n;
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << "crossword " << c.n << " of 5 in \"" << c.below << "\"";
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
  return (info.param.n == 5 ? std::string("TheLast") : std::string("TheSecond")) +
         (std::string(info.param.below) == "program" ? "" : "InOddFolder");
}

class InterruptedDelete : public ::testing::TestWithParam<Case> {};

TEST_P(InterruptedDelete, AKillAfterAnyMutationIsRecoveredAtTheNextStartToAllOldOrAllNew) {
  DeleteScene s(GetParam().below, GetParam().n);
  const auto e = s.ends();
  // The editor started again finishes or undoes the deletion before it reads anything.
  const auto ends = testing::restartedAfterEveryKill(
      [&] { s.prepare(); }, [&] { s.remove(); }, [&] { return s.root(); }, "-EDITOR", e.before,
      e.after, "Smazání křížovky 2/" + std::to_string(s.n) + "“");
  EXPECT_GT(ends.kills, 10);
  EXPECT_GT(ends.undone, 0);
  EXPECT_GT(ends.finished, 0);
}

TEST_P(InterruptedDelete, AFullOrReadOnlyDiskAtAnyMutationLeavesEveryFileAsItWas) {
  const int n = GetParam().n;
  const std::string k = std::to_string(n);
  // What each refusal may name: the list, the descriptor, the folders and scripts that move.
  std::set<std::string> steps = {"2.cbx", "Tervano.ini", "k" + k,
                                 "2" + k + "nazacatkukrizovky.lsc"};
  if (n < 5) steps.insert({"k5", "25nazacatkukrizovky.lsc", "25nakoncikrizovky.lsc"});
  if (n == 5) steps.insert("25nakoncikrizovky.lsc");
  for (const int err : {ENOSPC, EROFS}) {
    DeleteScene s(GetParam().below, n);
    const auto e = s.ends();
    // Past the commit mark the crossword is deleted; the chooser's recount that follows may fail
    // to write the descriptor again: its own error, with the descriptor as the deletion left it.
    const auto refused = testing::refusedOrDone(
        err, [&] { s.prepare(); }, [&] { s.remove(); }, [&] { return s.root(); },
        [&] { return s.rig->host.only({"error"}); }, e.before, e.after,
        "Křížovka nebyla smazána, žádný soubor se nezměnil.");
    EXPECT_GT(refused.runs, 10);
    // Every step that could fail was made to, the shorter list among them, and undone.
    for (const std::string& step : steps)
      EXPECT_TRUE(refused.named.contains(step)) << step << " (" << systemErrorText(err) << ")";
  }
}

INSTANTIATE_TEST_SUITE_P(MovingAndLastInAPlainAndAnOddFolder, InterruptedDelete,
                         ::testing::Values(Case{"program", 2}, Case{"program", 5},
                                           Case{testing::kOddFolder, 2}),
                         caseName);

TEST(DeleteCrossword, AReadOnlyListOrFolderRefusesTheDeletionBeforeAnythingChanges) {
  struct ReadOnly {
    const char* entry;
    mode_t mode;
    bool refused;
  };
  const ReadOnly cases[] = {
      {"tervano/sur/2.cbx", 0444, true},      // the list
      {"tervano/r2", 0555, true},             // the grade folder: nothing can move in it
      {"tervano/r2/k2", 0555, true},          // the deleted folder: its files could not go
      {"tervano/r2/k2/obrázky", 0555, true},  // a folder inside it
      {"tervano/script", 0555, true},         // the scripts that move
      {"tervano/r2/k5", 0555, false},         // moved whole, nothing removed from it
      {"tervano/r3", 0555, false},            // another grade
  };
  for (const ReadOnly& c : cases) {
    auto rig = gradeTwo(5);
    rig->dir.writeBytes("tervano/r2/k2/obrázky/mapa.txt", "mapa");
    ASSERT_EQ(::chmod((rig->dir.root() / c.entry).c_str(), c.mode), 0) << c.entry;
    const Tree before = testing::tree(rig->dir.root());
    rig->host.ok();
    remove(*rig, "2", "2");
    const auto errors = rig->host.only({"error"});
    if (!c.refused) {
      EXPECT_EQ(errors, std::vector<std::string>{}) << c.entry;
      EXPECT_EQ(testing::listsMatchFolders(rig->dir.root() / "tervano"), "") << c.entry;
      EXPECT_EQ(rig->crossword("tervano/r2/k2")[2], "k 5\r\n") << c.entry;
      continue;
    }
    ASSERT_EQ(errors.size(), 1u) << c.entry;
    const std::string name = fs::path(c.entry).filename().string();
    EXPECT_NE(errors[0].find(name + "“ je jen pro čtení"), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("Křížovka nebyla smazána, žádný soubor se nezměnil."),
              std::string::npos)
        << errors[0];
    EXPECT_EQ(testing::tree(rig->dir.root()), before) << c.entry;
    EXPECT_EQ(testing::temporariesIn(rig->dir.root()), std::vector<std::string>{}) << c.entry;
  }
}

}  // namespace
}  // namespace tervano
