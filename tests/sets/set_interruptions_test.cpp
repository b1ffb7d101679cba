// Every set command ends whole or not at all: killed after any of its file mutations and recovered
// by the next start, or failing at any of them (a full or read-only disk), in a plain program
// folder and in one whose path holds a double quote, blanks, Czech letters and a line end.
#include <gtest/gtest.h>

#include <memory>

#include "data/textfile.h"
#include "data/transaction.h"
#include "interruptions.h"
#include "set_rig.h"
#include "sets/work_folders.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;
using testing::SetRig;
using testing::Tree;
using Where = testing::TempProgram::Where;

enum class Op { Switch, Install, Create, Rename, Delete };

const char* nameOf(Op op) {
  switch (op) {
    case Op::Switch:
      return "Switch";
    case Op::Install:
      return "Install";
    case Op::Create:
      return "Create";
    case Op::Rename:
      return "Rename";
    case Op::Delete:
      return "Delete";
  }
  return "";
}

// The panel opened on the active set 35 (a user's set, so it may be renamed) with set 22
// installed beside it, the German medium at hand; the command as a user gives it.
struct Scene {
  Op op;
  std::string below;
  std::unique_ptr<SetRig> rig;

  fs::path prog() const { return rig->prog; }
  fs::path medium() const { return rig->dir.root() / "Médium \"DE\"" / "němčina"; }
  void prepare() {
    rig.reset();
    rig = std::make_unique<SetRig>(std::vector<std::string>{"22"}, below, Where::Memory);
    testing::writeSet(rig->at("tervano"), "35");
    rig->write("sady.ini", {"tervano35", "tervano22"});
    rig->write("Tervano.ini", {"tervano35", "další řádek"});
    if (op == Op::Install) testing::copyGermanMedium(medium());
    rig->start();
  }
  void run() const {
    switch (op) {
      case Op::Switch:
        rig->choose("tervano22");
        break;
      case Op::Install:
        rig->install(medium() / "Tervano.ini");
        break;
      case Op::Create:
        rig->create(36);
        break;
      case Op::Rename:
        rig->host.ok();
        rig->rename(40);
        break;
      case Op::Delete:
        rig->host.ok().ok();
        rig->remove();
        break;
    }
  }
  struct Ends {
    Tree before, after;
  };
  Ends ends() {
    Ends e;
    prepare();
    e.before = testing::tree(prog());
    run();
    e.after = testing::tree(prog());
    return e;
  }
};

void expectBeforeOrAfter(const Scene& s, const Scene::Ends& e, const std::string& when) {
  const Tree now = testing::tree(s.prog());
  EXPECT_TRUE(now == e.before || now == e.after)
      << when << ": against before" << testing::difference(now, e.before) << " / against after"
      << testing::difference(now, e.after);
  EXPECT_EQ(testing::registryHolds(s.prog()), "") << when;
}

struct Case {
  Op op;
  const char* below;
};

class InterruptedSetCommand : public ::testing::TestWithParam<Case> {};

// An uninterrupted run changes what the command is about and keeps the registry whole.
TEST_P(InterruptedSetCommand, RunWholeItChangesTheRegistryAsAsked) {
  Scene s{GetParam().op, GetParam().below, nullptr};
  const auto e = s.ends();
  EXPECT_NE(e.before, e.after);
  EXPECT_EQ(testing::registryHolds(s.prog()), "");
  const TextList list = s.rig->read("sady.ini");
  const TextList expected = [&]() -> TextList {
    switch (s.op) {
      case Op::Install:
        return {"tervano35", "tervano22", "tervano21"};
      case Op::Create:
        return {"tervano35", "tervano22", "tervano36"};
      case Op::Rename:
        return {"tervano40", "tervano22"};
      case Op::Delete:
        return {"tervano22"};
      case Op::Switch:
        break;
    }
    return {"tervano35", "tervano22"};
  }();
  EXPECT_EQ(list, expected);
  EXPECT_EQ(s.rig->host.only({"error", "warning: Došlo"}), std::vector<std::string>{});
}

// Killed after any mutation and started again: all old or all new, never a file error, and the
// panel's own message where no set is active.
TEST_P(InterruptedSetCommand, AKillAfterAnyMutationEndsAllOldOrAllNewAtTheNextStart) {
  Scene s{GetParam().op, GetParam().below, nullptr};
  const auto e = s.ends();
  int old = 0, done = 0;
  const int kills = testing::killAtEveryMutation(
      [&] { s.prepare(); }, [&] { s.run(); },
      [&](long n) {
        const std::string when = std::string(nameOf(s.op)) + " killed after " + std::to_string(n);
        const auto shown = s.rig->startAgain();
        for (const std::string& box : shown)
          EXPECT_EQ(box.rfind("error", 0), std::string::npos) << when << ": " << box;
        expectBeforeOrAfter(s, e, when);
        ++(testing::tree(s.prog()) == e.before ? old : done);
      });
  // The number of (command, kill) cases, for the record.
  std::cout << nameOf(s.op) << " in \"" << s.below << "\": " << kills << " kills, " << old
            << " ended old, " << done << " ended new\n";
  EXPECT_GT(kills, 3);
  EXPECT_GT(old, 0);
  EXPECT_GT(done, 0);
}

// A full or read-only disk at any mutation: the command is refused with its reason and nothing
// has changed, or (past the point of no return) the next start finishes it.
TEST_P(InterruptedSetCommand, AFailingMutationAnywhereLeavesAllOldOrAllNew) {
  Scene s{GetParam().op, GetParam().below, nullptr};
  const auto e = s.ends();
  int refused = 0;
  testing::failAtEveryMutation(
      ENOSPC, [&] { s.prepare(); }, [&] { s.run(); },
      [&](long n, const std::string&) {
        const std::string when = std::string(nameOf(s.op)) + " failing at " + std::to_string(n);
        s.rig->host.joinScripts();
        const auto warnings = s.rig->host.only({"warning: Došlo", "error"});
        refused += !warnings.empty();
        for (const std::string& w : warnings)
          EXPECT_NE(w.find(systemErrorText(ENOSPC)), std::string::npos) << when << ": " << w;
        s.rig->app.reset();  // the program ends; the next start recovers
        recoverAtStart(s.prog());
        sets::clearLeftoverWork(s.prog());
        expectBeforeOrAfter(s, e, when);
      });
  EXPECT_GT(refused, 0);
}

INSTANTIATE_TEST_SUITE_P(
    AllCommands, InterruptedSetCommand,
    ::testing::Values(Case{Op::Switch, ""}, Case{Op::Install, ""}, Case{Op::Create, ""},
                      Case{Op::Rename, ""}, Case{Op::Delete, ""},
                      Case{Op::Switch, testing::kOddFolder}, Case{Op::Install, testing::kOddFolder},
                      Case{Op::Create, testing::kOddFolder}, Case{Op::Rename, testing::kOddFolder},
                      Case{Op::Delete, testing::kOddFolder}),
    [](const auto& info) {
      return std::string(nameOf(info.param.op)) + (*info.param.below ? "InOddFolder" : "");
    });

}  // namespace
}  // namespace tervano
