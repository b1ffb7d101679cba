#pragma once

#include "data/programfolder.h"
#include "data/transaction.h"
#include "ui/host.h"

// Recovery of changes that a kill or a failure left unfinished (see data/transaction.h), with
// what the user is told about it.
namespace tervano::ui {

// A warning when something could not be ended now, otherwise an information box; nothing when
// there was nothing to finish or undo (removed temporaries are not worth a word).
inline void tellRecovery(Host& host, const RecoveryReport& report) {
  const std::string text = report.message();
  if (text.empty()) return;
  if (report.problems.empty())
    showInfo(host, text);
  else
    showWarning(host, text);
}

// At the start of every mode, before anything reads the data.
inline void recoverAtStart(Host& host, const ProgramFolder& folder) {
  tellRecovery(host, tervano::recoverAtStart(folder.root()));
}

// Before every tool command that changes files: the changes of processes that died meanwhile.
inline void recoverBeforeCommand(Host& host, const ProgramFolder& folder) {
  tellRecovery(host, tervano::recoverBeforeCommand(folder.root()));
}

}  // namespace tervano::ui
