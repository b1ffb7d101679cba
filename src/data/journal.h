#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/file_ops.h"

// The journal of a transaction (see transaction.h): what it is about to change, written before the
// first visible change, and what one step does forwards and backwards. The transaction and the
// recovery of a later start share it, so both judge a step the same way.
namespace tervano::journal {

// One reversible step. Paths are relative to the program folder. Whether a step has happened is
// read from the disk, never remembered: a step is done when its target holds the entry that was
// its source (the same inode), so a step can be undone or redone any number of times, and a
// kill between two of them changes nothing about the answer.
struct Step {
  enum class Kind {
    // A file gets new content: the staged file `source` takes the place of `target`, and the old
    // file goes to `source` (one exchange) or, where the file system cannot exchange, to `aside`.
    Replace,
    // `source` gets the name `target`, where nothing is. A staged source (a new folder) is removed
    // again when the step is undone.
    Move,
    // `target` and `source` exchange their places (two folders, both kept).
    Exchange,
  };
  Kind kind = Kind::Replace;
  std::string target;
  std::string source;
  std::string aside;          // Replace only
  ino_t targetId = 0;         // the entry at target before the step; 0: nothing was there
  ino_t sourceId = 0;         // the entry at source before the step
  bool stagedSource = false;  // the source is the transaction's own (removed when it ends)

  bool operator==(const Step&) const = default;
};

struct Record {
  std::string label;       // what the user is told, in Czech ("Uložení křížovky 1/2")
  bool committed = false;  // past the commit mark: finish; before it: undo
  std::vector<Step> steps;
  std::vector<std::string> removals;  // after the commit mark, in order (trees, never followed)

  bool operator==(const Record&) const = default;
};

// The text of a journal:
//
//   tervano-journal 1
//   label Uložení%20křížovky%201/2
//   replace tervano/r1/k2/k.lk tervano/r1/k2/.tvtmp-812-0 tervano/r1/k2/.tvtmp-812-4 1311 1407
//   move tervano/r1/k4 tervano/r1/.tvtmp-812-5 0 1412 staged
//   exchange tervano tervano31 1200 1250
//   remove .tvtmp-812-9
//   end
//   commit
//
// Lines of words separated by blanks; a name is written with "%XX" for '%', the bytes up to the
// blank and DEL, so any Linux file name (newlines, quotes, any bytes) round-trips, and Czech
// letters stay readable. The numbers are the inodes of target and source before the step. The
// commit mark is the line appended after "end"; a mark cut short by a crash counts as not made.
std::string encode(const Record& record);
// Nothing when the text is not a whole journal of this version.
std::optional<Record> decode(std::string_view text);
std::string encodeName(std::string_view name);
std::optional<std::string> decodeName(std::string_view word);

// A relative path of a journal resolved below the program folder; nothing for an absolute path,
// an empty one or one with "..", which no journal of this program holds.
std::optional<std::filesystem::path> place(const std::filesystem::path& root,
                                           std::string_view relative);

// What a step does. Each returns 0 or an errno.
// Carries the step out; first checks that target and source are still the entries recorded
// (ESTALE otherwise), so a file changed by someone else meanwhile is never swapped away.
int apply(const std::filesystem::path& root, const Step& step);
// Puts back what the step changed; nothing when it has not happened.
int undo(const std::filesystem::path& root, const Step& step);
// Finishes the step when it has not happened (and its source is still there).
int redo(const std::filesystem::path& root, const Step& step);
// Removes the staged entries and the asides of the steps, and after the commit mark the removals.
int cleanUp(const std::filesystem::path& root, const Record& record);
// The folders whose entries the steps change, to be made durable before the commit mark.
std::vector<std::filesystem::path> foldersOf(const std::filesystem::path& root,
                                             const Record& record);

// Appends the commit mark to the journal (one write: made or not). The caller flushes it.
int markCommitted(const fileops::Fd& journal);

// Writes the record as the journal file `path` in one step (temporary file, flush, rename), and
// holds an exclusive flock on the new file from before it takes the name: at every moment the
// file under the journal's name is locked while its transaction lives. `lock` receives the new
// descriptor (the old one, if any, is closed only after the rename).
int writeLocked(const std::filesystem::path& path, const Record& record, fileops::Fd& lock);

}  // namespace tervano::journal
