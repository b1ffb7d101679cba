// Creating a set from the template and renaming the active set.
#include <gtest/gtest.h>

#include "set_rig.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;
using app::Event;
using testing::SetRig;
using testing::snapshot;
using testing::Tree;
using V = std::vector<std::string>;

const char* kExists = "info: Tato křížovková sada již existuje.";

void create(SetRig& rig, int number) {
  rig.app->click(id::kSetCreate);
  rig.app->dispatch({Event::Kind::Edit, id::kNewNumber, {}, number});
  rig.app->click(id::kNameConfirm);
}

TEST(Creation, CopiesTheTemplateAndCompletesOnlyWhenTheCopyHasEnded) {
  SetRig rig;
  const Tree active = snapshot(rig.at("tervano"));
  const Tree templ = snapshot(rig.at("tervanodef"));
  rig.start();
  rig.app->click(id::kSetCreate);
  EXPECT_TRUE(rig.c().visible(id::kNamePanel));
  EXPECT_EQ(rig.c().text(id::kNamePanelTitle), "Založit novou");
  EXPECT_EQ(rig.c().text(id::kNewNameLabel), "Jméno sady: tervano");
  EXPECT_FALSE(rig.c().visible(id::kSetInstall));
  rig.app->dispatch({Event::Kind::Edit, id::kNewNumber, {}, 35});
  rig.app->click(id::kNameConfirm);
  EXPECT_EQ(rig.host.transcript(), V{"launch create.bat"});
  EXPECT_FALSE(rig.c().visible(id::kNamePanel));
  EXPECT_EQ(rig.c().text(id::kNewNameLabel), "Nové jméno: tervano");
  // Ticks pass while the copy has not ended: nothing is completed or registered.
  for (int i = 0; i < 3; ++i)
    rig.app->tick(id::kTimerCompletion);
  EXPECT_EQ(rig.host.transcript(), V{"launch create.bat"});
  EXPECT_TRUE(rig.exists("tervanoTemp"));
  EXPECT_EQ(rig.read("sady.ini"), (TextList{"tervano20", "tervano21"}));

  rig.finishScripts();
  rig.app->tick(id::kTimerCompletion);
  EXPECT_EQ(rig.host.transcript(),
            (V{"launch create.bat", "cue hlasen.wav",
               "info: Vytvoření sady proběhlo úspěšně,\rprogram však bude pro kontrolu\rukončen. "
               "Po jeho ukončení jej spusťte.",
               "quit"}));
  Tree made = snapshot(rig.at("tervano35"));
  made.erase("Tervano.ini");
  Tree expected = templ;
  expected.erase("Tervano.ini");
  EXPECT_EQ(made, expected);
  TextList descriptor = rig.read("tervanodef/Tervano.ini");
  descriptor.set(6, "35");
  EXPECT_EQ(rig.read("tervano35/Tervano.ini"), descriptor);
  EXPECT_FALSE(rig.exists("tervanoTemp"));
  EXPECT_FALSE(rig.exists("create.bat"));
  EXPECT_EQ(rig.read("sady.ini"), (TextList{"tervano20", "tervano21", "tervano35"}));
  EXPECT_EQ(snapshot(rig.at("tervano")), active);
  EXPECT_EQ(rig.read("Tervano.ini").get(0), "tervano20");
  EXPECT_FALSE(rig.c().timerRunning(id::kTimerCompletion));
}

// Without a set in the box the completion's "Potvrdit" asks for one and the program goes on; a
// second creation in the same run then makes and registers nothing.
TEST(Creation, ASecondCreationInOneRunMakesNothing) {
  SetRig rig;
  rig.write("Tervano.ini", {""});
  rig.start();
  create(rig, 35);
  rig.finishScripts();
  rig.app->tick(id::kTimerCompletion);
  rig.app->tick(id::kTimerCompletion);
  EXPECT_EQ(rig.host.only({"error", "quit"}), V{"error: Musíte zadat sadu."});
  const Tree before = snapshot(rig.prog);
  rig.host.clear();
  create(rig, 36);
  EXPECT_EQ(rig.host.transcript(),
            (V{"info: V tomto spuštění programu již byla jedna sada instalována nebo vytvořena.\r"
               "Další můžete přidat po novém spuštění programu."}));
  EXPECT_EQ(snapshot(rig.prog), before);
  EXPECT_FALSE(rig.c().visible(id::kNamePanel));
}

TEST(Creation, AFailedCopyRemovesTheHalfMadeSetAndRegistersNothing) {
  SetRig rig;
  fs::remove_all(rig.at("tervanodef/r1/k1"));
  const Tree before = snapshot(rig.prog);
  rig.start();
  create(rig, 35);
  rig.finishScripts();
  rig.app->tick(id::kTimerCompletion);
  rig.app->tick(id::kTimerCompletion);
  const V boxes = rig.host.transcript();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], "launch create.bat");
  EXPECT_EQ(boxes[1].rfind("warning: Došlo k chybě a funkce selhala.\r", 0), 0u) << boxes[1];
  EXPECT_NE(boxes[1].find("r1/k1"), std::string::npos) << boxes[1];
  EXPECT_EQ(snapshot(rig.prog), before);
  EXPECT_FALSE(rig.host.quitRequested());
  EXPECT_NE(rig.c().text(id::kSetStatus).find("r1/k1"), std::string::npos);
}

