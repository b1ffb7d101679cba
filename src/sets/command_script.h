#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/textlist.h"

// The command scripts the set manager writes: install.bat, create.bat and delsada.bat. Their
// lines follow the documented layout; the paths are this system's (forward slashes), each in
// double quotes, and are carried out by our own runner.
//
// A path in a script is written so that the runner reads back exactly the bytes of the name:
// inside the quotes every character stands for itself (blanks and Czech letters included),
// except that "%XX" (two upper-case hexadecimal digits) stands for the byte XX. Written that way
// are '"', '%', the control characters, and every byte of a character that code page 1250 (the
// script's encoding) cannot hold or of a name that is no valid UTF-8. So
//   /home/eva/Hra "křížovek" ž/tervano/hdb/   is written   "/home/eva/Hra %22křížovek%22
//   ž/tervano/hdb/"
// Every Linux path can be written; a path longer than the system's limit cannot be used at all
// and is refused before anything changes.
namespace tervano::sets {

// The longest path the system opens (PATH_MAX).
inline constexpr std::size_t kLongestPath = 4096;
// The most crosswords a grade of a set may have; a list naming more is refused before anything
// is made.
inline constexpr int kMostCrosswords = 999;

// A path as a script line names it: forward slashes, in double quotes, with a trailing slash
// when asked for, escaped as above. A path too long to use is refused (SetError).
std::string quotedPath(const std::filesystem::path& path, bool trailingSlash);
// The escaping of the text inside the quotes, and its reverse (nothing for a '%' that is not
// followed by two hexadecimal digits).
std::string escapeForScript(std::string_view bytes);
std::optional<std::string> unescapeFromScript(std::string_view text);

// The copy script of an installation (first line "echo of") or of a creation ("echo off"): the
// files of the set folder `from` into the folder `to`, root, script, hdb, def and sur first, then
// crossword by crossword (counts: crosswords of grades I to IV), the end marker last.
TextList copyScript(std::string_view firstLine, const std::filesystem::path& from,
                    const std::filesystem::path& to, const std::array<int, 4>& counts);

// The deletion script of the set folder `set`, written for the program folder `program`: always
// 21 lines, six of them "erase *.*".
TextList deletionScript(const std::filesystem::path& set, const std::filesystem::path& program);

// A script the runner can read (see limits::kDataFile); SetError otherwise.
void checkScriptSize(const TextList& script);

// The crossword counts of grades I to IV: the line counts of the set's lists "sur/1.cbx" to
// "sur/4.cbx". A missing list is a FileError, a count above kMostCrosswords a SetError.
std::array<int, 4> crosswordCounts(const std::filesystem::path& set);

// The folders a copy script fills, below the set folder (which exists): its nine subfolders and
// one folder per crossword. What exists already is passed over; FileError when one cannot be made.
void makeSetFolders(const std::filesystem::path& set, const std::array<int, 4>& counts);

// What a complete copy of a set holds and `set` lacks, relative to it: the descriptor, the four
// grade lists, and the four files of every crossword the counts name and of the end marker.
// Links do not count as files.
std::vector<std::string> missingSetFiles(const std::filesystem::path& set,
                                         const std::array<int, 4>& counts);

}  // namespace tervano::sets
