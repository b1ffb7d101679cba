#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/crossword_builder.h"

namespace tervano::content {

// A mistake in a content source, with the file and line it was found at.
class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct SourceCrossword {
  std::string theme;
  editor::CrosswordInput input;  // the tajenka as written (upper case), answers, clues, scoring
  std::string file;
  int line = 0;  // where "= theme" stands
};

// Grades I to IV are 0 to 3; index 4 is the end-marker crossword "r5\k0".
inline constexpr int kEndMarkerIndex = 4;

struct SourceSet {
  std::string folder;       // the set folder in the data tree ("tervano", "tervanodef", ...)
  std::string title;        // descriptor line 0
  std::string number;       // descriptor line 6
  std::string language;     // descriptor line 7
  std::string description;  // the one line of "def\popis.txt"
  std::array<std::vector<SourceCrossword>, 5> grades;
};

// Reads a set's sources: "sada.txt" and "r1.txt" to "r5.txt" (the format is described at the
// top of each file). Throws SourceError.
SourceSet loadSourceSet(const std::filesystem::path& dir);

// The sets below the content folder (every sub-folder with a "sada.txt"), sorted by folder.
std::vector<std::filesystem::path> sourceSetFolders(const std::filesystem::path& contentDir);

// Relative path (with "/") to file bytes. Text lists are code page 1250 with CR LF.
using FileMap = std::map<std::string, std::string>;

// Every file of the set folder that comes from the sources: descriptor, grade lists, crossword
// folders, the end marker, the script editor's scratch file and the description. The cues and
// music of "hdb" come from their own generators. Throws editor::LayoutError (as SourceError
// naming the crossword) for a crossword that cannot be built.
FileMap renderSet(const SourceSet& set);

// The program folder's own text lists: every file below `dir` (UTF-8, any line ends) becomes
// the same relative path in code page 1250 with CR LF.
FileMap renderTextTree(const std::filesystem::path& dir);

// Replaces the generated parts of the target folder: "sur" and "r1" to "r5" are removed first
// (so a deleted crossword does not linger), then every file of the map is written.
void writeSet(const FileMap& files, const std::filesystem::path& target);
void writeFiles(const FileMap& files, const std::filesystem::path& target);

}  // namespace tervano::content
