#include "app/modes/editing.h"

#include <exception>
#include <utility>

#include "app/application.h"
#include "app/screens.h"
#include "audio/sound.h"
#include "data/texts.h"
#include "ui/ids/chooser.h"
#include "ui/ids/editor.h"
#include "ui/ids/menu.h"
#include "ui/ids/window.h"

namespace tervano::app {

EditingMode::EditingMode(Application& app) : Mode(app), music_(app) {
  dataRoutes_.click(id::kDataNew, &EditingMode::newCommand)
      .click(id::kDataLoad, &EditingMode::loadCommand)
      .click(id::kDataSave, &EditingMode::saveCommand)
      .click(id::kDataClose, &EditingMode::closeCommand)
      .click(id::kDataReturn, &EditingMode::returnToEditing)
      .click(id::kToolQuit, &EditingMode::toolQuit);
}

void EditingMode::declareDataPanel(ui::Controls& c, std::string newCaption) {
  c.declare(id::kDataNew, caption(std::move(newCaption)));
  c.declare(id::kDataLoad, caption("Načíst"));
  c.declare(id::kDataSave, caption("Uložit", true, false));
  c.declare(id::kDataReturn, caption("Návrat k editaci", true, false));
  c.declare(id::kDataClose, caption("Ukončit režim editace", true, false));
  ui::Control status = caption(kStatusNone);
  status.color = "lime";
  c.declare(id::kDataStatus, status);
  SetMusicPanel::declare(c);
}

void EditingMode::editorLook(std::string_view heading, std::string_view dataCaption) {
  ui::Controls& c = app_.controls();
  c.setText(id::kTitle, std::string(heading));
  c.setText(id::kCatEditorData, std::string(dataCaption));
  c.setVisible(id::kEditorBar, true);
  // The only way to the set's music panel.
  c.setVisible(id::kCatSetMusic, true);
  for (auto cat : {id::kCatGame, id::kCatHelp, id::kCatApp, id::kCatSettings}) {
    c.setVisible(cat, false);
    c.setEnabled(cat, false);
  }
}

bool EditingMode::handleDataPanel(const Event& e) {
  return dataRoutes_.run(*this, e) || music_.handle(e);
}

const std::string& EditingMode::status() const {
  static const std::string none = kStatusNone;
  const ui::Controls& c = app_.controls();
  return c.has(id::kDataStatus) ? c.text(id::kDataStatus) : none;
}

void EditingMode::setStatus(const char* s) {
  app_.controls().setText(id::kDataStatus, s);
}

void EditingMode::markUnsaved() {
  if (status() == kStatusNone) showOpenColumn();
  setStatus(kStatusUnsaved);
}

void EditingMode::refresh() {
  if (!app_.controls().has(id::kDataStatus)) return;
  app_.controls().setColor(id::kDataStatus, status() == kStatusUnsaved ? "red" : "lime");
}

void EditingMode::showClosedColumn() {
  ui::Controls& c = app_.controls();
  c.setEnabled(id::kDataNew, true);
  c.setEnabled(id::kDataLoad, true);
  c.setEnabled(id::kDataClose, false);
  c.setEnabled(id::kDataReturn, false);
  c.setEnabled(id::kDataSave, false);
}

void EditingMode::showOpenColumn() {
  ui::Controls& c = app_.controls();
  c.setEnabled(id::kDataNew, false);
  c.setEnabled(id::kDataLoad, false);
  c.setEnabled(id::kDataClose, true);
  c.setEnabled(id::kDataReturn, true);
  c.setEnabled(id::kDataSave, true);
}

void EditingMode::newCommand() {
  app_.controls().setVisible(id::kMenuScreen, false);
  newData();
  showOpenColumn();
  setStatus(kStatusSaved);
  returnToEditing();
}

void EditingMode::loadCommand() {
  askToSaveThen([this] { app_.chooser().open(kChooserTitleLoad); });
}

void EditingMode::askToSaveThen(std::function<void()> next) {
  if (status() == kStatusUnsaved && ui::confirm(app_.host(), text::kSaveChangesQuestion)) {
    afterSave_ = next;
    // A save that fails ends the command, and nothing may follow a later save either.
    struct Forget {
      std::function<void()>& pending;
      int unwinding = std::uncaught_exceptions();
      ~Forget() {
        if (std::uncaught_exceptions() > unwinding) pending = nullptr;
      }
    } forget{afterSave_};
    saveCommand();
    // A save through the chooser completes with its "Potvrď"; what waits follows then.
    if (app_.controls().visible(id::kChooserWindow)) return;
    afterSave_ = nullptr;
  }
  next();
}

void EditingMode::saveCommand() {
  app_.chooser().open(kChooserTitleSave);
}

void EditingMode::closeCommand() {
  app_.sound().playCue("chyba.wav");
  if (status() == kStatusUnsaved && ui::confirm(app_.host(), text::kSaveChangesQuestion))
    saveCommand();
  showClosedColumn();
  setStatus(kStatusNone);
}

void EditingMode::returnToEditing() {
  app_.controls().setVisible(id::kMenuScreen, false);
}

void EditingMode::confirm(ChooserPurpose purpose, const std::string& grade,
                          const std::string& crossword) {
  ui::Controls& c = app_.controls();
  Chooser& chooser = app_.chooser();
  // The panel changes after the load or save: one that failed leaves the data open as they were.
  if (purpose == ChooserPurpose::Load) {
    c.setEnabled(id::kMainWindow, true);
    c.setVisible(id::kMenuScreen, false);
    loadChosen(grade, crossword);
    showOpenColumn();
    chooser.recount();
    chooser.close();
  } else if (purpose == ChooserPurpose::Save) {
    c.setEnabled(id::kMainWindow, true);
    saveChosen(grade, crossword);
    showClosedColumn();
    chooser.recount();
    chooser.close();
    if (afterSave_) std::exchange(afterSave_, nullptr)();
  }
}

void EditingMode::back() {
  afterSave_ = nullptr;
}

void EditingMode::toolQuit() {
  if (status() == kStatusNone) {
    app_.host().requestQuit();
    return;
  }
  app_.route({Event::Kind::CloseRequest});
}

bool EditingMode::closeQuery() {
  if (status() != kStatusUnsaved) return true;
  app_.sound().playCue("hlasen.wav");
  ui::showWarning(app_.host(), text::kDataUnsaved);
  return false;
}

}  // namespace tervano::app
