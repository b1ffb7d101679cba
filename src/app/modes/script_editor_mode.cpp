#include "app/modes/script_editor_mode.h"

#include "app/application.h"
#include "app/chooser.h"
#include "app/screens.h"
#include "audio/sound.h"
#include "data/records.h"
#include "data/texts.h"
#include "ui/ids.h"

namespace tervano::app {

namespace {

using Kind = Event::Kind;

// What the script editor hides of the play screen: the counters, the scoring, the three areas.
constexpr const char* kPlayDisplays[] = {
    id::kPoints,       id::kGrade,           id::kCrossword,     id::kGood,     id::kBad,
    id::kGradeCaption, id::kLanguageCaption, id::kLanguage,      id::kKontrola, id::kProgressGroup,
    id::kScoringGroup, id::kAnswerArea,      id::kLegendArea,    id::kMapArea,  id::kCanGain,
    id::kCanLose,      id::kWordCountBig,    id::kScoreWordCount};

}  // namespace

ScriptEditorMode::ScriptEditorMode(Application& app)
    : EditingMode(app), editor_(app.controls(), app.host(), app.folder(), app.session()) {
  routes_.on(Kind::Select, id::kScriptEvent, &ScriptEditorMode::chooseEvent)
      .on(Kind::Edit, id::kScriptEvent, &ScriptEditorMode::chooseEvent)
      .on(Kind::Edit, id::kScriptText, &ScriptEditorMode::editText)
      .on(Kind::DoubleClick, id::kScriptCommands, &ScriptEditorMode::insertCommand)
      .click(id::kScriptSave, &ScriptEditorMode::saveProgramWide)
      .click(id::kScriptDelete, &ScriptEditorMode::deleteScript);
  hovers_.on(Kind::Hover, id::kScriptDelete, &ScriptEditorMode::pointerOverDelete);
}

void ScriptEditorMode::declare(ui::Controls& c) {
  script::ScriptEditor::declare(c);
  declareDataPanel(c, "Nový ...");
}

bool ScriptEditorMode::handle(const Event& e) {
  hovers_.run(*this, e);
  return routes_.run(*this, e) || handleDataPanel(e);
}

void ScriptEditorMode::start() {
  ui::Controls& c = app_.controls();
  c.setEnabled(id::kToolScriptEditor, false);
  app_.stopGameTimers();
  app_.keepOnlyMenuAndQuitShortcuts();
  // SETSCRIPTEDITOR starts the status timer, which only mirrors state: the status is refreshed
  // after every command (refresh) instead of on its ticks.
  c.startTimer(id::kTimerEditorStatus);
  editorLook("Editor skriptů 3.00", "Skript ...");
  for (const char* display : kPlayDisplays)
    c.setVisible(display, false);
  editor_.setUp();
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

// Choosing an event and editing mark the script unsaved. "Uložit" is offered at once, so that a
// script written without "Nový ..." first can be saved too.
void ScriptEditorMode::unsaved() {
  setStatus(kStatusUnsaved);
  app_.controls().setEnabled(id::kDataSave, true);
}

void ScriptEditorMode::chooseEvent(const Event& e) {
  editor_.chooseEvent(e.text);
  unsaved();
}

void ScriptEditorMode::editText(const Event& e) {
  const TextList lines = TextList::fromText(e.text);
  if (lines == app_.session().scriptBuffer) return;
  editor_.edit(lines);
  unsaved();
}

void ScriptEditorMode::insertCommand(const Event& e) {
  if (editor_.appendCommand(e.value)) unsaved();
}

void ScriptEditorMode::newData() {
  editor_.clear();
}

void ScriptEditorMode::loadChosen(const std::string& grade, const std::string& crossword) {
  editor_.chooseCrossword(grade, crossword);
}

void ScriptEditorMode::saveChosen(const std::string& grade, const std::string& crossword) {
  editor_.saveUnder(grade, crossword);
  setStatus(kStatusNone);
}

// "Uložit": a program-wide script is saved at once, any other through the chooser.
void ScriptEditorMode::saveCommand() {
  if (editor_.programWide())
    saveProgramWide();
  else
    EditingMode::saveCommand();
}

void ScriptEditorMode::saveProgramWide() {
  if (editor_.saveProgramWide()) setStatus(kStatusNone);
}

void ScriptEditorMode::reset() {
  showClosedColumn();
  setStatus(kStatusNone);
  editor_.clear();
}

// "Ukončit režim editace": a crossword script is saved through the chooser or dropped; a
// program-wide one is saved at once or dropped (konsc2, konscz).
void ScriptEditorMode::closeCommand() {
  ui::Host& host = app_.host();
  if (!editor_.programWide()) {
    app_.sound().playCue("chyba.wav");
    if (status() == kStatusUnsaved) {
      if (ui::confirm(host, text::kSaveChangesQuestion))
        saveCommand();
      else
        reset();
    }
  }
  if (app_.controls().enabled(id::kScriptEvent)) reset();
  if (editor_.programWide() && status() == kStatusUnsaved) {
    if (ui::confirm(host, script::kSaveScriptQuestion))
      saveProgramWide();
    else
      reset();
  }
}

void ScriptEditorMode::deleteScript() {
  editor_.deleteScript();
}

void ScriptEditorMode::pointerOverDelete() {
  app_.controls().setVisible(id::kPanelToolExit, true);
  app_.controls().setVisible(id::kPanelEditorData, false);
}

}  // namespace tervano::app
