#pragma once

#include <string>

#include "data/events.h"

namespace tervano::game {

// What the game asks of the layers above it. The application implements it: event scripts,
// autosave triggers, the chooser window and the end of the program live there.
class GameHooks {
 public:
  virtual ~GameHooks() = default;
  // Runs an event script when its file exists (main application only); with fireAuto2 the
  // autosave trigger AUTO2 follows a script that existed.
  virtual void eventScript(const std::string& relativePath, bool fireAuto2) = 0;
  virtual void autosaveTrigger(AutosaveTrigger trigger) = 0;
  // "Nastavení+Nová hra" after the access code: the game-settings window.
  virtual void openChooser() = 0;
  // The autosave log was chosen in the load dialog: restart in the autosave manager.
  virtual void restartInAutosaveManager() = 0;
  // A repaired save ends the program through the main window's close.
  virtual void closeMainWindow() = 0;
};

}  // namespace tervano::game
