// Start-up of every mode, mode switches and the end of the program.
#include <filesystem>

#include "app/application.h"
#include "data/errors.h"
#include "data/records.h"
#include "script/hooks.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace tervano::app {

namespace {

constexpr const char* kStartUpFailed = "Předpokládaná umístění neexistují!!!";
constexpr const char* kExportedQuestion =
    "Má se načíst exportovaný záznam automatického uložení s názvem: \r~automatické uložení.kr1 ?";
const char* const kButtonPictures[] = {"Ikony\\editor.bmp", "Ikony\\sady.bmp",
                                       "Ikony\\parametry.bmp", "Ikony\\kr1.bmp",
                                       "Ikony\\havarie.bmp"};

}  // namespace

void Application::startProgram() {
  startUpMainWindow();
  // A start-up that ended the program creates nothing more: no program-start script runs.
  if (host_.quitRequested()) return;
  createChooser();
  createHelpWindow();
  createAboutWindow();
}

void Application::stopFourTimers() {
  controls_.stopTimer(id::kTimerMusic);
  controls_.stopTimer(id::kTimerFileName);
  controls_.stopTimer(id::kTimerGauge);
  controls_.stopTimer(id::kTimerKontrola);
}

void Application::stopAllTimersButCompletion() {
  for (const auto& [timerId, t] : controls_.timers())
    if (timerId != id::kTimerCompletion) controls_.stopTimer(timerId);
}

void Application::setModeLook(std::string_view title, std::string_view icon) {
  controls_.setText(id::kWindowTitle, std::string(title));
  controls_.setText("windowIcon", std::string(icon));
}

void Application::commonStartUp() {
  bool all = true;
  for (auto p : kButtonPictures)
    all = all && folder_.isFile(p);
  controls_.setVisible("modeButtonPictures", all);
  // The option is read here only; a script may tick it later without effect on the dialog.
  session_.saveDialogAsksOverwrite = controls_.checked(id::kAskOverwrite);
  stopFourTimers();
}

void Application::startUpMainWindow() {
  commonStartUp();
  if (mode_ == Mode::Main) {
    startMainApplication();
  } else {
    try {
      startToolMode();
    } catch (const ConversionError& e) {
      reportError(e.what());
    } catch (const FileError& e) {
      reportError(e.what());
    }
  }
  afterCommand();
}

void Application::disableShortcutsBut(bool keepMainMenuAndQuit) {
  for (auto sc :
       {id::kScSound, id::kScMusic, id::kScHelp, id::kScAbout, id::kScCredits, id::kScNewGame,
        id::kScNewGameSettings, id::kScLoad, id::kScSave, id::kScReturn, id::kScEndGame})
    controls_.setEnabled(sc, false);
  controls_.setEnabled(id::kScMainMenu, keepMainMenuAndQuit);
  controls_.setEnabled(id::kScQuit, keepMainMenuAndQuit);
}

void Application::setEditorLook(std::string_view title, std::string_view dataCaption) {
  controls_.setText(id::kTitle, std::string(title));
  controls_.setText(id::kCatEditorData, std::string(dataCaption));
  controls_.setVisible(id::kEditorBar, true);
  for (auto cat : {id::kCatGame, id::kCatHelp, id::kCatApp, id::kCatSettings})
    controls_.setVisible(cat, false);
}

