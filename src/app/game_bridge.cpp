#include "app/game_bridge.h"

#include "app/about_window.h"
#include "app/application.h"
#include "app/chooser.h"
#include "app/credits.h"
#include "app/help_window.h"
#include "audio/sound.h"
#include "autosave/autosave.h"
#include "data/records.h"
#include "game/game.h"
#include "script/hooks.h"
#include "ui/ids/menu.h"
#include "ui/ids/play.h"

namespace tervano::app {

void GameBridge::eventScript(const std::string& relativePath, bool fireAuto2) {
  // Event scripts belong to the main game: no tool runs them.
  if (!app_.modeRow() || !app_.modeRow()->runsScripts) return;
  if (script::runScriptFile(app_.folder(), app_.session(), app_.interpreter(), relativePath) &&
      fireAuto2)
    app_.autosaveLog().trigger(AutosaveTrigger::Script);
}

void GameBridge::autosaveTrigger(AutosaveTrigger trigger) {
  app_.autosaveLog().trigger(trigger);
}

void GameBridge::openChooser() {
  app_.chooser().open(kChooserTitleGame);
}

void GameBridge::restartInAutosaveManager() {
  app_.host().requestQuit();
  app_.host().startInstance(std::string(kAutosaveManagerSwitch),
                            app_.folder().resolve(paths::kHelpFolder).string());
}

void GameBridge::closeMainWindow() {
  app_.closeMainWindow();
}

bool GameBridge::gameInProgress() {
  return app_.game().gameRunning();
}
void GameBridge::newGame() {
  app_.game().newGame();
}
void GameBridge::newGameWithSettings() {
  app_.game().newGameWithSettings();
}
void GameBridge::loadGame() {
  app_.game().loadGameCommand();
}
void GameBridge::saveGame() {
  app_.game().save();
}
void GameBridge::endGame() {
  app_.game().endGame();
}
void GameBridge::endGameAsCompleted() {
  app_.game().endAsCompleted();
}
void GameBridge::showMenu() {
  app_.game().showMenu();
}
void GameBridge::returnToGame() {
  app_.game().returnToGame();
}
void GameBridge::help() {
  app_.helpWindow().open();
}
void GameBridge::about() {
  app_.aboutWindow().open();
}
void GameBridge::credits() {
  app_.credits().start();
}
void GameBridge::keyList() {
  app_.helpWindow().keyList();
}
void GameBridge::quit() {
  // "Konec" of the main menu, whatever its state.
  app_.route({Event::Kind::Click, id::kQuit});
}
void GameBridge::kontrola() {
  app_.game().kontrola();
}
void GameBridge::retryCrossword() {
  app_.game().prvkr();
}
void GameBridge::setSound(bool on) {
  if (on)
    app_.sound().soundOnAction();
  else
    app_.sound().soundOffAction();
}
void GameBridge::setMusic(bool on) {
  if (on)
    app_.sound().musicOnAction();
  else
    app_.sound().musicOffAction();
}
void GameBridge::setErrorPerLine(bool ticked) {
  app_.game().setErrorPerLine(ticked);
}
void GameBridge::tickErrorPerLine(std::string_view answers) {
  app_.game().scriptTicksErrorPerLine(answers);
}
void GameBridge::setAskOverwrite(bool ticked) {
  app_.controls().setChecked(id::kAskOverwrite, ticked);
}
std::string GameBridge::counter(std::string_view counterId) {
  return app_.controls().text(counterId);
}
void GameBridge::setCounter(std::string_view counterId, std::string text) {
  app_.controls().setText(counterId, std::move(text));
}
std::string GameBridge::points() {
  return app_.controls().text(id::kPoints);
}

std::string GameBridge::unsupportedSwitchText() {
  return app_.modes().unsupportedSwitchText();
}

}  // namespace tervano::app
