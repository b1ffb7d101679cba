#include "editor/ipuz.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>

#include "data/cp1250.h"
#include "data/crossword.h"
#include "data/errors.h"

namespace tervano::editor {

namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;
using cp1250::codePoints;

constexpr const char* kVersion = "http://ipuz.org/v2";
constexpr const char* kKind = "http://ipuz.org/crossword#1";
constexpr const char* kBlock = "#";
// A crossword nests four levels deep ({"puzzle": [[{"cell": ...}]]}); far deeper is no crossword
// and would only cost memory.
constexpr int kMaxDepth = 16;

std::string inQuotes(std::string_view text) {
  return "„" + std::string(text) + "“";
}

std::string utf8(char32_t cp) {
  std::string s;
  cp1250::appendUtf8(s, cp);
  return s;
}

// A text from the file as a message shows it: controls as their symbols, at most 30 characters.
std::string shown(std::string_view text) {
  std::string out;
  int n = 0;
  for (char32_t cp : codePoints(text)) {
    if (++n > 30) {
      out += "…";
      break;
    }
    if (cp < 0x20)
      cp += 0x2400;
    else if (cp == 0x7F)
      cp = 0x2421;
    else if (cp >= 0x80 && cp <= 0x9F)
      cp = 0xFFFD;
    cp1250::appendUtf8(out, cp);
  }
  return out;
}

// ---- Writing ----

// iPuz text fields may hold HTML: a legend's "<" or "&" is text and is written as such.
std::string escapeHtml(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else
      out.push_back(c);
  }
  return out;
}

// A field a line and a grid a row a line, so that a person can read the file too; every value,
// key and string is written by the JSON library.
void layOut(std::string& out, const OrderedJson& v, int indent) {
  const auto compact = [](const OrderedJson& x) {
    return x.dump(-1, ' ', false, OrderedJson::error_handler_t::replace);
  };
  const std::string inner(static_cast<std::size_t>(indent) + 2, ' ');
  const bool rows =
      v.is_array() && !v.empty() &&
      std::all_of(v.begin(), v.end(), [](const OrderedJson& x) { return x.is_array(); });
  if (!(v.is_object() && !v.empty()) && !rows) {
    out += compact(v);
    return;
  }
  out += v.is_object() ? "{\n" : "[\n";
  bool first = true;
  for (const auto& [key, x] : v.items()) {
    out += first ? inner : ",\n" + inner;
    first = false;
    if (!v.is_object()) {
      out += compact(x);
      continue;
    }
    out += compact(OrderedJson(key)) + ": ";
    layOut(out, x, indent + 2);
  }
  out += "\n" + std::string(static_cast<std::size_t>(indent), ' ') + (v.is_object() ? "}" : "]");
}

// "3. Modrá" on line 3 is the clue "Modrá": iPuz gives the number beside the text. Another
// number belongs to the text.
std::string withoutOwnNumber(const std::string& clue, int number) {
  const std::string prefix = std::to_string(number) + ".";
  if (clue.rfind(prefix, 0) != 0) return clue;
  std::size_t i = prefix.size();
  while (i < clue.size() && (clue[i] == ' ' || clue[i] == '\t'))
    ++i;
  return clue.substr(i);
}

// ---- Reading ----

struct Place {
  int row = 0;  // from 0, as the grids count
  int column = 0;
};

std::string at(int row, int column) {
  return "na řádku " + std::to_string(row + 1) + ", ve sloupci " + std::to_string(column + 1) +
         " mřížky";
}

// The JSON inside a byte order mark and the JSONP wrapper "ipuz(...)" that older files carry.
std::string_view jsonText(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && (blank(text.back()) || text.back() == ';'))
    text.remove_suffix(1);
  const std::size_t open = text.find('(');
  if (open == 0 || open == std::string_view::npos || text.back() != ')') return text;
  for (char c : text.substr(0, open))
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '$' && c != '.')
      return text;
  return text.substr(open + 1, text.size() - open - 2);
}

// A whole number of JSON as text ("12"), or nothing for any other value.
std::optional<std::string> integerText(const Json& v) {
  if (v.is_number_unsigned()) return std::to_string(v.get<std::uint64_t>());
  if (v.is_number_integer()) return std::to_string(v.get<std::int64_t>());
  return std::nullopt;
}

std::string trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ')
    s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ')
    s.remove_suffix(1);
  return std::string(s);
}

