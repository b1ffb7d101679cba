#include "editor/word_list.h"

#include <algorithm>

#include "data/cp1250.h"

namespace tervano::editor {

namespace {

using cp1250::codePoints;

std::string utf8(char32_t cp) {
  std::string s;
  cp1250::appendUtf8(s, cp);
  return s;
}

std::string utf8(const std::u32string& text) {
  std::string s;
  for (char32_t cp : text)
    cp1250::appendUtf8(s, cp);
  return s;
}

std::string quoted(const std::string& text) {
  return "„" + text + "“";
}

bool isBlank(char32_t cp) {
  return cp == ' ' || cp == '\t' || cp == U'\u00A0';
}

// What ends the answer without being part of the clue.
bool isSeparator(char32_t cp) {
  return cp == '=' || cp == ':' || cp == ';' || cp == '|' || cp == U'–' || cp == U'—';
}

std::u32string trimmed(const std::u32string& s) {
  std::size_t a = 0;
  std::size_t b = s.size();
  while (a < b && isBlank(s[a]))
    ++a;
  while (b > a && isBlank(s[b - 1]))
    --b;
  return s.substr(a, b - a);
}

std::string lineRef(const WordPair& p) {
  return "Řádek " + std::to_string(p.line) + " (" + quoted(p.answer) + ")";
}

// What the splitting skips between the answer and the clue.
bool isSkippedBeforeClue(char32_t cp) {
  return isBlank(cp) || isSeparator(cp) || cp == '-';
}

struct Split {
  std::u32string answer;
  std::u32string clue;
};

Split split(const std::u32string& text) {
  const std::u32string line = trimmed(text);
  std::size_t end = 0;
  while (end < line.size() && !isBlank(line[end]) && !isSeparator(line[end]))
    ++end;
  // A hyphen joins the parts of a word; with blanks around it, it is the separator.
  std::size_t rest = end;
  while (rest < line.size() && isSkippedBeforeClue(line[rest]) && (line[rest] != '-' || rest > end))
    ++rest;
  return {line.substr(0, end), trimmed(line.substr(rest))};
}

}  // namespace

std::pair<std::string, std::string> splitWordListLine(std::string_view line) {
  const Split s = split(codePoints(line));
  return {utf8(s.answer), utf8(s.clue)};
}

std::string wordProblem(std::string_view answer) {
  for (char32_t cp : codePoints(answer))
    if (!isLetter(cp))
      return "slovo " + quoted(std::string(answer)) + " obsahuje znak " + quoted(utf8(cp)) +
             "; slovo křížovky smí mít jen písmena";
  return "";
}

std::string collapsedBlanks(std::string_view text) {
  std::u32string out;
  bool blank = false;
  for (char32_t cp : codePoints(text)) {
    // Line breaks, tabs and other controls would split the line or hide in the legend.
    if (isBlank(cp) || cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) {
      blank = !out.empty();
      continue;
    }
    if (blank) out.push_back(' ');
    blank = false;
    out.push_back(cp);
  }
  return utf8(out);
}

std::string normalizedClue(std::string_view clue) {
  const std::u32string text = codePoints(collapsedBlanks(clue));
  std::size_t start = 0;
  while (start < text.size() && isSkippedBeforeClue(text[start]))
    ++start;
  return utf8(text.substr(start));
}

std::string wordListLine(const std::string& answer, const std::string& clue) {
  return answer + " – " + clue;
}

std::vector<WordPair> parseWordList(const TextList& lines) {
  std::vector<WordPair> pairs;
  for (int i = 0; i < lines.count(); ++i) {
    const std::u32string line = codePoints(lines.get(i));
    if (trimmed(line).empty()) continue;
    const Split s = split(line);
    const std::string where = "Řádek " + std::to_string(i + 1);
    const std::string answer = utf8(s.answer);
    if (answer.empty())
      throw LayoutError(where + " nezačíná slovem: napište nejdřív slovo, pak jeho nápovědu.");
    if (const std::string problem = wordProblem(answer); !problem.empty())
      throw LayoutError(where + ": " + problem + ". Nápovědu oddělte mezerou.");
    if (s.clue.empty())
      throw LayoutError(where + " (" + quoted(answer) +
                        "): chybí nápověda. Za slovo napište jeho českou nápovědu.");
    pairs.push_back({answer, utf8(s.clue), i + 1});
  }
  return pairs;
}

CrosswordInput wordListInput(const std::string& tajenka, const TextList& lines) {
  const std::vector<WordPair> pairs = parseWordList(lines);
  const std::u32string phrase = trimmed(codePoints(cp1250::toLower(tajenka)));
  if (phrase.empty()) throw LayoutError("Napište tajenku.");
  const auto letters = static_cast<std::size_t>(
      std::count_if(phrase.begin(), phrase.end(), [](char32_t cp) { return cp != ' '; }));
  CrosswordInput in;
  in.tajenka = utf8(phrase);
  std::size_t next = 0;
  for (std::size_t k = 0; k < phrase.size(); ++k) {
    const char32_t letter = phrase[k];
    if (letter == ' ') {
      in.answers.emplace_back();
      in.clues.emplace_back();
      continue;
    }
    const std::string position = std::to_string(k + 1) + ". znak tajenky";
    if (next >= pairs.size())
      throw LayoutError("Tajenka " + quoted(tajenka) + " má " + std::to_string(letters) +
                        " písmen, seznam ale jen " + std::to_string(pairs.size()) +
                        " slov: pro písmeno " + quoted(utf8(letter)) + " (" + position +
                        ") už žádné slovo nezbylo. Doplňte slova nebo zkraťte tajenku.");
    const WordPair& p = pairs[next++];
    const std::u32string word = codePoints(cp1250::toLower(p.answer));
    if (word.find(letter) == std::u32string::npos)
      throw LayoutError(lineRef(p) + ": slovo neobsahuje písmeno " + quoted(utf8(letter)) +
                        ", které na ně v tajence připadá (" + position +
                        "). Vyměňte slovo nebo změňte pořadí řádků.");
    in.answers.push_back(p.answer);
    in.clues.push_back(p.clue);
  }
  if (next < pairs.size())
    throw LayoutError("Seznam má " + std::to_string(pairs.size()) + " slov, tajenka " +
                      quoted(tajenka) + " ale jen " + std::to_string(letters) +
                      " písmen: " + lineRef(pairs[next]) +
                      " už žádné písmeno tajenky nemá. Prodlužte tajenku nebo slova smažte.");
  return in;
}

CrosswordFiles buildFromWordList(const std::string& tajenka, const TextList& lines) {
  return buildCrossword(wordListInput(tajenka, lines));
}

}  // namespace tervano::editor
