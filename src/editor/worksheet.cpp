#include "editor/worksheet.h"

#include <algorithm>

#include "data/cp1250.h"
#include "data/crossword.h"
#include "data/errors.h"
#include "data/numbers.h"
#include "data/records.h"
#include "data/textfile.h"
#include "editor/crossword_editor.h"

namespace tervano::editor {

namespace {

using cp1250::codePoints;

bool isCellMark(char32_t cp) {
  return cp == U'x' || cp == U'X';
}

std::string upper(char32_t cp) {
  std::string s;
  cp1250::appendUtf8(s, cp1250::toUpper(cp));
  return s;
}

// The solution line's letters without the blanks between them, in capitals.
std::string answerOf(const std::string& solutionLine) {
  std::string word;
  for (char32_t cp : codePoints(solutionLine))
    if (cp != U' ' && cp != U'\t') cp1250::appendUtf8(word, cp1250::toUpper(cp));
  return word;
}

// Where the cells of a map line stand: their column and the character that marks each.
struct CellPlace {
  int column;
  std::size_t position;
};

std::vector<CellPlace> cellPlaces(const std::u32string& line) {
  std::vector<CellPlace> places;
  for (std::size_t p = 0; p < line.size(); ++p) {
    if (!isCellMark(line[p])) continue;
    const int column = static_cast<int>(p / 2);
    // "xx" is not the map's layout; its two marks fall into one cell.
    if (places.empty() || places.back().column != column) places.push_back({column, p});
  }
  return places;
}

std::optional<int> konfNumber(const TextList& konf, int line) {
  return tryParseInt(konf.get(line));
}

}  // namespace

std::string czechCount(int n, const char* one, const char* few, const char* many) {
  const char* word = n == 1 ? one : (n >= 2 && n <= 4) ? few : many;
  return std::to_string(n) + " " + word;
}

// ---- Grid ----

int Grid::cellCount() const {
  int n = 0;
  for (const auto& row : rows)
    n += static_cast<int>(row.cells.size());
  return n;
}

const GridCell* Grid::cellAt(int row, int column) const {
  if (row < 0 || row >= static_cast<int>(rows.size())) return nullptr;
  for (const auto& cell : rows[static_cast<std::size_t>(row)].cells)
    if (cell.column == column) return &cell;
  return nullptr;
}

std::optional<std::string> Grid::tajenka() const {
  if (!tajenkaColumn) return std::nullopt;
  std::string phrase;
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const GridCell* cell = cellAt(r, *tajenkaColumn);
    phrase += cell && !cell->letter.empty() ? cell->letter : " ";
  }
  return phrase;
}

std::vector<int> mapLineColumns(std::string_view line) {
  std::vector<int> columns;
  for (const auto& place : cellPlaces(codePoints(line)))
    columns.push_back(place.column);
  return columns;
}

std::optional<int> findTajenkaColumn(const std::vector<std::vector<int>>& rowColumns) {
  std::optional<std::vector<int>> common;
  for (const auto& columns : rowColumns) {
    if (columns.empty()) continue;
    if (!common) {
      common = columns;
      continue;
    }
    std::vector<int> both;
    std::set_intersection(common->begin(), common->end(), columns.begin(), columns.end(),
                          std::back_inserter(both));
    common = std::move(both);
  }
  if (!common || common->size() != 1) return std::nullopt;
  return common->front();
}

Grid buildGrid(const TextList& map, const TextList& solution) {
  Grid grid;
  std::vector<std::vector<int>> rowColumns;
  for (int i = 0; i < map.count(); ++i) {
    GridRow row;
    row.number = i + 1;
    const std::u32string letters = codePoints(solution.get(i));
    std::vector<int> columns;
    for (const auto& [column, p] : cellPlaces(codePoints(map.get(i)))) {
      columns.push_back(column);
      GridCell cell{column, ""};
      if (p < letters.size() && letters[p] != U' ' && letters[p] != U'\t')
        cell.letter = upper(letters[p]);
      row.cells.push_back(std::move(cell));
      grid.columns = std::max(grid.columns, column + 1);
    }
    row.answer = answerOf(solution.get(i));
    rowColumns.push_back(std::move(columns));
    grid.rows.push_back(std::move(row));
  }
  grid.tajenkaColumn = findTajenkaColumn(rowColumns);
  return grid;
}

