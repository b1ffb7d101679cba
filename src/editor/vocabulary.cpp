#include "editor/vocabulary.h"

#include <algorithm>
#include <array>
#include <pugixml.hpp>

#include "data/cp1250.h"
#include "data/document.h"
#include "editor/crossword_builder.h"

namespace tervano::editor {

namespace {

using cp1250::codePoints;

std::string inQuotes(std::string_view text) {
  return "„" + std::string(text) + "“";
}

std::string lower(std::string_view text) {
  return cp1250::toLower(text);
}

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimmedView(std::string_view s) {
  while (!s.empty() && isSpace(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && isSpace(s.back()))
    s.remove_suffix(1);
  return s;
}

bool blank(std::string_view s) {
  return trimmedView(s).empty();
}

void checkSize(std::string_view bytes) {
  if (bytes.size() > kMaxVocabularyBytes)
    throw VocabularyError(
        "Soubor je příliš velký (" + std::to_string((bytes.size() + 1023) / 1024) +
        " kB); seznam slov smí mít nejvýše " + std::to_string(kMaxVocabularyBytes / 1024) + " kB.");
}

// Keeps the first kMaxKeptSkipped lines and counts them all.
void skip(std::vector<SkippedLine>& kept, std::size_t& total, int line, std::string reason) {
  ++total;
  if (kept.size() < kMaxKeptSkipped) kept.push_back({line, std::move(reason)});
}

// --- Text encodings -------------------------------------------------------------------------

std::string fromUtf16(std::string_view bytes, bool bigEndian) {
  std::string out;
  auto unit = [&](std::size_t i) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char32_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  };
  std::size_t i = 0;
  while (i + 1 < bytes.size()) {
    char32_t cp = unit(i);
    i += 2;
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < bytes.size()) {
      const char32_t low = unit(i);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;  // a surrogate without its partner
    cp1250::appendUtf8(out, cp);
  }
  if (i < bytes.size()) cp1250::appendUtf8(out, 0xFFFD);  // an odd last byte
  return out;
}

// A spreadsheet saves UTF-8 (LibreOffice, with or without a byte order mark), UTF-16 with a
// byte order mark (the "Unicode text" of other office programs) or the Windows code page. Bytes
// in code page 1250 that happen to be valid UTF-8 read as UTF-8: with Czech text that takes
// pairs like "Ĺ»" and does not occur.
std::string decodeText(std::string_view bytes, std::string& encoding) {
  if (bytes.size() >= 2 && (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")) {
    encoding = "UTF-16";
    return fromUtf16(bytes.substr(2), bytes[0] == '\xFE');
  }
  encoding = isValidUtf8(bytes) ? "UTF-8" : "kódová stránka 1250";
  return decodeDocument(bytes);
}

// --- CSV ------------------------------------------------------------------------------------

struct Record {
  int line = 0;
  std::vector<std::string> fields;
  bool openQuote = false;  // a quote opened here is never closed
};

// Splits the text into records. Separators, quotes and line ends are ASCII, which never occurs
// inside a UTF-8 sequence, so the text is scanned byte by byte.
class CsvScanner {
 public:
  CsvScanner(std::string_view text, char separator) : text_(text), sep_(separator) {}

  bool next(Record& r) {
    if (pos_ >= text_.size()) return false;
    r.line = line_;
    r.fields.assign(1, std::string());
    r.openQuote = false;
    std::size_t fields = 1;
    for (;;) {
      // Fields past the last column are read and dropped.
      scratch_.clear();
      std::string& field = fields <= kMaxColumns ? r.fields.back() : scratch_;
      if (!quotesLiteral_ && pos_ < text_.size() && text_[pos_] == '"') {
        if (!readQuoted(field)) {
          // Open to the end of the file: from here on a quote is an ordinary character, so
          // that the rest is still read line by line (and in one pass).
          r.openQuote = true;
          quotesLiteral_ = true;
        }
      }
      while (pos_ < text_.size() && text_[pos_] != sep_ && text_[pos_] != '\r' &&
             text_[pos_] != '\n')
        field.push_back(text_[pos_++]);
      if (pos_ >= text_.size()) return true;
      if (text_[pos_] == sep_) {
        ++pos_;
        if (++fields <= kMaxColumns) r.fields.emplace_back();
        continue;
      }
      endLine();
      return true;
    }
  }

 private:
  // Reads a quoted field after its opening quote; on failure nothing is consumed.
  bool readQuoted(std::string& field) {
    const std::size_t start = pos_;
    const int startLine = line_;
    std::string value;
    ++pos_;
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '"') {
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
          value.push_back('"');
          pos_ += 2;
          continue;
        }
        ++pos_;
        field += value;
        return true;
      }
      if (c == '\r' || c == '\n') {
        endLine();
        value.push_back('\n');
        continue;
      }
      value.push_back(c);
      ++pos_;
    }
    pos_ = start;
    line_ = startLine;
    return false;
  }

