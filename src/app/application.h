#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "audio/sound.h"
#include "autosave/autosave.h"
#include "data/programfolder.h"
#include "data/session.h"
#include "game/game.h"
#include "game/hooks.h"
#include "script/interpreter.h"
#include "ui/controls.h"
#include "ui/host.h"

namespace tervano::app {

// One input from the view: a click, a key, a pointer movement, a timer tick or an edit.
struct Event {
  enum class Kind {
    Click,
    DoubleClick,
    Hover,   // the pointer moved over the control
    Press,   // a mouse button went down on the control
    Key,     // id holds the shortcut, e.g. "Ctrl+F1"
    Tick,    // id holds the timer
    Edit,    // the user changed a text (text) or a number (value)
    Select,  // the user chose an item of a list box (text)
    Toggle,  // the user ticked or unticked a check box (value 1 or 0)
    Focus,   // the control gained or lost the keyboard focus
    CloseRequest,
    HelpClosed,  // the help window was closed other than by its "Konec"
  };
  Kind kind = Kind::Click;
  std::string id;
  std::string text;
  int value = 0;
};

enum class Mode { Main, Editor, Sets, ScriptEditor, AutosaveManager, AutosaveLoad, BadSwitch };

// Author named in the about window and the credits.
inline constexpr const char* kAuthor = "Tým Tervano";
inline constexpr const char* kAppVersion = "3.00";

// The composition root: owns the live state and the subsystems, runs the start-up of the chosen
// mode and turns every input of the view into a command. Every entry point goes through
// dispatch, the one place where a conversion or file error becomes an error box.
class Application : public game::GameHooks, public script::ScriptCommands {
 public:
  Application(ui::Host& host, ProgramFolder folder, TextList arguments,
              std::uint32_t randomSeed = std::random_device{}());
  ~Application() override;

  // The program's start: main window (with the mode's start-up), chooser, help and about
  // windows, in that order.
  void startProgram();

  bool dispatch(const Event& event);
  // Runs one command the way dispatch does: a conversion or file error ends it with an error
  // box, the steps done before stay done. False when an error was reported.
  bool invoke(const std::function<void()>& command);
  // Shorthands for the view and tests.
  bool click(std::string_view id) { return dispatch({Event::Kind::Click, std::string(id)}); }
  bool hover(std::string_view id) { return dispatch({Event::Kind::Hover, std::string(id)}); }
  bool key(std::string_view k) { return dispatch({Event::Kind::Key, std::string(k)}); }
  bool tick(std::string_view t) { return dispatch({Event::Kind::Tick, std::string(t)}); }
  bool edit(std::string_view id, std::string text) {
    return dispatch({Event::Kind::Edit, std::string(id), std::move(text)});
  }

  Mode mode() const { return mode_; }
  ui::Controls& controls() { return controls_; }
  const ui::Controls& controls() const { return controls_; }
  Session& session() { return session_; }
  const ProgramFolder& folder() const { return folder_; }
  // Tests record the order of file writes through this.
  void observeWrites(std::function<void(const std::string&)> observer) {
    folder_.setWriteObserver(std::move(observer));
  }
  game::Game& game() { return *game_; }
  audio::Sound& sound() { return *sound_; }
  autosave::Autosave& autosaveLog() { return *autosave_; }
  script::Interpreter& interpreter() { return *interpreter_; }
  void seedRandom(std::uint32_t seed) { random_.seed(seed); }

  // GameHooks.
  void eventScript(const std::string& relativePath, bool fireAuto2) override;
  void autosaveTrigger(int number) override;
  void openChooser() override;
  void restartInAutosaveManager() override;
  void closeMainWindow() override;

  // ScriptCommands.
  bool gameInProgress() override;
  void newGame() override;
  void newGameWithSettings() override;
  void loadGame() override;
  void saveGame() override;
  void endGame() override;
  void endGameAsCompleted() override;
  void showMenu() override;
  void returnToGame() override;
  void help() override;
  void about() override;
  void credits() override;
  void keyList() override;
  void quit() override;
  void kontrola() override;
  void retryCrossword() override;
  void setSound(bool on) override;
  void setMusic(bool on) override;
  void setErrorPerLine(bool ticked) override;
  void errorPerLineReaction() override;
  void setAskOverwrite(bool ticked) override;
  std::string counter(std::string_view counterId) override;
  void setCounter(std::string_view counterId, std::string text) override;
  std::string points() override;

 private:
  void handle(const Event& event);
  void handleClick(const std::string& id);
  void handleDoubleClick(const std::string& id);
  void handleHover(const std::string& id, bool pressed);
  void handleKey(const std::string& key);
  void handleTick(const std::string& timer);
  void handleEdit(const Event& event);
  void handleSelect(const Event& event);
  void handleToggle(const Event& event);
  void reportError(const std::string& text);
  // The work of the timers that only mirror state on screen, done after every command.
  void afterCommand();

  // Start-up and shutdown.
  void startUpMainWindow();
  void commonStartUp();
  void startMainApplication();
  void startToolMode();
  void setModeLook(std::string_view title, std::string_view icon);
  void stopFourTimers();
  void stopAllTimersButCompletion();
  void disableShortcutsBut(bool keepMainMenuAndQuit);
  void setEditorLook(std::string_view title, std::string_view dataCaption);
  void createChooser();
  void createHelpWindow();
  void createAboutWindow();
  void modeSwitch(std::string_view argument, bool toMainApplication);
  void quitFromMenu();  // "Konec" of the main menu
  void toolQuit();      // "Konec" of the tool-mode panel
  bool closeQuery();    // the close request; false refuses the close
  void closing();       // the closing of the main window
  void programEndScript();

  // Chooser window.
  void chooserGradeChanged();
  bool chooserValid();
  void chooserStartGame();
  void chooserBack();
  void recount();
  void saveDescriptor();

  // Help, about and credits.
  void showHelpWindow();
  void eula();
  void openKeyListPage();
  void helpQuit();
  void helpClosedOtherwise();
  void fillHelpExample();
  void helpLinkHover();
  void helpLinkReset();
  void helpLinkClick();
  void toggleAdviceEnlarged();
  void toggleKeysEnlarged();
  void startCredits();
  void creditsTick();
  void stopCredits();

  ui::Host& host_;
  ProgramFolder folder_;
  ui::Controls controls_;
  Session session_;
  Mode mode_ = Mode::Main;
  std::mt19937 random_;
  int creditsPage_ = 0;
  int dispatchDepth_ = 0;
  bool helpFillerDone_ = false;
  std::string editorStatus_ = "?";
  bool setCreated_ = false;

  std::unique_ptr<audio::Sound> sound_;
  std::unique_ptr<game::Game> game_;
  std::unique_ptr<autosave::Autosave> autosave_;
  std::unique_ptr<script::Interpreter> interpreter_;
};

Mode modeOf(const std::string& firstArgument);

}  // namespace tervano::app