// A clue number or a cell label as text: iPuz allows numbers and strings for both.
std::optional<std::string> labelText(const Json& v) {
  if (auto n = integerText(v)) return n;
  if (v.is_string()) return trimmed(v.get<std::string>());
  return std::nullopt;
}

// "&amp;" and the other entities of the HTML that iPuz texts may hold.
std::optional<std::string> entity(std::string_view name) {
  static const std::map<std::string_view, std::string_view> named = {
      {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", " "}};
  if (auto it = named.find(name); it != named.end()) return std::string(it->second);
  if (name.size() < 2 || name[0] != '#') return std::nullopt;
  const bool hex = name[1] == 'x' || name[1] == 'X';
  const std::string_view digits = name.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 7) return std::nullopt;
  char32_t cp = 0;
  for (char c : digits) {
    const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                  : hex && std::isxdigit(static_cast<unsigned char>(c))
                      ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                      : -1;
    if (d < 0) return std::nullopt;
    cp = cp * (hex ? 16 : 10) + static_cast<char32_t>(d);
  }
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  return utf8(cp);
}

// A clue as the legend holds it: HTML tags dropped (a line break becomes a blank), entities
// decoded, line breaks and other controls turned into blanks, blanks collapsed. A character
// that code page 1250 cannot hold is refused, named, with `what` saying where it stands.
std::string plainText(std::string_view html, const std::string& what) {
  std::string text;
  for (std::size_t i = 0; i < html.size();) {
    const char c = html[i];
    if (c == '<' && i + 1 < html.size() &&
        (std::isalpha(static_cast<unsigned char>(html[i + 1])) || html[i + 1] == '/' ||
         html[i + 1] == '!')) {
      const std::size_t close = html.find('>', i);
      if (close != std::string_view::npos) {
        std::string name;
        for (std::size_t k = i + 1; k < close && std::isalpha(static_cast<unsigned char>(html[k]));
             ++k)
          name.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(html[k]))));
        if (name == "br") text.push_back(' ');
        i = close + 1;
        continue;
      }
    }
    if (c == '&') {
      const std::size_t semi = html.find(';', i);
      if (semi != std::string_view::npos && semi - i <= 10)
        if (auto decoded = entity(html.substr(i + 1, semi - i - 1))) {
          text += *decoded;
          i = semi + 1;
          continue;
        }
    }
    text.push_back(c);
    ++i;
  }
  std::string out;
  for (char32_t cp : codePoints(text)) {
    if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) cp = U' ';
    if (cp == U' ' && (out.empty() || out.back() == ' ')) continue;
    if (!cp1250::representable(cp))
      throw UserError("Znak " + inQuotes(utf8(cp)) + " " + what +
                      " nelze uložit: soubory křížovek jsou v kódování Windows-1250.");
    cp1250::appendUtf8(out, cp);
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// One Across clue: its number and its text as iPuz gives them.
struct Clue {
  std::string number;
  std::string text;  // still HTML
};

// [12, "text"] or {"number": 12, "clue": "text", ...}; nothing for another form.
std::optional<Clue> clueOf(const Json& c) {
  if (c.is_array() && c.size() == 2 && c[1].is_string())
    if (auto n = labelText(c[0])) return Clue{*n, c[1].get<std::string>()};
  if (c.is_object() && c.contains("number"))
    if (auto n = labelText(c["number"])) {
      const auto text = c.find("clue");
      return Clue{*n, text != c.end() && text->is_string() ? text->get<std::string>() : ""};
    }
  return std::nullopt;
}

// "Across", "Across:Vodorovně", "across": the direction before the colon.
std::string direction(const std::string& key) {
  return cp1250::toLower(trimmed(key.substr(0, key.find(':'))));
}

class Reader {
 public:
  explicit Reader(const Json& doc) : doc_(doc) {}

  IpuzImport read() {
    checkKind();
    readDimensions();
    readMarks();
    readPuzzle();
    readClues();
    layOut();
    IpuzImport out;
    out.files = std::move(files_);
    out.droppedClues = droppedClues();
    out.files.konf = TextList{"0", "0", "0", "0", "N", std::to_string(out.files.solution.count())};
    readGaps(out.files.legend);
    return out;
  }

 private:
  struct Entry {
    Place start;
    int length = 0;
    std::string clue;  // plain text
  };

