// A script save replaces one file in one step: a full or read-only disk at any of its file
// operations leaves everything as it was and says so, a kill leaves the old script or the new
// one, and a legal long name is saved.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "data/textfile.h"
#include "data/transaction.h"
#include "interruptions.h"
#include "program_folder.h"
#include "tool_interruptions.h"
#include "ui/ids.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;
using testing::TempProgram;
using testing::Tree;

enum class Kind { ProgramWide, UnderACrossword };

// The script editor on a set whose scripts already hold an older version, with a new text typed
// for the event; the save goes over "nazacatkuhry.lsc" or, through the chooser, over
// "12nazacatkukrizovky.lsc".
struct ScriptScene {
  ScriptScene(Kind kind, std::string below) : kind(kind), below(std::move(below)) {}
  Kind kind;
  std::string below;
  std::unique_ptr<testing::Rig> rig;

  fs::path root() const { return rig->dir.root(); }
  void prepare() {
    rig.reset();
    rig = std::make_unique<testing::Rig>(below, TempProgram::Where::Memory);
    rig->dir.makeSet({3, 3, 3, 3});
    rig->dir.writeScript("nazacatkuhry.lsc", {"zprava.info", "stará"});
    rig->dir.writeScript("12nazacatkukrizovky.lsc", {"zprava.info", "stará"});
    rig->start("-SCRIPTEDITOR");
    rig->app->click(id::kDataNew);
    const bool wide = kind == Kind::ProgramWide;
    rig->app->dispatch(
        {app::Event::Kind::Select, id::kScriptEvent, wide ? "nazacatkuhry" : "nazacatkukrizovky"});
    rig->app->edit(id::kScriptText, "zprava.info\nnová, ž");
    rig->host.clear();
  }
  void save() const {
    rig->app->click(id::kDataSave);
    if (kind == Kind::ProgramWide) return;
    rig->app->dispatch({app::Event::Kind::Select, id::kChooserGrade, "1"});
    rig->app->dispatch({app::Event::Kind::Edit, id::kChooserCrossword, "2"});
    rig->app->click(id::kChooserConfirm);
  }
  testing::Ends ends() {
    return testing::endsOf([&] { prepare(); }, [&] { save(); }, [&] { return root(); });
  }
  std::string file() const {
    return kind == Kind::ProgramWide ? "nazacatkuhry.lsc" : "12nazacatkukrizovky.lsc";
  }
};

struct Case {
  Kind kind;
  const char* below;
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << (c.kind == Kind::ProgramWide ? "program-wide" : "under a crossword") << " in \"" << c.below
      << "\"";
}

class InterruptedScriptSave : public ::testing::TestWithParam<Case> {};

TEST_P(InterruptedScriptSave, AFullOrReadOnlyDiskAtAnyMutationLeavesEveryFileAsItWas) {
  for (const int err : {ENOSPC, EROFS}) {
    ScriptScene s(GetParam().kind, GetParam().below);
    const auto [before, after] = s.ends();
    ASSERT_EQ(after.at("tervano/script/" + s.file()), "file:zprava.info\r\nnov\xE1, \x9E\r\n");
    // Done: only the chooser's recount that follows may fail.
    const auto refused = testing::refusedOrDone(
        err, [&] { s.prepare(); }, [&] { s.save(); }, [&] { return s.root(); },
        [&] { return s.rig->host.only({"error"}); }, before, after,
        "Skript nebyl uložen, žádný soubor se nezměnil.",
        [&](const std::string& when) {
          EXPECT_EQ(s.rig->text(id::kDataStatus), "Neuložená") << when;
        });
    // Making the new file, flushing it, putting it in place; each names the script.
    EXPECT_EQ(refused.runs, 3) << systemErrorText(err);
    EXPECT_EQ(refused.named, std::set<std::string>{s.file()});
  }
}

