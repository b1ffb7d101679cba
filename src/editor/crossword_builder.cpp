#include "editor/crossword_builder.h"

#include <algorithm>
#include <climits>

#include "data/cp1250.h"
#include "data/crossword.h"
#include "data/errors.h"
#include "data/numbers.h"
#include "data/textfile.h"

namespace tervano::editor {

namespace {

using Letters = std::u32string;

using cp1250::codePoints;

std::string utf8(char32_t cp) {
  std::string s;
  cp1250::appendUtf8(s, cp);
  return s;
}

std::string inQuotes(std::string_view text) {
  return "„" + std::string(text) + "“";
}

std::string lineNo(std::size_t index) {
  return std::to_string(index + 1);
}

// "x x x" or "m o n" with two blanks of indent per cell of offset.
std::string cells(int offset, const Letters& letters, bool asX) {
  std::string line(static_cast<std::size_t>(offset) * 2, ' ');
  for (std::size_t k = 0; k < letters.size(); ++k) {
    if (k > 0) line.push_back(' ');
    if (asX)
      line.push_back('x');
    else
      cp1250::appendUtf8(line, letters[k]);
  }
  return line;
}

int widthOf(int offset, std::size_t letters) {
  return 2 * (offset + static_cast<int>(letters)) - 1;
}

struct Word {
  std::size_t line = 0;
  Letters letters;               // lower case
  std::vector<int> occurrences;  // positions of the tajenka letter
};

void checkText(const std::string& text, std::size_t line, const char* what) {
  for (char32_t cp : codePoints(text)) {
    if (cp == '\r' || cp == '\n')
      throw LayoutError(std::string(what) + " na řádku " + lineNo(line) +
                        " obsahuje konec řádku; každá musí být na jednom řádku.");
    if (!cp1250::representable(cp))
      throw LayoutError(std::string(what) + " na řádku " + lineNo(line) + " obsahuje znak " +
                        inQuotes(utf8(cp)) + ", který nelze uložit v kódování Windows-1250.");
  }
}

void checkPoints(int value, const char* name) {
  if (value < 0 || value > kMaxPoints)
    throw LayoutError(std::string(name) + " musí být celé číslo od 0 do " +
                      std::to_string(kMaxPoints) + ", je " + std::to_string(value) + ".");
}

// Chooses, for every word, which occurrence of its tajenka letter stands in the column: for
// each possible column position the rightmost occurrence not beyond it, keeping the layout
// whose widest line is narrowest (then the one with the least indent).
std::vector<int> chooseIndices(const std::vector<Word>& words) {
  std::size_t longest = 0;
  for (const auto& w : words)
    longest = std::max(longest, w.letters.size());
  std::vector<int> best;
  int bestWidth = INT_MAX;
  int bestColumn = INT_MAX;
  for (int m = 0; m < static_cast<int>(longest); ++m) {
    std::vector<int> chosen;
    bool possible = true;
    for (const auto& w : words) {
      int pick = -1;
      for (int k : w.occurrences)
        if (k <= m) pick = std::max(pick, k);
      if (pick < 0) {
        possible = false;
        break;
      }
      chosen.push_back(pick);
    }
    if (!possible) continue;
    const int column = *std::max_element(chosen.begin(), chosen.end());
    int width = 0;
    for (std::size_t i = 0; i < words.size(); ++i)
      width = std::max(width, widthOf(column - chosen[i], words[i].letters.size()));
    if (width < bestWidth || (width == bestWidth && column < bestColumn)) {
      best = chosen;
      bestWidth = width;
      bestColumn = column;
    }
  }
  return best;
}

}  // namespace

bool isLetter(char32_t cp) {
  if (cp == U'ß') return true;
  if (!cp1250::representable(cp)) return false;
  if (cp1250::toLower(cp) != cp) return true;
  // A lower-case letter is the lower case of some capital of the code page.
  static const std::u32string lowers = [] {
    std::u32string s;
    for (int b = 0x41; b <= 0xFF; ++b) {
      const std::string decoded = cp1250::decode(std::string(1, static_cast<char>(b)));
      std::size_t pos = 0;
      const char32_t c = cp1250::nextCodePoint(decoded, pos);
      if (cp1250::toLower(c) != c) s.push_back(cp1250::toLower(c));
    }
    return s;
  }();
  return lowers.find(cp) != std::u32string::npos;
}

CrosswordFiles buildCrossword(const CrosswordInput& in) {
  const Letters tajenka = codePoints(cp1250::toLower(in.tajenka));
  if (tajenka.empty()) throw LayoutError("Tajenka je prázdná.");
  if (tajenka.front() == ' ' || tajenka.back() == ' ')
    throw LayoutError("Tajenka nesmí začínat ani končit mezerou.");
  for (char32_t cp : tajenka)
    if (cp != ' ' && !isLetter(cp))
      throw LayoutError("Tajenka " + inQuotes(in.tajenka) + " obsahuje znak " + inQuotes(utf8(cp)) +
                        "; povolena jsou jen písmena a mezery.");
  const std::size_t lines = tajenka.size();
  if (in.answers.size() != lines)
    throw LayoutError("Tajenka " + inQuotes(in.tajenka) + " má " + std::to_string(lines) +
                      " znaků, slov je ale " + std::to_string(in.answers.size()) +
                      ". Každý znak tajenky je jeden řádek, mezera je řádek bez slova.");
  if (in.clues.size() != lines)
    throw LayoutError("Počet nápověd (" + std::to_string(in.clues.size()) +
                      ") neodpovídá počtu řádků křížovky (" + std::to_string(lines) + ").");
  if (!in.tajenkaIndex.empty() && in.tajenkaIndex.size() != lines)
    throw LayoutError("Pozic písmen tajenky je " + std::to_string(in.tajenkaIndex.size()) +
                      ", řádků křížovky " + std::to_string(lines) + ".");
  checkPoints(in.scoring.pointsPerGood, "Body za dobře zodpovězené slovo");
  checkPoints(in.scoring.pointsPerBad, "Body za špatně zodpovězené slovo");
  checkPoints(in.scoring.goodTajenka, "Body za dobře zodpovězenou tajenku");
  checkPoints(in.scoring.badTajenka, "Body za špatně zodpovězenou tajenku");

  std::vector<Word> words;
  for (std::size_t i = 0; i < lines; ++i) {
    const std::string& answer = in.answers[i];
    checkText(in.clues[i], i, "Nápověda");
    if (tajenka[i] == ' ') {
      if (!answer.empty())
        throw LayoutError("Řádek " + lineNo(i) + " odpovídá mezeře v tajence a musí zůstat bez " +
                          "slova, je v něm ale " + inQuotes(answer) + ".");
      continue;
    }
    if (answer.empty())
      throw LayoutError("Řádek " + lineNo(i) + " nemá slovo, tajenka na něm má písmeno " +
                        inQuotes(utf8(tajenka[i])) + ".");
    if (in.clues[i].empty()) throw LayoutError("Slovu na řádku " + lineNo(i) + " chybí nápověda.");
    Word w;
    w.line = i;
    for (char32_t cp : codePoints(answer)) {
      if (!isLetter(cp))
        throw LayoutError("Slovo " + inQuotes(answer) + " (řádek " + lineNo(i) +
                          ") obsahuje nepovolený znak " + inQuotes(utf8(cp)) +
                          ". Povolena jsou jen písmena, která lze uložit v kódování "
                          "Windows-1250.");
      w.letters.push_back(cp1250::toLower(cp));
    }
    for (std::size_t k = 0; k < w.letters.size(); ++k)
      if (w.letters[k] == tajenka[i]) w.occurrences.push_back(static_cast<int>(k));
    if (w.occurrences.empty())
      throw LayoutError("Slovo " + inQuotes(answer) + " (řádek " + lineNo(i) +
                        ") neobsahuje písmeno tajenky " + inQuotes(utf8(tajenka[i])) + ".");
    if (!in.tajenkaIndex.empty() && in.tajenkaIndex[i]) {
      const int k = *in.tajenkaIndex[i];
      if (std::find(w.occurrences.begin(), w.occurrences.end(), k) == w.occurrences.end())
        throw LayoutError("Ve slově " + inQuotes(answer) + " (řádek " + lineNo(i) +
                          ") není na pozici " + std::to_string(k + 1) + " písmeno tajenky " +
                          inQuotes(utf8(tajenka[i])) + ".");
      w.occurrences = {k};
    }
    words.push_back(std::move(w));
  }

  const std::vector<int> index = chooseIndices(words);
  const int column = *std::max_element(index.begin(), index.end());
  for (std::size_t j = 0; j < words.size(); ++j) {
    const int width = widthOf(column - index[j], words[j].letters.size());
    if (width > kMaxLineWidth)
      throw LayoutError(
          "Řádek " + lineNo(words[j].line) + " (" + inQuotes(in.answers[words[j].line]) +
          ") by byl široký " + std::to_string(width) + " znaků, vejde se nejvýše " +
          std::to_string(kMaxLineWidth) + ". Zkraťte slovo nebo zvolte jiné písmeno tajenky.");
  }

  CrosswordFiles out;
  std::size_t j = 0;
  for (std::size_t i = 0; i < lines; ++i) {
    const std::string number = in.numberClues ? lineNo(i) + ". " : "";
    if (tajenka[i] == ' ') {
      out.map.append("");
      out.solution.append("");
      out.legend.append(in.clues[i].empty() ? number + "–" : number + in.clues[i]);
      continue;
    }
    const Word& w = words[j];
    const int offset = column - index[j];
    out.map.append(cells(offset, w.letters, true));
    out.solution.append(cells(offset, w.letters, false));
    out.legend.append(number + in.clues[i]);
    ++j;
  }
  const Scoring& s = in.scoring;
  out.konf = TextList{std::to_string(s.pointsPerGood), std::to_string(s.pointsPerBad),
                      std::to_string(s.goodTajenka),   std::to_string(s.badTajenka),
                      s.savePoint ? "A" : "N",         std::to_string(lines)};
  return out;
}

void writeCrossword(const std::filesystem::path& folder, const CrosswordFiles& files) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) throw FileError("Složku " + folder.string() + " nelze vytvořit: " + ec.message() + ".");
  saveTextList(folder / "k.mk", files.map);
  saveTextList(folder / "k.lk", files.legend);
  saveTextList(folder / "k.vk", files.solution);
  saveTextList(folder / "k.nk", files.konf);
}