  void checkKind() const {
    if (!doc_.is_object())
      throw UserError("Soubor není křížovka iPuz: obsahem není objekt JSON s polem „kind“.");
    const auto kind = doc_.find("kind");
    if (kind == doc_.end() || !kind->is_array())
      throw UserError("Soubor není křížovka iPuz: chybí druh hádanky („kind“).");
    std::string named;
    for (const auto& k : *kind) {
      if (!k.is_string()) continue;
      const std::string s = k.get<std::string>();
      for (const char* scheme : {"http://ipuz.org/crossword", "https://ipuz.org/crossword"})
        if (s.rfind(scheme, 0) == 0) return;
      if (named.empty()) named = s;
    }
    throw UserError("Soubor není křížovka, ale hádanka jiného druhu" +
                    (named.empty() ? std::string() : " (" + inQuotes(shown(named)) + ")") + ".");
  }

  void readDimensions() {
    const auto dims = doc_.find("dimensions");
    std::optional<std::int64_t> w, h;
    if (dims != doc_.end() && dims->is_object()) {
      for (auto [key, into] : {std::pair{"width", &w}, std::pair{"height", &h}})
        if (const auto v = dims->find(key); v != dims->end() && v->is_number_integer())
          *into = v->is_number_unsigned() && v->get<std::uint64_t>() > 1'000'000u
                      ? 1'000'000
                      : v->get<std::int64_t>();
    }
    if (!w || !h || *w < 1 || *h < 1)
      throw UserError(
          "Rozměry křížovky („dimensions“ se šířkou a výškou) chybějí nebo nejsou "
          "kladná celá čísla.");
    if (*w > kMaxSheetColumns || *h > kMaxSheetRows)
      throw UserError("Křížovka má " + std::to_string(*w) + " × " + std::to_string(*h) +
                      " políček; editor vezme nejvýše " + std::to_string(kMaxSheetColumns) +
                      " políček na šířku a " + std::to_string(kMaxSheetRows) + " řádků.");
    width_ = static_cast<int>(*w);
    height_ = static_cast<int>(*h);
  }

  // What stands for a block and for an empty cell: "#" and 0 unless the file says otherwise.
  void readMarks() {
    if (const auto b = doc_.find("block"); b != doc_.end() && b->is_string())
      block_ = b->get<std::string>();
    if (const auto e = doc_.find("empty"); e != doc_.end()) {
      if (e->is_string()) empty_ = e->get<std::string>();
      if (auto n = integerText(*e)) empty_ = *n;
    }
  }

  // A grid ("puzzle" or "solution") with the dimensions of the file.
  const Json& grid(const char* name) const {
    const auto g = doc_.find(name);
    if (g == doc_.end())
      throw UserError(std::string("Soubor nemá ") +
                      (std::string_view(name) == "solution"
                           ? "řešení („solution“); bez něj nelze křížovku hrát."
                           : "mřížku („puzzle“)."));
    const std::string size = std::to_string(width_) + " × " + std::to_string(height_);
    if (!g->is_array() || static_cast<int>(g->size()) != height_)
      throw UserError(std::string("Mřížka „") + name + "“ neodpovídá rozměrům " + size + ": nemá " +
                      czechCount(height_, "řádek", "řádky", "řádků") + ".");
    for (int r = 0; r < height_; ++r) {
      const Json& row = (*g)[static_cast<std::size_t>(r)];
      if (!row.is_array() || static_cast<int>(row.size()) != width_)
        throw UserError(std::string("Mřížka „") + name + "“ neodpovídá rozměrům " + size +
                        ": řádek " + std::to_string(r + 1) + " nemá " +
                        czechCount(width_, "políčko", "políčka", "políček") + ".");
    }
    return *g;
  }

  // A cell of the puzzle: a block, or a cell with its label ("" for none).
  std::optional<std::string> cellOf(const Json& v, int row, int column, bool inner = false) const {
    if (v.is_null()) return std::nullopt;
    if (v.is_object() && !inner) {
      const auto cell = v.find("cell");
      return cell == v.end() ? std::string() : cellOf(*cell, row, column, true);
    }
    std::optional<std::string> text = integerText(v);
    if (v.is_string()) text = v.get<std::string>();
    if (!text || (*text)[0] == '-')
      throw UserError("Políčko " + at(row, column) +
                      " nemá v mřížce („puzzle“) tvar, který iPuz "
                      "popisuje.");
    if (*text == block_) return std::nullopt;
    if (*text == empty_ || *text == "0" || trimmed(*text).empty()) return std::string();
    return trimmed(*text);
  }

