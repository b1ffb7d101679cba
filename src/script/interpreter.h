#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/session.h"
#include "ui/host.h"

namespace tervano::script {

// The operations a script drives, by the caption of the button or switch that carries them.
// The application implements them; the interpreter knows nothing of the game and changes no
// game state itself.
class ScriptCommands {
 public:
  virtual ~ScriptCommands() = default;
  virtual bool gameInProgress() = 0;  // "Ukončit hru" is enabled
  virtual void newGame() = 0;
  virtual void newGameWithSettings() = 0;
  virtual void loadGame() = 0;
  virtual void saveGame() = 0;            // "Uložit hru"
  virtual void endGame() = 0;             // "Ukončit hru", with its own question
  virtual void endGameAsCompleted() = 0;  // "aplikace.hra.ukhjdok"
  virtual void showMenu() = 0;
  virtual void returnToGame() = 0;
  virtual void help() = 0;
  virtual void about() = 0;
  virtual void credits() = 0;
  virtual void keyList() = 0;
  virtual void quit() = 0;  // "Konec"
  virtual void kontrola() = 0;
  virtual void retryCrossword() = 0;  // prvkr
  virtual void setSound(bool on) = 0;
  virtual void setMusic(bool on) = 0;
  virtual void setErrorPerLine(bool ticked) = 0;
  // "Konkrétně ukázat chybu" ticked by a script; `answers` is the line after the command.
  virtual void tickErrorPerLine(std::string_view answers) = 0;
  virtual void setAskOverwrite(bool ticked) = 0;
  virtual std::string counter(std::string_view counterId) = 0;
  virtual void setCounter(std::string_view counterId, std::string text) = 0;
  virtual std::string points() = 0;
  // The message about an unsupported switch, which names the program's switches.
  virtual std::string unsupportedSwitchText() = 0;
};

// The deepest nesting of script runs. A script that re-triggers its own hook (a start-of-crossword
// script with "cross.retry") or Retry pressed again and again would otherwise nest without end
// and exhaust the stack.
inline constexpr int kMaxScriptNesting = 16;

// Shown once when a run is stopped at kMaxScriptNesting.
std::string nestingMessage();

// The commands fall into groups; the script editor lists them group by group.
enum class CommandGroup {
  Game,
  Help,
  Application,
  Settings,
  Counters,
  Check,
  Errors,
  Warnings,
  Infos,
  AskOverwrite,
  Retry
};

struct CommandName {
  std::string_view name;
  CommandGroup group;
};

// Every command of the language, in the order of its reference.
std::vector<CommandName> commandNames();

// STARTSC: runs the script held in the session's script buffer, line by line.
class Interpreter {
 public:
  Interpreter(Session& session, ui::Host& host, ScriptCommands& commands);

  void run();

  int scriptLine() const { return scriptLine_; }
  int depth() const { return depth_; }

  static bool isCommand(std::string_view line);

  // What a command sees of the run that executes it.
  struct Call;

 private:
  friend struct Call;
  void runNested();
  // Executes the command on the current line; false when the line is no command.
  bool execute(const std::string& line);
  void counterCommand(std::string_view counterId);
  bool accepted(const std::string& line) const;
  const std::string& line(int index) const { return session_.scriptBuffer.get(index); }

  Session& session_;
  ui::Host& host_;
  ScriptCommands& commands_;
  int scriptLine_ = 0;
  int depth_ = 0;
};

}  // namespace tervano::script
