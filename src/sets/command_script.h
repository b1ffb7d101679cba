#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "data/textlist.h"

// The command scripts the set manager writes: install.bat, create.bat and delsada.bat. Their
// lines follow the documented layout; the paths are this system's (forward slashes), each in
// double quotes so that blanks and Czech letters pass, and are carried out by our own runner.
namespace tervano::sets {

// A path as a script line names it: forward slashes, in double quotes, with a trailing slash
// when asked for. A path that holds a double quote cannot be named and is refused (SetError).
std::string quotedPath(const std::filesystem::path& path, bool trailingSlash);

// The copy script of an installation (first line "echo of") or of a creation ("echo off"): the
// files of the set folder `from` into the folder `to`, root, script, hdb, def and sur first, then
// crossword by crossword (counts: crosswords of grades I to IV), the end marker last.
TextList copyScript(std::string_view firstLine, const std::filesystem::path& from,
                    const std::filesystem::path& to, const std::array<int, 4>& counts);

// The deletion script of the set folder `set`, written for the program folder `program`: always
// 21 lines, six of them "erase *.*".
TextList deletionScript(const std::filesystem::path& set, const std::filesystem::path& program);

// The crossword counts of grades I to IV: the line counts of the set's lists "sur/1.cbx" to
// "sur/4.cbx". A missing list is a FileError.
std::array<int, 4> crosswordCounts(const std::filesystem::path& set);

// The folders a copy script fills: the set folder, its nine subfolders and one folder per
// crossword. What exists already is passed over.
void makeSetFolders(const std::filesystem::path& set, const std::array<int, 4>& counts);

}  // namespace tervano::sets
