#include "app/application.h"
#include "app/chooser.h"
#include "app/modes/autosave_manager_mode.h"
#include "app/modes/bad_switch_mode.h"
#include "app/modes/editor_mode.h"
#include "app/modes/main_game.h"
#include "app/modes/script_editor_mode.h"
#include "app/modes/set_selection_mode.h"

namespace tervano::app {

std::unique_ptr<Mode> makeMode(std::string_view first, Application& app) {
  if (first == "-EDITOR") return std::make_unique<EditorMode>(app);
  if (first == "-SADA") return std::make_unique<SetSelectionMode>(app);
  if (first.empty()) return std::make_unique<MainGame>(app);
  if (first == "-SCRIPTEDITOR") return std::make_unique<ScriptEditorMode>(app);
  if (first == "-SPAUTOSAVE") return std::make_unique<AutosaveManagerMode>(app, false);
  if (first == "-LOADAUTOSAVE") return std::make_unique<AutosaveManagerMode>(app, true);
  return std::make_unique<BadSwitchMode>(app);
}

void Mode::chooserCreated() {
  app_.chooser().fillGrades();
}

void Mode::startFailed(const UserError& error) {
  ui::showError(app_.host(), error.what());
}

}  // namespace tervano::app