// ---- Worksheets ----

std::string Worksheet::heading() const {
  const std::string g = std::to_string(grade) + ". ročník · ";
  return number > 0 ? g + "Křížovka " + std::to_string(number) : g + "Nová křížovka";
}

std::string Worksheet::name() const {
  const std::string g = std::to_string(grade) + ". ročník, ";
  return number > 0 ? g + "křížovka " + std::to_string(number) : g + "nová křížovka";
}

std::string numberedClue(const std::string& line, int n) {
  std::size_t digits = 0;
  while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9')
    ++digits;
  if (digits > 0 && digits < line.size() && line[digits] == '.') return line;
  const std::string prefix = std::to_string(n) + ".";
  return line.empty() ? prefix : prefix + " " + line;
}

Worksheet makeWorksheet(const CrosswordFiles& files, int grade, int number,
                        std::vector<std::string>& warnings) {
  Worksheet sheet;
  sheet.grade = grade;
  sheet.number = number;
  const std::string name = sheet.name();

  const int rows = files.map.count();
  int widest = 0;
  if (rows <= kMaxSheetRows)
    for (const auto& line : files.map.lines()) {
      const auto columns = mapLineColumns(line);
      if (!columns.empty()) widest = std::max(widest, columns.back() + 1);
    }
  const auto lines = [](int n) { return czechCount(n, "řádek", "řádky", "řádků"); };
  const std::string fits = ", na stranu se vejde nejvýše ";
  std::string over;
  if (rows > kMaxSheetRows)
    over = "mapa má " + lines(rows) + fits + std::to_string(kMaxSheetRows);
  else if (widest > kMaxSheetColumns)
    over = "mapa je široká " + czechCount(widest, "políčko", "políčka", "políček") + fits +
           std::to_string(kMaxSheetColumns);
  else if (files.legend.count() > kMaxSheetRows)
    over = "legenda má " + lines(files.legend.count()) + fits + std::to_string(kMaxSheetRows);
  for (int i = 0; over.empty() && i < files.legend.count(); ++i)
    if (const auto length = static_cast<int>(codePoints(files.legend.get(i)).size());
        length > kMaxClueLength)
      over = "nápověda na řádku " + std::to_string(i + 1) + " má " +
             czechCount(length, "znak", "znaky", "znaků") + ", smí mít nejvýše " +
             std::to_string(kMaxClueLength);
  if (!over.empty())
    throw UserError(name + " se nevytiskne: " + over +
                    ". Soubory křížovky jsou nejspíš poškozené.");

  sheet.grid = buildGrid(files.map, files.solution);
  if (sheet.grid.cellCount() == 0)
    warnings.push_back(name + ": mapa nemá žádné políčko „x“; vytiskne se jen legenda.");
  if (files.solution.count() != rows)
    warnings.push_back(name + ": mapa má " + lines(rows) + ", řešení " +
                       lines(files.solution.count()) + "; tiskne se podle mapy.");
  if (files.legend.count() != rows)
    warnings.push_back(name + ": legenda má " + lines(files.legend.count()) + ", mapa " +
                       lines(rows) + ".");

  for (int i = 0; i < files.legend.count(); ++i)
    sheet.clues.push_back(numberedClue(files.legend.get(i), i + 1));

  sheet.scoring = {
      konfNumber(files.konf, konf::kPointsPerGood), konfNumber(files.konf, konf::kPointsPerBad),
      konfNumber(files.konf, konf::kGoodTajenka), konfNumber(files.konf, konf::kBadTajenka)};
  const auto& s = sheet.scoring;
  if (!s.pointsPerGood || !s.pointsPerBad || !s.goodTajenka || !s.badTajenka)
    warnings.push_back(name +
                       ": některá hodnota bodování (k.nk) není celé číslo; vytiskne se "
                       "jako „?“.");
  return sheet;
}

