#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "app/event.h"
#include "app/mode.h"
#include "app/mode_registry.h"
#include "app/routes.h"
#include "data/errors.h"
#include "data/programfolder.h"
#include "data/session.h"
#include "ui/controls.h"
#include "ui/host.h"

namespace tervano::audio {
class Sound;
}
namespace tervano::autosave {
class Autosave;
}
namespace tervano::editor {
class WorksheetOutput;
}
namespace tervano::game {
class Game;
}
namespace tervano::script {
class Interpreter;
}

namespace tervano::app {

class AboutWindow;
class Chooser;
class Credits;
class GameBridge;
class HelpWindow;
class MenuScreen;

// The composition root: owns the live state, the subsystems and the mode this process runs,
// and turns every input of the view into a command. Every entry point goes through dispatch,
// the one place where an error the user caused becomes an error box.
class Application {
 public:
  Application(ui::Host& host, ProgramFolder folder, TextList arguments,
              std::uint32_t randomSeed = std::random_device{}())
      : Application(host, std::move(folder), std::move(arguments), ModeRegistry::standard(),
                    randomSeed) {}
  // With modes of the caller's: tests add one.
  Application(ui::Host& host, ProgramFolder folder, TextList arguments, const ModeRegistry& modes,
              std::uint32_t randomSeed = std::random_device{}());
  ~Application();

  // The program's start: main window (with the mode's start-up), chooser, help and about
  // windows, in that order.
  void startProgram();

  bool dispatch(const Event& event);
  // Runs one command the way dispatch does: an error the user caused ends it with an error box
  // (or is handed to onError), the steps done before stay done. False when an error ended it.
  bool invoke(const std::function<void()>& command,
              const std::function<void(const UserError&)>& onError = {});
  // Handles an event inside the running command, as if the user had caused it.
  void route(const Event& event) { handle(event); }
  // Shorthands for the view and tests.
  bool click(std::string_view id) { return dispatch({Event::Kind::Click, std::string(id)}); }
  bool hover(std::string_view id) { return dispatch({Event::Kind::Hover, std::string(id)}); }
  bool key(std::string_view k) { return dispatch({Event::Kind::Key, std::string(k)}); }
  bool tick(std::string_view t) { return dispatch({Event::Kind::Tick, std::string(t)}); }
  bool edit(std::string_view id, std::string text) {
    return dispatch({Event::Kind::Edit, std::string(id), std::move(text)});
  }

  ui::Host& host() { return host_; }
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
  Chooser& chooser() { return *chooser_; }
  HelpWindow& helpWindow() { return *help_; }
  AboutWindow& aboutWindow() { return *about_; }
  Credits& credits() { return *credits_; }
  Mode& mode() { return *mode_; }
  const ModeRegistry& modes() const { return modes_; }
  // The row of the mode this process runs; null for a switch no row knows.
  const ModeRow* modeRow() const { return modeRow_; }
  // The sound device is opened at the first paint: the mode sounds cues at once and they are on.
  bool soundAtFirstPaint() const;
  void seedRandom(std::uint32_t seed);
  // Where the crossword editor prints worksheets and writes them as PDF: the view's printer, a
  // test's fake, or none (the outputs then say they are not available).
  void setWorksheetOutput(editor::WorksheetOutput* output) { worksheetOutput_ = output; }
  editor::WorksheetOutput* worksheetOutput() const { return worksheetOutput_; }

  // A mode button: after its question (and the end of a running game) this instance ends and
  // the program starts again with the switch.
  void switchMode(std::string_view argument, bool toMainApplication);
  // The close request of the main window and, when it is allowed, its closing. False when the
  // close was refused.
  bool closeMainWindow();

  // Pieces of the modes' start-ups.
  void setModeLook(std::string_view title, std::string_view icon);
  // The tools keep only the main menu and quit shortcuts; set selection keeps none.
  void keepOnlyMenuAndQuitShortcuts() { disableShortcuts(true); }
  void disableAllShortcuts() { disableShortcuts(false); }
  // The timers of a game in play: music, its file name, the gauges and "Kontrola".
  void stopGameTimers();
  void stopAllTimersButCompletion();

 private:
  void handle(const Event& event);
  void disableShortcuts(bool keepMainMenuAndQuit);
  void afterCommand();
  void startUpMainWindow();
  void closeRequest();
  void editAnswers(const Event& event);
  void toMainApplication();

  ui::Host& host_;
  const ModeRegistry& modes_;
  const ModeRow* modeRow_;
  ProgramFolder folder_;
  ui::Controls controls_;
  Session session_;

  std::unique_ptr<GameBridge> bridge_;
  std::unique_ptr<audio::Sound> sound_;
  std::unique_ptr<game::Game> game_;
  std::unique_ptr<autosave::Autosave> autosave_;
  std::unique_ptr<script::Interpreter> interpreter_;
  std::unique_ptr<Chooser> chooser_;
  std::unique_ptr<HelpWindow> help_;
  std::unique_ptr<Credits> credits_;
  std::unique_ptr<AboutWindow> about_;
  std::unique_ptr<MenuScreen> menu_;
  std::unique_ptr<Mode> mode_;
  editor::WorksheetOutput* worksheetOutput_ = nullptr;
  Routes<Application> routes_;
};

}  // namespace tervano::app
