#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "data/textlist.h"

namespace tervano {

// Largest file the program reads whole; far above any real data file (an autosave log at its
// largest quota is about 1 MB) and low enough that a wrong file cannot exhaust memory.
inline constexpr std::uintmax_t kMaxFileBytes = 64u * 1024u * 1024u;

// The largest file of each kind that the program reads whole: far above what a real file of the
// kind holds, and low enough that a wrong file is refused at once instead of freezing the program
// while it is read, split and shown.
namespace limits {
inline constexpr std::uintmax_t kCrosswordFile = 256u * 1024u;  // a crossword holds a few kB
inline constexpr std::uintmax_t kSavedGame = 64u * 1024u;       // twelve short lines
inline constexpr std::uintmax_t kAnswers = 256u * 1024u;        // one crossword's answer area
inline constexpr std::uintmax_t kDataFile = 1024u * 1024u;      // descriptors, lists, scripts
// A log at its largest quota of 5,000 records is about 1 MB.
inline constexpr std::uintmax_t kAutosaveLog = 16u * 1024u * 1024u;
inline constexpr std::uintmax_t kHelpFile = 4u * 1024u * 1024u;  // the help pages
}  // namespace limits

// Reads a whole file (code page 1250) into a list. Throws FileError with a Czech message, also
// for a file larger than maxBytes.
TextList loadTextList(const std::filesystem::path& path, std::uintmax_t maxBytes = kMaxFileBytes);

// Writes the list in code page 1250 with CR LF after every line, replacing the file atomically.
// A character that code page 1250 cannot hold is refused before anything is written.
void saveTextList(const std::filesystem::path& path, const TextList& list);

// Raw bytes, for files that are not text lists.
std::string readFileBytes(const std::filesystem::path& path,
                          std::uintmax_t maxBytes = kMaxFileBytes);

// Replaces the file in one step: a temporary file in the same folder is written, flushed and
// renamed over the target, so a crash or a full disk leaves either the old or the new content.
// A target without write permission is refused like a read-only file; a symbolic link in the
// target's place is replaced by a regular file, never written through.
void writeFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// The permissions of the file that replaces `path`: those of the file there, 0644 for a new file
// or for a link (which the replacement puts a regular file in place of). A folder and a file
// without write permission are refused with FileError, before anything is written.
unsigned replacementMode(const std::filesystem::path& path);

// Czech text for an errno value, for file error messages.
std::string systemErrorText(int err);
// "<what> „<path>“: <systemErrorText>." as every file error of the program reads.
std::string fileErrorText(std::string_view what, const std::filesystem::path& path, int err);

}  // namespace tervano
