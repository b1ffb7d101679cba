#include "app/application.h"

#include "app/layout.h"
#include "data/errors.h"
#include "data/numbers.h"
#include "data/records.h"
#include "script/hooks.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace tervano::app {

Mode modeOf(const std::string& first) {
  if (first == "-EDITOR") return Mode::Editor;
  if (first == "-SADA") return Mode::Sets;
  if (first.empty()) return Mode::Main;
  if (first == "-SCRIPTEDITOR") return Mode::ScriptEditor;
  if (first == "-SPAUTOSAVE") return Mode::AutosaveManager;
  if (first == "-LOADAUTOSAVE") return Mode::AutosaveLoad;
  return Mode::BadSwitch;
}

Application::Application(ui::Host& host, ProgramFolder folder, TextList arguments,
                         std::uint32_t randomSeed)
    : host_(host), folder_(std::move(folder)), random_(randomSeed) {
  declareControls(controls_);
  session_.argumentList = std::move(arguments);
  mode_ = modeOf(session_.argumentList.get(1));
  sound_ = std::make_unique<audio::Sound>(controls_, host_, folder_, session_);
  game_ = std::make_unique<game::Game>(controls_, host_, folder_, session_, *sound_, *this);
  autosave_ = std::make_unique<autosave::Autosave>(controls_, host_, folder_, session_, *sound_);
  interpreter_ = std::make_unique<script::Interpreter>(session_, host_, *this);
}

Application::~Application() = default;

void Application::reportError(const std::string& text) {
  ui::showError(host_, text);
}

bool Application::dispatch(const Event& event) {
  return invoke([&] { handle(event); });
}

bool Application::invoke(const std::function<void()>& command) {
  bool ok = true;
  ++dispatchDepth_;
  try {
    command();
  } catch (const ConversionError& e) {
    reportError(e.what());
    ok = false;
  } catch (const FileError& e) {
    reportError(e.what());
    ok = false;
  }
  --dispatchDepth_;
  afterCommand();
  return ok;
}

void Application::afterCommand() {
  sound_->refreshRecordPlayer();
  if (controls_.timerRunning(id::kTimerAbout))
    controls_.setText(id::kAboutPackage, "Verze balíčku s křížovkami: " +
                                             session_.zaklnast.get(desc::kSetNumber) + ".00");
}

void Application::handle(const Event& e) {
  switch (e.kind) {
    case Event::Kind::Click:
      handleClick(e.id);
      break;
    case Event::Kind::DoubleClick:
      handleDoubleClick(e.id);
      break;
    case Event::Kind::Hover:
      handleHover(e.id, false);
      break;
    case Event::Kind::Press:
      handleHover(e.id, true);
      break;
    case Event::Kind::Key:
      handleKey(e.id);
      break;
    case Event::Kind::Tick:
      handleTick(e.id);
      break;
    case Event::Kind::Edit:
      handleEdit(e);
      break;
    case Event::Kind::Select:
      handleSelect(e);
      break;
    case Event::Kind::Toggle:
      handleToggle(e);
      break;
    case Event::Kind::Focus:
      if (e.id == id::kAutosaveTrigger) autosave_->normaliseTrigger();
      break;
    case Event::Kind::CloseRequest:
      if (closeQuery()) {
        closing();
        host_.requestQuit();
      }
      break;
    case Event::Kind::HelpClosed:
      helpClosedOtherwise();
      break;
  }
}

