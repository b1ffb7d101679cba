#pragma once

#include <string>

#include "data/records.h"
#include "data/textlist.h"

namespace tervano {

// The live state of one run that is not shown in a control: the lists shared with files and the
// flags of the game. It belongs to the application and lives as long as the process.
struct Session {
  TextList argumentList;
  TextList saveRecord = defaultSaveRecord();
  TextList zaklnast;  // the active set's descriptor
  TextList konftaj;   // configuration of the crossword in play
  TextList vyslt;     // solution of the crossword in play
  TextList scriptBuffer;
  TextList autosf{"Autosf"};  // the autosave log; a tool mode never loads it

  bool gameFinished = false;
  bool showAnswersInErrors = false;
  bool suppressDetailPrompt = false;
  bool scriptsDisabled = false;
  bool saveRepairPending = false;
  bool repairAnnounced = false;  // the repair message was shown and the window closed
  bool closingRecord = false;
  // Read once at start-up from the option "Dotazovat se před přepsáním savu".
  bool saveDialogAsksOverwrite = true;

  // File names kept by the load and save dialogs between uses.
  std::string loadFileName;
  std::string saveFileName;

  // The music player's current file (full path) as the record player shows it.
  std::string musicFile;

  bool mainApplication() const { return argumentList.get(1).empty(); }
  const std::string& mode() const { return argumentList.get(1); }
};

}  // namespace tervano
