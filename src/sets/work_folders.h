#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/file_ops.h"

// The set manager's work folders: "tervanoTemp", where an installation or a creation copies a
// set before it gets its name, and "tervanoMazani", where a set whose deletion the user has
// confirmed is emptied. An instance that works in one holds an flock on the folder itself; the
// lock follows the folder through renames and ends with the process, so a work folder nobody
// holds is what a run that ended (or was killed) left behind, and is ours to clear.
namespace tervano::sets {

// A lock on a folder for as long as the object lives.
class FolderLock {
 public:
  FolderLock() = default;
  // Locks the real folder (not a link) at `folder`; an empty lock when it is missing, is no real
  // folder, or another holds it.
  static FolderLock take(const std::filesystem::path& folder);
  bool held() const { return fd_.get() >= 0; }

 private:
  fileops::Fd fd_;
};

// What is at a work folder's name.
enum class WorkState { Missing, Leftover, InUse, NotOurs };
WorkState workState(const std::filesystem::path& folder);

// Clears what earlier runs left: every work folder no instance holds, with all it holds (links
// removed as links), and the command script of its kind (install.bat and create.bat with
// "tervanoTemp", delsada.bat with "tervanoMazani"). Nothing else is touched, and nothing at all
// while a change that recovery could not end (a journal) is still in the program folder. Returns
// the names cleared.
std::vector<std::string> clearLeftoverWork(const std::filesystem::path& root);

// A new, empty work folder `name` in the program folder, locked for this instance; a leftover of
// that name is cleared first. SetError (nothing changed) when another instance works in it or
// something that is no work folder of ours has the name.
FolderLock makeWorkFolder(const std::filesystem::path& root, std::string_view name);

}  // namespace tervano::sets
