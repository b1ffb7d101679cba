#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "data/programfolder.h"
#include "data/textlist.h"
#include "sets/runner.h"
#include "sets/work_folders.h"
#include "ui/controls.h"
#include "ui/host.h"

namespace tervano::audio {
class Sound;
}

namespace tervano::sets {

// The set panel of set selection: the registry of installed sets (the set list "sady.ini", the
// selection file "Tervano.ini", the active set's descriptor) and its commands. Switching renames
// folders at once; installation and creation copy a set by a command script that the program's
// own runner carries out into the work folder "tervanoTemp" while the panel waits, showing its
// progress; deletion empties the set by a script whose questions the user answers.
//
// The registry's rule: every entry of the set list names either the active set (folder
// "tervano", whose descriptor's line 6 is the entry's number) or an existing folder "tervano" + N
// whose descriptor's line 6 is N, and every set folder is listed. Every command keeps it, also
// when the program is killed half-way: each change of the registry is one transaction (see
// data/transaction.h), and what a killed run leaves in a work folder the next start clears.
class SetManager {
 public:
  SetManager(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder,
             audio::Sound& sound);
  ~SetManager();
  SetManager(const SetManager&) = delete;
  SetManager& operator=(const SetManager&) = delete;

  // The set panel's controls and the timers of its command scripts.
  static void declare(ui::Controls& controls);

  // SETSADA: reads the selection file, the working descriptor and the set list into the panel.
  // A missing file reads as empty; without an active set the user may choose one.
  void open();
  // The switch: the user chose the entry `name` of the set box.
  void choose(const std::string& name);
  // The user typed into the set box.
  void editBox(const std::string& text);
  // "Potvrdit": ends the program, or refuses while no set is entered. True when the program ends.
  bool confirm();
  // The close request of the main window; false refuses the close.
  bool closeQuery();
  // "X" of the name sub-panel, and the end of every command that uses it: the panel at rest.
  void closeNamePanel();
  // "Instalovat": a set from an installation medium.
  void install();
  // The script timer: the progress of the running script and, once it has ended, the rest of
  // the command that started it.
  void scriptTick();

  // "Založit novou" and "Přejmenovat" open the name sub-panel; its "Potvrdit" carries out the
  // command named in its title.
  void openCreate();
  void openRename();
  void confirmName();
  // The new-name box: the user's value (or text), and the box losing the focus, which brings a
  // value into 30 to 110 and text that is no number to 30.
  void editNumber(const std::string& text, int value);
  void leaveNumber(const std::string& text);
  // The completion timer of a creation: the new set gets its name once the copy has ended.
  void completionTick();
  // "Smazat/odinstalovat": deletes the active set after two questions.
  void remove();

  // A command script is running, or its command not yet ended; nothing else may touch the sets
  // meanwhile.
  bool busy() const { return run_ != nullptr; }
  // The runner itself is still at work (a creation then waits for its completion timer).
  bool scriptRunning() const { return run_ && !run_->progress->finished(); }
  const TextList& selection() const { return selection_; }
  const TextList& workingDescriptor() const { return descriptor_; }

 private:
  enum class Job { Install, Create, Delete };
  struct Run {
    Job job;
    std::shared_ptr<RunProgress> progress;
    std::string script;            // relative to the program folder
    std::filesystem::path target;  // the work folder the script fills or empties
    std::string number;            // the set number the command works for
    std::array<int, 4> counts{};   // the crosswords a copy must bring
    FolderLock lock;               // on the work folder, for as long as the command works in it
    // A deletion: the set's place in the set list and its descriptor, to give it back when the
    // user keeps some of its files.
    int listIndex = 0;
    TextList descriptor;
  };

  TextList setList() const;
  // The set list as it stands on the disk (another instance may have changed it).
  TextList storedSetList() const;
  void showSetList(const TextList& list);
  void saveSetList(const TextList& list);
  void saveSelection();
  void setSelected(const std::string& name);
  // The working descriptor from "tervano\Tervano.ini"; empty when there is no active set.
  void loadWorkingDescriptor();
  // Writes the working descriptor back, only when it was loaded from the active set and changed.
  void writeWorkingDescriptor();
  // Line 6 of the active set's descriptor; nothing when no folder "tervano" holds one.
  std::optional<std::string> activeNumber() const;
  // The folder of that name directly in the program folder, letter case ignored.
  std::filesystem::path place(std::string_view name) const { return folder_.resolve(name); }
  bool exists(std::string_view name) const;
  // A folder (not a link) "tervano" + number whose descriptor's line 6 is the number.
  bool isInactiveSet(const std::string& number) const;
  // "Tervano" + N is taken: listed, the active set's number, or a folder of that name.
  bool taken(const std::string& number) const;
  void showActive();
  bool refuseWhileBusy();
  void refuse(ui::MessageKind kind, const std::string& text);
  // Before a command changes files: what a killed run left half done is ended or cleared.
  void recoverFirst();
  // The selection file with line 0 set to `name`.
  TextList selectionWith(const std::string& name) const;

  int newNumber();
  void openNamePanel(const char* mode);
  void create(const std::string& number);
  void rename(const std::string& number);
  void novsad(Run& run);
  void delsad();
  void finishDeletion(Run& run);
  void keepDeclined(Run& run);

  // Copy of a set into the work folder: the script written, the folders made, the runner started.
  void startCopy(Job job, const std::filesystem::path& source, const std::string& number);
  // After the copy: the whole set is in the work folder. Otherwise it is cleared and the user
  // told why; false.
  bool copiedWhole(Run& run);
  void launch(std::unique_ptr<Run> run, const std::filesystem::path& source);
  void setBusy(bool on, const std::string& status);
  void askWaitingQuestion();
  void finishInstall(Run& run);
  // Ends the program as "Potvrdit" does; the working descriptor is written only when asked.
  bool end(bool writeDescriptor);

  ui::Controls& controls_;
  ui::Host& host_;
  const ProgramFolder& folder_;
  audio::Sound& sound_;

  TextList selection_;
  TextList descriptor_;
  TextList descriptorAsLoaded_;
  bool descriptorFromActive_ = false;

  bool activeSetDeleted_ = false;
  bool setCreated_ = false;
  bool scriptLaunched_ = false;
  int completionTicks_ = 0;
  bool asking_ = false;  // a question of the runner is on the screen

  std::unique_ptr<Run> run_;
};

}  // namespace tervano::sets
