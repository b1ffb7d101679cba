// The crossword editor writes, loads and saves the four files of a crossword through the data
// panel and the chooser, keeps the data status, and derives the totals and the line count from
// what is on screen.
#include <gtest/gtest.h>

#include "editor_rig.h"

namespace tervano {
namespace {

using testing::EditorRig;
using V = std::vector<std::string>;

// Twelve answer lines as the solution area holds them.
std::string twelveLines() {
  std::string text;
  for (int i = 0; i < 12; ++i)
    text += "s l o v o " + std::to_string(i) + "\n";
  return text;
}

TEST(EditorSave, WritesTheConfigurationAsSixLinesWithTheLineCountOfTheSolution) {
  EditorRig rig;
  rig.a().click(id::kDataNew);
  EXPECT_EQ(rig.status(), "Uložená");
  rig.spin(id::kScoreSpinGood, 5);
  rig.spin(id::kScoreSpinBad, 2);
  rig.spin(id::kScoreSpinGoodTajenka, 20);
  rig.spin(id::kScoreSpinBadTajenka, 10);
  rig.type(id::kAnswerArea, twelveLines());
  rig.type(id::kMapArea, "x x x\n  x x");
  rig.type(id::kLegendArea, "Kůň\nPes");
  EXPECT_EQ(rig.status(), "Neuložená");
  EXPECT_EQ(rig.c().get(id::kDataStatus).color, "red");
  // What can be won and lost follows the labels and the line count at once.
  EXPECT_EQ(rig.text(id::kScoreWordCount), "12");
  EXPECT_EQ(rig.text(id::kCanGain), "80");
  EXPECT_EQ(rig.text(id::kCanLose), "34");

  rig.saveAs("2", "1");
  EXPECT_EQ(rig.dir.readBytes("tervano/r2/k1/k.nk"), "5\r\n2\r\n20\r\n10\r\nN\r\n12\r\n");
  EXPECT_EQ(rig.dir.readBytes("tervano/r2/k1/k.mk"), "x x x\r\n  x x\r\n");
  EXPECT_EQ(rig.dir.read("tervano/r2/k1/k.lk"), (TextList{"Kůň", "Pes"}));
  EXPECT_EQ(rig.dir.read("tervano/r2/k1/k.vk").count(), 12);
  // Saved and closed: the text stays on screen, the panel is back at its first buttons.
  EXPECT_EQ(rig.status(), "?");
  EXPECT_EQ(rig.c().get(id::kDataStatus).color, "lime");
  EXPECT_TRUE(rig.c().enabled(id::kDataNew));
  EXPECT_FALSE(rig.c().enabled(id::kDataSave));
  EXPECT_FALSE(rig.c().visible(id::kChooserWindow));
  EXPECT_TRUE(rig.c().enabled(id::kMainWindow));
  EXPECT_EQ(rig.c().lines(id::kLegendArea), (TextList{"Kůň", "Pes"}));
}

TEST(EditorSave, ANumberPastTheListAddsTheNextFreeCrossword) {
  EditorRig rig({1, 1, 7, 1});
  rig.a().click(id::kDataNew);
  rig.type(id::kAnswerArea, "n o v a");
  rig.recordWrites();
  rig.saveAs("3", "10");
  // The files, the list that names them and the descriptor's count in one change, then the
  // recount of the row and the chooser's own.
  EXPECT_EQ(rig.host.only({"write"}),
            (V{"write tervano\\r3\\k8\\k.lk", "write tervano\\r3\\k8\\k.mk",
               "write tervano\\r3\\k8\\k.vk", "write tervano\\r3\\k8\\k.nk",
               "write tervano\\sur\\3.cbx", "write tervano\\Tervano.ini",
               "write tervano\\Tervano.ini", "write tervano\\Tervano.ini"}));
  EXPECT_EQ(rig.dir.read("tervano/r3/k8/k.vk"), (TextList{"n o v a"}));
  EXPECT_FALSE(rig.dir.exists("tervano/r3/k10"));
  EXPECT_EQ(rig.dir.read("tervano/sur/3.cbx"), (TextList{"1", "2", "3", "4", "5", "6", "7", "8"}));
  EXPECT_EQ(rig.dir.read("tervano/Tervano.ini").get(3), "8");
  // An existing number is overwritten and the list stays.
  rig.a().click(id::kDataNew);
  rig.type(id::kAnswerArea, "j i n a");
  rig.saveAs("3", "4");
  EXPECT_EQ(rig.dir.read("tervano/r3/k4/k.vk"), (TextList{"j i n a"}));
  EXPECT_EQ(rig.dir.read("tervano/sur/3.cbx").count(), 8);
}

TEST(EditorSave, ANumberOnTheListReplacesThatCrosswordOnlyAndKeepsTheList) {
  // The first, a middle one and exactly the last: no new number appears in any of them.
  for (const char* number : {"1", "4", "7"}) {
    EditorRig rig({1, 1, 7, 1});
    const auto before = rig.snapshot();
    rig.a().click(id::kDataNew);
    rig.type(id::kAnswerArea, "n o v a");
    rig.type(id::kMapArea, "x x x x");
    rig.saveAs("3", number);
    const std::string folder = std::string("tervano/r3/k") + number;
    EXPECT_EQ(rig.dir.read(folder + "/k.vk"), (TextList{"n o v a"})) << number;
    EXPECT_EQ(rig.dir.read(folder + "/k.mk"), (TextList{"x x x x"})) << number;
    EXPECT_EQ(rig.dir.read("tervano/sur/3.cbx").count(), 7) << number;
    EXPECT_FALSE(rig.dir.exists("tervano/r3/k8")) << number;
    // Every other crossword keeps its bytes.
    for (const auto& [file, bytes] : rig.snapshot()) {
      if (file.rfind(folder + "/", 0) == 0 || file == "tervano/Tervano.ini") continue;
      EXPECT_EQ(bytes, before.count(file) ? before.at(file) : "<new>") << number << " " << file;
    }
  }
}

TEST(EditorSave, ACharacterOutsideTheCodePageSavesNothing) {
  EditorRig rig;
  rig.load("1", "2");
  rig.type(id::kMapArea, "x x x");
  rig.type(id::kLegendArea, "Ж je písmeno azbuky");  // the legend is written before k.vk
  const auto before = rig.snapshot();
  rig.saveAs("1", "2");
  const V errors = rig.host.only({"error"});
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("k.lk"), std::string::npos) << errors[0];
  EXPECT_EQ(rig.snapshot(), before);
  // The data stay open and unsaved, so they can be mended and saved.
  EXPECT_EQ(rig.status(), "Neuložená");
  EXPECT_TRUE(rig.c().enabled(id::kDataSave));
  // Saving it as a new crossword creates neither a folder nor a list entry.
  rig.saveAs("1", "9");
  EXPECT_EQ(rig.snapshot(), before);
  EXPECT_FALSE(rig.dir.exists("tervano/r1/k4"));
}

TEST(EditorLoad, FillsTheScreenFromTheFourFilesAndCountsAsSaved) {
  EditorRig rig;
  rig.dir.addCrossword(2, 3, {"p e s", "k o c k a", "m y s"}, {"7", "3", "30", "12", "A", "3"});
  rig.load("2", "3");
  EXPECT_EQ(rig.status(), "Uložená");
  EXPECT_FALSE(rig.c().visible(id::kMenuScreen));
  EXPECT_FALSE(rig.c().visible(id::kChooserWindow));
  EXPECT_EQ(rig.c().lines(id::kAnswerArea), (TextList{"p e s", "k o c k a", "m y s"}));
  EXPECT_EQ(rig.c().lines(id::kMapArea), (TextList{"x x x", "x x x x x", "x x x"}));
  EXPECT_EQ(rig.c().lines(id::kLegendArea).get(0), "nápověda 1");
  EXPECT_EQ(rig.text(id::kScoreGood), "7");
  EXPECT_EQ(rig.c().value(id::kScoreSpinBad), 3);
  EXPECT_EQ(rig.text(id::kScoreGoodTajenka), "30");
  EXPECT_EQ(rig.text(id::kScoreBadTajenka), "12");
  EXPECT_TRUE(rig.c().checked(id::kSavePoint));
  EXPECT_EQ(rig.text(id::kGrade), "2");
  EXPECT_EQ(rig.text(id::kCrossword), "3");
  EXPECT_EQ(rig.text(id::kCanGain), "51");
  // Only the data panel's open column is enabled; the arrows show while it is saved.
  EXPECT_FALSE(rig.c().enabled(id::kDataNew));
  EXPECT_FALSE(rig.c().enabled(id::kDataLoad));
  EXPECT_TRUE(rig.c().enabled(id::kDataSave));
  EXPECT_TRUE(rig.c().visible(id::kArrowNext));
  rig.a().dispatch({app::Event::Kind::Toggle, id::kSavePoint, {}, 0});
  EXPECT_EQ(rig.status(), "Neuložená");
  EXPECT_FALSE(rig.c().visible(id::kArrowNext));
}

TEST(EditorLoad, AMissingFileLeavesTheCrosswordOnScreenWhole) {
  EditorRig rig;
  rig.load("1", "2");
  rig.dir.addCrossword(3, 1, {"j i n a"}, {"3", "3", "3", "3", "A", "1"});
  rig.dir.remove("tervano/r3/k1/k.mk");
  const auto shown = rig.c().all();
  rig.load("3", "1");
  ASSERT_EQ(rig.host.only({"error"}).size(), 1u);
  EXPECT_NE(rig.host.only({"error"})[0].find("k.mk"), std::string::npos);
  for (auto kept : {id::kAnswerArea, id::kLegendArea, id::kMapArea})
    EXPECT_EQ(rig.c().lines(kept), shown.at(kept).lines) << kept;
  for (auto kept : {id::kGrade, id::kCrossword, id::kScoreGood, id::kDataStatus})
    EXPECT_EQ(rig.text(kept), shown.at(kept).text) << kept;
  EXPECT_TRUE(rig.c().visible(id::kChooserWindow));
}

TEST(EditorLoad, AskedAboutUnsavedChangesItSavesCompletelyBeforeTheLoadChooserOpens) {
  EditorRig rig;
  rig.load("1", "1");
  rig.type(id::kAnswerArea, "z m e n a");
  rig.recordWrites();
  rig.host.ok();
  rig.a().click(id::kDataLoad);
  EXPECT_EQ(rig.host.only({"ask"}), (V{"ask: Chcete uložit změny v současné křížovce? -> OK"}));
  EXPECT_EQ(rig.text(id::kChooserTitle), "Uložit křížovku");
  rig.choose("1", "1");
  rig.a().click(id::kChooserConfirm);
  EXPECT_EQ(rig.dir.read("tervano/r1/k1/k.vk"), (TextList{"z m e n a"}));
  // Only now the chooser asks what to load.
  EXPECT_TRUE(rig.c().visible(id::kChooserWindow));
  EXPECT_EQ(rig.text(id::kChooserTitle), "Načíst křížovku");
  rig.choose("4", "2");
  rig.a().click(id::kChooserConfirm);
  EXPECT_EQ(rig.text(id::kGrade), "4");
  EXPECT_EQ(rig.status(), "Uložená");
  EXPECT_EQ(rig.host.only({"write"}).front(), "write tervano\\r1\\k1\\k.lk");
}

TEST(EditorLoad, CancelOrBackLeaveTheSaveAndTheLoadAsTheUserChose) {
  // Cancel: no save, the load chooser at once.
  EditorRig rig;
  rig.load("1", "1");
  rig.type(id::kMapArea, "x");
  const auto before = rig.snapshot();
  rig.host.cancel();
  rig.a().click(id::kDataLoad);
  EXPECT_EQ(rig.text(id::kChooserTitle), "Načíst křížovku");
  rig.a().click(id::kChooserBack);
  // "Zpět" in the save chooser: neither the save nor the load follows.
  rig.host.ok();
  rig.a().click(id::kDataLoad);
  EXPECT_EQ(rig.text(id::kChooserTitle), "Uložit křížovku");
  rig.a().click(id::kChooserBack);
  EXPECT_FALSE(rig.c().visible(id::kChooserWindow));
  EXPECT_EQ(rig.snapshot(), before);
  EXPECT_EQ(rig.status(), "Neuložená");
}

TEST(EditorStatus, NewClosingAndQuittingFollowTheStatus) {
  EditorRig rig;
  EXPECT_EQ(rig.status(), "?");
  EXPECT_FALSE(rig.c().visible(id::kArrowNext));
  rig.load("1", "3");
  rig.type(id::kLegendArea, "jiná nápověda");
  // "Nová ..." discards without a question.
  rig.a().click(id::kDataNew);
  EXPECT_TRUE(rig.host.only({"ask"}).empty());
  EXPECT_EQ(rig.status(), "Uložená");
  EXPECT_TRUE(rig.c().lines(id::kLegendArea).empty());
  EXPECT_EQ(rig.text(id::kScoreGood), "0");
  EXPECT_EQ(rig.text(id::kCrossword), "0");
  // Unsaved data refuse the close, with the cue before the warning.
  rig.type(id::kAnswerArea, "a");
  rig.a().dispatch({app::Event::Kind::CloseRequest});
  EXPECT_EQ(rig.host.only({"cue", "warning"}),
            (V{"cue hlasen.wav",
               "warning: Data nejsou uložena.\rStisknutím tlačítka Uložit data uložíte."}));
  EXPECT_FALSE(rig.host.quitRequested());
  // "Ukončit režim editace" asks; Cancel closes without saving.
  rig.host.clear();
  rig.host.cancel();
  rig.a().click(id::kDataClose);
  EXPECT_EQ(rig.host.only({"cue", "ask"}),
            (V{"cue chyba.wav", "ask: Chcete uložit změny v současné křížovce? -> Cancel"}));
  EXPECT_EQ(rig.status(), "?");
  EXPECT_TRUE(rig.c().enabled(id::kDataLoad));
  EXPECT_FALSE(rig.c().visible(id::kChooserWindow));
  rig.a().click(id::kToolQuit);
  EXPECT_TRUE(rig.host.quitRequested());
}

TEST(EditorStatus, TypingWithNothingOpenOpensItSoThatItCanBeSaved) {
  EditorRig rig;
  rig.type(id::kAnswerArea, "p r v n i");
  EXPECT_EQ(rig.status(), "Neuložená");
  EXPECT_TRUE(rig.c().enabled(id::kDataSave));
  rig.saveAs("1", "4");
  EXPECT_EQ(rig.dir.read("tervano/r1/k4/k.vk"), (TextList{"p r v n i"}));
}

TEST(EditorStatus, TheLanguageMakesOnlyAnOpenCrosswordUnsaved) {
  EditorRig rig;
  rig.a().dispatch({app::Event::Kind::Select, id::kLanguageBox, "Němčina"});
  EXPECT_EQ(rig.dir.read("tervano/Tervano.ini").get(7), "Němčina");
  EXPECT_EQ(rig.text(id::kLanguage), "Němčina");
  EXPECT_EQ(rig.status(), "?");
  // Nothing unsaved: "Načíst" asks nothing and cannot save empty areas over a crossword.
  const auto before = rig.snapshot();
  rig.host.ok();
  rig.a().click(id::kDataLoad);
  EXPECT_TRUE(rig.host.only({"ask"}).empty());
  EXPECT_EQ(rig.text(id::kChooserTitle), "Načíst křížovku");
  rig.a().click(id::kChooserBack);
  rig.a().dispatch({app::Event::Kind::CloseRequest});
  EXPECT_TRUE(rig.host.quitRequested());
  EXPECT_EQ(rig.snapshot().at("tervano/r1/k1/k.vk"), before.at("tervano/r1/k1/k.vk"));

  EditorRig open;
  open.load("1", "1");
  open.a().dispatch({app::Event::Kind::Select, id::kLanguageBox, "Angličtina"});
  EXPECT_EQ(open.status(), "Neuložená");
}

TEST(EditorTotals, ValuesThatAreNotNumbersShowNoTotalAndRaiseNoError) {
  EditorRig rig;
  rig.dir.addCrossword(1, 1, {"a b", "c d"}, {"pět", "99999999999", "20", "2147483647", "N", "2"});
  rig.load("1", "1");
  for (int i = 0; i < 5; ++i)
    rig.a().hover(id::kBackground);
  rig.type(id::kAnswerArea, "a b\nc d\ne f");
  EXPECT_TRUE(rig.host.only({"error"}).empty());
  EXPECT_EQ(rig.text(id::kScoreGood), "pět");
  EXPECT_EQ(rig.text(id::kCanGain), "");
  EXPECT_EQ(rig.text(id::kCanLose), "");
  // Once the spin boxes have given numbers, the totals are back (and 32-bit overflow is none).
  rig.spin(id::kScoreSpinGood, 4);
  EXPECT_EQ(rig.text(id::kCanGain), "32");
  rig.spin(id::kScoreSpinBad, 1);
  EXPECT_EQ(rig.text(id::kCanLose), "");
  rig.spin(id::kScoreSpinBadTajenka, 6);
  EXPECT_EQ(rig.text(id::kCanLose), "9");
}

TEST(EditorScreen, SetEditorHidesThePlayDisplaysAndShowsTheEditingInputs) {
  EditorRig rig;
  for (auto hidden : {id::kPoints, id::kGrade, id::kCrossword, id::kGood, id::kBad,
                      id::kGradeCaption, id::kKontrola})
    EXPECT_FALSE(rig.c().visible(hidden)) << hidden;
  for (auto shown : {id::kSavePoint, id::kLanguageCaption, id::kLanguage, id::kProgressGroup})
    EXPECT_TRUE(rig.c().visible(shown)) << shown;
  EXPECT_EQ(rig.text(id::kProgressGroup), " Pozice v hledání: ");
  EXPECT_EQ(rig.text(id::kTitle), "Editor křížovek 3.00");
  EXPECT_EQ(rig.c().get(id::kScoreBadCaption).cursor, ui::Cursor::Hand);
  EXPECT_EQ(rig.c().get(id::kLanguageCaption).cursor, ui::Cursor::Hand);
  EXPECT_EQ(rig.c().get(id::kScoreSpinGood).maximum, 500);
  // The data panel starts with "Nová ..." and "Načíst".
  const std::pair<const char*, bool> buttons[] = {
      {id::kDataNew, true},     {id::kDataLoad, true},   {id::kDataSave, false},
      {id::kDataReturn, false}, {id::kDataClose, false}, {id::kDataFromWords, true}};
  for (auto [button, enabled] : buttons)
    EXPECT_EQ(rig.c().enabled(button), enabled) << button;
  EXPECT_EQ(rig.text(id::kDataNew), "Nová ...");
}

TEST(EditorScreen, AScoringCaptionOpensOnlyItsOwnSpinBox) {
  EditorRig rig;
  const std::pair<const char*, const char*> rows[] = {
      {id::kScoreGoodCaption, id::kScoreSpinGood},
      {id::kScoreBadCaption, id::kScoreSpinBad},
      {id::kScoreGoodTajenkaCaption, id::kScoreSpinGoodTajenka},
      {id::kScoreBadTajenkaCaption, id::kScoreSpinBadTajenka}};
  for (auto [caption, own] : rows) {
    rig.a().hover(caption);
    for (const auto& row : rows)
      EXPECT_EQ(rig.c().visible(row.second), row.second == own) << caption << " " << row.second;
  }
  // A spin box hides the other three; the group hides all four.
  rig.a().hover(id::kScoreGoodCaption);
  rig.a().hover(id::kScoreBadCaption);
  rig.a().hover(id::kScoreSpinBad);
  EXPECT_TRUE(rig.c().visible(id::kScoreSpinBad));
  rig.a().hover(id::kScoringGroup);
  for (const auto& row : rows)
    EXPECT_FALSE(rig.c().visible(row.second)) << row.second;
  // A changed value goes to its label and makes the data unsaved.
  rig.a().click(id::kDataNew);
  rig.spin(id::kScoreSpinGoodTajenka, 250);
  EXPECT_EQ(rig.text(id::kScoreGoodTajenka), "250");
  EXPECT_EQ(rig.status(), "Neuložená");
}

TEST(EditorScreen, InTheGameTheScoringCaptionsOpenNothing) {
  testing::Rig rig;
  rig.dir.makeSet({1, 1, 1, 1});
  rig.host.pick(rig.dir.makeSave("hra", testing::record()));
  rig.start("");
  rig.app->hover(id::kScoreGoodCaption);
  EXPECT_FALSE(rig.c().has(id::kScoreSpinGood));
  EXPECT_EQ(rig.text(id::kScoreBadTajenkaCaption), "Body za špatně zodpovězenou tajenku:");
}

}  // namespace
}  // namespace tervano