  void endLine() {
    if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
    ++line_;
  }

  std::string_view text_;
  char sep_;
  std::size_t pos_ = 0;
  int line_ = 1;
  bool quotesLiteral_ = false;
  std::string scratch_;
};

// Fields of a record without the empty ones at its end (a spreadsheet writes "a;b;;").
std::size_t usedFields(const std::vector<std::string>& fields) {
  std::size_t n = fields.size();
  while (n > 0 && blank(fields[n - 1]))
    --n;
  return n;
}

// The separator that splits most of the first records into the same number of fields, two or
// more; 0 when none does. On a tie tab wins, then semicolon: a comma is the likeliest to stand
// inside a clue.
char detectSeparator(std::string_view text) {
  constexpr int kSample = 200;
  char best = 0;
  int bestScore = 0;
  for (char sep : {'\t', ';', ','}) {
    CsvScanner scanner(text, sep);
    Record r;
    std::vector<std::size_t> counts;
    while (static_cast<int>(counts.size()) < kSample && scanner.next(r))
      if (const std::size_t n = usedFields(r.fields); n > 0) counts.push_back(n);
    std::size_t mode = 0;
    int modeCount = 0;
    for (std::size_t n : counts) {
      const int c = static_cast<int>(std::count(counts.begin(), counts.end(), n));
      if (c > modeCount || (c == modeCount && n > mode)) {
        mode = n;
        modeCount = c;
      }
    }
    if (mode >= 2 && modeCount > bestScore) {
      best = sep;
      bestScore = modeCount;
    }
  }
  return best;
}

// A header cell, lower case, without blanks and a colon at its end.
std::string headerKey(std::string_view cell) {
  std::string key = lower(trimmedView(cell));
  while (!key.empty() && (key.back() == ':' || isSpace(key.back())))
    key.pop_back();
  return key;
}

bool namesClue(std::string_view cell) {
  const std::string key = headerKey(cell);
  return namesCzech(key) || key == "nápověda" || key == "nápovědy" || key == "clue" ||
         key == "clues";
}

bool namesWord(std::string_view cell) {
  const std::string key = headerKey(cell);
  return key == "slovo" || key == "slova" || key == "word" || key == "words" || key == "odpověď" ||
         key == "answer";
}

// The column whose marker is the only one of its kind, if any.
std::optional<std::size_t> single(const std::vector<std::string>& cells,
                                  bool (*marks)(std::string_view)) {
  std::optional<std::size_t> found;
  for (std::size_t i = 0; i < cells.size(); ++i)
    if (marks(cells[i])) {
      if (found) return std::nullopt;
      found = i;
    }
  return found;
}

// Letters Czech uses and its neighbours in code page 1250 mostly do not.
bool czechLetter(char32_t cp) {
  static constexpr std::u32string_view letters = U"ěščřžťďňůĚŠČŘŽŤĎŇŮ";
  return letters.find(cp) != std::u32string_view::npos;
}

// The column that holds Czech by its letters: clearly more of its rows have them than any other
// column's.
std::optional<std::size_t> czechByLetters(const Vocabulary& v) {
  std::vector<std::size_t> score(v.columns.size(), 0);
  for (const auto& row : v.rows)
    for (std::size_t c = 0; c < row.cells.size() && c < score.size(); ++c) {
      const std::u32string cps = codePoints(row.cells[c]);
      if (std::any_of(cps.begin(), cps.end(), czechLetter)) ++score[c];
    }
  std::size_t best = 0;
  for (std::size_t c = 1; c < score.size(); ++c)
    if (score[c] > score[best]) best = c;
  for (std::size_t c = 0; c < score.size(); ++c)
    if (c != best && score[best] <= 2 * score[c]) return std::nullopt;
  if (score.empty() || score[best] == 0) return std::nullopt;
  return best;
}

