#include "app/modes/set_selection_mode.h"

#include "app/application.h"
#include "app/chooser.h"
#include "app/screens.h"
#include "audio/sound.h"
#include "data/records.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace tervano::app {

void SetSelectionMode::declare(ui::Controls& c) {
  c.declare(id::kSetPanel, hidden());
  c.declare(id::kSetPanelMainApp, caption("Hlavní aplikace"));
}

void SetSelectionMode::start() {
  ui::Controls& c = app_.controls();
  c.setEnabled(id::kToolSets, false);
  app_.stopAllTimersButCompletion();
  c.setVisible(id::kMenuScreen, false);
  c.setVisible(id::kSetPanel, true);
  app_.setModeLook("Výběr křížovkové sady", "ikony\\sady.ico");
  // SETSADA: the set panel's work comes with the set manager.
  app_.disableShortcutsBut(false);
}

}  // namespace tervano::app
