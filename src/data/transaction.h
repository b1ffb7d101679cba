#pragma once

#include <sys/types.h>

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/errors.h"
#include "data/file_ops.h"
#include "data/journal.h"
#include "data/textlist.h"

namespace tervano {

class ProgramFolder;

// A change of several files and folders of the program folder that ends whole or not at all:
// when the program is killed half-way (a crash, a power cut, a session ended from the task
// manager) and when a file operation fails (a full disk, a read-only file).
//
//   Transaction tx(folder, "Uložení křížovky 1/2");
//   tx.save("tervano\\r1\\k2\\k.lk", legend);        // staged: nothing visible changes yet
//   tx.save("tervano\\r1\\k2\\k.nk", konf);
//   tx.commit();  // all of it; or a TransactionError, and nothing has changed
//
// 1. Staging. New content is written into temporary files beside the targets (".tvtmp-<pid>-<n>",
//    see file_ops.h), a new folder is built under a temporary name beside its place. Nothing the
//    rest of the program reads changes, and a kill now leaves only temporaries of a dead process,
//    which the next start removes.
// 2. Intent. commit() writes the journal ".tvjournal-<pid>-<n>" in the program folder: the steps
//    with the identity (inode) of every entry involved, so that recovery can tell from the disk
//    alone whether a step has happened. The journal stays locked (flock) until the commit ends,
//    so recovery in another process never touches a live transaction.
// 3. Steps, each one atomic rename: a staged file exchanged with its target (the old file moves to
//    the staged name), a folder moved into an empty place, two folders exchanged.
// 4. Commit mark: the line "commit" appended to the journal once every step is durable.
// 5. After the mark, forward only: the old files and the entries set aside are removed.
// 6. The journal is removed last.
//
// A failure or a kill before the commit mark undoes the steps done, in reverse; after it, the rest
// is finished. With Policy::FinishOnceStarted the journal is committed from the start (a deletion
// the user has confirmed is finished, never half undone).
//
// Paths are absolute paths below the program folder (ProgramFolder::resolve gives them) or, for
// save(), relative paths as ProgramFolder takes them. A target below a folder that this
// transaction creates (newFolder) is written straight into the staged folder.
//
// One transaction belongs to one thread; several transactions (in one or several processes) may
// run at once on different files.
class Transaction {
 public:
  enum class Policy {
    UndoUntilCommitted,  // an interruption before the commit mark is undone, after it finished
    FinishOnceStarted,   // committed at once: once begun, always finished
  };

  // `label` names the change to the user if a later start must finish or undo it: a Czech noun
  // phrase, "Uložení křížovky 1/2".
  Transaction(const ProgramFolder& folder, std::string label);
  Transaction(std::filesystem::path root, std::string label);
  // Without a commit, the staged entries are removed and nothing visible has changed.
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  // --- staging: nothing visible changes until commit(); each throws FileError naming the file ---

  // A text list (code page 1250, CR LF) at a path relative to the program folder. The folder's
  // write observer hears of it after the commit.
  void save(std::string_view relative, const TextList& list);
  // The same at an absolute path.
  void saveTextList(const std::filesystem::path& target, const TextList& list);
  // New bytes for a file. A link in the target's place is replaced by a regular file; a folder or
  // a read-only file is refused now, before anything changes.
  void replaceFile(const std::filesystem::path& target, std::string_view bytes);
  // A new folder (and any missing folders above it, below the program folder) that appears at
  // `target` with the commit; nothing may be there then. Returns the staged folder: files saved
  // through this transaction below `target` land in it.
  std::filesystem::path newFolder(const std::filesystem::path& target);
  // Renames an existing entry; nothing may be at `to` when the step runs.
  void move(const std::filesystem::path& from, const std::filesystem::path& to);
  // Moves an existing entry (file or folder) to a temporary name beside it, removed with all it
  // holds after the commit mark and moved back if the change is undone. Returns that name.
  std::filesystem::path moveAside(const std::filesystem::path& entry);
  // Exchanges two existing entries in one step (folders: where the file system cannot, the commit
  // fails and nothing has changed).
  void exchange(const std::filesystem::path& a, const std::filesystem::path& b);
  // Removes an entry (a tree, links removed as links) after the commit mark.
  void removeAfterCommit(const std::filesystem::path& entry);

  // Carries the change out (see above). Throws TransactionError when it could not; then, with
  // UndoUntilCommitted, nothing has changed (or, when even the undoing failed, the journal stays
  // and the next recovery ends it). A transaction is committed once.
  void commit(Policy policy = Policy::UndoUntilCommitted);

  const std::filesystem::path& root() const { return root_; }

 private:
  std::string relative(const std::filesystem::path& path) const;
  // The identity an entry will have once the steps staged so far have run.
  ino_t plannedId(const std::filesystem::path& path) const;
  // The staged place of a path below a folder this transaction creates; empty otherwise.
  std::filesystem::path inNewFolder(const std::filesystem::path& path) const;
  void stage(const std::filesystem::path& target, std::string_view bytes);
  void addStep(journal::Step step, const std::filesystem::path& target,
               const std::filesystem::path& source);
  // What a failed step tells the user: the file or folder it was about.
  struct Failed {
    enum Kind { File, Folder, Rename, Exchange } kind;
    std::filesystem::path path;
  };
  static std::string describe(const Failed& failed, int err);
  // Ends a commit that stopped after `stepsDone` steps: undone, or left to recovery.
  [[noreturn]] void fail(const std::string& message, std::size_t stepsDone);
  void discard();

  const ProgramFolder* folder_ = nullptr;
  std::filesystem::path root_;
  journal::Record record_;
  std::map<std::filesystem::path, ino_t> planned_;
  std::vector<std::pair<std::filesystem::path, std::filesystem::path>> newFolders_;
  std::vector<std::filesystem::path> stagedFolders_;  // every folder made inside them
  std::vector<Failed> descriptions_;                  // per step
  std::vector<std::string> written_;  // told to the folder's write observer after the commit
  std::filesystem::path journal_;
  fileops::Fd lock_;
  bool finished_ = false;
};

// A transaction that failed. undone(): everything it had changed was put back.
class TransactionError : public FileError {
 public:
  TransactionError(const std::string& message, bool undone) : FileError(message), undone_(undone) {}
  bool undone() const { return undone_; }

 private:
  bool undone_;
};

// --- recovery ---

// What a recovery did, for the user.
struct RecoveryReport {
  std::vector<std::string> finished;  // labels of changes finished
  std::vector<std::string> undone;    // labels of changes undone
  std::vector<std::string> problems;  // Czech messages: what could not be done now
  int temporariesRemoved = 0;
  // One Czech text for an information box; empty when there is nothing to tell.
  std::string message() const;
};

// At every start, in every mode, before anything reads the data: finishes or undoes every journal
// whose process is gone, then removes the temporaries this program made that no live process
// owns (".tvtmp-*" and the older ".<name>.tmp-<pid>-<n>"), in the program folder itself, the set
// folders ("tervano*") and "Data", and the crosswords that earlier versions set aside in a grade
// folder while deleting them (".smazana-k<n>-<pid>") when their process is gone. Nothing else is
// touched. Running it again after a kill during
// it gives the same end.
RecoveryReport recoverAtStart(const std::filesystem::path& root);
// Before every tool command that changes files: the journals only (cheap: one look at the
// program folder). A live transaction, of this process or another, is left alone.
RecoveryReport recoverBeforeCommand(const std::filesystem::path& root);

inline constexpr std::string_view kJournalPrefix = ".tvjournal-";

}  // namespace tervano
