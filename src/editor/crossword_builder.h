#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/errors.h"
#include "data/textlist.h"

namespace tervano::editor {

// The answer area shows 39 characters of a line; a wider grid line would scroll the tajenka
// column out of sight. 39 characters are 20 cells ("x" and a blank each, none after the last).
inline constexpr int kMaxLineWidth = 39;
inline constexpr int kMaxCells = (kMaxLineWidth + 1) / 2;

// The editor offers 0 to 500 for the four scoring values; the builder keeps to the same range.
inline constexpr int kMaxPoints = 500;

// A crossword that cannot be built: the text is Czech and names the line and the word.
class LayoutError : public UserError {
 public:
  using UserError::UserError;
};

struct Scoring {
  int pointsPerGood = 0;
  int pointsPerBad = 0;
  int goodTajenka = 0;
  int badTajenka = 0;
  bool savePoint = false;
};

// What a crossword is made of. The grid has one line per character of the tajenka: a letter of
// the tajenka is a line with a word that contains it, a blank is a line without a word (its
// answer is empty). Texts are UTF-8.
struct CrosswordInput {
  std::string tajenka;
  std::vector<std::string> answers;  // one per grid line, "" for a blank of the tajenka
  std::vector<std::string> clues;    // one per grid line; a gap line's clue may be empty
  // Optional, per grid line: the position (in letters, from 0) of the tajenka letter in the
  // word. Empty, or nullopt for a line, lets the builder choose the narrowest layout.
  std::vector<std::optional<int>> tajenkaIndex;
  Scoring scoring;
  // "1. Černá" rather than "Černá": the numbers help the player match clue and grid line.
  bool numberClues = true;
};

// The four crossword files as lists: map "k.mk", legend "k.lk", solution "k.vk", configuration
// "k.nk".
struct CrosswordFiles {
  TextList map;
  TextList legend;
  TextList solution;
  TextList konf;
};

// Builds the four lists. Throws LayoutError with a Czech text for a word that lacks its tajenka
// letter, a character that is not a letter code page 1250 can hold, a line wider than
// kMaxLineWidth, and counts of clues or words that do not match the tajenka.
CrosswordFiles buildCrossword(const CrosswordInput& input);

// Writes the four files into the folder (created when missing), code page 1250 with CR LF.
void writeCrossword(const std::filesystem::path& folder, const CrosswordFiles& files);

// One column that every word of the grid crosses, read from top to bottom (lower case, a blank
// for a line without a word).
struct TajenkaColumn {
  int position = 0;  // character position in the line
  std::string phrase;
};

// The result of reading a crossword back: every disagreement between its files, and the
// columns that could hold the tajenka. The layout alone does not say which column the author
// meant when the words overlap in more than one; exactly one candidate is the usual case.
struct CrosswordCheck {
  std::vector<std::string> problems;
  std::vector<TajenkaColumn> columns;

  bool ok() const { return problems.empty(); }
  // The tajenka when exactly one column crosses every word.
  std::optional<std::string> tajenka() const;
  // True when one of the columns spells the phrase (compared in lower case).
  bool spells(const std::string& phrase) const;
};

// Checks that the files agree: configuration of 6 lines with integer scores, "A"/"N" and the
// word count equal to the solution's line count; map lines in the map layout, no wider than
// kMaxLineWidth; letters of every solution line exactly where its map line has "x"; as many
// legend and map lines as solution lines.
CrosswordCheck checkCrossword(const CrosswordFiles& files);
// The same for a crossword folder; a file that is missing or unreadable is a problem too.
CrosswordCheck checkCrosswordFolder(const std::filesystem::path& folder);

// True for the letters of code page 1250 (A-Z, a-z and the letters with diacritics, ß).
bool isLetter(char32_t cp);

}  // namespace tervano::editor
