#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tervano::ui {

// The four kinds of message box, plus the plain box without an icon used for script errors.
enum class MessageKind { Error, Warning, Information, Confirmation, Plain };
enum class Buttons { Ok, OkCancel, RetryCancel };
enum class Answer { Ok, Cancel, Retry };

enum class Cursor { Normal, Busy, Help, NotAllowed, Hand };

struct FileFilter {
  std::string label;
  std::vector<std::string> patterns;  // "*.kr1", or an exact file name
};

struct FileDialogOptions {
  std::string title;
  std::vector<FileFilter> filters;
  std::string initialFolder;  // absolute
  std::string fileName;       // preselected name, may be empty
  bool mustExist = false;
  bool overwritePrompt = false;
  std::string defaultSuffix;  // appended by the dialog to a name typed without one
};

// The music sequencer: one current file, open or closed. Playing loops the piece by itself.
class MusicPlayer {
 public:
  virtual ~MusicPlayer() = default;
  // Opens a file with the position at its start (an open file is closed first). Returns false
  // when the file cannot be played; the player is then closed and stays silent.
  virtual bool open(const std::string& path) = 0;
  // Plays from the current position; at the end of the piece it rewinds first. Playing an
  // already playing piece changes nothing.
  virtual void play() = 0;
  virtual void stop() = 0;  // keeps the position
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
};

// Everything modal or physical: message boxes, dialogs, sound, processes and the end of the
// program. The game logic never touches a window or a device directly.
class Host {
 public:
  virtual ~Host() = default;

  // A message box; in the text "\r" starts a new line. The caption overrides the kind's own.
  virtual Answer message(MessageKind kind, std::string_view text, Buttons buttons,
                         std::string_view caption = {}) = 0;
  // A question answered by picking one of the options (the preselected one is offered first);
  // nullopt when the user cancels.
  virtual std::optional<std::size_t> choose(std::string_view question,
                                            const std::vector<std::string>& options,
                                            std::size_t preselected) = 0;
  // A question as a command console asks it ("… (A/N)"): the user types "a" (ano) or "n" (ne)
  // and Enter, and OK answers "a". True for "a". A host without a console-like box asks with OK
  // and Cancel.
  virtual bool consoleQuestion(std::string_view text) {
    return message(MessageKind::Confirmation, text, Buttons::OkCancel) == Answer::Ok;
  }
  virtual std::optional<std::string> openFile(const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> saveFile(const FileDialogOptions& options) = 0;
  // A folder to write into (the dialog may create one); only the title and the initial folder
  // of the options apply.
  virtual std::optional<std::string> chooseFolder(const FileDialogOptions& options) = 0;

  // Plays a WAV file and returns when its last sample has been played. A missing or broken file
  // sounds the system's alert instead, where there is one.
  virtual void playWavSync(const std::string& path) = 0;
  virtual MusicPlayer& music() = 0;

  // Starts the program's own executable again, detached, with the argument (empty for none).
  virtual void startInstance(std::string_view argument, const std::string& workingFolder) = 0;
  // Starts a command script of the set manager: `runner` is the program's own runner reading and
  // carrying out the script at path. The host runs it off the user-interface thread and returns
  // at once; the caller follows the run through what the runner itself reports.
  virtual void launchCommandScript(const std::string& path, std::function<void()> runner) = 0;
  virtual void openDocument(const std::string& path, const std::string& workingFolder) = 0;

  virtual void setCursor(Cursor cursor) = 0;
  // Ends the program once the running command has returned.
  virtual void requestQuit() = 0;
  virtual bool quitRequested() const = 0;
};

}  // namespace tervano::ui

namespace tervano::ui {

inline void showError(Host& host, std::string_view text) {
  host.message(MessageKind::Error, text, Buttons::Ok);
}
inline void showWarning(Host& host, std::string_view text) {
  host.message(MessageKind::Warning, text, Buttons::Ok);
}
inline void showInfo(Host& host, std::string_view text) {
  host.message(MessageKind::Information, text, Buttons::Ok);
}
// A confirmation with OK and Cancel; true for OK.
inline bool confirm(Host& host, std::string_view text) {
  return host.message(MessageKind::Confirmation, text, Buttons::OkCancel) == Answer::Ok;
}

}  // namespace tervano::ui
