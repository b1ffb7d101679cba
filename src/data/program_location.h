#pragma once

#include <filesystem>
#include <string>

namespace tervano {

// Where the program folder of a running executable lies.
//
// A build, or a copy of the program in a folder of its own, keeps its data tree beside the
// executable, and that folder is the program folder. An installed program has no tree beside it
// (/usr/bin is no place for saved games): it delivers the tree read-only under the share folder,
// and each user plays in a copy of it in $XDG_DATA_HOME/tervano (~/.local/share/tervano).

// The environment variable that hands the program folder to a new instance of the program: a
// mode switch restarts the executable, and the new mode must work in the same folder.
inline constexpr const char* kProgramFolderVariable = "TERVANO_PROGRAM_FOLDER";

struct LocationInputs {
  std::filesystem::path executableFolder;
  // The delivered tree of an installed program (the executable's folder + "../share/tervano").
  std::filesystem::path installedTree;
  std::string handedOver;   // kProgramFolderVariable
  std::string xdgDataHome;  // XDG_DATA_HOME
  std::string home;         // HOME, or the home of the user's account
};

struct ProgramLocation {
  std::filesystem::path folder;
  // The folder is the user's own copy and must be filled from this tree before use; empty when
  // the folder is used as it is.
  std::filesystem::path fillFrom;
};

// True when the folder holds a data tree (a set, the set list or the saved games).
bool holdsDataTree(const std::filesystem::path& folder);

// The user's own data folder: $XDG_DATA_HOME/tervano, or ~/.local/share/tervano when the variable
// is unset, empty or not absolute (as the XDG rules say).
std::filesystem::path userDataFolder(const std::string& xdgDataHome, const std::string& home);

ProgramLocation locateProgramFolder(const LocationInputs& inputs);

// The file in the user's folder that records which installed tree it was last filled from.
inline constexpr const char* kFilledFromFile = ".instalace";

// Fills the user's program folder from the installed tree. The first time, the whole tree is
// copied into a temporary folder beside it, which then takes the folder's name in one step, so a
// start that breaks off leaves nothing half made. Once the installed tree has changed (an update
// of the package), the files the folder does not have are copied in, but nothing inside the
// crossword sets ("tervano", "tervano" + number): those are the player's own, switched, edited
// and deleted by the set manager and the editor. A file that exists, in any letter case, is
// never replaced. Throws FileError with a Czech message when the folder cannot be made.
void fillProgramFolder(const std::filesystem::path& installedTree,
                       const std::filesystem::path& folder);

// A fingerprint of the installed tree: its files' names, sizes and times.
std::string treeFingerprint(const std::filesystem::path& tree);

}  // namespace tervano
