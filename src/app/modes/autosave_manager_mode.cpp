#include "app/modes/autosave_manager_mode.h"

#include "app/application.h"
#include "app/chooser.h"
#include "app/screens.h"
#include "audio/sound.h"
#include "data/records.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace tervano::app {

void AutosaveManagerMode::declare(ui::Controls& c) {
  c.declare(id::kAutosaveScreen, hidden());
  c.declare(id::kAutosavePanelMainApp, caption("Hlavní aplikace"));
}

void AutosaveManagerMode::start() {
  app_.stopAllTimersButCompletion();
  app_.setModeLook(loadOnly_ ? "Načtení automatického uložení" : "Správce automatického uložení",
                   "ikony\\havarie.ico");
  // SETSPAUTOSAVE (and SETLOADAUTOSAVE): the manager's work comes with its own screen.
  app_.disableShortcutsBut(true);
  app_.controls().setVisible(id::kAutosaveScreen, true);
}

}  // namespace tervano::app
