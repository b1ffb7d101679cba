#include "app/modes/set_selection_mode.h"

#include "app/application.h"
#include "app/chooser.h"
#include "audio/sound.h"
#include "data/records.h"
#include "ui/ids.h"

namespace tervano::app {

using Kind = Event::Kind;

SetSelectionMode::SetSelectionMode(Application& app)
    : Mode(app),
      sets_(std::make_unique<sets::SetManager>(app.controls(), app.host(), app.folder(),
                                               app.sound())) {
  routes_.on(Kind::Select, id::kSetBox, &SetSelectionMode::choose)
      .on(Kind::Edit, id::kSetBox, &SetSelectionMode::editBox)
      .on(Kind::Edit, id::kNewNumber, &SetSelectionMode::editNumber)
      .on(Kind::Focus, id::kNewNumber, &SetSelectionMode::focusNumber)
      .click(id::kSetConfirm, &SetSelectionMode::confirm);
  using S = sets::SetManager;
  setRoutes_.click(id::kSetInstall, &S::install)
      .click(id::kSetCreate, &S::openCreate)
      .click(id::kSetRename, &S::openRename)
      .click(id::kSetDelete, &S::remove)
      .click(id::kNameConfirm, &S::confirmName)
      .click(id::kNamePanelClose, &S::closeNamePanel)
      .tick(id::kTimerScriptRun, &S::scriptTick)
      .tick(id::kTimerCompletion, &S::completionTick);
}

SetSelectionMode::~SetSelectionMode() = default;

void SetSelectionMode::declare(ui::Controls& c) {
  sets::SetManager::declare(c);
}

bool SetSelectionMode::handle(const Event& e) {
  return routes_.run(*this, e) || setRoutes_.run(*sets_, e);
}

void SetSelectionMode::start() {
  ui::Controls& c = app_.controls();
  c.setEnabled(id::kToolSets, false);
  app_.stopAllTimersButCompletion();
  c.setVisible(id::kMenuScreen, false);
  c.setVisible(id::kSetPanel, true);
  app_.setModeLook("Výběr křížovkové sady", "ikony\\sady.ico");
  app_.disableAllShortcuts();
  sets_->open();
}

void SetSelectionMode::choose(const Event& e) {
  sets_->choose(e.text);
}

void SetSelectionMode::editBox(const Event& e) {
  sets_->editBox(e.text);
}

void SetSelectionMode::editNumber(const Event& e) {
  sets_->editNumber(e.text, e.value);
}

void SetSelectionMode::focusNumber(const Event& e) {
  if (e.value == 0) sets_->leaveNumber(e.text);
}

void SetSelectionMode::confirm() {
  sets_->confirm();
}

bool SetSelectionMode::closeQuery() {
  return sets_->closeQuery();
}

void SetSelectionMode::chooserCreated() {
  // The chooser is not used here; without an active set (after a deletion, or a switch cut short
  // in an older version) the panel's own line says so, and no file error is due.
  if (app_.folder().isFile(paths::kGradeList)) app_.chooser().fillGrades();
}

bool SetSelectionMode::beforeReturnToMain() {
  // "Potvrdit" first: a refused one ("Musíte zadat sadu.") keeps the panel and this program.
  return sets_->confirm();
}

}  // namespace tervano::app