int WorksheetJob::pageCount() const {
  return static_cast<int>(sheets.size()) * (keys ? 2 : 1);
}

WorksheetJob::Page WorksheetJob::page(int index) const {
  const int perSheet = keys ? 2 : 1;
  return {&sheets.at(static_cast<std::size_t>(index / perSheet)), keys && index % perSheet == 1};
}

std::optional<Worksheet> readWorksheet(const ProgramFolder& folder, int grade, int number,
                                       std::vector<std::string>& warnings) {
  Worksheet named;
  named.grade = grade;
  named.number = number;
  try {
    const std::string dir = *crosswordFolder(std::to_string(grade), std::to_string(number));
    CrosswordFiles files;
    files.map = folder.load(dir + "k.mk", limits::kCrosswordFile);
    files.legend = folder.load(dir + "k.lk", limits::kCrosswordFile);
    files.solution = folder.load(dir + "k.vk", limits::kCrosswordFile);
    files.konf = folder.load(dir + "k.nk", limits::kCrosswordFile);
    return makeWorksheet(files, grade, number, warnings);
  } catch (const FileError& e) {
    warnings.push_back(named.name() + " se nevytiskne: " + e.what());
  } catch (const UserError& e) {
    warnings.push_back(e.what());
  }
  return std::nullopt;
}

Collected readGrade(const ProgramFolder& folder, int grade) {
  Collected out;
  int count = 0;
  try {
    count = folder.load(crosswordListPath(std::to_string(grade))).count();
  } catch (const FileError& e) {
    out.warnings.push_back(std::to_string(grade) +
                           ". ročník se nevytiskne, jeho seznam křížovek "
                           "nelze přečíst: " +
                           e.what());
    return out;
  }
  for (int n = 1; n <= count; ++n)
    if (auto sheet = readWorksheet(folder, grade, n, out.warnings))
      out.sheets.push_back(std::move(*sheet));
  return out;
}

Collected readSet(const ProgramFolder& folder) {
  Collected out;
  for (int grade = 1; grade <= kGrades; ++grade) {
    Collected g = readGrade(folder, grade);
    std::move(g.sheets.begin(), g.sheets.end(), std::back_inserter(out.sheets));
    std::move(g.warnings.begin(), g.warnings.end(), std::back_inserter(out.warnings));
  }
  return out;
}

std::string tajenkaNotice(const std::vector<Worksheet>& sheets) {
  int without = 0;
  for (const auto& s : sheets)
    if (s.grid.cellCount() > 0 && !s.grid.tajenkaColumn) ++without;
  if (without == 0) return "";
  const std::string rule =
      "jediný sloupec tajenky (všemi slovy prochází více sloupců, nebo žádný); tajenka se "
      "nevyznačí a v řešení se nevypíše.";
  if (sheets.size() == 1) return "Z mapy nelze určit " + rule;
  return "U " + czechCount(without, "křížovky", "křížovek", "křížovek") + " nelze z mapy určit " +
         rule;
}

std::string setTitle(const TextList& descriptor) {
  std::string title = descriptor.get(0);
  const auto notBlank = [](char c) { return c != ' ' && c != '\t'; };
  title.erase(title.begin(), std::find_if(title.begin(), title.end(), notBlank));
  title.erase(std::find_if(title.rbegin(), title.rend(), notBlank).base(), title.end());
  if (!title.empty()) return title;
  const std::string& number = descriptor.get(desc::kSetNumber);
  if (isDigits(number)) return "tervano" + number;
  return "Tervano";
}

std::string safeFileName(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    const bool refused =
        u < 0x20 || u == 0x7F || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
    out.push_back(refused ? '-' : c);
  }
  const auto keep = [](char c) { return c != ' ' && c != '.' && c != '\t'; };
  out.erase(out.begin(), std::find_if(out.begin(), out.end(), keep));
  out.erase(std::find_if(out.rbegin(), out.rend(), keep).base(), out.end());
  return out;
}

}  // namespace tervano::editor