void Application::handleClick(const std::string& i) {
  // Play screen and game panel.
  if (i == id::kKontrola) return kontrola();
  if (i == id::kShowMenu) return showMenu();
  if (i == id::kNewGame) return newGame();
  if (i == id::kNewGameSettings) return newGameWithSettings();
  if (i == id::kLoadGame) return loadGame();
  if (i == id::kSaveGame) return saveGame();
  if (i == id::kReturnToGame) return returnToGame();
  if (i == id::kEndGame) return endGame();
  // Help panel.
  if (i == id::kHelp) return help();
  if (i == id::kAbout) return about();
  if (i == id::kCredits) return credits();
  if (i == id::kKeyList) return keyList();
  if (i == id::kEula) return eula();
  // Application and tool panels.
  if (i == id::kQuit) return quitFromMenu();
  if (i == id::kToolQuit) return toolQuit();
  if (i == id::kToolEditor) return modeSwitch(" -EDITOR", false);
  if (i == id::kToolScriptEditor) return modeSwitch(" -SCRIPTEDITOR", false);
  if (i == id::kToolSets) return modeSwitch("-SADA", false);
  if (i == id::kToolAutosave) return modeSwitch(" -SPAUTOSAVE", false);
  if (i == id::kToolCrashLoad) return modeSwitch(" -LOADAUTOSAVE", false);
  if (i == id::kToolMainApp || i == id::kSetPanelMainApp || i == id::kAutosavePanelMainApp)
    return modeSwitch("", true);
  // Settings panel.
  if (i == id::kSoundOnPic) return sound_->soundOffAction();
  if (i == id::kSoundOffPic) return sound_->soundOnAction();
  if (i == id::kMusicOnPic) return sound_->musicOffAction();
  if (i == id::kMusicOffPic) return sound_->musicOnAction();
  if (i == id::kSoundsAndMusic) return controls_.setVisible(id::kPanelRecordPlayer, true);
  if (i == id::kRecordBack) return controls_.setVisible(id::kPanelRecordPlayer, false);
  if (i == id::kErrorPerLineCaption) return game_->toggleErrorPerLine();
  if (i == id::kNoScriptsCaption) {
    controls_.setChecked(id::kNoScripts, !controls_.checked(id::kNoScripts));
    session_.scriptsDisabled = controls_.checked(id::kNoScripts);
    return;
  }
  if (i == id::kAutosaveApply) return autosave_->applySettings();
  if (i == id::kCreditsClose) return stopCredits();
  // Help window.
  if (i == id::kHelpTopicSample) {
    controls_.setVisible(id::kHelpLicence, false);
    controls_.setVisible(id::kHelpKeyList, false);
    controls_.setText(id::kHelpPageTitle, "");
    return;
  }
  if (i == id::kHelpTopicKeys) return openKeyListPage();
  if (i == id::kHelpTopicEula) {
    controls_.setVisible(id::kHelpKeyList, false);
    controls_.setVisible(id::kHelpLicence, true);
    controls_.setText(id::kHelpPageTitle, "EULA");
    return;
  }
  if (i == id::kHelpLink) return helpLinkClick();
  if (i == id::kHelpQuit) return helpQuit();
  // About window.
  if (i == id::kAboutBack) return controls_.setVisible(id::kAboutWindow, false);
  if (i == id::kAboutCredits) {
    controls_.setVisible(id::kAboutWindow, false);
    return credits();
  }
  if (i == id::kAboutEula) {
    controls_.setVisible(id::kHelpKeyList, false);
    controls_.setVisible(id::kHelpLicence, true);
    controls_.setText(id::kHelpPageTitle, "EULA");
    help();
    controls_.setVisible(id::kAboutWindow, false);
    return;
  }
  // Chooser.
  if (i == id::kChooserStart) return chooserStartGame();
  if (i == id::kChooserBack) return chooserBack();
}

void Application::handleDoubleClick(const std::string& i) {
  if (i == id::kHelpAdvice) return toggleAdviceEnlarged();
  if (i == id::kHelpKeys) return toggleKeysEnlarged();
  if (i == id::kErrorPerLineCaption) return game_->toggleErrorPerLine();
}

void Application::handleTick(const std::string& t) {
  if (t == id::kTimerAccessCode) return game_->accessCodeTimerFired();
  if (t == id::kTimerKontrola) return game_->kontrolaTimerTick();
  if (t == id::kTimerGauge) return game_->gaugeTimerTick();
  if (t == id::kTimerCredits) return creditsTick();
  if (t == id::kTimerHelpFiller) return fillHelpExample();
}

void Application::handleEdit(const Event& e) {
  if (e.id == id::kAnswerArea) return controls_.setLines(e.id, TextList::fromText(e.text));
  if (e.id == id::kAccessCode || e.id == id::kChooserCrossword)
    return controls_.setText(e.id, e.text);
  if (e.id == id::kChooserGrade) {
    controls_.setText(e.id, e.text);
    return chooserGradeChanged();
  }
  if (e.id == id::kAutosaveTrigger) {
    controls_.setText(e.id, e.text);
    return autosave_->normaliseTrigger();
  }
  if (e.id == id::kAutosaveQuota) return controls_.setValue(e.id, e.value);
}

void Application::handleSelect(const Event& e) {
  if (e.id == id::kAutosaveTrigger) {
    controls_.setText(e.id, e.text);
    return autosave_->normaliseTrigger();
  }
  if (e.id == id::kChooserGrade) {
    controls_.setText(e.id, e.text);
    return chooserGradeChanged();
  }
  if (e.id == id::kChooserCrossword) return controls_.setText(e.id, e.text);
  if (e.id == "languageBox" && mode_ == Mode::Editor) {
    // The editor's language is part of the set: it is stored at once.
    editorStatus_ = "Neuložená";
    controls_.setText("languageBox", e.text);
    controls_.setText(id::kLanguage, e.text);
    session_.zaklnast.set(desc::kLanguage, e.text);
    saveDescriptor();
  }
}