// A name or a value as a question or a reason shows it: on one line, at most 30 characters.
std::string shortened(std::string_view value) {
  constexpr std::size_t kShown = 30;
  const std::string text = collapsedBlanks(value);
  const std::u32string cps = codePoints(text);
  if (cps.size() <= kShown) return text;
  std::string out;
  for (std::size_t i = 0; i < kShown; ++i)
    cp1250::appendUtf8(out, cps[i]);
  return out + "…";
}

// Columns from the widest row (and the header), each with its first value as a sample.
void settleColumns(Vocabulary& v, const std::vector<std::string>& header) {
  std::size_t count = usedFields(header);
  for (const auto& row : v.rows)
    count = std::max(count, usedFields(row.cells));
  v.columns.resize(count);
  for (std::size_t c = 0; c < count; ++c) {
    if (c < header.size()) v.columns[c].name = shortened(header[c]);
    for (const auto& row : v.rows)
      if (c < row.cells.size() && !blank(row.cells[c])) {
        v.columns[c].sample = shortened(row.cells[c]);
        break;
      }
  }
}

// The line of a byte offset, from 1.
class LineIndex {
 public:
  explicit LineIndex(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
      if (text[i] == '\n') ends_.push_back(i);
  }
  int lineOf(std::ptrdiff_t offset) const {
    if (offset < 0) return 0;
    const auto it = std::lower_bound(ends_.begin(), ends_.end(), static_cast<std::size_t>(offset));
    return static_cast<int>(it - ends_.begin()) + 1;
  }

 private:
  std::vector<std::size_t> ends_;
};

// --- KVTML ----------------------------------------------------------------------------------

std::string xmlProblem(pugi::xml_parse_status status) {
  switch (status) {
    case pugi::status_out_of_memory:
      return "nedostatek paměti";
    case pugi::status_bad_comment:
      return "poškozený komentář";
    case pugi::status_bad_cdata:
      return "poškozený oddíl CDATA";
    case pugi::status_bad_doctype:
      return "poškozená deklarace typu dokumentu";
    case pugi::status_bad_pcdata:
      return "poškozený text";
    case pugi::status_bad_start_element:
    case pugi::status_unrecognized_tag:
      return "poškozená počáteční značka";
    case pugi::status_bad_attribute:
      return "poškozený atribut";
    case pugi::status_bad_end_element:
      return "poškozená koncová značka";
    case pugi::status_end_element_mismatch:
      return "koncová značka nepatří k otevřenému prvku";
    case pugi::status_no_document_element:
      return "chybí kořenový prvek";
    default:
      return "poškozené XML";
  }
}

// A KVTML file is UTF-8; a text that is not is taken as code page 1250, like the CSV files.
std::string textOf(const pugi::xml_node& translation) {
  return decodeDocument(translation.child("text").text().get());
}

std::optional<int> identifierId(const pugi::xml_node& node) {
  const std::string_view id = node.attribute("id").value();
  if (id.empty() || id.size() > 6) return std::nullopt;
  int n = 0;
  for (char c : id) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

std::string columnLabel(const Vocabulary& v, std::size_t c) {
  if (c < v.columns.size() && !v.columns[c].name.empty()) return inQuotes(v.columns[c].name);
  return std::to_string(c + 1) + ". sloupec";
}

}  // namespace

bool namesCzech(std::string_view text) {
  const std::string key = headerKey(text);
  for (std::string_view exact : {"cs", "cz", "ces", "cze", "czech", "cestina", "cesky", "čj"})
    if (key == exact) return true;
  for (std::string_view start : {"cs_", "cs-", "cs@", "češ", "česk"})
    if (key.compare(0, start.size(), start) == 0) return true;
  return false;
}