std::optional<std::string> CrosswordCheck::tajenka() const {
  if (columns.size() != 1) return std::nullopt;
  return columns.front().phrase;
}

bool CrosswordCheck::spells(const std::string& phrase) const {
  const std::string wanted = cp1250::toLower(phrase);
  return std::any_of(columns.begin(), columns.end(),
                     [&](const TajenkaColumn& c) { return c.phrase == wanted; });
}

namespace {

// Empty, or an even number of blanks followed by "x" cells separated by one blank.
bool mapLineWellFormed(const Letters& line) {
  if (line.empty()) return true;
  std::size_t k = 0;
  while (k < line.size() && line[k] == ' ')
    ++k;
  if (k % 2 != 0 || k == line.size()) return false;
  for (std::size_t c = k; c < line.size(); ++c) {
    const bool cellPlace = (c - k) % 2 == 0;
    if (line[c] != (cellPlace ? U'x' : U' ')) return false;
  }
  return line.back() == 'x';
}

}  // namespace

CrosswordCheck checkCrossword(const CrosswordFiles& f) {
  CrosswordCheck r;
  auto problem = [&](std::string text) { r.problems.push_back(std::move(text)); };
  const int lines = f.solution.count();

  if (f.konf.count() != konf::kLines)
    problem("Konfigurace (k.nk) má " + std::to_string(f.konf.count()) + " řádků, má jich mít " +
            std::to_string(konf::kLines) + ".");
  static const char* const kScoreNames[] = {"body za dobré slovo", "body za špatné slovo",
                                            "body za dobrou tajenku", "body za špatnou tajenku"};
  for (int i = konf::kPointsPerGood; i <= konf::kBadTajenka; ++i)
    if (!tryParseInt(f.konf.get(i)))
      problem("Řádek " + lineNo(static_cast<std::size_t>(i)) + " konfigurace (" + kScoreNames[i] +
              ") " + inQuotes(f.konf.get(i)) + " není celé číslo.");
  const std::string& savePoint = f.konf.get(konf::kSavePoint);
  if (savePoint != "A" && savePoint != "N")
    problem("Řádek 5 konfigurace (bod uložení) má být „A“ nebo „N“, je " + inQuotes(savePoint) +
            ".");
  const auto wordCount = tryParseInt(f.konf.get(konf::kWordCount));
  if (!wordCount)
    problem("Řádek 6 konfigurace (počet slov) " + inQuotes(f.konf.get(konf::kWordCount)) +
            " není celé číslo.");
  else if (*wordCount != lines)
    problem("Řádek 6 konfigurace (počet slov) je " + std::to_string(*wordCount) +
            ", řešení má ale " + std::to_string(lines) + " řádků.");

  if (f.map.count() != lines)
    problem("Mapa má " + std::to_string(f.map.count()) + " řádků, řešení " + std::to_string(lines) +
            ".");
  if (f.legend.count() != lines)
    problem("Legenda má " + std::to_string(f.legend.count()) + " řádků, řešení " +
            std::to_string(lines) + ".");

  std::vector<Letters> solution;
  for (int i = 0; i < lines; ++i) {
    const auto idx = static_cast<std::size_t>(i);
    const Letters map = codePoints(f.map.get(i));
    const Letters sol = codePoints(f.solution.get(i));
    solution.push_back(sol);
    if (!mapLineWellFormed(map)) {
      problem("Řádek " + lineNo(idx) + " mapy " + inQuotes(f.map.get(i)) +
              " nemá tvar mapy (políčka „x“ oddělená jednou mezerou, odsazení po dvou "
              "mezerách).");
      continue;
    }
    if (static_cast<int>(map.size()) > kMaxLineWidth)
      problem("Řádek " + lineNo(idx) + " mapy je široký " + std::to_string(map.size()) +
              " znaků, vejde se nejvýše " + std::to_string(kMaxLineWidth) + ".");
    bool agrees = map.size() == sol.size();
    for (std::size_t k = 0; agrees && k < map.size(); ++k)
      agrees = map[k] == 'x' ? isLetter(sol[k]) : sol[k] == ' ';
    if (!agrees)
      problem("Řádek " + lineNo(idx) + " řešení " + inQuotes(f.solution.get(i)) +
              " neodpovídá mapě " + inQuotes(f.map.get(i)) +
              ": písmena musí stát přesně na místech „x“.");
  }

  std::vector<std::size_t> candidates;
  bool anyWord = false;
  for (const auto& sol : solution) {
    if (sol.empty()) continue;
    std::vector<std::size_t> here;
    for (std::size_t k = 0; k < sol.size(); ++k)
      if (isLetter(sol[k]) &&
          (!anyWord || std::find(candidates.begin(), candidates.end(), k) != candidates.end()))
        here.push_back(k);
    candidates = std::move(here);
    anyWord = true;
  }
  if (!anyWord) {
    problem("Křížovka nemá žádné slovo.");
    return r;
  }
  for (std::size_t k : candidates) {
    TajenkaColumn c;
    c.position = static_cast<int>(k);
    for (const auto& sol : solution)
      cp1250::appendUtf8(c.phrase, sol.empty() ? U' ' : cp1250::toLower(sol[k]));
    r.columns.push_back(std::move(c));
  }
  if (r.columns.empty()) problem("Žádný sloupec neprochází všemi slovy, tajenku nelze přečíst.");
  return r;
}

CrosswordCheck checkCrosswordFolder(const std::filesystem::path& folder) {
  CrosswordFiles f;
  std::vector<std::string> missing;
  auto load = [&](const char* name, TextList& into) {
    try {
      into = loadTextList(folder / name);
    } catch (const FileError& e) {
      missing.push_back(e.what());
    }
  };
  load("k.mk", f.map);
  load("k.lk", f.legend);
  load("k.vk", f.solution);
  load("k.nk", f.konf);
  if (!missing.empty()) {
    CrosswordCheck r;
    r.problems = std::move(missing);
    return r;
  }
  return checkCrossword(f);
}

}  // namespace tervano::editor
