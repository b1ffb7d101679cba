// Start-up of every mode, mode switches and the ways the program ends.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/mode.h"
#include "app/mode_registry.h"
#include "data/texts.h"
#include "data/transaction.h"
#include "interruptions.h"
#include "program_folder.h"
#include "ui/ids.h"

namespace tervano {
namespace {

using testing::Rig;
using V = std::vector<std::string>;

struct StartRig : Rig {
  StartRig() { dir.makeSet({2, 2, 2, 2}); }
};

TEST(StartUp, TheMainApplicationInsistsOnASavedGame) {
  StartRig rig;
  const std::string save = rig.dir.makeSave("hra", testing::record("1", "2"));
  rig.host.pick(std::nullopt).pick(std::nullopt).pick(save);
  rig.start("");
  EXPECT_EQ(rig.host.only({"open"}),
            (V{"open: Načti hru hry křížovky -> cancel", "open: Načti hru hry křížovky -> cancel",
               "open: Načti hru hry křížovky -> hra.kr1"}));
  const auto& c = rig.c();
  EXPECT_EQ(c.text(id::kCrossword), "2");
  EXPECT_TRUE(c.enabled(id::kEndGame));
  EXPECT_FALSE(c.enabled(id::kQuit));
  EXPECT_FALSE(c.visible(id::kMenuScreen));
  EXPECT_FALSE(c.enabled(id::kToolMainApp));
  EXPECT_EQ(c.text(id::kLanguage), "Angličtina");
  EXPECT_EQ(c.text(id::kWindowTitle), "Tervano");
  for (auto t : {id::kTimerFileName, id::kTimerGauge, id::kTimerKontrola, id::kTimerAccessCode,
                 id::kTimerHelpFiller})
    EXPECT_TRUE(c.timerRunning(t)) << t;
  EXPECT_FALSE(rig.host.quitRequested());
  EXPECT_EQ(c.text(id::kAboutPackage), "Verze balíčku s křížovkami: 4.00");
}

// Every mode, the unsupported switch too, first ends a change that a killed run left half done,
// before it reads anything, and says so.
TEST(StartUp, EveryModeFirstUndoesAChangeThatAKilledRunLeftHalfDone) {
  for (const char* mode :
       {"", "-EDITOR", "-SADA", "-SCRIPTEDITOR", "-SPAUTOSAVE", "-LOADAUTOSAVE", "-JINÝ"}) {
    StartRig rig;
    rig.dir.write("Tervano.ini", {"tervano4"});
    rig.dir.write("sady.ini", {"tervano4"});
    rig.host.pick(rig.dir.makeSave("hra", testing::record()));
    const std::string descriptor = rig.dir.readBytes("tervano/Tervano.ini");
    const auto change = [&] {
      Transaction tx(rig.dir.root(), "Zkouška");
      tx.replaceFile(rig.dir.root() / "tervano/Tervano.ini", "nový popis");
      tx.replaceFile(rig.dir.root() / "tervano/sur/1.cbx", "1\r\n");
      tx.commit();
    };
    // Killed after the first of its steps: the descriptor is new, the list old.
    bool halfDone = false;
    for (long n = 1; !halfDone; ++n) {
      ASSERT_TRUE(testing::runKilledAfter(n, change).killed) << mode;
      halfDone = rig.dir.readBytes("tervano/Tervano.ini") != descriptor;
      if (!halfDone) recoverAtStart(rig.dir.root());  // too early: one more step next time
    }
    rig.start(mode);
    EXPECT_EQ(rig.dir.readBytes("tervano/Tervano.ini"), descriptor) << mode;
    EXPECT_EQ(testing::temporariesIn(rig.dir.root()), std::vector<std::string>{}) << mode;
    ASSERT_FALSE(rig.host.transcript().empty()) << mode;
    EXPECT_EQ(rig.host.transcript().front(),
              "info: Přerušená změna „Zkouška“ byla vrácena, soubory jsou v původním stavu.")
        << mode;
  }
}

TEST(StartUp, TheExportedRecordIsOfferedFirstAndCanBeDeclined) {
  StartRig rig;
  rig.dir.write("Data/kriz/~automatické uložení.kr1", testing::record("2", "1"));
  rig.host.cancel().pick(rig.dir.makeSave("hra", testing::record()));
  rig.start("");
  EXPECT_EQ(rig.host.only({"cue", "ask", "open"}),
            (V{"cue hlasen.wav",
               "ask: Má se načíst exportovaný záznam automatického uložení s názvem: "
               "\r~automatické uložení.kr1 ? -> Cancel",
               "open: Načti hru hry křížovky -> hra.kr1"}));
  EXPECT_EQ(rig.text(id::kGrade), "1");
  EXPECT_FALSE(rig.dir.exists("Data/kriz/~automatické uložení.kr1"));  // used or not: gone
}

// On a first start the load dialog opens with the delivered new game chosen, so that Enter starts
// a game; once the player has a saved game of their own, nothing is chosen for them. The autosave
// log and an exported record (declined here) are no saved games of the player.
TEST(StartUp, AFirstStartChoosesTheDeliveredNewGame) {
  struct Case {
    std::vector<std::string> saves;  // in Data/kriz, the first is loaded
    bool exported;
    std::string chosen;
  };
  const Case cases[] = {
      {{"Nová hra"}, false, "Nová hra.kr1"},
      {{"nová HRA"}, false, "nová HRA.kr1"},
      {{"Nová hra"}, true, "Nová hra.kr1"},
      {{"Nová hra", "moje"}, false, ""},
      {{"moje"}, false, ""},
  };
  for (const Case& c : cases) {
    StartRig rig;
    std::string first;
    for (const auto& name : c.saves) {
      const std::string path = rig.dir.makeSave(name, testing::record());
      if (first.empty()) first = path;
    }
    if (c.exported) {
      rig.dir.write("Data/kriz/~automatické uložení.kr1", testing::record());
      rig.host.cancel();
    }
    rig.host.pick(first);
    rig.start("");
    ASSERT_EQ(rig.host.dialogs().size(), 1u) << c.saves.front();
    EXPECT_EQ(rig.host.dialogs().front().fileName, c.chosen) << c.saves.front();
    EXPECT_EQ(rig.text(id::kGrade), "1");
  }
}

TEST(StartUp, TheAutosaveSettingsAreReadBeforeTheExportedRecordIsOffered) {
  StartRig rig;
  rig.dir.write("Data/kriz/automatické uložení.kra", {"A", "5", "5", "kontrole každé křížovky"});
  rig.dir.write("Data/kriz/~automatické uložení.kr1", testing::record());
  rig.host.ok();
  rig.start("");
  const V seen = rig.host.only({"error", "ask"});
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].rfind("error: Kvóta 5 záznamů byla naplněna.", 0), 0u) << seen[0];
  EXPECT_EQ(seen[1].rfind("ask: Má se načíst exportovaný záznam", 0), 0u) << seen[1];
}

