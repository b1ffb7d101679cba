#pragma once

#include <string>
#include <string_view>
#include <utility>
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

// One line of the list split as parseWordList splits it: the answer up to the first blank or
// separator, the clue after the blanks and separators that follow (both trimmed, either empty).
std::pair<std::string, std::string> splitWordListLine(std::string_view line);

// Why the text cannot be a word of the crossword ("slovo „to go“ obsahuje znak „ “; ..."), or ""
// when it can: letters only.
std::string wordProblem(std::string_view answer);

// Every run of blanks, line breaks and other control characters as one blank, none at either
// end: what a line of the list can hold of a text read from elsewhere.
std::string collapsedBlanks(std::string_view text);
// A clue as a line of the list keeps it: collapsed, with no separator at its start.
std::string normalizedClue(std::string_view clue);

// The list's line of a pair, "monday – pondělí". For a word and a normalized clue parseWordList
// reads it back as the same pair.
std::string wordListLine(const std::string& answer, const std::string& clue);

// The builder's input for a word list and its tajenka: the words in the list's order carry the
// tajenka's letters, one each; a blank of the tajenka is a line without a word. Throws
// LayoutError naming the list's line of a word without its tajenka letter, and saying so when
// the tajenka is longer or shorter than the list.
CrosswordInput wordListInput(const std::string& tajenka, const TextList& lines);

// The crossword of a word list, laid out by the crossword builder.
CrosswordFiles buildFromWordList(const std::string& tajenka, const TextList& lines);

}  // namespace tervano::editor
