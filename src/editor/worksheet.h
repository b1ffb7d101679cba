#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/programfolder.h"
#include "data/textlist.h"
#include "editor/crossword_builder.h"

// Worksheets: crosswords on paper. What a page shows is decided here, free of any toolkit; the
// view only draws it. The grid functions serve every export of a crossword (print, PDF, iPuz).
namespace tervano::editor {

// ---- The grid of a map ----

// A letter cell: its column, counted in cells from the grid's left edge, and the solution's
// letter there in capitals ("" where the solution has none).
struct GridCell {
  int column = 0;
  std::string letter;
  bool operator==(const GridCell&) const = default;
};

// One grid line, one line of the map. A line without cells is a gap (a blank of the tajenka).
struct GridRow {
  int number = 0;               // from 1, as the legend numbers its clues
  std::vector<GridCell> cells;  // left to right
  std::string answer;           // the solution line's word in capitals, "" without one
};

struct Grid {
  std::vector<GridRow> rows;
  int columns = 0;  // width in cells: the rightmost cell's column + 1
  // The column every line with cells has a cell in, when exactly one column does.
  std::optional<int> tajenkaColumn;

  int cellCount() const;
  // The cell of a row in a column, or null.
  const GridCell* cellAt(int row, int column) const;
  // The tajenka read down its column in capitals, a blank for a line without a cell there;
  // nothing when the grid has no tajenka column.
  std::optional<std::string> tajenka() const;
};

// The columns of the cells of a map line, ascending. Every "x" (or "X") is a cell: a cell is
// "x" and a blank and an indent two blanks per cell, so the "x" at character p stands in column
// p / 2. Anything else in the line is no cell.
std::vector<int> mapLineColumns(std::string_view line);

// The one column that every non-empty line has a cell in; nothing when no column or more than
// one column qualifies, or when no line has a cell.
std::optional<int> findTajenkaColumn(const std::vector<std::vector<int>>& rowColumns);

// The grid the map draws, with the solution's letters: the map alone decides the cells, the
// solution's line i only fills the cells of map line i (its character at the place of each "x").
Grid buildGrid(const TextList& map, const TextList& solution);

// ---- Worksheets ----

// Beyond these a cell would be under 3 mm on A4 and no pupil could write in it: such a map is
// damaged rather than a crossword, and is refused with a warning instead of printed.
inline constexpr int kMaxSheetColumns = 60;
inline constexpr int kMaxSheetRows = 150;
// A clue is a phrase; one this long would fill the page by itself.
inline constexpr int kMaxClueLength = 400;

// The four scoring values of "k.nk"; nothing for a value that is not a number.
struct SheetScoring {
  std::optional<int> pointsPerGood;
  std::optional<int> pointsPerBad;
  std::optional<int> goodTajenka;
  std::optional<int> badTajenka;
};

// One crossword on paper: the pupil's page and its key.
struct Worksheet {
  int grade = 1;
  int number = 0;  // 0: a crossword not saved yet
  Grid grid;
  std::vector<std::string> clues;  // the legend, each line numbered ("1. Černá")
  SheetScoring scoring;

  // "1. ročník · Křížovka 3", or "1. ročník · Nová křížovka".
  std::string heading() const;
  // "1. ročník, křížovka 3": how warnings name it.
  std::string name() const;
};

// "3. Modrá" stays; "Modrá" as line 3 becomes "3. Modrá". Legends written by the builder are
// numbered already, hand-written ones often not.
std::string numberedClue(const std::string& line, int number);

// A crossword's four lists as a worksheet. What is odd about them but still printable (a map
// and a solution or a legend of different line counts, no cell at all, scoring values that are
// not numbers) is added to `warnings`, each naming the crossword. Throws UserError for a map or
// legend over the size limits, or a clue over its length.
Worksheet makeWorksheet(const CrosswordFiles& files, int grade, int number,
                        std::vector<std::string>& warnings);

// Every page of one output: for each worksheet the pupil's page, and with keys its key after it.
struct WorksheetJob {
  std::string title;  // the set's name, in every page's heading
  std::vector<Worksheet> sheets;
  bool keys = false;

  struct Page {
    const Worksheet* sheet = nullptr;
    bool key = false;
  };
  int pageCount() const;
  Page page(int index) const;
};

// What a scope covers.
enum class Scope { Crossword, Grade, Set };

// The worksheets of a scope and what the window warns about.
struct Collected {
  std::vector<Worksheet> sheets;
  std::vector<std::string> warnings;
};

// Crossword `number` of `grade` of the active set; nothing, with a warning that says why, when
// one of its files is missing or unreadable or its map is over the limits.
std::optional<Worksheet> readWorksheet(const ProgramFolder& folder, int grade, int number,
                                       std::vector<std::string>& warnings);
// The crosswords of a grade, 1 to its list's count; the crosswords of grades 1 to 4 in order.
// A grade whose list cannot be read gives a warning and no crossword.
Collected readGrade(const ProgramFolder& folder, int grade);
Collected readSet(const ProgramFolder& folder);

// "1 řádek", "3 řádky", "5 řádků": a count with the Czech noun form it takes.
std::string czechCount(int n, const char* one, const char* few, const char* many);

// The sentence about the worksheets that have no single tajenka column, or "" when all have.
std::string tajenkaNotice(const std::vector<Worksheet>& sheets);

// The set's name for headings and file names: the descriptor's first line, else the set name
// ("tervano20"), else "Tervano".
std::string setTitle(const TextList& descriptor);

// A file name made of a text: characters that no file system or USB stick takes ("/", "\",
// ":", "*", "?", quotes, "<", ">", "|", controls) become "-", blanks and dots at the ends go.
std::string safeFileName(std::string_view text);

// Where worksheets go. The view draws the pages; every call returns once the output is done
// or the user cancelled it. A failure throws UserError with a Czech text.
class WorksheetOutput {
 public:
  enum class Result { Done, Cancelled };
  virtual ~WorksheetOutput() = default;
  // The system's print dialog, then the pages to the printer it chose.
  virtual Result print(const WorksheetJob& job) = 0;
  // A print preview of the pages (it may print them too).
  virtual Result preview(const WorksheetJob& job) = 0;
  // The pages as a PDF file. The file is replaced in one step: a cancelled or failed write
  // leaves what was there before.
  virtual Result writePdf(const WorksheetJob& job, const std::string& path) = 0;
};

}  // namespace tervano::editor
