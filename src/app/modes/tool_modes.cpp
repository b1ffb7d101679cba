#include "app/modes/tool_modes.h"

#include "app/application.h"
#include "app/chooser.h"
#include "app/modes/editor_mode.h"
#include "app/modes/main_game.h"
#include "app/screens.h"
#include "audio/sound.h"
#include "data/records.h"
#include "ui/ids.h"
#include "ui/texts.h"

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

// ---- Script editor ----

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

// ---- Set selection ----

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

// ---- Autosave manager ----

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

// ---- Unknown switch ----

void BadSwitchMode::start() {
  app_.stopFourTimers();
  app_.sound().playCue("hlasen.wav");
  app_.setModeLook("Chyba parametru", "ikony\\parametry2.ico");
  ui::showError(app_.host(), text::kUnsupportedSwitch);
  app_.host().requestQuit();
}

}  // namespace tervano::app
