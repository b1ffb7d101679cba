// The script editor: the command list, choosing an event and loading its script, editing with the
// scratch file, saving for the whole program or under a crossword, loading through the chooser,
// closing with its questions, and deleting script files only where scripts live.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/chooser.h"
#include "script/script_editor.h"
#include "script_rig.h"

namespace tervano {
namespace {

using testing::ScriptRig;
using V = std::vector<std::string>;
namespace fs = std::filesystem;

constexpr const char* kAssignWarning =
    "warning: Tento druh scriptu musí\rbýt přiřazen k určité křížovce.\rJděte do nabídky skript a "
    "zvolte\ruložit, přiřaďte ke scriptu určitou\rkřížovku a potvrďte operaci\rtlačítkem "
    "potvrdit.";

int itemIndex(const ScriptRig& rig, const std::string& item) {
  const auto& items = rig.c().lines(id::kScriptCommands).lines();
  return static_cast<int>(std::find(items.begin(), items.end(), item) - items.begin());
}

TEST(ScriptCommandList, HoldsTheThirtyNineCommandsGroupByGroupWithEmptyItemsBetween) {
  // The groups in the editor's order; "cross.retry" before the two dotulo commands.
  const V groups[] = {
      {"aplikace.hra.nova", "aplikace.hra.nnova", "aplikace.hra.nacist", "aplikace.hra.ulozit",
       "aplikace.hra.nav", "aplikace.hra.navhln", "aplikace.hra.ukh", "aplikace.hra.ukhjdok"},
      {"aplikace.pomoc.napov", "aplikace.pomoc.oapl", "aplikace.pomoc.credits",
       "aplikace.pomoc.kls"},
      {"aplikace.aplikace.konec"},
      {"aplikace.nastaveni.zvuk(ano)", "aplikace.nastaveni.zvuk(ne)",
       "aplikace.nastaveni.hudba(ano)", "aplikace.nastaveni.hudba(ne)",
       "aplikace.nastaveni.ukch(ano)", "aplikace.nastaveni.ukch(ne)"},
      {"aplikace.promene.body", "aplikace.promene.rocnik", "aplikace.promene.kriz",
       "aplikace.promene.dobre", "aplikace.promene.spatne"},
      {"kont"},
      {"zprava.chyba(%1%)", "zprava.chyba(%2%)", "zprava.chyba"},
      {"zprava.varovani(%1%)", "zprava.varovani(%2%)", "zprava.varovani(%3%)", "zprava.varovani"},
      {"zprava.info(%1%)", "zprava.info(%2%)", "zprava.info(%3%)", "zprava.info"},
      {"cross.retry"},
      {"%cross%.dotulo(ano)", "%cross%.dotulo(ne)"}};
  V expected;
  for (const V& g : groups) {
    if (!expected.empty()) expected.push_back("");
    expected.insert(expected.end(), g.begin(), g.end());
  }
  ASSERT_EQ(expected.size(), 49u);
  EXPECT_EQ(script::commandList(), expected);
  ScriptRig rig;
  EXPECT_EQ(rig.c().lines(id::kScriptCommands).lines(), expected);
  for (const auto& item : expected)
    EXPECT_EQ(script::Interpreter::isCommand(item), !item.empty()) << item;
}

TEST(ScriptEditorStart, ShowsThePanelWithAnEmptyEnabledEventBox) {
  ScriptRig rig;
  EXPECT_EQ(rig.text(id::kTitle), "Editor skriptů 3.00");
  EXPECT_EQ(rig.text(id::kDataNew), "Nový ...");
  EXPECT_TRUE(rig.c().visible(id::kScriptPanel));
  EXPECT_FALSE(rig.c().visible(id::kAnswerArea));
  EXPECT_EQ(rig.c().lines(id::kScriptEvent),
            (TextList{"nazacatkuhry", "nakoncihry", "nazacatkukrizovky", "nakoncikrizovky",
                      "prispusteniprogramu", "priukonceniprogramu"}));
  EXPECT_EQ(rig.text(id::kScriptEvent), "");
  EXPECT_TRUE(rig.c().enabled(id::kScriptEvent));
  EXPECT_EQ(rig.status(), "?");
}

TEST(ScriptEditorSave, AProgramWideScriptIsWrittenInCodePage1250WithCrLf) {
  ScriptRig rig;
  rig.a().click(id::kDataNew);
  EXPECT_EQ(rig.status(), "Uložená");
  rig.pick("nazacatkuhry");
  EXPECT_FALSE(rig.c().enabled(id::kScriptEvent));
  rig.type("zprava.info\nVítejte ve hře, žáci!\nkont");
  EXPECT_EQ(rig.status(), "Neuložená");
  EXPECT_EQ(rig.c().get(id::kDataStatus).color, "red");
  rig.recordWrites();
  rig.a().click(id::kDataSave);
  EXPECT_EQ(rig.host.only({"write", "warning"}), (V{"write tervano\\script\\nazacatkuhry.lsc"}));
  EXPECT_EQ(rig.scriptBytes("nazacatkuhry.lsc"),
            "zprava.info\r\nV\xEDtejte ve h\xF8"
            "e, \x9E\xE1"
            "ci!\r\nkont\r\n");
  EXPECT_FALSE(rig.c().visible(id::kChooserWindow));
  EXPECT_EQ(rig.status(), "?");
  EXPECT_TRUE(rig.c().enabled(id::kScriptEvent));
}

TEST(ScriptEditorSave, AnEmptyEventBoxSavesThroughTheChooserUnderGradeAndCrossword) {
  ScriptRig rig;
  rig.a().click(id::kDataNew);
  rig.type("kont");
  rig.a().click(id::kDataSave);
  EXPECT_TRUE(rig.c().visible(id::kChooserWindow));
  EXPECT_EQ(rig.text(id::kChooserTitle), "Uložit křížovku");
  rig.confirm("1", "2");
  EXPECT_EQ(rig.scriptBytes("12.lsc"), "kont\r\n");
  EXPECT_FALSE(rig.c().visible(id::kChooserWindow));
  EXPECT_EQ(rig.status(), "?");
  EXPECT_TRUE(rig.c().enabled(id::kDataNew));
  EXPECT_FALSE(rig.c().enabled(id::kDataSave));
  EXPECT_TRUE(rig.c().enabled(id::kScriptEvent));
}

TEST(ScriptEditorSave, UlozRefusesACrosswordEventWithTheAssignmentWarningAndWritesNothing) {
  for (const char* event : {"nakoncikrizovky", "nazacatkukrizovky", "", "vlastni"}) {
    ScriptRig rig;
    rig.a().click(id::kDataNew);
    if (*event) rig.a().edit(id::kScriptEvent, event);
    rig.type("kont");
    const auto before = rig.snapshot();
    rig.recordWrites();
    rig.host.clear();
    rig.a().click(id::kScriptSave);
    EXPECT_EQ(rig.host.transcript(), V{kAssignWarning}) << event;
    EXPECT_EQ(rig.snapshot(), before) << event;
    EXPECT_EQ(rig.status(), "Neuložená") << event;
  }
}

TEST(ScriptEditorLoad, ACrosswordEventTakesTheChosenCrosswordsScriptElseTheProgramWideOne) {
  struct Case {
    bool own, programWide;
    TextList expected;
  };
  const Case cases[] = {
      {true, true, {"zprava.info", "23"}},
      {false, true, {"zprava.info", "vsem"}},
      {false, false, {}},
  };
  for (const auto& k : cases) {
    ScriptRig rig;
    if (k.own) rig.dir.writeScript("23nakoncikrizovky.lsc", {"zprava.info", "23"});
    if (k.programWide) rig.dir.writeScript("nakoncikrizovky.lsc", {"zprava.info", "vsem"});
    rig.dir.writeScript("32nakoncikrizovky.lsc", {"zprava.info", "32"});
    rig.a().click(id::kDataLoad);
    EXPECT_EQ(rig.text(id::kChooserTitle), "Načíst křížovku");
    rig.confirm("2", "3");
    EXPECT_FALSE(rig.c().visible(id::kChooserWindow));
    EXPECT_FALSE(rig.c().enabled(id::kDataLoad));
    EXPECT_TRUE(rig.c().enabled(id::kDataSave));
    rig.pick("nakoncikrizovky");
    EXPECT_EQ(rig.script(), k.expected) << k.own << k.programWide;
    EXPECT_EQ(rig.c().lines(id::kScriptText), k.expected);
    EXPECT_EQ(rig.status(), "Neuložená");
  }
}

TEST(ScriptEditorLoad, BeforeAnyCrosswordIsChosenTheCrosswordIsZeroZero) {
  ScriptRig rig;
  rig.dir.writeScript("00nazacatkukrizovky.lsc", {"kont"});
  rig.pick("nazacatkukrizovky");
  EXPECT_EQ(rig.script(), TextList{"kont"});
}

TEST(ScriptEditorEdit, TextTypedWithNoEventIsKeptInTheScratchFileAtEveryChange) {
  ScriptRig rig;
  rig.recordWrites();
  rig.type("k");
  rig.type("ko");
  rig.type("kont");
  EXPECT_EQ(rig.host.only({"write"}), V(3, "write tervano\\script\\BEZEJMENA.lsc"));
  EXPECT_EQ(rig.scriptBytes("BEZEJMENA.lsc"), "kont\r\n");
  EXPECT_FALSE(rig.c().enabled(id::kScriptEvent));
  EXPECT_EQ(rig.status(), "Neuložená");
  // With an event chosen the scratch file is left alone.
  ScriptRig chosen;
  chosen.a().click(id::kDataNew);
  chosen.pick("nakoncihry");
  chosen.recordWrites();
  chosen.type("kont");
  EXPECT_TRUE(chosen.host.only({"write"}).empty());
}

TEST(ScriptEditorEdit, ACharacterOutsideTheCodePageInTheScratchFileIsReportedOnce) {
  ScriptRig rig;
  rig.type("zprava.info\n☃");
  rig.type("zprava.info\n☃☃");
  rig.type("zprava.info\n☃☃☃");
  ASSERT_EQ(rig.host.only({"error"}).size(), 1u);
  EXPECT_NE(rig.host.only({"error"})[0].find("BEZEJMENA.lsc"), std::string::npos);
  // The text stays in the editor; once it can be written again, it is.
  EXPECT_EQ(rig.script().get(1), "☃☃☃");
  rig.type("zprava.info\nsněhulák");
  EXPECT_EQ(rig.dir.read("tervano/script/BEZEJMENA.lsc"), (TextList{"zprava.info", "sněhulák"}));
  // A new failure after that is a new report.
  rig.type("☃");
  EXPECT_EQ(rig.host.only({"error"}).size(), 2u);
}

TEST(ScriptEditorEdit, ADoubleClickAppendsTheItemAsTheLastLineUnchanged) {
  ScriptRig rig;
  rig.a().click(id::kDataNew);
  rig.pick("nakoncihry");
  rig.type("kont");
  rig.doubleClick(itemIndex(rig, "%cross%.dotulo(ano)"));
  rig.doubleClick(itemIndex(rig, "kont") + 1);  // the empty item after "kont"
  rig.doubleClick(itemIndex(rig, "zprava.info(%3%)"));
  EXPECT_EQ(rig.script(), (TextList{"kont", "%cross%.dotulo(ano)", "", "zprava.info(%3%)"}));
  EXPECT_EQ(rig.c().lines(id::kScriptText), rig.script());
  // A double click on no item inserts nothing.
  for (int none : {-1, 49, 1000})
    rig.doubleClick(none);
  EXPECT_EQ(rig.script().count(), 4);
}

TEST(ScriptEditorLoad, UnsavedChangesAreSavedFirstAndThenTheLoadChooserOpens) {
  // A crossword script: the save chooser first, the load chooser after its "Potvrď".
  ScriptRig rig;
  rig.pick("nakoncikrizovky");
  rig.type("kont");
  rig.host.ok();
  rig.a().click(id::kDataLoad);
  EXPECT_EQ(rig.host.only({"ask"}), V{"ask: Chcete uložit změny v současné křížovce? -> OK"});
  EXPECT_EQ(rig.text(id::kChooserTitle), "Uložit křížovku");
  rig.confirm("1", "1");
  EXPECT_EQ(rig.scriptBytes("11nakoncikrizovky.lsc"), "kont\r\n");
  EXPECT_TRUE(rig.c().visible(id::kChooserWindow));
  EXPECT_EQ(rig.text(id::kChooserTitle), "Načíst křížovku");

  // "Zpět" in the save chooser: nothing saved, no load follows.
  ScriptRig back;
  back.pick("nakoncikrizovky");
  back.type("kont");
  back.host.ok();
  back.a().click(id::kDataLoad);
  back.a().click(id::kChooserBack);
  EXPECT_FALSE(back.c().visible(id::kChooserWindow));
  EXPECT_FALSE(back.hasScript("11nakoncikrizovky.lsc"));
  EXPECT_EQ(back.status(), "Neuložená");

  // A program-wide script is saved at once and the load chooser opens straight away.
  ScriptRig wide;
  wide.pick("nakoncihry");
  wide.type("kont");
  wide.host.ok();
  wide.a().click(id::kDataLoad);
  EXPECT_EQ(wide.scriptBytes("nakoncihry.lsc"), "kont\r\n");
  EXPECT_EQ(wide.text(id::kChooserTitle), "Načíst křížovku");
  EXPECT_TRUE(wide.c().visible(id::kChooserWindow));
}

TEST(ScriptEditorLoad, ASaveThatFailedLeavesNoLoadWaitingForALaterSave) {
  ScriptRig rig;
  rig.pick("nakoncihry");
  rig.type("zprava.info\n☃");
  rig.host.ok();
  rig.a().click(id::kDataLoad);
  ASSERT_EQ(rig.host.only({"error"}).size(), 1u);
  EXPECT_FALSE(rig.c().visible(id::kChooserWindow));
  // Later a crossword script is saved through the chooser: only the save happens.
  rig.a().click(id::kDataNew);
  rig.pick("nakoncikrizovky");
  rig.type("kont");
  rig.a().click(id::kDataSave);
  rig.confirm("1", "1");
  EXPECT_EQ(rig.scriptBytes("11nakoncikrizovky.lsc"), "kont\r\n");
  EXPECT_FALSE(rig.c().visible(id::kChooserWindow));
}

TEST(ScriptEditorClose, ACrosswordScriptAndAProgramWideOneAskTheirOwnQuestions) {
  const std::string crossword = "ask: Chcete uložit změny v současné křížovce? -> ";
  const std::string wide = "ask: Chcete uložit změny v současném aplikačním či herním skriptu? -> ";
  struct Case {
    const char* event;
    bool ok;
    V heard;
    const char* written;  // OK on a crossword script saves through the chooser (3/1)
  };
  const Case cases[] = {
      {"nazacatkukrizovky", false, {"cue chyba.wav", crossword + "Cancel"}, nullptr},
      {"nazacatkukrizovky", true, {"cue chyba.wav", crossword + "OK"}, "31nazacatkukrizovky.lsc"},
      {"priukonceniprogramu", false, {wide + "Cancel"}, nullptr},
      {"priukonceniprogramu", true, {wide + "OK"}, "priukonceniprogramu.lsc"},
  };
  for (const auto& k : cases) {
    ScriptRig rig;
    rig.a().click(id::kDataNew);
    rig.pick(k.event);
    rig.type("kont");
    rig.host.answer(k.ok ? ui::Answer::Ok : ui::Answer::Cancel);
    rig.a().click(id::kDataClose);
    if (rig.c().visible(id::kChooserWindow)) rig.confirm("3", "1");
    EXPECT_EQ(rig.host.only({"cue", "ask"}), k.heard) << k.event << k.ok;
    if (k.written) {
      EXPECT_EQ(rig.scriptBytes(k.written), "kont\r\n");
    }
    EXPECT_EQ(rig.status(), "?");
    EXPECT_TRUE(rig.c().enabled(id::kScriptEvent));
    if (k.ok) continue;
    // Cancel resets: nothing open, an empty script and event box.
    EXPECT_TRUE(rig.script().empty());
    EXPECT_EQ(rig.text(id::kScriptEvent), "");
    EXPECT_TRUE(rig.c().enabled(id::kDataNew));
    EXPECT_FALSE(rig.c().enabled(id::kDataClose));
  }
}

TEST(ScriptEditorSave, AnEventNameThatLeadsOutOfTheScriptFolderIsRefused) {
  for (const char* event : {"..\\..\\Data\\kriz\\hra", "../../tervano-hra", "a/b", "x\\y", ".."}) {
    ScriptRig rig;
    rig.a().click(id::kDataNew);
    rig.a().edit(id::kScriptEvent, event);
    rig.type("kont");
    const auto before = rig.snapshot();
    rig.a().click(id::kDataSave);
    rig.confirm("1", "1");
    ASSERT_EQ(rig.host.only({"error"}).size(), 1u) << event;
    EXPECT_NE(rig.host.only({"error"})[0].find("Skript nebyl uložen."), std::string::npos);
    auto after = rig.snapshot();
    after.erase("tervano/Tervano.ini");  // the chooser's recount
    auto expected = before;
    expected.erase("tervano/Tervano.ini");
    EXPECT_EQ(after, expected) << event;
    EXPECT_EQ(rig.status(), "Neuložená");
  }
}

TEST(ScriptEditorSave, GradeAndCrosswordMustBeDigits) {
  testing::TempProgram dir;
  dir.makeSet({1, 1, 1, 1});
  testing::FakeHost host;
  ui::Controls controls;
  Session session;
  ProgramFolder folder(dir.root());
  script::ScriptEditor::declare(controls);
  script::ScriptEditor editor(controls, host, folder, session);
  session.scriptBuffer = {"kont"};
  controls.setText(id::kScriptEvent, "nakoncikrizovky");
  const std::pair<const char*, const char*> refused[] = {
      {"1", "/../x"}, {"..", "1"}, {"", "1"}, {"1", ""}, {"-1", "2"}, {"1", "2 "}, {"1a", "2"}};
  for (auto [grade, crossword] : refused)
    EXPECT_THROW(editor.saveUnder(grade, crossword), script::ScriptFileError)
        << grade << "|" << crossword;
  EXPECT_TRUE(fs::is_empty(dir.root() / "tervano/script"));
  editor.saveUnder("2", "10");
  EXPECT_TRUE(dir.exists("tervano/script/210nakoncikrizovky.lsc"));
}

TEST(ScriptEditorDelete, DeletesAScriptOfTheScriptFolderWithoutAQuestion) {
  ScriptRig rig;
  rig.dir.writeScript("NAZACATKUHRY.LSC", {"kont"});
  rig.dir.writeScript("12.lsc", {"kont"});
  rig.pick("nakoncihry");
  rig.host.pick(rig.dir.path("tervano/script/NAZACATKUHRY.LSC"));
  rig.a().click(id::kScriptDelete);
  EXPECT_FALSE(rig.hasScript("NAZACATKUHRY.LSC"));
  EXPECT_TRUE(rig.hasScript("12.lsc"));
  EXPECT_TRUE(rig.host.only({"ask", "error", "warning"}).empty());
  const auto& dialog = rig.host.dialogs().back();
  EXPECT_EQ(dialog.title, "Smaž skript");
  EXPECT_TRUE(dialog.mustExist);
  EXPECT_EQ(fs::canonical(dialog.initialFolder), fs::canonical(rig.dir.root() / "tervano/script"));
  // The editor's own state is untouched.
  EXPECT_EQ(rig.text(id::kScriptEvent), "nakoncihry");
  EXPECT_EQ(rig.status(), "Neuložená");
  // A cancelled dialog deletes nothing.
  rig.a().click(id::kScriptDelete);
  EXPECT_TRUE(rig.hasScript("12.lsc"));
}

TEST(ScriptEditorDelete, AnythingButAScriptOfTheScriptFolderIsRefusedAndKept) {
  ScriptRig rig;
  rig.dir.writeBytes("tervano-hra",
                     "\x7F"
                     "ELF");
  const std::string save = rig.dir.makeSave("hra", testing::record());
  rig.dir.write("tervano/x.lsc", {"kont"});
  rig.dir.write("tervano/script/poznamka.txt", {"kont"});
  rig.dir.write("tervano/script/lsc", {"kont"});
  fs::create_directories(rig.dir.root() / "tervano/script/slozka.lsc");
  fs::create_symlink(save, rig.dir.root() / "tervano/script/odkaz.lsc");
  // A file of someone else's, outside the program folder.
  testing::TempProgram elsewhere;
  elsewhere.write("poznamky.lsc", {"kont"});
  const std::string refused[] = {
      rig.dir.path("tervano-hra"),
      save,
      rig.dir.path("tervano/x.lsc"),
      rig.dir.path("tervano/script/../x.lsc"),
      rig.dir.path("tervano/script/poznamka.txt"),
      rig.dir.path("tervano/script/lsc"),
      rig.dir.path("tervano/script/slozka.lsc"),
      rig.dir.path("tervano/script/odkaz.lsc"),
      rig.dir.path("tervano/script/chybi.lsc"),
      elsewhere.path("poznamky.lsc"),
  };
  const auto before = rig.snapshot();
  for (const auto& file : refused) {
    rig.host.clear();
    rig.host.pick(file);
    rig.a().click(id::kScriptDelete);
    const auto errors = rig.host.only({"error"});
    ASSERT_EQ(errors.size(), 1u) << file;
    EXPECT_NE(errors[0].find("Smazat lze jen skript (soubor s příponou .lsc) ze složky skriptů"),
              std::string::npos)
        << errors[0];
  }
  EXPECT_EQ(rig.snapshot(), before);
  EXPECT_TRUE(elsewhere.exists("poznamky.lsc"));
  EXPECT_TRUE(fs::is_directory(rig.dir.root() / "tervano/script/slozka.lsc"));
  EXPECT_TRUE(fs::is_symlink(rig.dir.root() / "tervano/script/odkaz.lsc"));
}

TEST(ScriptEditorPointer, OverTheDeleteButtonTheToolPanelOpensAndTheDataPanelCloses) {
  ScriptRig rig;
  rig.a().hover(id::kCatEditorData);
  EXPECT_TRUE(rig.c().visible(id::kPanelEditorData));
  rig.a().hover(id::kScriptDelete);
  EXPECT_TRUE(rig.c().visible(id::kPanelToolExit));
  EXPECT_FALSE(rig.c().visible(id::kPanelEditorData));
}

// The whole way: scripts written in the editor run in the main application at their events.
TEST(ScriptEditorToGame, ScriptsWrittenInTheEditorRunAtTheirEvents) {
  ScriptRig rig({2, 2, 2, 2});
  rig.a().click(id::kDataNew);
  rig.pick("nazacatkuhry");
  rig.doubleClick(itemIndex(rig, "zprava.info"));
  rig.type("zprava.info\nHra začíná, hodně štěstí!");
  rig.a().click(id::kDataSave);
  rig.pick("nakoncikrizovky");
  rig.doubleClick(itemIndex(rig, "zprava.info(%1%)"));
  rig.doubleClick(itemIndex(rig, "aplikace.promene.body"));
  rig.type("zprava.info(%1%)\naplikace.promene.body\n+\n100");
  rig.a().click(id::kDataSave);
  rig.confirm("1", "1");
  rig.a().click(id::kToolQuit);
  ASSERT_TRUE(rig.host.quitRequested());

  // The main application on the same program folder.
  testing::FakeHost host;
  host.pick(rig.dir.makeSave("hra", testing::record("2", "2")));
  app::Application game(host, ProgramFolder(rig.dir.root()), TextList{rig.dir.path("tervano-hra")});
  game.startProgram();
  host.clear();
  game.click(id::kNewGame);
  EXPECT_EQ(host.only({"info"}), V{"info: Hra začíná, hodně štěstí!"});
  EXPECT_EQ(game.controls().text(id::kPoints), "0");
  host.clear();
  game.click(id::kKontrola);
  // Crossword 1/1 was left as its map: both lines and the tajenka cost points, then its end
  // script says all was right and adds 100.
  EXPECT_EQ(host.only({"info: Vše"}), V{"info: Vše jste měl bez chyby."});
  EXPECT_EQ(game.controls().text(id::kCrossword), "2");
  EXPECT_EQ(game.controls().text(id::kPoints), std::to_string(100 - 2 * 5 - 15));
}

}  // namespace
}  // namespace tervano