  void readPuzzle() {
    const Json& puzzle = grid("puzzle");
    cells_.assign(static_cast<std::size_t>(height_), std::vector<bool>(width_, false));
    for (int r = 0; r < height_; ++r)
      for (int c = 0; c < width_; ++c) {
        const auto cell =
            cellOf(puzzle[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)], r, c);
        if (!cell) continue;
        cells_[r][c] = true;
        if (!cell->empty()) labels_.emplace(*cell, Place{r, c});  // the first one counts
      }
  }

  std::optional<Place> place(const std::string& label) const {
    const auto it = labels_.find(label);
    if (it == labels_.end()) return std::nullopt;
    return it->second;
  }

  void readClues() {
    const auto clues = doc_.find("clues");
    if (clues == doc_.end() || !clues->is_object())
      throw UserError("Soubor nemá nápovědy („clues“).");
    std::map<std::string, bool> seen;
    for (const auto& [key, list] : clues->items()) {
      if (!list.is_array())
        throw UserError("Nápovědy " + inQuotes(key) + " nejsou seznam nápověd.");
      if (direction(key) != "across") {
        others_.push_back(&list);
        if (direction(key) == "down") downs_.push_back(&list);
        continue;
      }
      int index = 0;
      for (const auto& c : list) {
        ++index;
        const auto clue = clueOf(c);
        if (!clue)
          throw UserError(std::to_string(index) +
                          ". vodorovná nápověda nemá číslo a text v tvaru, který iPuz popisuje.");
        const std::string number = shown(clue->number);
        if (seen[clue->number])
          throw UserError("Vodorovná nápověda " + number + " je v souboru dvakrát.");
        seen[clue->number] = true;
        const auto start = place(clue->number);
        if (!start)
          throw UserError("Vodorovná nápověda " + number + " nemá v mřížce políčko s číslem " +
                          number + ".");
        Entry e;
        e.start = *start;
        while (e.start.column + e.length < width_ && cells_[e.start.row][e.start.column + e.length])
          ++e.length;
        e.clue = plainText(clue->text, "ve vodorovné nápovědě " + number);
        entries_.push_back(std::move(e));
      }
    }
    if (entries_.empty())
      throw UserError(
          "Soubor nemá žádnou vodorovnou nápovědu („Across“): křížovka má v každém "
          "řádku jedno slovo vodorovně.");
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
      return std::pair(a.start.row, a.start.column) < std::pair(b.start.row, b.start.column);
    });
  }

  // The solution's letter of a cell, lower case as the game compares it.
  std::string letter(const Json& solution, int row, int column) const {
    const Json* v = &solution[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    for (int depth = 0; depth < 2 && v->is_object(); ++depth) {
      auto value = v->find("value");
      for (auto it = v->begin(); value == v->end() && it != v->end(); ++it)
        if (direction(it.key()) == "across") value = it;
      if (value == v->end()) break;
      v = &*value;
    }
    const std::string text = v->is_string() ? v->get<std::string>() : "";
    const std::u32string letters = codePoints(text);
    if (letters.empty() || text == block_)
      throw UserError("Políčko " + at(row, column) + " nemá v řešení („solution“) písmeno.");
    if (letters.size() > 1)
      throw UserError("Políčko " + at(row, column) + " má v řešení " + inQuotes(shown(text)) +
                      "; v křížovce má každé políčko jedno písmeno (i „ch“ zabírá dvě políčka).");
    if (!cp1250::representable(letters[0]))
      throw UserError("Písmeno " + inQuotes(text) + " " + at(row, column) +
                      " nelze uložit: soubory křížovek jsou v kódování Windows-1250.");
    const char32_t lower = cp1250::toLower(letters[0]);
    if (!isLetter(lower))
      throw UserError("Políčko " + at(row, column) + " má v řešení " + inQuotes(shown(text)) +
                      ", což není písmeno.");
    return utf8(lower);
  }

  // Rows from top to bottom: each Across entry a line, a row without any cell an empty line.
  void layOut() {
    const Json& solution = grid("solution");
    std::size_t next = 0;
    for (int r = 0; r < height_; ++r) {
      if (std::none_of(cells_[r].begin(), cells_[r].end(), [](bool b) { return b; })) {
        gapLines_[r] = files_.map.count();
        addLine("", "", "", {});
        continue;
      }
      for (; next < entries_.size() && entries_[next].start.row == r; ++next) {
        const Entry& e = entries_[next];
        std::string map(2 * static_cast<std::size_t>(e.start.column), ' ');
        std::string word = map;
        std::vector<int> columns;
        for (int k = 0; k < e.length; ++k) {
          const int c = e.start.column + k;
          map += k == 0 ? "x" : " x";
          word += (k == 0 ? "" : " ") + letter(solution, r, c);
          columns.push_back(c);
        }
        if (topRow_ < 0) topRow_ = r;
        addLine(std::move(map), std::move(word), e.clue, std::move(columns));
      }
    }
    tajenka_ = findTajenkaColumn(columns_);
  }

  void addLine(std::string map, std::string word, const std::string& clue,
               std::vector<int> columns) {
    const int number = files_.map.count() + 1;
    if (number > kMaxSheetRows)
      throw UserError("Křížovka by měla víc než " + std::to_string(kMaxSheetRows) +
                      " řádků (každé slovo vodorovně je jeden řádek); editor jich vezme nejvýše " +
                      std::to_string(kMaxSheetRows) + ".");
    std::string legend;
    if (!columns.empty()) legend = std::to_string(number) + (clue.empty() ? "." : ". " + clue);
    if (const auto length = static_cast<int>(codePoints(legend).size()); length > kMaxClueLength)
      throw UserError("Nápověda " + std::to_string(number) + ". řádku má " +
                      std::to_string(length) + " znaků; nápověda smí mít nejvýše " +
                      std::to_string(kMaxClueLength) + ".");
    files_.map.append(std::move(map));
    files_.solution.append(std::move(word));
    files_.legend.append(std::move(legend));
    columns_.push_back(std::move(columns));
  }

  // The clues of other directions that are dropped: all of them but the tajenka's, the Down
  // clue that starts at the top of the column every line crosses.
  int droppedClues() const {
    int count = 0;
    for (const Json* list : others_)
      count += static_cast<int>(list->size());
    if (!tajenka_) return count;
    for (const Json* list : downs_)
      for (const auto& c : *list) {
        std::optional<std::string> number;
        if (auto clue = clueOf(c)) number = clue->number;
        const auto start = number ? place(*number) : std::nullopt;
        if (start && start->column == *tajenka_ && start->row == topRow_) return count - 1;
      }
    return count;
  }

  // The legend lines of rows without a word that this program wrote beside the grid.
  void readGaps(TextList& legend) const {
    const auto gaps = doc_.find(kIpuzGapsField);
    if (gaps == doc_.end() || !gaps->is_array()) return;
    for (const auto& g : *gaps) {
      if (!g.is_array() || g.size() != 2 || !g[0].is_number_integer() || !g[1].is_string())
        continue;
      // A row from 1; JSON reads a number without a sign as unsigned.
      const std::uint64_t row = g[0].is_number_unsigned() ? g[0].get<std::uint64_t>() : 0;
      if (row < 1 || row > static_cast<std::uint64_t>(height_)) continue;
      const auto line = gapLines_.find(static_cast<int>(row) - 1);
      if (line == gapLines_.end() || !legend.get(line->second).empty()) continue;
      const std::string number = std::to_string(line->second + 1);
      const std::string text =
          plainText(g[1].get<std::string>(), "v nápovědě " + number + ". řádku");
      if (text.empty()) continue;
      const std::string clue = number + ". " + text;
      if (static_cast<int>(codePoints(clue).size()) > kMaxClueLength) continue;
      legend.set(line->second, clue);
    }
  }

  const Json& doc_;
  int width_ = 0;
  int height_ = 0;
  std::string block_ = kBlock;
  std::string empty_ = "0";
  std::vector<std::vector<bool>> cells_;
  std::map<std::string, Place> labels_;
  std::vector<Entry> entries_;
  std::vector<const Json*> others_;
  std::vector<const Json*> downs_;
  CrosswordFiles files_;
  std::vector<std::vector<int>> columns_;
  std::map<int, int> gapLines_;  // grid row -> line
  int topRow_ = -1;
  std::optional<int> tajenka_;
};

}  // namespace