void Application::startToolMode() {
  switch (mode_) {
    case Mode::Editor:
      controls_.setEnabled(id::kToolEditor, false);
      stopFourTimers();
      // SETEDITOR: the editor's own screens come with the crossword editor.
      disableShortcutsBut(true);
      setEditorLook("Editor křížovek 3.00", "Křížovka ...");
      controls_.setVisible("panelTool", true);
      for (auto cat : {id::kCatGame, id::kCatHelp, id::kCatApp, id::kCatSettings})
        controls_.setEnabled(cat, false);
      session_.zaklnast = folder_.load(paths::kDescriptor);
      controls_.setLines("languageBox", folder_.load(paths::kLanguages));
      controls_.setText("languageBox", session_.zaklnast.get(desc::kLanguage));
      controls_.setText(id::kLanguage, session_.zaklnast.get(desc::kLanguage));
      setModeLook("Editor křížovek", "ikony\\editor.ico");
      break;
    case Mode::Sets:
      controls_.setEnabled(id::kToolSets, false);
      stopAllTimersButCompletion();
      controls_.setVisible(id::kMenuScreen, false);
      controls_.setVisible("panelTool", true);
      setModeLook("Výběr křížovkové sady", "ikony\\sady.ico");
      // SETSADA: the set panel comes with the set manager.
      disableShortcutsBut(false);
      break;
    case Mode::ScriptEditor:
      controls_.setEnabled(id::kToolScriptEditor, false);
      disableShortcutsBut(true);
      setEditorLook("Editor skriptů 3.00", "Skript ...");
      controls_.setVisible("panelTool", true);
      stopFourTimers();
      for (auto cat : {id::kCatGame, id::kCatHelp, id::kCatApp, id::kCatSettings})
        controls_.setEnabled(cat, false);
      session_.zaklnast = folder_.load(paths::kDescriptor);
      setModeLook("Editor skriptů ke křížovkám", "ikony\\parametry.ico");
      break;
    case Mode::AutosaveManager:
    case Mode::AutosaveLoad:
      stopAllTimersButCompletion();
      setModeLook(mode_ == Mode::AutosaveManager ? "Správce automatického uložení"
                                                 : "Načtení automatického uložení",
                  "ikony\\havarie.ico");
      // SETSPAUTOSAVE (and SETLOADAUTOSAVE): the manager comes with its own screen.
      disableShortcutsBut(true);
      controls_.setVisible("panelTool", true);
      break;
    case Mode::BadSwitch:
      stopFourTimers();
      sound_->playCue("hlasen.wav");
      setModeLook("Chyba parametru", "ikony\\parametry2.ico");
      ui::showError(host_, text::kUnsupportedSwitch);
      host_.requestQuit();
      break;
    case Mode::Main:
      break;
  }
}

void Application::startMainApplication() {
  try {
    autosave_->autoszav();
    controls_.setEnabled(id::kToolMainApp, false);
    controls_.setEnabled(id::kSetPanelMainApp, false);
    session_.zaklnast = folder_.load(paths::kDescriptor);
    controls_.setText(id::kLanguage, session_.zaklnast.get(desc::kLanguage));

    if (folder_.isFile(paths::kExportedRecord)) {
      sound_->beep();
      if (ui::confirm(host_, kExportedQuestion))
        session_.loadFileName = folder_.resolve(paths::kExportedRecord).string();
    }
    // The game does not start without a saved game: the dialog comes back after every cancel.
    while (session_.loadFileName.empty()) {
      if (auto chosen = host_.openFile(game_->loadDialogOptions())) {
        session_.loadFileName = *chosen;
        session_.saveRecord = folder_.load(*chosen);
      }
    }
    controls_.startTimer(id::kTimerAccessCode);
    // No crossword-level script runs here: the crossword's own start script runs inside prvkr
    // below, once the saved game has decided which crossword is in play.
    if (!session_.musicFile.empty() && std::filesystem::exists(session_.musicFile))
      controls_.startTimer(id::kTimerMusic);
    controls_.startTimer(id::kTimerFileName);
    controls_.startTimer(id::kTimerGauge);
    controls_.startTimer(id::kTimerKontrola);
    controls_.startTimer(id::kTimerAbout);
    game_->load();
    game_->setGameRunningColumn();
    game_->prvkr();
    if (session_.saveRecord.get(saverec::kAnswerMarker) == "S")
      controls_.setLines(id::kAnswerArea,
                         folder_.load(game::Game::changeExtension(session_.loadFileName, ".kn1")));
    controls_.setVisible(id::kMenuScreen, false);
    setModeLook("Tervano", "");
  } catch (const ConversionError&) {
    stopAllTimersButCompletion();
    controls_.stopTimer(id::kTimerCompletion);
    ui::showError(host_, kStartUpFailed);
    host_.requestQuit();
  } catch (const FileError&) {
    stopAllTimersButCompletion();
    controls_.stopTimer(id::kTimerCompletion);
    ui::showError(host_, kStartUpFailed);
    host_.requestQuit();
  }
}