TEST(StartUp, AStartUpFailureEndsTheProgramWithOneMessage) {
  StartRig rig;
  rig.dir.remove("tervano/r1/k1");
  rig.host.pick(rig.dir.makeSave("hra", testing::record()));
  rig.start("");
  EXPECT_EQ(rig.host.only({"error"}), (V{"error: Předpokládaná umístění neexistují!!!"}));
  EXPECT_TRUE(rig.host.quitRequested());
  for (const auto& [name, timer] : rig.c().timers())
    EXPECT_FALSE(timer.running) << name;
}

TEST(StartUp, AMissingAutosaveLogIsAStartUpFailure) {
  StartRig rig;
  rig.dir.remove("Data/kriz/automatické uložení.kra");
  rig.start("");
  EXPECT_EQ(rig.host.only({"error"}), (V{"error: Předpokládaná umístění neexistují!!!"}));
  EXPECT_TRUE(rig.host.only({"open"}).empty());
}

TEST(StartUp, AnUnknownSwitchShowsTheSupportedOnesAndEnds) {
  StartRig rig;
  rig.start("-editor");
  // The braces stand in one column.
  EXPECT_EQ(rig.host.transcript(),
            (V{"cue hlasen.wav",
               "error: Vámi zadaný parametr není podporován.\rPodporované parametry:\r"
               "-EDITOR        {pro editaci vlastních křížovek}\r"
               "-SADA          {pro výběr křížovkové sady}\r"
               "-SCRIPTEDITOR  {pro editaci skriptů ke křížovkám}\r"
               "-SPAUTOSAVE    {pro správu záznamů automatického uložení}\r"
               "-LOADAUTOSAVE  {pro načtení záznamu automatického uložení}",
               "quit"}));
  EXPECT_EQ(rig.text(id::kWindowTitle), "Chyba parametru");
  EXPECT_EQ(rig.text("windowIcon"), "ikony\\parametry2.ico");
}

