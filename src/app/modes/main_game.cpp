#include "app/modes/main_game.h"

#include <filesystem>

#include "app/application.h"
#include "audio/sound.h"
#include "autosave/autosave.h"
#include "data/events.h"
#include "data/numbers.h"
#include "data/records.h"
#include "data/textfile.h"
#include "data/texts.h"
#include "script/hooks.h"
#include "ui/ids.h"

namespace tervano::app {

namespace {

using Kind = Event::Kind;

constexpr const char* kStartUpFailed = "Předpokládaná umístění neexistují!!!";
constexpr const char* kExportedQuestion =
    "Má se načíst exportovaný záznam automatického uložení s názvem: \r~automatické uložení.kr1 ?";

// On a first start the saved games are only the delivered new game: the load dialog opens with
// it chosen, so that Enter starts a game. With a saved game of the player's own, nothing is
// chosen for them. The autosave log and an exported record are no saved games of theirs.
std::string firstStartChoice(const ProgramFolder& folder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path newGame = folder.resolve(paths::kNewGameSave);
  if (!fs::is_regular_file(newGame, ec)) return {};
  const std::string_view exportedPath = paths::kExportedRecord;
  const std::string_view exported = exportedPath.substr(exportedPath.rfind('\\') + 1);
  for (fs::directory_iterator it(newGame.parent_path(), ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (it->path() == newGame || sameNameIgnoringCase(name, exported)) continue;
    if (name.size() > 4 && sameNameIgnoringCase(name.substr(name.size() - 4), ".kr1") &&
        it->is_regular_file(ec))
      return {};
  }
  return newGame.filename().string();
}

}  // namespace

MainGame::MainGame(Application& app) : Mode(app) {
  routes_.click(id::kQuit, &MainGame::quit)
      .on(Kind::Edit, id::kAccessCode, &MainGame::editAccessCode);
  using G = game::Game;
  gameRoutes_.click(id::kKontrola, &G::kontrola)
      .click(id::kNewGame, &G::newGame)
      .click(id::kNewGameSettings, &G::newGameWithSettings)
      .click(id::kLoadGame, &G::loadGameCommand)
      .click(id::kSaveGame, &G::save)
      .click(id::kReturnToGame, &G::returnToGame)
      .click(id::kEndGame, &G::endGame)
      .tick(id::kTimerAccessCode, &G::accessCodeTimerFired)
      .tick(id::kTimerKontrola, &G::kontrolaTimerTick)
      .tick(id::kTimerGauge, &G::gaugeTimerTick);
}

bool MainGame::handle(const Event& e) {
  return routes_.run(*this, e) || gameRoutes_.run(app_.game(), e);
}

void MainGame::start() {
  ui::Controls& c = app_.controls();
  Session& session = app_.session();
  const ProgramFolder& folder = app_.folder();
  game::Game& game = app_.game();

  app_.autosaveLog().autoszav();
  c.setEnabled(id::kToolMainApp, false);
  session.zaklnast = folder.load(paths::kDescriptor);
  c.setText(id::kLanguage, session.zaklnast.get(desc::kLanguage));

  if (folder.isFile(paths::kExportedRecord)) {
    app_.sound().beep();
    if (ui::confirm(app_.host(), kExportedQuestion))
      session.loadFileName = folder.resolve(paths::kExportedRecord).string();
  }
  // The game does not start without a saved game: the dialog comes back after every cancel.
  ui::FileDialogOptions loadDialog = game.loadDialogOptions();
  loadDialog.fileName = firstStartChoice(folder);
  while (session.loadFileName.empty()) {
    if (auto chosen = app_.host().openFile(loadDialog)) {
      session.loadFileName = *chosen;
      session.saveRecord = folder.load(*chosen, limits::kSavedGame);
    }
  }
  c.startTimer(id::kTimerAccessCode);
  // No crossword-level script runs here: the crossword's own start script runs inside prvkr
  // below, once the saved game has decided which crossword is in play.
  if (!session.musicFile.empty() && std::filesystem::exists(session.musicFile))
    c.startTimer(id::kTimerMusic);
  c.startTimer(id::kTimerFileName);
  c.startTimer(id::kTimerKontrola);
  c.startTimer(id::kTimerAbout);
  // The gauges start once the saved game passed its checks (Load starts them).
  game.load();
  game.setGameRunningColumn();
  game.prvkr();
  if (session.saveRecord.get(saverec::kAnswerMarker) == "S")
    c.setLines(
        id::kAnswerArea,
        folder.load(game::Game::changeExtension(session.loadFileName, ".kn1"), limits::kAnswers));
  c.setVisible(id::kMenuScreen, false);
  app_.setModeLook("Tervano", "");
  // Only now is the exported autosave record no longer needed: a start-up that failed keeps it
  // for the next try.
  game.discardExportedRecord();
}

void MainGame::startFailed(const UserError&) {
  app_.stopAllTimersButCompletion();
  app_.controls().stopTimer(id::kTimerCompletion);
  ui::showError(app_.host(), kStartUpFailed);
  app_.host().requestQuit();
}

void MainGame::chooserCreated() {
  app_.chooser().fillGrades();
  script::runScriptFile(app_.folder(), app_.session(), app_.interpreter(),
                        programScriptPath(event::kProgramStart));
}

void MainGame::confirm(ChooserPurpose purpose, const std::string& grade,
                       const std::string& crossword) {
  if (purpose != ChooserPurpose::StartGame) return;
  ui::Controls& c = app_.controls();
  game::Game& game = app_.game();
  game.start();
  c.setEnabled(id::kKontrola, true);
  c.setEnabled(id::kMainWindow, true);
  c.setEnabled(id::kReturnToGame, true);
  c.setVisible(id::kMenuScreen, false);
  c.setText(id::kGrade, grade);
  c.setText(id::kCrossword, crossword);
  c.setValue(id::kGaugeGrades, parseInt(grade));
  c.setValue(id::kGaugeCrosswords, parseInt(crossword));
  for (auto counter : {id::kPoints, id::kGood, id::kBad})
    c.setText(counter, "0");
  for (auto area : {id::kAnswerArea, id::kMapArea, id::kLegendArea})
    c.setLines(area, {});
  TextList& r = app_.session().saveRecord;
  r.set(saverec::kMusic, kYes);
  r.set(saverec::kPoints, "0");
  r.set(saverec::kGrade, grade);
  r.set(saverec::kCrossword, crossword);
  r.set(saverec::kGood, "0");
  r.set(saverec::kBad, "0");
  for (auto b : {id::kNewGame, id::kNewGameSettings, id::kLoadGame, id::kQuit})
    c.setEnabled(b, false);
  c.setEnabled(id::kEndGame, true);
  c.setEnabled(id::kSaveGame, true);
  c.setVisible(id::kChooserWindow, false);
  game.prvkr();
  c.startTimer(id::kTimerGauge);
  if (app_.sound().musicOn()) {
    app_.host().setCursor(ui::Cursor::Busy);
    app_.sound().medplay();
    app_.host().setCursor(ui::Cursor::Normal);
  }
}

void MainGame::editAccessCode(const Event& e) {
  app_.controls().setText(id::kAccessCode, e.text);
}

void MainGame::programEndScript() {
  script::runScriptFile(app_.folder(), app_.session(), app_.interpreter(),
                        programScriptPath(event::kProgramEnd));
}

void MainGame::quit() {
  programEndScript();
  app_.host().requestQuit();
}

bool MainGame::closeQuery() {
  if (app_.game().gameRunning()) app_.autosaveLog().writeClosingRecord();
  return true;
}

void MainGame::closing() {
  if (!app_.controls().enabled(id::kSaveGame)) return;
  if (ui::confirm(app_.host(), text::kSaveQuestion)) {
    app_.game().save();
    programEndScript();
    return;
  }
  programEndScript();
  saveDescriptor(app_.folder(), app_.session().zaklnast);
}

}  // namespace tervano::app
