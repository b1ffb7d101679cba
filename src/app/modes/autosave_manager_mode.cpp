#include "app/modes/autosave_manager_mode.h"

#include "app/application.h"
#include "app/screens.h"
#include "ui/ids.h"

namespace tervano::app {

using Kind = Event::Kind;
using autosave::ListStyle;
using autosave::Manager;

AutosaveManagerMode::AutosaveManagerMode(Application& app, bool loadOnly)
    : Mode(app),
      loadOnly_(loadOnly),
      manager_(app.controls(), app.host(), app.folder(), app.session(), app.sound(),
               [&app] { app.switchMode("", true); }) {
  routes_.on(Kind::Select, id::kManagerList, &AutosaveManagerMode::select)
      .click(id::kManagerStyleIcons, &AutosaveManagerMode::styleIcons)
      .click(id::kManagerStyleList, &AutosaveManagerMode::styleList)
      .click(id::kManagerStyleDetails, &AutosaveManagerMode::styleDetails);
  managerRoutes_.click(id::kManagerLoad, &Manager::loadRecord)
      .on(Kind::DoubleClick, id::kManagerList, &Manager::loadRecord)
      .click(id::kManagerView, &Manager::viewRecord)
      .click(id::kManagerDelete, &Manager::deleteRecord)
      .click(id::kManagerDeleteAll, &Manager::deleteAllRecords)
      .click(id::kManagerQuit, &Manager::closeManager);
}

void AutosaveManagerMode::declare(ui::Controls& c) {
  c.declare(id::kAutosaveScreen, hidden());
  c.declare(id::kAutosavePanelMainApp, caption("Hlavní aplikace"));
  Manager::declare(c);
}

bool AutosaveManagerMode::handle(const Event& e) {
  return routes_.run(*this, e) || managerRoutes_.run(manager_, e);
}

void AutosaveManagerMode::start() {
  app_.stopAllTimersButCompletion();
  app_.setModeLook(loadOnly_ ? "Načtení automatického uložení" : "Správce automatického uložení",
                   "ikony\\havarie.ico");
  // SETSPAUTOSAVE: F7 and F12 keep working, the game's shortcuts do not.
  app_.keepOnlyMenuAndQuitShortcuts();
  app_.controls().setVisible(id::kAutosaveScreen, true);
  // The full manager lists the log here; the load-only one lists it in SETLOADAUTOSAVE.
  if (!loadOnly_) manager_.search();
  // SETLOADAUTOSAVE
  if (loadOnly_) manager_.loadOnly();
}

void AutosaveManagerMode::select(const Event& e) {
  manager_.select(e.value);
}

void AutosaveManagerMode::styleIcons() {
  manager_.setStyle(ListStyle::Icons);
}
void AutosaveManagerMode::styleList() {
  manager_.setStyle(ListStyle::List);
}
void AutosaveManagerMode::styleDetails() {
  manager_.setStyle(ListStyle::Details);
}

}  // namespace tervano::app
