#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "data/textlist.h"
#include "editor/vocabulary.h"
#include "ui/host.h"

namespace tervano::editor {

// The dialog of "Načíst ze souboru ..." in the word-list window.
ui::FileDialogOptions vocabularyDialog(const std::string& initialFolder);

// Which column holds the word of the crossword and which the Czech clue.
struct ColumnChoice {
  std::size_t answer = 0;
  std::size_t clue = 1;
};

// The columns as the file tells them; otherwise the host asks: with two columns which one is
// the Czech clue, with more also which one is the word. nullopt when the teacher cancels.
// Throws VocabularyError for a file with fewer than two columns.
std::optional<ColumnChoice> chooseColumns(const Vocabulary& vocabulary, ui::Host& host,
                                          const std::string& fileName);

// A crossword takes a few dozen words; a longer list is slow to show and to edit by hand (a
// million pairs took 5 s to show and 0.4 s a keystroke), so the window takes the first ones.
inline constexpr std::size_t kMaxWindowPairs = 5000;

struct LoadedWordList {
  TextList lines;        // the window's list, one pair a line
  std::string report;    // what the teacher should know, "" when nothing
  bool leftOut = false;  // lines were skipped or did not fit: a warning, not news
};

// Reads a word-list file for the window: the pairs of the chosen columns as the window's lines
// (the first kMaxWindowPairs), and a report of the lines that could not be used (line and
// reason, the first few), of pairs that did not fit and of a choice of columns made by the
// letters. nullopt when the teacher cancels a question. Throws
// FileError (unreadable, too big, not a regular file) and VocabularyError (not a word list, no
// usable pair), each with a Czech text.
std::optional<LoadedWordList> loadWordListFile(const std::filesystem::path& file, ui::Host& host);

// The part of a report that lists the unusable lines; "" when there are none.
std::string skippedReport(const WordPairs& pairs);

}  // namespace tervano::editor