void Application::handleToggle(const Event& e) {
  const bool on = e.value != 0;
  if (e.id == id::kErrorPerLine) return game_->setErrorPerLine(on);
  if (e.id == id::kNoScripts) {
    controls_.setChecked(id::kNoScripts, on);
    session_.scriptsDisabled = on;
    return;
  }
  if (e.id == id::kAutosaveOn) return controls_.setChecked(e.id, on);
}

// ---- GameHooks ----

void Application::eventScript(const std::string& relativePath, bool fireAuto2) {
  if (!session_.mainApplication()) return;
  if (script::runScriptFile(folder_, session_, *interpreter_, relativePath) && fireAuto2)
    autosave_->trigger(2);
}

void Application::autosaveTrigger(int number) {
  autosave_->trigger(number);
}

void Application::openChooser() {
  controls_.setText(id::kChooserTitle, "Nastavení hry");
  controls_.setVisible(id::kChooserWindow, true);
}

void Application::restartInAutosaveManager() {
  host_.requestQuit();
  host_.startInstance("-SPAUTOSAVE", folder_.resolve(paths::kHelpFolder).string());
}

void Application::closeMainWindow() {
  if (closeQuery()) closing();
}

// ---- ScriptCommands ----

bool Application::gameInProgress() {
  return game_->gameRunning();
}
void Application::newGame() {
  game_->newGame();
}
void Application::newGameWithSettings() {
  game_->newGameWithSettings();
}
void Application::loadGame() {
  game_->loadGameCommand();
}
void Application::saveGame() {
  game_->save();
}
void Application::endGame() {
  game_->endGame();
}
void Application::showMenu() {
  game_->showMenu();
}
void Application::returnToGame() {
  game_->returnToGame();
}
void Application::quit() {
  quitFromMenu();
}
void Application::kontrola() {
  game_->kontrola();
}
void Application::retryCrossword() {
  game_->prvkr();
}
void Application::setSound(bool on) {
  if (on)
    sound_->soundOnAction();
  else
    sound_->soundOffAction();
}
void Application::setMusic(bool on) {
  if (on)
    sound_->musicOnAction();
  else
    sound_->musicOffAction();
}
void Application::setErrorPerLine(bool ticked) {
  game_->setErrorPerLine(ticked);
}
void Application::errorPerLineReaction() {
  game_->errorPerLineReaction();
}
void Application::setAskOverwrite(bool ticked) {
  controls_.setChecked(id::kAskOverwrite, ticked);
}
std::string Application::counter(std::string_view counterId) {
  return controls_.text(counterId);
}
void Application::setCounter(std::string_view counterId, std::string text) {
  controls_.setText(counterId, std::move(text));
}
std::string Application::points() {
  return controls_.text(id::kPoints);
}

void Application::endGameAsCompleted() {
  if (!game_->gameRunning()) return;
  game_->showMenu();
  controls_.setText(id::kGrade, "5");
  controls_.setEnabled(id::kKontrola, false);
  controls_.setLines(id::kAnswerArea, {});
  controls_.setLines(id::kMapArea, {});
  controls_.setLines(id::kLegendArea, {});
  controls_.setText(id::kCrossword, "0");
  sound_->playCue("hlasen.wav", audio::CueSwitch::Music);
  eventScript(script::programScriptPath(script::event::kGameEnd), false);
  ui::showInfo(host_, std::string(text::kCompleted) + controls_.text(id::kPoints) +
                          " bodů. Za Vaši hru Vám děkuji.");
  sound_->playCue("vyhraco.wav", audio::CueSwitch::Music);
  game_->showMenuForCompletion();
  if (ui::confirm(host_, text::kSaveQuestion)) game_->save();
  controls_.setEnabled(id::kNewGame, true);
  controls_.setEnabled(id::kNewGameSettings, true);
  controls_.setEnabled(id::kLoadGame, true);
  controls_.setEnabled(id::kQuit, true);
  controls_.setEnabled(id::kKontrola, true);
  controls_.setEnabled(id::kReturnToGame, false);
  controls_.setEnabled(id::kSaveGame, false);
  controls_.setEnabled(id::kEndGame, false);
}

}  // namespace tervano::app
