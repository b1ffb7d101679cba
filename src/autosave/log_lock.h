#pragma once

#include "data/file_ops.h"
#include "data/programfolder.h"

namespace tervano::autosave {

// The one lock of the autosave log: a running game appends records while the autosave manager
// deletes them, each reading the whole log, changing it and writing it back. Whoever holds the
// lock re-reads the log, changes it and saves it; the other waits, then reads what was written.
//
// The lock is an flock on the log's folder ("Data\kriz"): the log itself is replaced by a rename
// at every write, so its inode would change under a waiting process, while the folder stays. No
// file is made for it, so nothing is left to clear and a missing log stays missing. Where the
// folder cannot be opened, nothing is locked: the log cannot be written there either.
//
// Never held while a box or dialog waits for the user: the other process would wait as long.
class LogLock {
 public:
  explicit LogLock(const ProgramFolder& folder);
  LogLock(const LogLock&) = delete;
  LogLock& operator=(const LogLock&) = delete;

  // Without waiting: false when another holds the lock (for tests and checks).
  static bool freeNow(const ProgramFolder& folder);

 private:
  fileops::Fd fd_;
};

}  // namespace tervano::autosave