void Application::createChooser() {
  try {
    if (mode_ == Mode::Editor) {
      controls_.setText(id::kChooserTitle, "Načíst křížovku");
      controls_.setVisible(id::kChooserConfirm, true);
      controls_.setVisible(id::kChooserDelete, true);
      controls_.setVisible(id::kChooserStart, true);
    } else if (mode_ == Mode::ScriptEditor) {
      ui::showWarning(host_,
                      "Při napsání špatného příkazu\rmůže dojít k chybám, které mohou\rpoškodit "
                      "váš program, či vaše křížovky.");
      controls_.setVisible(id::kChooserConfirm, true);
    }
    if (mode_ == Mode::BadSwitch) return;
    controls_.setLines(id::kChooserGrade, folder_.load("tervano\\sur\\r.cbx"));
    if (mode_ == Mode::Main)
      script::runScriptFile(folder_, session_, *interpreter_,
                            script::programScriptPath(script::event::kProgramStart));
  } catch (const ConversionError& e) {
    reportError(e.what());
  } catch (const FileError& e) {
    reportError(e.what());
  }
  afterCommand();
}

void Application::modeSwitch(std::string_view argument, bool toMainApplication) {
  sound_->beep();
  const char* question =
      toMainApplication
          ? "Aplikace bude muset být ukončena.\rBude uskutečněn návrat do hlavní aplikace.\r"
            "Chcete pokračovat?"
          : "Aplikace bude muset být ukončena.\rChcete pokračovat?";
  if (host_.message(ui::MessageKind::Warning, question, ui::Buttons::OkCancel) != ui::Answer::Ok)
    return;
  if (game_->gameRunning()) game_->endGame();
  if (game_->gameRunning()) return;
  host_.requestQuit();
  std::string arg(argument);
  while (!arg.empty() && arg.front() == ' ')
    arg.erase(arg.begin());
  host_.startInstance(arg, folder_.resolve(paths::kHelpFolder).string());
}

void Application::programEndScript() {
  if (mode_ != Mode::Main) return;
  script::runScriptFile(folder_, session_, *interpreter_,
                        script::programScriptPath(script::event::kProgramEnd));
}

void Application::quitFromMenu() {
  if (mode_ != Mode::Main) return;
  programEndScript();
  host_.requestQuit();
}

void Application::toolQuit() {
  if (mode_ != Mode::Editor && mode_ != Mode::ScriptEditor) return;
  if (editorStatus_ == "?") {
    host_.requestQuit();
    return;
  }
  dispatch({Event::Kind::CloseRequest});
}

bool Application::closeQuery() {
  if (editorStatus_ == "Neuložená") {
    sound_->playCue("hlasen.wav");
    ui::showWarning(host_, "Data nejsou uložena.\rStisknutím tlačítka Uložit data uložíte.");
    return false;
  }
  if (game_->gameRunning()) autosave_->writeClosingRecord();
  return true;
}

void Application::closing() {
  sound_->playCue("hlasen.wav");
  if (!controls_.enabled(id::kSaveGame)) return;
  if (ui::confirm(host_, text::kSaveQuestion)) {
    game_->save();
    programEndScript();
    return;
  }
  programEndScript();
  if (mode_ == Mode::Editor && editorStatus_ == "Neuložená") toolQuit();
  if (!setCreated_) saveDescriptor();
}

}  // namespace tervano::app
