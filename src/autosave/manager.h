#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "audio/sound.h"
#include "autosave/record.h"
#include "data/errors.h"
#include "data/programfolder.h"
#include "data/session.h"
#include "ui/controls.h"
#include "ui/host.h"

namespace tervano::autosave {

// A log the manager cannot work on as asked; the text says why and what still helps.
class LogError : public UserError {
 public:
  using UserError::UserError;
};

// A text split into lines as every text file is read (CR, LF or CR LF end a line), the lines
// counted before the list is made.
TextList splitLines(std::string_view text);

// The picture of a record written by the given trigger line; -1 for a text that names none.
int triggerIcon(std::string_view triggerLine);
inline constexpr int kIcons = 5;

enum class ListStyle { Icons, List, Details };

// The autosave manager: lists the records of the log, shows one, deletes one or all, and exports
// one as the saved game that the next start of the main application offers to load.
//
// The log on disk is the truth. A running game appends to it while the manager is open, so every
// change re-reads the file first and rewrites only what it read: a deletion never brings back an
// older copy, and a record the game appended meanwhile is never lost.
class Manager {
 public:
  Manager(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder, Session& session,
          audio::Sound& sound, std::function<void()> returnToMain);

  // The controls of the manager's screen, as a start finds them.
  static void declare(ui::Controls& controls);

  void search();    // SEARCHAUTOSAVE: read the log and fill the list
  void loadOnly();  // SETLOADAUTOSAVE: only picking and loading stay, then the listing
  void select(int index);
  void viewRecord();        // "Nahlédnout do obsahu"
  void loadRecord();        // "Načíst", and a double click on the list
  void deleteRecord();      // "Smazat"
  void deleteAllRecords();  // "Smazat veškeré záznamy"
  void closeManager();      // "Konec"
  void setStyle(ListStyle style);

  const std::vector<RecordPlace>& records() const { return records_; }
  // Whether a listing has read the log; only then may "Konec" write to it.
  bool loaded() const { return loaded_; }

 private:
  TextList readLog() const;
  void beforeListing();
  void list(TextList log);
  void showRecords();
  void refreshCount();
  void endSelection();
  int selected() const;
  void changedMeanwhile(TextList log);

  ui::Controls& controls_;
  ui::Host& host_;
  const ProgramFolder& folder_;
  Session& session_;
  audio::Sound& sound_;
  std::function<void()> returnToMain_;
  std::vector<RecordPlace> records_;  // one per list entry, in the order of the list
  bool loaded_ = false;
};

}  // namespace tervano::autosave