Vocabulary readCsv(std::string_view bytes) {
  checkSize(bytes);
  Vocabulary v;
  const std::string text = decodeText(bytes, v.encoding);
  v.separator = detectSeparator(text);
  v.format = v.separator ? VocabularyFormat::Csv : VocabularyFormat::Lines;

  std::vector<VocabularyRow> rows;
  if (v.separator) {
    CsvScanner scanner(text, v.separator);
    Record r;
    while (scanner.next(r)) {
      if (r.openQuote)
        skip(v.skipped, v.skippedTotal, r.line, "uvozovky otevřené na tomto řádku se už nezavřou");
      else if (usedFields(r.fields) == 0)
        skip(v.skipped, v.skippedTotal, r.line, "prázdný řádek");
      else
        rows.push_back({r.line, std::move(r.fields)});
    }
  } else {
    const TextList lines = TextList::fromText(text);
    for (int i = 0; i < lines.count(); ++i) {
      if (blank(lines.get(i))) {
        skip(v.skipped, v.skippedTotal, i + 1, "prázdný řádek");
        continue;
      }
      auto [answer, clue] = splitWordListLine(lines.get(i));
      rows.push_back({i + 1, {std::move(answer), std::move(clue)}});
    }
  }

  std::vector<std::string> header;
  if (!rows.empty() &&
      (single(rows.front().cells, namesClue) || single(rows.front().cells, namesWord))) {
    header = std::move(rows.front().cells);
    v.headerLine = rows.front().line;
    v.clueColumn = single(header, namesClue);
    v.answerColumn = single(header, namesWord);
    if (v.answerColumn == v.clueColumn) v.answerColumn.reset();
    rows.erase(rows.begin());
  }
  v.rows = std::move(rows);
  settleColumns(v, header);
  if (!v.clueColumn) {
    v.clueColumn = czechByLetters(v);
    v.clueByLetters = v.clueColumn.has_value();
  }
  return v;
}

Vocabulary readKvtml(std::string_view bytes) {
  checkSize(bytes);
  Vocabulary v;
  v.format = VocabularyFormat::Kvtml;
  v.encoding = "UTF-8";
  pugi::xml_document doc;
  // The default parse: no document type is kept or expanded, only the five predefined entities
  // and character references are, so a file cannot grow itself or reach outside.
  const pugi::xml_parse_result result =
      doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_auto);
  const LineIndex lines(bytes);
  if (!result)
    throw VocabularyError(
        "Soubor není platný soubor slovíček KDE (KVTML): " + xmlProblem(result.status) +
        " na řádku " + std::to_string(lines.lineOf(result.offset)) + ".");
  const pugi::xml_node root = doc.child("kvtml");
  if (!root)
    throw VocabularyError("Soubor není soubor slovíček KDE (KVTML): nezačíná prvkem „kvtml“.");
  if (!root.child("identifiers") || !root.child("entries")) {
    if (root.child("e"))
      throw VocabularyError(
          "Soubor je ve starém formátu KVTML 1. Otevřete ho v programu Parley nebo KWordQuiz a "
          "uložte znovu: uloží se ve formátu 2.0, který lze načíst.");
    throw VocabularyError(
        "Soubor slovíček KDE nemá jazyky nebo slovíčka (prvky „identifiers“ a „entries“).");
  }

  std::vector<int> ids;  // identifier id by column
  for (const auto& identifier : root.child("identifiers").children("identifier")) {
    const auto id = identifierId(identifier);
    if (!id || std::find(ids.begin(), ids.end(), *id) != ids.end()) continue;
    ids.push_back(*id);
    v.columns.push_back({shortened(decodeDocument(identifier.child_value("name"))),
                         shortened(decodeDocument(identifier.child_value("locale"))), ""});
    if (v.columns.size() == kMaxColumns) break;
  }
  for (const auto& entries : root.children("entries"))
    for (const auto& entry : entries.children("entry")) {
      const int line = lines.lineOf(entry.offset_debug());
      VocabularyRow row{line, std::vector<std::string>(ids.size())};
      std::vector<bool> seen(ids.size(), false);
      for (const auto& translation : entry.children("translation")) {
        const auto id = identifierId(translation);
        const auto at = id ? std::find(ids.begin(), ids.end(), *id) : ids.end();
        if (at == ids.end()) continue;
        const auto c = static_cast<std::size_t>(at - ids.begin());
        if (seen[c]) continue;
        seen[c] = true;
        row.cells[c] = textOf(translation);
      }
      if (usedFields(row.cells) == 0)
        skip(v.skipped, v.skippedTotal, line, "prázdné slovíčko");
      else
        v.rows.push_back(std::move(row));
    }

  for (std::size_t c = 0; c < v.columns.size(); ++c)
    for (const auto& row : v.rows)
      if (!blank(row.cells[c])) {
        v.columns[c].sample = shortened(row.cells[c]);
        break;
      }
  // The Czech identifier, when exactly one is.
  std::vector<std::string> names;
  for (const auto& column : v.columns)
    names.push_back(namesCzech(column.locale) ? column.locale : column.name);
  v.clueColumn = single(names, namesCzech);
  if (!v.clueColumn) {
    v.clueColumn = czechByLetters(v);
    v.clueByLetters = v.clueColumn.has_value();
  }
  return v;
}

