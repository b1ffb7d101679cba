#include "app/application.h"
#include "app/chooser.h"
#include "app/modes/autosave_manager_mode.h"
#include "app/modes/bad_switch_mode.h"
#include "app/modes/editor_mode.h"
#include "app/modes/main_game.h"
#include "app/modes/script_editor_mode.h"
#include "app/modes/set_selection_mode.h"

namespace tervano::app {

void Mode::chooserCreated() {
  app_.chooser().fillGrades();
}

void Mode::startFailed(const UserError& error) {
  ui::showError(app_.host(), error.what());
}

}  // namespace tervano::app
