#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/crossword_builder.h"
#include "editor/worksheet.h"

// Crosswords exchanged with other crossword programs as iPuz (ipuz.org), a JSON format. Only what
// a crossword of this program is made of crosses over: one word per grid line, its clue, and the
// tajenka as the column every word crosses. Free of any toolkit; JSON through nlohmann-json.
namespace tervano::editor {

// An iPuz crossword with its clues is a few kB, a big newspaper puzzle some 50 kB; anything much
// larger is no crossword and is refused before it is parsed.
inline constexpr std::uintmax_t kMaxIpuzBytes = 1024u * 1024u;

// The text of the tajenka's "Down" clue and the start of the explanation.
inline constexpr const char* kIpuzTajenkaClue = "Tajenka";
// Legend lines of grid lines without a word ("(mezera v tajence)"): iPuz numbers clues by their
// cells, so these live in a field of their own, [[grid row from 1, text], ...]. Other programs
// ignore fields they do not know.
inline constexpr const char* kIpuzGapsField = "cz.tervano.gaps";

// A worksheet as an iPuz v2 crossword, UTF-8 JSON: the grid of the map, the solution in capitals,
// the legend as "Across" clues numbered by their lines, the tajenka as the "Down" clue "Tajenka"
// over its column and in the explanation when the map has one tajenka column. Throws UserError
// (naming the crossword) for a map without cells and for a cell the solution leaves empty.
std::string writeIpuz(const Worksheet& sheet, const std::string& setName);

// "r1k3.ipuz": a saved crossword's file in a folder of exported crosswords.
std::string ipuzFileName(int grade, int number);

// A crossword read from iPuz, ready for the editor.
struct IpuzImport {
  // Map, legend and solution in the map's layout, and the configuration of a new crossword (all
  // scores 0, no save point).
  CrosswordFiles files;
  // Clues of directions other than "Across", not counting the tajenka's "Down" clue: a grid line
  // of this program is a word across, the column of the tajenka its only word down.
  int droppedClues = 0;
};

// Reads an iPuz crossword: every "Across" entry becomes one grid line at the puzzle's horizontal
// offset, a grid row without any cell an empty line. Throws UserError with a Czech text for what
// is not JSON or not a crossword, dimensions that the grids do not have, a grid over the sheet
// limits, a clue whose cell is missing, and a letter that is no single letter of code page 1250.
IpuzImport readIpuz(std::string_view bytes);

}  // namespace tervano::editor