std::string ipuzFileName(int grade, int number) {
  return "r" + std::to_string(grade) + "k" + std::to_string(number) + ".ipuz";
}

std::string writeIpuz(const Worksheet& sheet, const std::string& setName) {
  const Grid& grid = sheet.grid;
  if (grid.cellCount() == 0)
    throw UserError(sheet.name() + ": mapa nemá žádné políčko „x“, do iPuz se neuloží.");
  for (const auto& row : grid.rows)
    for (const auto& cell : row.cells)
      if (cell.letter.empty())
        throw UserError(sheet.name() + ": " + std::to_string(row.number) +
                        ". řádek řešení nemá písmena ve všech políčkách mapy, do iPuz se "
                        "neuloží.");
  const int height = static_cast<int>(grid.rows.size());

  // The tajenka's Down clue starts at the top of its column. That cell carries its line's number
  // when it is the line's first cell, otherwise the number after the last line's.
  std::optional<Place> top;
  int tajenkaNumber = 0;
  if (grid.tajenkaColumn)
    for (int r = 0; r < height && !top; ++r)
      if (grid.cellAt(r, *grid.tajenkaColumn)) {
        top = Place{r, *grid.tajenkaColumn};
        const GridRow& row = grid.rows[static_cast<std::size_t>(r)];
        tajenkaNumber = row.cells.front().column == top->column ? row.number : height + 1;
      }

  OrderedJson puzzle = OrderedJson::array();
  OrderedJson solution = OrderedJson::array();
  OrderedJson across = OrderedJson::array();
  OrderedJson gaps = OrderedJson::array();
  for (int r = 0; r < height; ++r) {
    const GridRow& row = grid.rows[static_cast<std::size_t>(r)];
    OrderedJson cells = OrderedJson::array();
    OrderedJson letters = OrderedJson::array();
    for (int c = 0; c < grid.columns; ++c) {
      const GridCell* cell = grid.cellAt(r, c);
      if (!cell) {
        cells.push_back(kBlock);
        letters.push_back(kBlock);
        continue;
      }
      int label = 0;
      if (c == row.cells.front().column)
        label = row.number;
      else if (top && top->row == r && top->column == c)
        label = tajenkaNumber;
      cells.push_back(label);
      letters.push_back(cell->letter);
    }
    puzzle.push_back(std::move(cells));
    solution.push_back(std::move(letters));
    const std::string clue =
        r < static_cast<int>(sheet.clues.size())
            ? withoutOwnNumber(sheet.clues[static_cast<std::size_t>(r)], row.number)
            : "";
    if (!row.cells.empty())
      across.push_back(OrderedJson::array({row.number, escapeHtml(clue)}));
    else if (!clue.empty())
      gaps.push_back(OrderedJson::array({row.number, escapeHtml(clue)}));
  }

  OrderedJson doc;
  doc["version"] = kVersion;
  doc["kind"] = OrderedJson::array({kKind});
  doc["title"] = escapeHtml(setName + " · " + sheet.heading());
  doc["author"] = escapeHtml(setName);
  doc["copyright"] = "";
  doc["dimensions"] = {{"width", grid.columns}, {"height", height}};
  doc["puzzle"] = std::move(puzzle);
  doc["solution"] = std::move(solution);
  doc["clues"]["Across"] = std::move(across);
  if (top) {
    doc["clues"]["Down"] =
        OrderedJson::array({OrderedJson::array({tajenkaNumber, kIpuzTajenkaClue})});
    doc["explanation"] = escapeHtml(std::string(kIpuzTajenkaClue) + ": " + *grid.tajenka());
  }
  if (!gaps.empty()) doc[kIpuzGapsField] = std::move(gaps);
  std::string text;
  layOut(text, doc, 0);
  return text + "\n";
}

IpuzImport readIpuz(std::string_view bytes) {
  Json doc;
  try {
    doc = Json::parse(jsonText(bytes), [](int depth, Json::parse_event_t, Json&) {
      if (depth > kMaxDepth)
        throw UserError("Soubor není křížovka iPuz: data jsou vnořená hlouběji než " +
                        std::to_string(kMaxDepth) + " úrovní.");
      return true;
    });
  } catch (const Json::parse_error& e) {
    throw UserError("Soubor není platný JSON (chyba u " + std::to_string(e.byte) +
                    ". bajtu), a tedy ani křížovka iPuz.");
  } catch (const Json::exception&) {
    // A number too large for any type, say.
    throw UserError("Soubor není platný JSON, a tedy ani křížovka iPuz.");
  }
  try {
    return Reader(doc).read();
  } catch (const Json::exception&) {
    // Every access above checks the type first; this is the last guard of a refusal.
    throw UserError("Soubor není křížovka iPuz v podobě, kterou lze přečíst.");
  }
}

}  // namespace tervano::editor
