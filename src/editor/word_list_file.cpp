#include "editor/word_list_file.h"

#include <algorithm>

#include "data/cp1250.h"
#include "data/textfile.h"

namespace tervano::editor {

namespace fs = std::filesystem;

namespace {

// A message box shows this many unusable lines; the rest are counted.
constexpr std::size_t kShownSkipped = 12;

std::string inQuotes(const std::string& text) {
  return "„" + text + "“";
}

// "2. sloupec „Čeština (cs)“, například „pondělí“".
std::string columnOption(const Vocabulary& v, std::size_t c) {
  const VocabularyColumn& column = v.columns[c];
  std::string text = std::to_string(c + 1) + ". sloupec";
  std::string name = column.name;
  if (!column.locale.empty()) name += name.empty() ? column.locale : " (" + column.locale + ")";
  if (!name.empty()) text += " " + inQuotes(name);
  if (!column.sample.empty()) text += ", například " + inQuotes(column.sample);
  return text;
}

// A reason as a line of a message box: a word from a file may be as long as the file.
std::string oneLine(const std::string& reason) {
  constexpr std::size_t kLongest = 100;
  const std::u32string cps = cp1250::codePoints(reason);
  if (cps.size() <= kLongest) return reason;
  std::string out;
  for (std::size_t i = 0; i < kLongest; ++i)
    cp1250::appendUtf8(out, cps[i]);
  return out + "…";
}

std::string count(std::size_t n, const char* one, const char* few, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : n >= 2 && n <= 4 ? few : many);
}

}  // namespace

ui::FileDialogOptions vocabularyDialog(const std::string& initialFolder) {
  ui::FileDialogOptions o;
  o.title = "Načíst slova ze souboru";
  o.filters = {{"Seznam slov", {"*.csv", "*.tsv", "*.txt"}}, {"Slovíčka KDE", {"*.kvtml"}}};
  o.initialFolder = initialFolder;
  o.mustExist = true;
  return o;
}

std::optional<ColumnChoice> chooseColumns(const Vocabulary& v, ui::Host& host,
                                          const std::string& fileName) {
  const std::size_t n = v.columns.size();
  if (n == 0) throw VocabularyError("V souboru " + inQuotes(fileName) + " nejsou žádná slova.");
  if (n == 1)
    throw VocabularyError("Soubor " + inQuotes(fileName) +
                          " má jen jeden sloupec. Ke každému slovu patří jeho česká nápověda "
                          "v dalším sloupci (oddělená čárkou, středníkem nebo tabulátorem).");
  std::vector<std::string> options;
  for (std::size_t c = 0; c < n; ++c)
    options.push_back(columnOption(v, c));

  ColumnChoice choice;
  if (n == 2 && (v.clueColumn || v.answerColumn)) {
    choice.clue = v.clueColumn ? *v.clueColumn : 1 - *v.answerColumn;
    choice.answer = 1 - choice.clue;
    return choice;
  }
  // Unknown, the window's own order is the guess: the word first, then the clue.
  const auto clue = host.choose(n == 2 ? "Ve kterém sloupci souboru je česká nápověda?"
                                       : "Počet jazyků (sloupců) v souboru: " + std::to_string(n) +
                                             ".\rVe kterém je česká nápověda?",
                                options, v.clueColumn.value_or(1));
  if (!clue || *clue >= n) return std::nullopt;
  choice.clue = *clue;
  if (n == 2) {
    choice.answer = 1 - choice.clue;
    return choice;
  }
  std::vector<std::size_t> others;
  std::vector<std::string> otherOptions;
  std::size_t preselected = 0;
  for (std::size_t c = 0; c < n; ++c) {
    if (c == choice.clue) continue;
    if (v.answerColumn == c) preselected = others.size();
    others.push_back(c);
    otherOptions.push_back(options[c]);
  }
  const auto answer =
      host.choose("Ve kterém sloupci je slovo křížovky (cizí jazyk)?", otherOptions, preselected);
  if (!answer || *answer >= others.size()) return std::nullopt;
  choice.answer = others[*answer];
  return choice;
}

std::string skippedReport(const WordPairs& p) {
  if (p.skippedTotal == 0) return "";
  std::string text = "Tyto řádky souboru nešlo použít (" + std::to_string(p.skippedTotal) + "):";
  std::size_t shown = 0;
  for (const auto& s : p.skipped) {
    if (shown == kShownSkipped) break;
    text += "\rřádek " + std::to_string(s.line) + ": " + oneLine(s.reason);
    ++shown;
  }
  if (p.skippedTotal > shown)
    text += "\r… a " + count(p.skippedTotal - shown, "další", "další", "dalších") + ".";
  return text;
}

std::optional<LoadedWordList> loadWordListFile(const fs::path& file, ui::Host& host) {
  const std::string name = file.filename().string();
  std::error_code ec;
  // Not a folder, a device or a pipe: reading one of those could block the program.
  if (!fs::is_regular_file(file, ec))
    throw FileError("Soubor " + inQuotes(file.string()) +
                    " nelze načíst: není to obyčejný soubor.");
  const std::string bytes = readFileBytes(file, kMaxVocabularyBytes);
  Vocabulary vocabulary;
  try {
    vocabulary = readVocabulary(bytes);
  } catch (const VocabularyError& e) {
    throw VocabularyError("Soubor " + inQuotes(name) + " nelze načíst.\r" + e.what());
  }
  const auto columns = chooseColumns(vocabulary, host, name);
  if (!columns) return std::nullopt;
  const WordPairs pairs = vocabularyPairs(vocabulary, columns->answer, columns->clue);
  if (pairs.pairs.empty()) {
    std::string text = "Ze souboru " + inQuotes(name) + " nešlo načíst žádné slovo s nápovědou.";
    if (const std::string skipped = skippedReport(pairs); !skipped.empty())
      text += "\r\r" + skipped;
    throw VocabularyError(text);
  }

  LoadedWordList loaded;
  const std::size_t shown = std::min(pairs.pairs.size(), kMaxWindowPairs);
  for (std::size_t i = 0; i < shown; ++i)
    loaded.lines.append(wordListLine(pairs.pairs[i].answer, pairs.pairs[i].clue));
  loaded.leftOut = pairs.skippedTotal > 0 || shown < pairs.pairs.size();
  // With two columns the letters chose without a question: say so, in case they were wrong.
  const bool guessed = vocabulary.clueByLetters && vocabulary.columns.size() == 2;
  if (!guessed && !loaded.leftOut) return loaded;
  loaded.report =
      "Ze souboru " + inQuotes(name) + " načtena slova s nápovědou: " + std::to_string(shown) + ".";
  if (shown < pairs.pairs.size())
    loaded.report += "\rDo okna se vejde nejvýše " + std::to_string(kMaxWindowPairs) +
                     " slov; další slova souboru od řádku " +
                     std::to_string(pairs.pairs[shown].line) + " (" +
                     std::to_string(pairs.pairs.size() - shown) + ") načtena nejsou.";
  if (guessed)
    loaded.report += "\rČeská písmena (ě, š, č, ř, ž, ů) má hlavně " +
                     std::to_string(columns->clue + 1) +
                     ". sloupec, proto jsou nápovědy z něj a slova z " +
                     std::to_string(columns->answer + 1) + ". sloupce.";
  if (pairs.skippedTotal > 0) loaded.report += "\r\r" + skippedReport(pairs);
  return loaded;
}

}  // namespace tervano::editor