TEST(StartUp, OnlyTheFirstArgumentChoosesTheMode) {
  StartRig rig;
  TextList args{rig.dir.path("tervano-hra"), "-SADA", "-EDITOR"};
  rig.app = std::make_unique<app::Application>(rig.host, ProgramFolder(rig.dir.root()), args, 1);
  rig.app->startProgram();
  EXPECT_TRUE(rig.c().visible(id::kSetPanel));
  EXPECT_EQ(rig.text(id::kWindowTitle), "Výběr křížovkové sady");
}

struct ToolCase {
  const char* sw;
  const char* title;
  const char* icon;
  bool f7AndF12;
};

class ToolModes : public ::testing::TestWithParam<ToolCase> {};

TEST_P(ToolModes, ShowTheirTitleIconAndShortcutsAndRunNoScript) {
  StartRig rig;
  for (auto s : {"prispusteniprogramu.lsc", "nazacatkuhry.lsc", "11nazacatkukrizovky.lsc"})
    rig.dir.writeScript(s, {"zprava.info", "skript"});
  rig.start(GetParam().sw);
  const auto& c = rig.c();
  EXPECT_EQ(c.text(id::kWindowTitle), GetParam().title);
  EXPECT_EQ(c.text("windowIcon"), GetParam().icon);
  EXPECT_EQ(c.enabled(id::kScMainMenu), GetParam().f7AndF12);
  EXPECT_EQ(c.enabled(id::kScQuit), GetParam().f7AndF12);
  for (auto sc :
       {id::kScSound, id::kScMusic, id::kScHelp, id::kScAbout, id::kScCredits, id::kScNewGame,
        id::kScNewGameSettings, id::kScLoad, id::kScSave, id::kScReturn, id::kScEndGame})
    EXPECT_FALSE(c.enabled(sc)) << sc;
  // (The autosave manager reports the delivered log, which holds no record, as empty.)
  EXPECT_TRUE(rig.host.only({"info: skript", "open", "error"}).empty());
  EXPECT_FALSE(rig.host.quitRequested());
  EXPECT_FALSE(c.timerRunning(id::kTimerGauge));
  EXPECT_EQ(c.text(id::kAboutPackage), "Verze balíčku s křížovkami:");
  // No hook runs, whatever the game does here.
  rig.app->invoke([&] { rig.app->game().prvkr(); });
  EXPECT_TRUE(rig.host.only({"info: skript"}).empty());
}

INSTANTIATE_TEST_SUITE_P(
    All, ToolModes,
    ::testing::Values(
        ToolCase{"-EDITOR", "Editor křížovek", "ikony\\editor.ico", true},
        ToolCase{"-SADA", "Výběr křížovkové sady", "ikony\\sady.ico", false},
        ToolCase{"-SCRIPTEDITOR", "Editor skriptů ke křížovkám", "ikony\\parametry.ico", true},
        ToolCase{"-SPAUTOSAVE", "Správce automatického uložení", "ikony\\havarie.ico", true},
        ToolCase{"-LOADAUTOSAVE", "Načtení automatického uložení", "ikony\\havarie.ico", true}));

TEST(StartUp, TheScriptEditorWarnsWhenItsChooserIsCreated) {
  StartRig rig;
  rig.start("-SCRIPTEDITOR");
  EXPECT_EQ(rig.host.only({"warning"}),
            (V{"warning: Při napsání špatného příkazu\rmůže dojít k chybám, které mohou\rpoškodit "
               "váš program, či vaše křížovky."}));
  EXPECT_EQ(rig.text(id::kTitle), "Editor skriptů 3.00");
}

