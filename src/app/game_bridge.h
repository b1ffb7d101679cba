#pragma once

#include <string>
#include <string_view>

#include "game/hooks.h"
#include "script/interpreter.h"

namespace tervano::app {

class Application;

// What the game and the scripts ask of the rest of the program: event scripts and autosave
// triggers for the game, and for a script every button and switch it can press.
class GameBridge : public game::GameHooks, public script::ScriptCommands {
 public:
  explicit GameBridge(Application& app) : app_(app) {}

  // GameHooks.
  void eventScript(const std::string& relativePath, bool fireAuto2) override;
  void autosaveTrigger(AutosaveTrigger trigger) override;
  void openChooser() override;
  void restartInAutosaveManager() override;
  void closeMainWindow() override;

  // ScriptCommands.
  bool gameInProgress() override;
  void newGame() override;
  void newGameWithSettings() override;
  void loadGame() override;
  void saveGame() override;
  void endGame() override;
  void endGameAsCompleted() override;
  void showMenu() override;
  void returnToGame() override;
  void help() override;
  void about() override;
  void credits() override;
  void keyList() override;
  void quit() override;
  void kontrola() override;
  void retryCrossword() override;
  void setSound(bool on) override;
  void setMusic(bool on) override;
  void setErrorPerLine(bool ticked) override;
  void tickErrorPerLine(std::string_view answers) override;
  void setAskOverwrite(bool ticked) override;
  std::string counter(std::string_view counterId) override;
  void setCounter(std::string_view counterId, std::string text) override;
  std::string points() override;
  std::string unsupportedSwitchText() override;

 private:
  Application& app_;
};

}  // namespace tervano::app
