#include "app/modes/editor_mode.h"

#include "app/application.h"
#include "app/chooser.h"
#include "app/screens.h"
#include "data/records.h"
#include "ui/ids.h"

namespace tervano::app {

namespace {

using Kind = Event::Kind;

constexpr const char* kScoreSpins[] = {id::kScoreSpinGood, id::kScoreSpinBad,
                                       id::kScoreSpinGoodTajenka, id::kScoreSpinBadTajenka};

}  // namespace

EditorMode::EditorMode(Application& app) : EditingMode(app) {
  routes_.click(id::kToolQuit, &EditorMode::toolQuit)
      .on(Kind::Select, id::kLanguageBox, &EditorMode::chooseLanguage);
  hovers_.on(Kind::Hover, id::kGradeCaption, &EditorMode::openGradeSpin)
      .on(Kind::Hover, id::kLanguageCaption, &EditorMode::openLanguageBox)
      .on(Kind::Hover, id::kBackground, &EditorMode::closeBoxes)
      .on(Kind::Hover, id::kScoringGroup, &EditorMode::closeScoreSpins);
}

void EditorMode::declare(ui::Controls& c) {
  c.declare(id::kGradeSpin, hidden());
  c.declare(id::kLanguageBox, hidden());
  for (auto s : kScoreSpins)
    c.declare(s, hidden());
}

bool EditorMode::handle(const Event& e) {
  hovers_.run(*this, e);
  return routes_.run(*this, e);
}

void EditorMode::openGradeSpin() {
  app_.controls().setVisible(id::kGradeSpin, true);
}
void EditorMode::openLanguageBox() {
  app_.controls().setVisible(id::kLanguageBox, true);
}
void EditorMode::closeBoxes() {
  app_.controls().setVisible(id::kLanguageBox, false);
  app_.controls().setVisible(id::kGradeSpin, false);
}
void EditorMode::closeScoreSpins() {
  for (auto s : kScoreSpins)
    app_.controls().setVisible(s, false);
}

void EditorMode::start() {
  ui::Controls& c = app_.controls();
  Session& session = app_.session();
  c.setEnabled(id::kToolEditor, false);
  app_.stopFourTimers();
  // SETEDITOR: the editor's own screens come with the crossword editor.
  app_.disableShortcutsBut(true);
  editorLook("Editor křížovek 3.00", "Křížovka ...");
  session.zaklnast = app_.folder().load(paths::kDescriptor);
  c.setLines(id::kLanguageBox, app_.folder().load(paths::kLanguages));
  c.setText(id::kLanguageBox, session.zaklnast.get(desc::kLanguage));
  c.setText(id::kLanguage, session.zaklnast.get(desc::kLanguage));
  app_.setModeLook("Editor křížovek", "ikony\\editor.ico");
}

void EditorMode::chooserCreated() {
  ui::Controls& c = app_.controls();
  c.setText(id::kChooserTitle, kChooserTitleLoad);
  c.setVisible(id::kChooserConfirm, true);
  c.setVisible(id::kChooserDelete, true);
  c.setVisible(id::kChooserStart, true);
  app_.chooser().fillGrades();
}

void EditorMode::chooseLanguage(const Event& e) {
  // The editor's language is part of the set: it is stored at once.
  ui::Controls& c = app_.controls();
  Session& session = app_.session();
  editorStatus_ = "Neuložená";
  c.setText(id::kLanguageBox, e.text);
  c.setText(id::kLanguage, e.text);
  session.zaklnast.set(desc::kLanguage, e.text);
  saveDescriptor(app_.folder(), session.zaklnast);
}

}  // namespace tervano::app
