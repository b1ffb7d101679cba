// The set registry: opening the panel, switching the active set, "Potvrdit", the close request
// and the way back to the main application.
#include <gtest/gtest.h>

#include "data/textfile.h"
#include "interruptions.h"
#include "set_rig.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;
using testing::SetRig;
using testing::snapshot;
using testing::Tree;
using V = std::vector<std::string>;

const char* kSwitched = "info: Sada byla úspěšně přehozena.";
const char* kFailed = "warning: Došlo k chybě a funkce selhala.";

TEST(Switch, MakesTheChosenSetActiveAndPutsTheOldOneBack) {
  SetRig rig;
  const Tree before = snapshot(rig.prog);
  rig.start();
  // Opening the panel shows the list and the last chosen name, and switches nothing.
  EXPECT_EQ(rig.c().lines(id::kSetBox), (TextList{"tervano20", "tervano21"}));
  EXPECT_EQ(rig.c().text(id::kSetBox), "tervano20");
  EXPECT_EQ(rig.c().text(id::kSetActive), "Aktivní sada: tervano20 (Sada 20)");
  EXPECT_EQ(snapshot(rig.prog), before);
  rig.choose("tervano21");
  EXPECT_EQ(rig.host.transcript(), V{kSwitched});
  const Tree after = snapshot(rig.prog);
  for (const auto& [path, content] : before) {
    // "tervano/x" is now "tervano20/x", and "tervano21/x" is "tervano/x".
    std::string moved = path;
    if (path.rfind("tervano/", 0) == 0 || path == "tervano")
      moved = "tervano20" + path.substr(7);
    else if (path.rfind("tervano21", 0) == 0)
      moved = "tervano" + path.substr(9);
    if (path == "Tervano.ini") continue;
    ASSERT_TRUE(after.count(moved)) << moved;
    EXPECT_EQ(after.at(moved), content) << moved;
  }
  EXPECT_FALSE(rig.exists("tervano21"));
  EXPECT_EQ(rig.read("Tervano.ini"), (TextList{"tervano21", "další řádek"}));
  EXPECT_EQ(rig.sets().workingDescriptor().get(6), "21");
  EXPECT_EQ(rig.c().text(id::kSetActive), "Aktivní sada: tervano21 (Sada 21)");
  // And back again.
  rig.choose("tervano20");
  EXPECT_EQ(rig.read("tervano/Tervano.ini").get(6), "20");
  EXPECT_EQ(rig.read("tervano21/Tervano.ini").get(6), "21");
  EXPECT_FALSE(rig.host.quitRequested());
}

// Nothing is switched, so no switch is claimed; the choice is remembered.
TEST(Switch, TheActiveEntryChangesNoFolderAndClaimsNoSwitch) {
  SetRig rig;
  rig.write("Tervano.ini", {"tervano21"});
  const Tree before = snapshot(rig.prog);
  rig.start();
  rig.choose("tervano20");
  EXPECT_EQ(rig.host.transcript(), V{});
  EXPECT_EQ(rig.c().text(id::kSetStatus), "tervano20 je již aktivní.");
  Tree after = snapshot(rig.prog);
  EXPECT_EQ(rig.read("Tervano.ini"), TextList{"tervano20"});
  after.erase("Tervano.ini");
  Tree expected = before;
  expected.erase("Tervano.ini");
  EXPECT_EQ(after, expected);
}

// The set list is a text file anyone can edit; its entry becomes a folder name only when it
// names the active set or an installed one.
TEST(Switch, RefusesNamesThatAreNoInstalledSetAndRenamesNothing) {
  for (const char* name : {"tervanodef", "../x", "tervano", "Data", "tervano99", "tervano23",
                           "tervano21/../Data", "tervano0021"}) {
    SetRig rig;
    fs::create_directories(rig.at("tervanodef"));
    fs::create_directories(rig.at("x"));
    testing::writeSet(rig.at("tervano23"), "24");  // its descriptor says another number
    rig.write("sady.ini", {"tervano20", "tervano21", name});
    const Tree before = snapshot(rig.prog);
    rig.start();
    rig.choose(name);
    EXPECT_EQ(rig.host.transcript(), V{kFailed}) << name;
    EXPECT_EQ(snapshot(rig.prog), before) << name;
    EXPECT_FALSE(rig.host.quitRequested()) << name;
  }
}

TEST(Switch, NeverRenamesOntoAFolderThatExistsInAnotherLetterCase) {
  SetRig rig;
  fs::create_directories(rig.at("TERVANO20"));  // empty: Linux alone would rename over it
  const Tree before = snapshot(rig.prog);
  rig.start();
  rig.choose("tervano21");
  EXPECT_EQ(rig.host.transcript(), V{kFailed});
  EXPECT_EQ(snapshot(rig.prog), before);
}

// After a switch that failed half-way in an older version, no folder "tervano" exists: the panel
// still lists the sets, and choosing one makes it active without putting anything away.
TEST(Switch, WithoutAnActiveSetTheChosenOneBecomesActive) {
  SetRig rig;
  fs::rename(rig.at("tervano"), rig.at("tervano20"));
  rig.start();
  EXPECT_EQ(rig.c().lines(id::kSetBox), (TextList{"tervano20", "tervano21"}));
  EXPECT_EQ(rig.c().text(id::kSetActive), "Žádná sada není aktivní. Vyberte ji v seznamu sad.");
  rig.choose("tervano21");
  EXPECT_EQ(rig.host.transcript(), V{kSwitched});
  EXPECT_EQ(rig.read("tervano/Tervano.ini").get(6), "21");
  EXPECT_EQ(rig.read("tervano20/Tervano.ini").get(6), "20");
  EXPECT_FALSE(rig.exists("tervano21"));
}