TEST(StartUp, ModeButtonPicturesNeedAllFive) {
  StartRig rig;
  for (auto f : {"editor", "sady", "parametry", "kr1"})
    rig.dir.writeBytes(std::string("Ikony/") + f + ".bmp", "BM");
  rig.start("-SADA");
  EXPECT_FALSE(rig.c().visible("modeButtonPictures"));
  StartRig all;
  for (auto f : {"editor", "sady", "parametry", "kr1", "havarie"})
    all.dir.writeBytes(std::string("ikony/") + f + ".bmp", "BM");
  all.start("-SADA");
  EXPECT_TRUE(all.c().visible("modeButtonPictures"));
}

// A tool of the tests' own: it shows its title, and answers no event.
class ProbeMode : public app::Mode {
 public:
  using Mode::Mode;
  void start() override { app_.setModeLook("Zkušební nástroj", "ikony\\zkouska.ico"); }
  bool handle(const app::Event&) override { return false; }
};

TEST(ModeRegistry, ASeventhModeIsOneRow) {
  std::vector<app::ModeRow> rows = app::ModeRegistry::standard().rows();
  app::ModeRow probe;
  probe.name = "-ZKOUSKA";
  probe.make = [](app::Application& a) { return std::make_unique<ProbeMode>(a); };
  probe.toolButton = "toolProbe";
  probe.caption = "Zkušební nástroj";
  probe.toolRow = 6;
  probe.picture = "Ikony\\zkouska.bmp";
  probe.help = "pro zkoušku";
  rows.push_back(probe);
  const app::ModeRegistry modes(rows);
  auto make = [&](Rig& rig, const std::string& mode) {
    rig.app =
        std::make_unique<app::Application>(rig.host, ProgramFolder(rig.dir.root()),
                                           TextList{rig.dir.path("tervano-hra"), mode}, modes, 1);
    rig.app->startProgram();
  };

  // Started by its switch.
  StartRig own;
  make(own, "-ZKOUSKA");
  EXPECT_EQ(own.text(id::kWindowTitle), "Zkušební nástroj");
  EXPECT_FALSE(own.host.quitRequested());

  // A button below the others in every mode's tools panel, which switches to it.
  StartRig tools;
  make(tools, "-SADA");
  EXPECT_EQ(tools.text("toolProbe"), "Zkušební nástroj");
  tools.host.clear();
  tools.host.ok();
  tools.app->click("toolProbe");
  EXPECT_EQ(tools.host.only({"quit", "start"}), (V{"quit", "start instance '-ZKOUSKA' in help"}));

  // Named last among the supported switches, in the column of the others.
  StartRig wrong;
  make(wrong, "-zkouska");
  const V errors = wrong.host.only({"error"});
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("automatického uložení}\r-ZKOUSKA       {pro zkoušku}"),
            std::string::npos)
      << errors[0];

  // Its picture is one more that must exist before any is shown.
  StartRig pictures;
  for (auto f : {"editor", "sady", "parametry", "kr1", "havarie"})
    pictures.dir.writeBytes(std::string("Ikony/") + f + ".bmp", "BM");
  make(pictures, "-SADA");
  EXPECT_FALSE(pictures.c().visible("modeButtonPictures"));
  StartRig all;
  for (auto f : {"editor", "sady", "parametry", "kr1", "havarie", "zkouska"})
    all.dir.writeBytes(std::string("Ikony/") + f + ".bmp", "BM");
  make(all, "-SADA");
  EXPECT_TRUE(all.c().visible("modeButtonPictures"));
}

struct RunningGame : Rig {
  RunningGame() {
    dir.makeSet({2, 2, 2, 2});
    host.pick(dir.makeSave("hra", testing::record()));
    start("");
    host.clear();
  }
};

TEST(ModeSwitch, DeclinedWhileAGameRunsThenAcceptedAfterItEnded) {
  RunningGame rig;
  rig.host.ok().cancel();  // switch: OK; end the game: Cancel
  rig.app->click(id::kToolEditor);
  EXPECT_EQ(
      rig.host.transcript(),
      (V{"cue hlasen.wav", "warning: Aplikace bude muset být ukončena.\rChcete pokračovat? -> OK",
         "ask: Chcete současnou hru skutečně ukončit? -> Cancel"}));
  EXPECT_FALSE(rig.host.quitRequested());
  rig.host.clear();
  rig.host.ok().ok().cancel();  // switch, end the game, do not save
  rig.app->click(id::kToolEditor);
  EXPECT_EQ(rig.host.only({"quit", "start"}), (V{"quit", "start instance '-EDITOR' in help"}));
}

