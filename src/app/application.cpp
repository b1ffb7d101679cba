#include "app/application.h"

#include "app/about_window.h"
#include "app/chooser.h"
#include "app/credits.h"
#include "app/game_bridge.h"
#include "app/help_window.h"
#include "app/menu.h"
#include "app/screens.h"
#include "audio/sound.h"
#include "autosave/autosave.h"
#include "data/records.h"
#include "game/game.h"
#include "script/interpreter.h"
#include "sets/work_folders.h"
#include "ui/ids.h"
#include "ui/pictures.h"
#include "ui/recovery.h"

namespace tervano::app {

using Kind = Event::Kind;

Application::Application(ui::Host& host, ProgramFolder folder, TextList arguments,
                         const ModeRegistry& modes, std::uint32_t randomSeed)
    : host_(host),
      modes_(modes),
      modeRow_(modes.find(arguments.get(1))),
      folder_(std::move(folder)) {
  session_.argumentList = std::move(arguments);
  declareCommonScreens(controls_, modes_);
  HelpWindow::declare(controls_);
  AboutWindow::declare(controls_);
  Chooser::declare(controls_);

  bridge_ = std::make_unique<GameBridge>(*this);
  sound_ = std::make_unique<audio::Sound>(controls_, host_, folder_, session_);
  game_ = std::make_unique<game::Game>(controls_, host_, folder_, session_, *sound_, *bridge_);
  autosave_ = std::make_unique<autosave::Autosave>(controls_, host_, folder_, session_, *sound_);
  interpreter_ = std::make_unique<script::Interpreter>(session_, host_, *bridge_);
  chooser_ = std::make_unique<Chooser>(controls_, host_, folder_, session_);
  help_ = std::make_unique<HelpWindow>(controls_, host_, folder_);
  credits_ = std::make_unique<Credits>(controls_, session_, randomSeed);
  about_ = std::make_unique<AboutWindow>(controls_, session_, *help_, *credits_);
  menu_ = std::make_unique<MenuScreen>(controls_, session_, *sound_, *game_, *autosave_,
                                       [this](const Event& e) { handle(e); });

  routes_.click(id::kSetPanelMainApp, &Application::toMainApplication)
      .click(id::kAutosavePanelMainApp, &Application::toMainApplication)
      .on(Kind::Edit, id::kAnswerArea, &Application::editAnswers);

  mode_ = modes_.make(session_.argumentList.get(1), *this);
  mode_->declare(controls_);
  chooser_->setClient(mode_->chooserClient());
}

Application::~Application() = default;

void Application::seedRandom(std::uint32_t seed) {
  credits_->seed(seed);
}

bool Application::dispatch(const Event& event) {
  return invoke([&] { handle(event); });
}

bool Application::invoke(const std::function<void()>& command,
                         const std::function<void(const UserError&)>& onError) {
  bool ok = true;
  try {
    command();
  } catch (const UserError& e) {
    if (onError)
      onError(e);
    else
      ui::showError(host_, e.what());
    ok = false;
  }
  afterCommand();
  return ok;
}

void Application::afterCommand() {
  sound_->refreshRecordPlayer();
  about_->refresh();
  mode_->refresh();
}

// The mode has the first word; what it leaves goes to the screens every mode shares.
void Application::handle(const Event& e) {
  if (e.kind == Kind::CloseRequest) return closeRequest();
  if (mode_->handle(e)) return;
  if (menu_->handle(e) || chooser_->handle(e) || help_->handle(e) || about_->handle(e) ||
      credits_->handle(e))
    return;
  if (e.kind == Kind::Click)
    if (const ModeRow* tool = modes_.byToolButton(e.id))
      return switchMode(tool->name, tool->name.empty());
  routes_.run(*this, e);
}

void Application::editAnswers(const Event& e) {
  controls_.setLines(id::kAnswerArea, TextList::fromText(e.text));
}

void Application::startProgram() {
  startUpMainWindow();
  // A start-up that ended the program creates nothing more: no program-start script runs.
  if (host_.quitRequested()) return;
  invoke([&] { mode_->chooserCreated(); });
  help_->create();
  about_->create(session_.mainApplication());
  afterCommand();
}

void Application::startUpMainWindow() {
  // What an earlier run left half done is finished or undone before anything reads the data, and
  // the set manager's work folders that no running instance uses are cleared.
  ui::recoverAtStart(host_, folder_);
  sets::clearLeftoverWork(folder_.root());
  bool all = true;
  for (const auto& p : modes_.pictureFiles())
    all = all && folder_.isFile(p);
  controls_.setVisible(id::kModeButtonPictures, all);
  // The option is read here only; a script may tick it later without effect on the dialog.
  session_.saveDialogAsksOverwrite = controls_.checked(id::kAskOverwrite);
  stopGameTimers();
  invoke([&] { mode_->start(); }, [&](const UserError& e) { mode_->startFailed(e); });
}

void Application::setModeLook(std::string_view title, std::string_view icon) {
  controls_.setText(id::kWindowTitle, std::string(title));
  controls_.setText(id::kWindowIcon, std::string(icon));
}

void Application::disableShortcuts(bool keepMainMenuAndQuit) {
  for (auto sc :
       {id::kScSound, id::kScMusic, id::kScHelp, id::kScAbout, id::kScCredits, id::kScNewGame,
        id::kScNewGameSettings, id::kScLoad, id::kScSave, id::kScReturn, id::kScEndGame})
    controls_.setEnabled(sc, false);
  controls_.setEnabled(id::kScMainMenu, keepMainMenuAndQuit);
  controls_.setEnabled(id::kScQuit, keepMainMenuAndQuit);
}

void Application::stopGameTimers() {
  for (auto t : {id::kTimerMusic, id::kTimerFileName, id::kTimerGauge, id::kTimerKontrola})
    controls_.stopTimer(t);
}

void Application::stopAllTimersButCompletion() {
  for (const auto& [timerId, t] : controls_.timers())
    if (timerId != id::kTimerCompletion) controls_.stopTimer(timerId);
}

bool Application::soundAtFirstPaint() const {
  return modeRow_ && modeRow_->cuesAtOnce && controls_.visible(id::kSoundOnPic);
}

void Application::toMainApplication() {
  switchMode("", true);
}

void Application::switchMode(std::string_view argument, bool toMainApplication) {
  sound_->beep();
  const char* question =
      toMainApplication
          ? "Aplikace bude muset být ukončena.\rBude uskutečněn návrat do hlavní aplikace.\r"
            "Chcete pokračovat?"
          : "Aplikace bude muset být ukončena.\rChcete pokračovat?";
  if (host_.message(ui::MessageKind::Warning, question, ui::Buttons::OkCancel) != ui::Answer::Ok)
    return;
  if (toMainApplication && !mode_->beforeReturnToMain()) return;
  if (game_->gameRunning()) game_->endGame();
  if (game_->gameRunning()) return;
  host_.requestQuit();
  host_.startInstance(std::string(argument), folder_.resolve(paths::kHelpFolder).string());
}

void Application::closeRequest() {
  if (closeMainWindow()) host_.requestQuit();
}

bool Application::closeMainWindow() {
  if (!mode_->closeQuery()) return false;
  sound_->playCue("hlasen.wav");
  mode_->closing();
  return true;
}

}  // namespace tervano::app