Vocabulary readVocabulary(std::string_view bytes) {
  checkSize(bytes);
  std::string_view start = bytes;
  if (start.substr(0, 3) == "\xEF\xBB\xBF") start.remove_prefix(3);
  start = trimmedView(start);
  const bool xml = !start.empty() && start.front() == '<';
  // UTF-16 XML starts with its byte order mark and "<" as two bytes.
  const bool xml16 =
      bytes.size() >= 4 && (bytes.substr(0, 4) == std::string_view("\xFF\xFE<\0", 4) ||
                            bytes.substr(0, 4) == std::string_view("\xFE\xFF\0<", 4));
  return xml || xml16 ? readKvtml(bytes) : readCsv(bytes);
}

WordPairs vocabularyPairs(const Vocabulary& v, std::size_t answerColumn, std::size_t clueColumn) {
  WordPairs out;
  std::vector<SkippedLine> rowSkips;
  std::size_t rowSkipTotal = 0;
  const bool kvtml = v.format == VocabularyFormat::Kvtml;
  auto cell = [](const VocabularyRow& row, std::size_t c) {
    return c < row.cells.size() ? std::string_view(row.cells[c]) : std::string_view();
  };
  for (const auto& row : v.rows) {
    const std::string answer = collapsedBlanks(cell(row, answerColumn));
    const std::string clue = normalizedClue(cell(row, clueColumn));
    const auto filled = std::count_if(row.cells.begin(), row.cells.end(),
                                      [](const std::string& s) { return !blank(s); });
    std::string reason;
    if (filled == 1 && (answer.empty() || clue.empty()))
      reason = kvtml ? "slovíčko má jen jeden překlad" : "jen jeden sloupec";
    else if (answer.empty())
      reason = "chybí slovo (" + columnLabel(v, answerColumn) + ")";
    else if (clue.empty())
      reason = "chybí nápověda (" + columnLabel(v, clueColumn) + ")";
    if (reason.empty()) {
      for (const std::string* text : {&answer, &clue})
        for (char32_t cp : codePoints(*text))
          if (!cp1250::representable(cp) && reason.empty()) {
            std::string shown;
            cp1250::appendUtf8(shown, cp);
            reason = "znak " + inQuotes(shown) +
                     " nelze zapsat do souborů křížovky (kódová stránka 1250)";
          }
    }
    if (reason.empty()) reason = wordProblem(answer);
    if (!reason.empty()) {
      skip(rowSkips, rowSkipTotal, row.line, std::move(reason));
      continue;
    }
    out.pairs.push_back({answer, clue, row.line});
  }
  // Both lists are in the order of the file; the first kMaxKeptSkipped of both together are
  // among the kept ones of each.
  std::merge(v.skipped.begin(), v.skipped.end(), rowSkips.begin(), rowSkips.end(),
             std::back_inserter(out.skipped),
             [](const SkippedLine& a, const SkippedLine& b) { return a.line < b.line; });
  if (out.skipped.size() > kMaxKeptSkipped) out.skipped.resize(kMaxKeptSkipped);
  out.skippedTotal = v.skippedTotal + rowSkipTotal;
  return out;
}

}  // namespace tervano::editor