struct ConfirmCase {
  const char* name;
  V list;
  std::string boxText;
  V transcript;
  bool quits;
};

// "Potvrdit" never writes the active set's descriptor unless it was changed here: its bytes stay.
TEST(Confirm, EndsTheProgramOrAsksForASet) {
  const std::vector<ConfirmCase> cases = {
      {"a set entered", {"tervano20"}, "tervano20", {"quit"}, true},
      {"no set entered", {"tervano20"}, "", {"cue chyba.wav", "error: Musíte zadat sadu."}, false},
      {"no sets at all",
       {},
       "",
       {"cue chyba.wav", "error: Nejsou nainstalovány žádné sady.\rHra již nebude fungovat!!",
        "quit"},
       true},
  };
  for (const auto& c : cases) {
    SetRig rig;
    rig.write("sady.ini", c.list);
    rig.write("Tervano.ini", {c.boxText});
    const Tree before = snapshot(rig.prog);
    rig.start();
    rig.app->click(id::kSetConfirm);
    EXPECT_EQ(rig.host.transcript(), c.transcript) << c.name;
    EXPECT_EQ(rig.host.quitRequested(), c.quits) << c.name;
    EXPECT_EQ(snapshot(rig.prog), before) << c.name;
  }
}

TEST(CloseRequest, WritesTheSelectionWithASetAndRefusesWithoutOne) {
  SetRig rig;
  rig.start();
  rig.app->edit(id::kSetBox, "");
  rig.app->dispatch({app::Event::Kind::CloseRequest});
  EXPECT_EQ(rig.host.transcript(), (V{"cue chyba.wav", "error: Musíte zadat sadu."}));
  EXPECT_FALSE(rig.host.quitRequested());
  rig.host.clear();
  const std::string descriptor = rig.bytes("tervano/Tervano.ini");
  rig.write("Tervano.ini", {"jiný obsah"});
  rig.app->edit(id::kSetBox, "tervano20");
  rig.app->dispatch({app::Event::Kind::CloseRequest});
  EXPECT_EQ(rig.host.transcript(), (V{"cue hlasen.wav", "quit"}));
  EXPECT_EQ(rig.read("Tervano.ini"), (TextList{"tervano20", "další řádek"}));
  EXPECT_EQ(rig.bytes("tervano/Tervano.ini"), descriptor);
}

TEST(MainApplicationButton, RunsPotvrditFirstAndStaysWhenItIsRefused) {
  SetRig rig;
  rig.start();
  rig.app->edit(id::kSetBox, "");
  rig.app->click(id::kSetPanelMainApp);
  EXPECT_EQ(rig.host.only({"error", "quit", "start"}), V{"error: Musíte zadat sadu."});
  rig.host.clear();
  rig.choose("tervano21");
  rig.app->click(id::kSetPanelMainApp);
  EXPECT_EQ(rig.host.only({"error", "quit", "start"}),
            (V{"quit", "quit", "start instance '' in help"}));
}

// Every file operation of a switch failing in turn (forced through the file module's seam): the
// switch is undone at once, both sets whole where they were and the selection as it was; the
// second rename among them, after the first has moved the active set away.
TEST(Switch, AnyFailingStepIsUndoneAtOnceTheSecondRenameIncluded) {
  std::unique_ptr<SetRig> rig;
  Tree before, after;
  bool secondRename = false;
  int undone = 0;
  testing::failAtEveryMutation(
      EIO,
      [&] {
        rig = std::make_unique<SetRig>(std::vector<std::string>{"21"}, "",
                                       testing::TempProgram::Where::Memory);
        rig->start();
        before = snapshot(rig->prog);
      },
      [&] { rig->choose("tervano21"); },
      [&](long n, const std::string&) {
        const auto warnings = rig->host.only({"warning"});
        // Past the point of no return (a failure while tidying up) the switch stands and the next
        // start tidies up; the failure loops of all commands check that end.
        if (n == 0 || snapshot(rig->prog) != before) return;
        ++undone;
        ASSERT_EQ(warnings.size(), 1u) << n;
        EXPECT_EQ(warnings[0].rfind(std::string(kFailed) + "\r", 0), 0u) << warnings[0];
        EXPECT_NE(warnings[0].find(systemErrorText(EIO)), std::string::npos) << warnings[0];
        secondRename = secondRename ||
                       warnings[0].find("Nelze přejmenovat „" + rig->at("tervano21").string()) !=
                           std::string::npos;
        EXPECT_EQ(rig->c().text(id::kSetActive), "Aktivní sada: tervano20 (Sada 20)") << n;
        EXPECT_FALSE(rig->host.quitRequested()) << n;
      });
  EXPECT_GT(undone, 3);
  EXPECT_TRUE(secondRename);
}

// A set-selection start without an active set: the panel's own line, no file error.
TEST(Switch, AStartWithoutAnActiveSetShowsThePanelsOwnMessage) {
  SetRig rig;
  fs::rename(rig.at("tervano"), rig.at("tervano20"));
  EXPECT_EQ(rig.startAgain(), V{});
  rig.start();
  EXPECT_EQ(rig.c().text(id::kSetActive), "Žádná sada není aktivní. Vyberte ji v seznamu sad.");
}

}  // namespace
}  // namespace tervano