TEST_P(InterruptedScriptSave, AKillAtAnyMutationLeavesTheOldScriptOrTheNewOne) {
  ScriptScene s(GetParam().kind, GetParam().below);
  const auto [before, after] = s.ends();
  // One file: no change for the start to finish or undo, only a temporary to clear.
  const auto ends = testing::restartedAfterEveryKill([&] { s.prepare(); }, [&] { s.save(); },
                                                     [&] { return s.root(); }, "-SCRIPTEDITOR",
                                                     before, after, "");
  EXPECT_GE(ends.kills, 3);
  EXPECT_EQ(ends.undone + ends.finished, 0);
}

INSTANTIATE_TEST_SUITE_P(
    BothSavesInAPlainAndAnOddFolder, InterruptedScriptSave,
    ::testing::Values(Case{Kind::ProgramWide, "program"}, Case{Kind::UnderACrossword, "program"},
                      Case{Kind::UnderACrossword, testing::kOddFolder}),
    [](const auto& info) {
      return std::string(info.param.kind == Kind::ProgramWide ? "ProgramWide" : "UnderACrossword") +
             (std::string(info.param.below) == "program" ? "" : "InOddFolder");
    });

// Under crossword 1/2 the file name is "12" + event + ".lsc": a 249-character event makes the
// longest name a Linux folder holds (255 bytes); one more is refused and nothing changes.
TEST(ScriptEditorSave, AnEventOf249CharactersIsSavedAndOneLongerIsRefused) {
  for (const std::size_t length : {std::size_t{249}, std::size_t{250}}) {
    const std::string event(length, 'u');
    testing::Rig rig;
    rig.dir.makeSet({3, 3, 3, 3});
    rig.start("-SCRIPTEDITOR");
    rig.app->click(id::kDataNew);
    rig.app->edit(id::kScriptEvent, event);
    rig.app->edit(id::kScriptText, "kont");
    Tree before = testing::tree(rig.dir.root());
    rig.host.clear();
    rig.app->click(id::kDataSave);
    rig.app->dispatch({app::Event::Kind::Select, id::kChooserGrade, "1"});
    rig.app->dispatch({app::Event::Kind::Edit, id::kChooserCrossword, "2"});
    rig.app->click(id::kChooserConfirm);
    const std::string name = "12" + event + ".lsc";
    if (length == 249) {
      EXPECT_EQ(name.size(), 255u);
      EXPECT_EQ(rig.host.only({"error"}), std::vector<std::string>{});
      EXPECT_EQ(rig.dir.readBytes("tervano/script/" + name), "kont\r\n");
      EXPECT_EQ(rig.text(id::kDataStatus), "?");
    } else {
      const auto errors = rig.host.only({"error"});
      ASSERT_EQ(errors.size(), 1u);
      EXPECT_NE(errors[0].find("Skript nebyl uložen, žádný soubor se nezměnil."), std::string::npos)
          << errors[0];
      Tree now = testing::tree(rig.dir.root());
      now.erase("tervano/Tervano.ini");  // the chooser's recount
      before.erase("tervano/Tervano.ini");
      EXPECT_EQ(now, before) << testing::difference(now, before);
      EXPECT_EQ(rig.text(id::kDataStatus), "Neuložená");
    }
  }
}

// Deleting goes through the file module: a failure keeps the script and says why.
TEST(ScriptEditorDelete, AFailedRemovalKeepsTheScriptAndSaysWhy) {
  testing::Rig rig;
  rig.dir.makeSet({1, 1, 1, 1});
  rig.dir.writeScript("nakoncihry.lsc", {"kont"});
  rig.start("-SCRIPTEDITOR");
  rig.host.clear();
  rig.host.pick(rig.dir.path("tervano/script/nakoncihry.lsc"));
  fileops::seam::failAt(1, EROFS);
  rig.app->click(id::kScriptDelete);
  fileops::seam::reset();
  EXPECT_EQ(rig.host.only({"error"}),
            std::vector<std::string>{
                "error: Skript „nakoncihry.lsc“ nelze smazat: disk je jen pro čtení."});
  EXPECT_TRUE(rig.dir.exists("tervano/script/nakoncihry.lsc"));
}

}  // namespace
}  // namespace tervano