// A set name already in use, listed or only a folder, is refused before anything is made.
TEST(Creation, RefusesANameInUse) {
  for (const char* setup : {"listed", "unlisted folder", "other case"}) {
    SetRig rig({"35"});
    int number = 35;
    if (std::string(setup) == "unlisted folder") {
      fs::create_directories(rig.at("tervano40"));
      number = 40;
    }
    if (std::string(setup) == "other case") {
      fs::create_directories(rig.at("TERVANO41"));
      number = 41;
    }
    const Tree before = snapshot(rig.prog);
    rig.start();
    create(rig, number);
    EXPECT_EQ(rig.host.transcript(), (V{"cue hlasen.wav", kExists})) << setup;
    EXPECT_EQ(snapshot(rig.prog), before) << setup;
    EXPECT_FALSE(rig.c().visible(id::kNamePanel)) << setup;
  }
}

TEST(NumberBox, LosingTheFocusBringsTheValueIntoRange) {
  SetRig rig;
  rig.start();
  struct Case {
    std::string text;
    int value;
    int expected;
  };
  for (const Case& c : {Case{"", 5, 30}, Case{"", 500, 110}, Case{"", 77, 77}, Case{"abc", 0, 30},
                        Case{"-3", 0, 30}, Case{"111", 0, 110}}) {
    rig.app->dispatch({Event::Kind::Edit, id::kNewNumber, c.text, c.value});
    rig.app->dispatch({Event::Kind::Focus, id::kNewNumber, {}, 0});
    EXPECT_EQ(rig.c().value(id::kNewNumber), c.expected) << c.text << c.value;
  }
}

// The active set's number decides: the maker's sets lie below 30 and above 110.
TEST(Renaming, IsRefusedForTheMakersSets) {
  for (const char* number : {"29", "111", "30", "110"}) {
    SetRig rig;
    testing::writeSet(rig.at("tervano"), number);
    rig.start();
    rig.app->click(id::kSetRename);
    const bool makers = std::string(number) == "29" || std::string(number) == "111";
    const V refused{"cue hlasen.wav", "error: Sady dodávané výrobcem není možno přejmenovávat!"};
    EXPECT_EQ(rig.host.transcript(), makers ? refused : V{}) << number;
    EXPECT_EQ(rig.c().visible(id::kNamePanel), !makers) << number;
    EXPECT_EQ(rig.c().visible(id::kOldNumber), !makers) << number;
    EXPECT_EQ(rig.c().value(id::kOldNumber), std::stoi(number)) << number;
  }
}

struct RenameRig : SetRig {
  RenameRig() : SetRig({"50"}) {
    testing::writeSet(at("tervano"), "35");
    write("sady.ini", {"tervano35", "tervano50"});
    write("Tervano.ini", {"tervano35"});
    start();
  }
  void rename(int number) {
    app->click(id::kSetRename);
    app->dispatch({Event::Kind::Edit, id::kNewNumber, {}, number});
    app->click(id::kNameConfirm);
  }
};

TEST(Renaming, StoresTheNewNameInTheListTheDescriptorAndTheSelectionTogether) {
  RenameRig rig;
  rig.host.ok();
  rig.rename(40);
  ASSERT_EQ(rig.host.only({"warning"}).size(), 1u);
  EXPECT_NE(rig.host.only({"warning"})[0].find("vyšší číslo"), std::string::npos);
  EXPECT_EQ(rig.read("tervano/Tervano.ini").get(6), "40");
  EXPECT_EQ(rig.read("sady.ini"), (TextList{"tervano40", "tervano50"}));
  EXPECT_EQ(rig.read("Tervano.ini"), TextList{"tervano40"});
  EXPECT_EQ(rig.c().text(id::kSetBox), "tervano40");
  EXPECT_FALSE(rig.c().visible(id::kNamePanel));
  // The registry holds together: the renamed set goes away and comes back under its new name.
  rig.host.clear();
  rig.choose("tervano50");
  rig.choose("tervano40");
  EXPECT_EQ(rig.host.only({"warning"}), V{});
  EXPECT_EQ(rig.read("tervano/Tervano.ini").get(6), "40");
  EXPECT_EQ(rig.read("tervano50/Tervano.ini").get(6), "50");
}

TEST(Renaming, ANameInUseOrADeclinedWarningChangesNothing) {
  for (bool declined : {false, true}) {
    RenameRig rig;
    const Tree before = snapshot(rig.prog);
    rig.host.cancel();
    rig.rename(declined ? 31 : 50);
    const std::string last = rig.host.transcript().back();
    EXPECT_TRUE(declined ? last.find("nižší číslo") != std::string::npos : last == kExists) << last;
    EXPECT_EQ(snapshot(rig.prog), before);
    EXPECT_FALSE(rig.c().visible(id::kNamePanel));
  }
}

}  // namespace
}  // namespace tervano
