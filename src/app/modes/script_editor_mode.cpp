#include "app/modes/script_editor_mode.h"

#include "app/application.h"
#include "app/chooser.h"
#include "app/screens.h"
#include "audio/sound.h"
#include "data/records.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace tervano::app {

ScriptEditorMode::ScriptEditorMode(Application& app) : EditingMode(app) {
  routes_.click(id::kToolQuit, &ScriptEditorMode::toolQuit);
}

void ScriptEditorMode::declare(ui::Controls& c) {
  c.declare(id::kScriptPanel, hidden());
}

bool ScriptEditorMode::handle(const Event& e) {
  return routes_.run(*this, e);
}

void ScriptEditorMode::start() {
  ui::Controls& c = app_.controls();
  c.setEnabled(id::kToolScriptEditor, false);
  app_.disableShortcutsBut(true);
  editorLook("Editor skriptů 3.00", "Skript ...");
  app_.stopFourTimers();
  app_.session().zaklnast = app_.folder().load(paths::kDescriptor);
  app_.setModeLook("Editor skriptů ke křížovkám", "ikony\\parametry.ico");
}

void ScriptEditorMode::chooserCreated() {
  ui::showWarning(app_.host(),
                  "Při napsání špatného příkazu\rmůže dojít k chybám, které mohou\rpoškodit váš "
                  "program, či vaše křížovky.");
  app_.controls().setVisible(id::kChooserConfirm, true);
  app_.chooser().fillGrades();
}

}  // namespace tervano::app
