#pragma once

#include <string>
#include <vector>

#include "data/textlist.h"
#include "editor/crossword_builder.h"

namespace tervano::editor {

// One line of a teacher's word list: the foreign answer and its Czech clue.
struct WordPair {
  std::string answer;
  std::string clue;
  int line = 0;  // of the list, from 1
};

// Reads a word list: one pair per line, the answer first, then the clue, apart by blanks or one
// of "-", "–", "=", ":", ";", "|" ("monday – pondělí", "monday = pondělí", "monday pondělí").
// Empty lines are skipped. Throws LayoutError naming the line of a pair without an answer or a
// clue, or whose answer holds something other than letters.
std::vector<WordPair> parseWordList(const TextList& lines);

// The builder's input for a word list and its tajenka: the words in the list's order carry the
// tajenka's letters, one each; a blank of the tajenka is a line without a word. Throws
// LayoutError naming the list's line of a word without its tajenka letter, and saying so when
// the tajenka is longer or shorter than the list.
CrosswordInput wordListInput(const std::string& tajenka, const TextList& lines);

// The crossword of a word list, laid out by the crossword builder.
CrosswordFiles buildFromWordList(const std::string& tajenka, const TextList& lines);

}  // namespace tervano::editor
