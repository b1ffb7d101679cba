// Saved games: the record and answer-area pair, the dialogs, the version check and the repair.
#include <gtest/gtest.h>

#include "game_rig.h"

namespace tervano {
namespace {

using testing::GameRig;
using V = std::vector<std::string>;

TEST(SavedGames, ARoundTripRestoresTheWholeGame) {
  std::string saved;
  {
    GameRig rig;
    rig.play(testing::record("1", "2"));
    rig.app->game().setCounter(id::kPoints, "-35");
    rig.app->game().setCounter(id::kGood, "7");
    rig.app->game().setCounter(id::kBad, "4");
    rig.host.ok();  // show the answers in error boxes
    rig.app->dispatch({app::Event::Kind::Toggle, id::kErrorPerLine, "", 1});
    rig.app->dispatch({app::Event::Kind::Toggle, id::kNoScripts, "", 1});
    rig.app->key("Shift+F1");  // sound off
    rig.answer("c a x\r\nx x x");
    saved = rig.dir.path("Data/kriz/moje");  // typed without an extension
    rig.host.pick(saved);
    ASSERT_TRUE(rig.app->click(id::kSaveGame));
    EXPECT_EQ(rig.dir.read("Data/kriz/moje.kr1"),
              (TextList{"N", "-35", "1", "2", "7", "4", "N", "S", "4", "A", "A", "A"}));
    EXPECT_EQ(rig.dir.read("Data/kriz/moje.kn1"), (TextList{"c a x", "x x x"}));
    EXPECT_EQ(rig.host.dialogs().back().title, "Ulož hru hry křížovky");
    EXPECT_TRUE(rig.host.dialogs().back().overwritePrompt);

    // A later run of the program.
    GameRig next;
    std::filesystem::copy(rig.dir.root() / "Data/kriz", next.dir.root() / "Data/kriz",
                          std::filesystem::copy_options::overwrite_existing |
                              std::filesystem::copy_options::recursive);
    next.host.pick(next.dir.path("Data/kriz/moje.kr1"));
    next.start("");
    const auto& c = next.c();
    EXPECT_EQ(next.text(id::kPoints), "-35");
    EXPECT_EQ(next.text(id::kGrade), "1");
    EXPECT_EQ(next.text(id::kCrossword), "2");
    EXPECT_EQ(next.text(id::kGood), "7");
    EXPECT_EQ(next.text(id::kBad), "4");
    EXPECT_TRUE(c.checked(id::kErrorPerLine));
    EXPECT_TRUE(next.app->session().showAnswersInErrors);
    EXPECT_TRUE(c.checked(id::kNoScripts));
    EXPECT_TRUE(next.app->session().scriptsDisabled);
    EXPECT_FALSE(next.app->sound().soundOn());
    EXPECT_FALSE(next.app->sound().musicOn());
    EXPECT_EQ(c.lines(id::kAnswerArea), (TextList{"c a x", "x x x"}));
    EXPECT_TRUE(next.host.only({"ask"}).empty());  // the ticked box asked nothing
    EXPECT_TRUE(c.enabled(id::kSaveGame));
    EXPECT_FALSE(c.visible(id::kMenuScreen));
  }
}

TEST(SavedGames, ARecordWithoutAnswersStartsFromTheMap) {
  GameRig rig;
  rig.play();
  EXPECT_EQ(rig.c().lines(id::kAnswerArea), (TextList{"x x x", "x x x"}));
}

TEST(SavedGames, LoadingThroughTheMenuBringsTheGameIntoPlay) {
  GameRig rig;
  rig.play();
  rig.host.ok();
  rig.app->click(id::kEndGame);  // end game: confirm, then decline saving
  rig.host.clear();
  std::vector<std::string> rec = testing::record("2", "2");
  rec[7] = "S";  // the answer area is in the ".kn1"
  rig.dir.makeSave("druha", rec, {"c a t", "x"});
  rig.host.pick(rig.dir.path("Data/kriz/druha.kr1"));
  ASSERT_TRUE(rig.app->key("Ctrl+F3"));
  const auto& c = rig.c();
  EXPECT_EQ(rig.text(id::kGrade), "2");
  EXPECT_EQ(c.lines(id::kAnswerArea), (TextList{"c a t", "x"}));
  EXPECT_FALSE(c.enabled(id::kLoadGame));
  EXPECT_TRUE(c.enabled(id::kEndGame));
  const auto& dialog = rig.host.dialogs().back();
  EXPECT_EQ(dialog.title, "Načti hru hry křížovky");
  ASSERT_EQ(dialog.filters.size(), 2u);
  EXPECT_EQ(dialog.filters[1].patterns, (V{"automatické uložení.kra"}));
  EXPECT_EQ(dialog.initialFolder, rig.dir.path("Data/kriz"));
  EXPECT_TRUE(dialog.mustExist);
}

TEST(SavedGames, ChoosingTheAutosaveLogRestartsInTheAutosaveManager) {
  GameRig rig;
  rig.play();
  rig.app->click(id::kEndGame);
  rig.host.clear();
  rig.host.pick(rig.dir.path("Data/kriz/automatické uložení.kra"));
  EXPECT_TRUE(rig.app->click(id::kLoadGame));
  EXPECT_TRUE(rig.host.only({"error"}).empty());
  EXPECT_EQ(rig.host.only({"quit", "start"}), (V{"quit", "start instance '-SPAUTOSAVE' in help"}));
}

TEST(SavedGames, AnOlderVersionIsRepairedWithConsentAndTheProgramEnds) {
  GameRig rig;
  std::vector<std::string> rec = testing::record("2", "1", "3");
  rec[1] = "120";
  const std::string save = rig.dir.makeSave("stara", rec, {"c a t", "d"});
  rig.dir.write("Data/kriz/stara.kr1",
                {"N", "120", "2", "1", "0", "0", "A", "S", "3", "N", "N", "N"});
  rig.host.pick(save).ok();
  rig.start("");
  EXPECT_EQ(
      rig.host.only({"cue", "error", "ask", "info"}),
      (V{"cue hlasen.wav", "error: Váš save není plně kompatibilní se současnou verzí.",
         "cue hlasen.wav",
         "ask: Má se váš save opravit na současnou verzi? Varování!!!: Dojde k přepsání "
         "souboru s poslední nedoluštěnou křížovkou(soubor s příponou kn1). -> OK",
         "cue hlasen.wav",
         "info: Váš save byl opraven, ale to vyžaduje opětovné spuštění\raplikace, proto bude "
         "nyní ukončena. Aplikaci spusťte znovu.",
         "cue hlasen.wav"}));
  EXPECT_TRUE(rig.host.quitRequested());
  EXPECT_EQ(rig.dir.read("Data/kriz/stara.kr1"),
            (TextList{"N", "120", "1", "1", "0", "0", "A", "N", "4", "N", "N", "N"}));
  EXPECT_TRUE(rig.dir.read("Data/kriz/stara.kn1").empty());

  GameRig next;
  std::filesystem::copy(
      rig.dir.root() / "Data/kriz", next.dir.root() / "Data/kriz",
      std::filesystem::copy_options::overwrite_existing | std::filesystem::copy_options::recursive);
  next.host.pick(next.dir.path("Data/kriz/stara.kr1"));
  next.start("");
  EXPECT_FALSE(next.host.quitRequested());
  EXPECT_TRUE(next.host.only({"error", "ask"}).empty());
  EXPECT_EQ(next.text(id::kPoints), "120");
  EXPECT_EQ(next.text(id::kGrade), "1");
}

TEST(SavedGames, DecliningTheRepairEndsTheProgramWithoutWriting) {
  GameRig rig;
  const std::string save = rig.dir.makeSave("stara", testing::record("1", "1", "3"));
  rig.host.pick(save).cancel();
  rig.start("");
  EXPECT_TRUE(rig.host.quitRequested());
  EXPECT_EQ(rig.dir.read("Data/kriz/stara.kr1").get(8), "3");
}

TEST(SavedGames, ARecordWithoutVersionOffersARepair) {
  GameRig rig;
  const std::string save = rig.dir.makeSave("bez", testing::record("1", "1", ""));
  rig.host.pick(save).cancel();
  rig.start("");
  EXPECT_EQ(rig.host.only({"error", "ask"}),
            (V{"error: Váš save neobsahuje informaci o verzi ze které pochází.",
               "ask: Má se váš save opravit? Varování!!!: Dojde k přepsání souboru s poslední "
               "nedoluštěnou křížovkou(soubor s příponou kn1). -> Cancel"}));
  EXPECT_TRUE(rig.host.quitRequested());
}

TEST(SavedGames, AShortRecordIsRepairedOnceAndThenLoadsWithoutQuestions) {
  // A record cut short before its version line: the repair must give it the version, or the
  // check would find it missing again and offer the same repair without end.
  GameRig rig;
  const std::string save = rig.dir.makeSave("kratka", {"N", "7", "1", "1"});
  rig.host.pick(save);  // every question is answered OK
  rig.start("");
  EXPECT_EQ(rig.host.only({"error", "ask", "info"}).size(), 3u);
  EXPECT_EQ(rig.host.only({"ask"}).size(), 1u);
  EXPECT_TRUE(rig.host.quitRequested());
  const TextList repaired = rig.dir.read("Data/kriz/kratka.kr1");
  EXPECT_EQ(repaired.count(), 12);
  EXPECT_EQ(repaired.get(1), "7");
  EXPECT_EQ(repaired.get(7), "N");
  EXPECT_EQ(repaired.get(8), "4");

  GameRig next;
  next.dir.write("Data/kriz/kratka.kr1", repaired.lines());
  next.host.pick(next.dir.path("Data/kriz/kratka.kr1"));
  next.start("");
  EXPECT_FALSE(next.host.quitRequested());
  EXPECT_TRUE(next.host.only({"error", "ask"}).empty());
  EXPECT_EQ(next.text(id::kPoints), "7");
}

TEST(SavedGames, SavingAtTheCloseAfterARepairAsksOnceAndRepairsTheLoadedSave) {
  // A script loads an old save while a game runs; the repair closes the window, and the close
  // offers to save the game. Saving must not announce the repair and close the window again
  // (that asked the same question again and again), and the repaired record still belongs to
  // the save that was loaded.
  GameRig rig;
  rig.play();
  const std::string old = rig.dir.makeSave("stara", testing::record("1", "1", "3"));
  rig.host.pick(old).ok().ok().pick(rig.dir.path("Data/kriz/jina.kr1"));
  rig.app->invoke([&] { rig.app->game().loadGameCommand(); });
  EXPECT_EQ(rig.host.only({"info"}).size(), 1u) << "the repair is announced once";
  EXPECT_EQ(rig.host.only({"ask"}).size(), 2u) << "the repair and the save at the close";
  EXPECT_EQ(rig.host.only({"save"}).size(), 1u);
  EXPECT_TRUE(rig.host.quitRequested());
  EXPECT_EQ(rig.dir.read("Data/kriz/stara.kr1").get(8), "4");
  EXPECT_EQ(rig.dir.read("Data/kriz/jina.kr1").get(8), "4");
}

TEST(SavedGames, ASaveNamedOtherwiseIsRepairedIntoItsKr1AndThatIsLoaded) {
  // The dialog takes a typed name the filter does not show. The repair writes the ".kr1" of
  // that name; loading the old file again would find it old again and ask without end.
  GameRig rig;
  rig.dir.write("Data/kriz/stara.sav", testing::record("1", "1", "3"));
  rig.host.pick(rig.dir.path("Data/kriz/stara.sav"));  // every question is answered OK
  rig.start("");
  EXPECT_EQ(rig.host.only({"ask"}).size(), 1u);
  EXPECT_EQ(rig.host.only({"info"}).size(), 1u);
  EXPECT_TRUE(rig.host.quitRequested());
  EXPECT_EQ(rig.dir.read("Data/kriz/stara.kr1").get(8), "4");
  EXPECT_EQ(rig.dir.read("Data/kriz/stara.sav").get(8), "3") << "the chosen file is not touched";
}

TEST(SavedGames, ANewerVersionIsRefused) {
  GameRig rig;
  const std::string save = rig.dir.makeSave("nova", testing::record("1", "1", "5"));
  rig.host.pick(save);
  rig.start("");
  EXPECT_EQ(rig.host.only({"error"}),
            (V{"error: Váš save není možné pod touto verzí spustit.Důvod: Je z vyšší verze než je "
               "současná."}));
  EXPECT_TRUE(rig.host.quitRequested());
}

TEST(SavedGames, SetNumbersCompareAsNumbers) {
  GameRig rig;
  rig.dir.makeSet({1, 1, 1, 1}, "45");
  const std::string save = rig.dir.makeSave("s31", testing::record("1", "1", "31"));
  rig.host.pick(save).cancel();
  rig.start("");
  EXPECT_EQ(rig.host.only({"error"}),
            (V{"error: Váš save není plně kompatibilní se současnou verzí."}));
}

TEST(SavedGames, AnEmptySetVersionEndsTheProgram) {
  GameRig rig;
  rig.dir.makeSet({1, 1, 1, 1}, "");
  rig.host.pick(rig.dir.makeSave("hra", testing::record()));
  rig.start("");
  EXPECT_EQ(rig.host.only({"error"}),
            (V{"error: Konfigurační soubor neobsahuje informaci o verzi vašich křížovek, spusťte "
               "prosím instalátor tohoto produktu."}));
  EXPECT_TRUE(rig.host.quitRequested());
  EXPECT_FALSE(rig.c().timerRunning(id::kTimerGauge));
}

TEST(SavedGames, WithoutASetVersionThereIsNothingToRepairTo) {
  // The repair writes the set's version into the record; with none, it would overwrite the
  // answers, find the version missing again and offer the same repair without end.
  GameRig rig;
  rig.dir.makeSet({1, 1, 1, 1}, "");
  const std::string save = rig.dir.makeSave("bez", testing::record("1", "1", ""), {"c a t"});
  rig.host.pick(save);  // every question is answered OK
  rig.start("");
  EXPECT_EQ(rig.host.only({"error", "ask", "info"}),
            (V{"error: Konfigurační soubor neobsahuje informaci o verzi vašich křížovek, spusťte "
               "prosím instalátor tohoto produktu."}));
  EXPECT_TRUE(rig.host.quitRequested());
  EXPECT_EQ(rig.dir.read("Data/kriz/bez.kn1"), (TextList{"c a t"}));
}

TEST(SavedGames, AnExportedAutosaveRecordIsUsedOnce) {
  GameRig rig;
  rig.dir.write("Data/kriz/~automatické uložení.kr1",
                {"N", "77", "2", "1", "3", "1", "A", "N", "4", "N", "N", "N"});
  rig.host.ok();  // load the exported record
  rig.start("");
  EXPECT_EQ(rig.host.only({"cue", "ask"}),
            (V{"cue hlasen.wav",
               "ask: Má se načíst exportovaný záznam automatického uložení s názvem: "
               "\r~automatické uložení.kr1 ? -> OK"}));
  EXPECT_EQ(rig.text(id::kPoints), "77");
  EXPECT_FALSE(rig.dir.exists("Data/kriz/~automatické uložení.kr1"));
}

TEST(SavedGames, AnyLoadDeletesAnExportedRecord) {
  GameRig rig;
  rig.play();
  rig.app->click(id::kEndGame);
  rig.dir.write("Data/kriz/~automatické uložení.kr1", testing::record());
  rig.host.pick(rig.dir.makeSave("jina", testing::record()));
  rig.app->click(id::kLoadGame);
  EXPECT_FALSE(rig.dir.exists("Data/kriz/~automatické uložení.kr1"));
}

TEST(SavedGames, AnUnreadableSaveFailsWithAFileError) {
  GameRig rig;
  rig.play();
  rig.app->click(id::kEndGame);
  rig.host.clear();
  rig.dir.write("Data/kriz/bez_kn1.kr1",
                {"N", "0", "1", "1", "0", "0", "A", "S", "4", "N", "N", "N"});
  rig.host.pick(rig.dir.path("Data/kriz/bez_kn1.kr1"));
  EXPECT_FALSE(rig.app->click(id::kLoadGame));
  ASSERT_EQ(rig.host.only({"error"}).size(), 1u);
  EXPECT_NE(rig.host.only({"error"})[0].find("bez_kn1.kn1"), std::string::npos);
}

}  // namespace
}  // namespace tervano