TEST(ModeSwitch, CancelledAtTheWarningNothingHappens) {
  RunningGame rig;
  rig.host.cancel();
  rig.app->click(id::kToolSets);
  EXPECT_EQ(rig.host.transcript().size(), 2u);
  EXPECT_TRUE(rig.c().enabled(id::kEndGame));
}

TEST(ModeSwitch, BackToTheMainApplicationHasItsOwnQuestionAndNoArgument) {
  Rig rig;
  rig.dir.makeSet({1, 1, 1, 1});
  rig.dir.write("sady.ini", {"tervano4"});
  rig.dir.write("Tervano.ini", {"tervano4"});
  rig.start("-SADA");
  rig.host.clear();
  rig.app->click(id::kSetPanelMainApp);
  // The set panel's "Potvrdit" runs first and ends the program too.
  EXPECT_EQ(rig.host.transcript(),
            (V{"cue hlasen.wav",
               "warning: Aplikace bude muset být ukončena.\rBude uskutečněn návrat do hlavní "
               "aplikace.\rChcete pokračovat? -> OK",
               "quit", "quit", "start instance '' in help"}));
}

TEST(Shutdown, KonecRunsTheProgramEndScriptOnlyInTheMainApplication) {
  RunningGame rig;
  rig.dir.writeScript("priukonceniprogramu.lsc", {"zprava.info", "sbohem"});
  rig.host.ok().cancel();
  rig.app->click(id::kEndGame);
  rig.host.clear();
  rig.app->key("F12");
  EXPECT_EQ(rig.host.transcript(), (V{"info: sbohem", "quit"}));
}

TEST(Shutdown, ClosingDuringAGameWritesTheClosingRecordThenAsksToSave) {
  RunningGame rig;
  rig.recordWrites();
  rig.dir.writeScript("priukonceniprogramu.lsc", {"zprava.info", "sbohem"});
  rig.dir.write("Data/kriz/automatické uložení.kra", {"A", "50", "0", "kontrole každé křížovky"});
  rig.host.cancel();
  rig.app->dispatch({app::Event::Kind::CloseRequest});
  EXPECT_EQ(rig.host.transcript(), (V{"write data\\kriz\\automatické uložení.kra", "cue hlasen.wav",
                                      "ask: Chcete současnou hru uložit? -> Cancel", "info: sbohem",
                                      "write tervano\\Tervano.ini", "quit"}));
  const TextList log = rig.dir.read("Data/kriz/automatické uložení.kra");
  EXPECT_EQ(log.count(), 4 + 21);
  EXPECT_EQ(log.get(4 + 19), " ");
}

TEST(Shutdown, ClosingWithoutAGameAsksNothing) {
  RunningGame rig;
  rig.host.ok().cancel();
  rig.app->click(id::kEndGame);
  rig.host.clear();
  rig.app->dispatch({app::Event::Kind::CloseRequest});
  EXPECT_EQ(rig.host.transcript(), (V{"cue hlasen.wav", "quit"}));
}

TEST(Shutdown, SavingAtTheCloseRunsTheEndScriptAfterTheSave) {
  RunningGame rig;
  rig.dir.writeScript("priukonceniprogramu.lsc", {"zprava.info", "sbohem"});
  rig.host.ok().pick(rig.dir.path("Data/kriz/na konec.kr1"));
  rig.app->dispatch({app::Event::Kind::CloseRequest});
  EXPECT_EQ(rig.host.only({"ask", "save", "info", "quit"}),
            (V{"ask: Chcete současnou hru uložit? -> OK",
               "save: Ulož hru hry křížovky -> na konec.kr1", "info: sbohem", "quit"}));
  EXPECT_TRUE(rig.dir.exists("Data/kriz/na konec.kn1"));
}

TEST(Shutdown, ToolModeKonecEndsAnEditorWithNothingLoaded) {
  Rig rig;
  rig.dir.makeSet({1, 1, 1, 1});
  rig.start("-EDITOR");
  rig.host.clear();
  rig.app->click(id::kToolQuit);
  EXPECT_EQ(rig.host.transcript(), (V{"quit"}));
}

}  // namespace
}  // namespace tervano
