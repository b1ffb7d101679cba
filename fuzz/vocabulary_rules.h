// Shared by csv_fuzz and kvtml_fuzz: the rules every reading of a word-list file keeps,
// whatever the file holds.
#pragma once

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "data/cp1250.h"
#include "data/errors.h"
#include "editor/vocabulary.h"
#include "editor/word_list.h"
#include "fuzz_support.h"

namespace tervano::fuzz {

// The whole outcome as text, to compare two readings.
inline std::string describe(const editor::Vocabulary& v) {
  std::string s = v.encoding + "|" + std::to_string(v.separator) + "|" +
                  std::to_string(v.headerLine) + "|" + std::to_string(v.skippedTotal) + "|" +
                  std::to_string(v.clueColumn.value_or(99)) + "|" +
                  std::to_string(v.answerColumn.value_or(99)) + "|";
  for (const auto& c : v.columns)
    s += c.name + "\x1f" + c.locale + "\x1f" + c.sample + "\x1e";
  for (const auto& r : v.rows) {
    s += std::to_string(r.line) + ":";
    for (const auto& cell : r.cells)
      s += cell + "\x1f";
    s += "\x1e";
  }
  for (const auto& k : v.skipped)
    s += std::to_string(k.line) + ":" + k.reason + "\x1e";
  return s;
}

// Lines of the file the reader may name: from 1 to one past the last line ending.
inline int lineCount(std::string_view bytes) {
  return static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n') +
                          std::count(bytes.begin(), bytes.end(), '\r')) +
         1;
}

// The pairs of two columns keep the word-list window's rules, account for every row, and read
// back unchanged from the window's lines.
inline void checkPairs(const editor::Vocabulary& v, std::size_t answer, std::size_t clue,
                       int lines) {
  const editor::WordPairs p = editor::vocabularyPairs(v, answer, clue);
  require(p.pairs.size() + p.skippedTotal == v.rows.size() + v.skippedTotal,
          "every row is a pair or a skipped line, once");
  require(p.skipped.size() == std::min(p.skippedTotal, editor::kMaxKeptSkipped),
          "the first skipped lines are kept, the rest counted");
  // Entries of an XML file may share a line; records of a spreadsheet never do.
  const bool kvtml = v.format == editor::VocabularyFormat::Kvtml;
  int last = 0;
  for (const auto& w : p.pairs) {
    require(!w.answer.empty() && !w.clue.empty(), "a pair has a word and a clue");
    require(cp1250::representable(w.answer) && cp1250::representable(w.clue),
            "a pair can be written in code page 1250");
    require(editor::wordProblem(w.answer).empty(), "the word is letters only");
    require(editor::normalizedClue(w.clue) == w.clue, "the clue is as the window keeps it");
    require((kvtml ? w.line >= last : w.line > last) && w.line >= 1 && w.line <= lines,
            "pairs are in the file's order, within it");
    last = w.line;
  }
  std::set<int> pairLines;
  for (const auto& w : p.pairs)
    pairLines.insert(w.line);
  last = 0;
  for (const auto& k : p.skipped) {
    require(!k.reason.empty(), "a skipped line says why");
    require(k.line >= last && k.line >= 1 && k.line <= lines, "skipped lines are in order");
    require(!pairLines.count(k.line) || kvtml,
            "a line of a spreadsheet is a pair or skipped, not both");
    last = k.line;
  }
  TextList window;
  for (const auto& w : p.pairs)
    window.append(editor::wordListLine(w.answer, w.clue));
  const auto back = editor::parseWordList(window);
  require(back.size() == p.pairs.size(), "the window reads as many pairs back");
  for (std::size_t i = 0; i < back.size(); ++i)
    require(back[i].answer == p.pairs[i].answer && back[i].clue == p.pairs[i].clue,
            "the window reads every pair back unchanged");
}

// Reads twice (the same outcome, or the same refusal) and checks the pairs of every choice of
// two among the first three columns. Returns the reading, or nothing when it was refused.
template <typename Read>
std::optional<editor::Vocabulary> readAndCheck(std::string_view bytes, Read read) {
  std::optional<editor::Vocabulary> first;
  std::string refusal;
  try {
    first = read(bytes);
  } catch (const editor::VocabularyError& e) {
    refusal = e.what();
  }
  try {
    const editor::Vocabulary again = read(bytes);
    require(first && describe(*first) == describe(again), "reading is deterministic");
  } catch (const editor::VocabularyError& e) {
    require(!first && refusal == e.what(), "a refusal is deterministic");
    require(!refusal.empty(), "a refusal says why");
    return std::nullopt;
  }
  const editor::Vocabulary& v = *first;
  require(v.skipped.size() == std::min(v.skippedTotal, editor::kMaxKeptSkipped),
          "the reader keeps the first skipped lines");
  if (v.clueColumn) require(*v.clueColumn < v.columns.size(), "the clue column exists");
  if (v.answerColumn) require(*v.answerColumn < v.columns.size(), "the word column exists");
  const std::size_t n = std::min<std::size_t>(v.columns.size(), 3);
  for (std::size_t a = 0; a < n; ++a)
    for (std::size_t c = 0; c < n; ++c)
      if (a != c) checkPairs(v, a, c, lineCount(bytes));
  return first;
}

// Texts for a written file, taken from the input: the letters of each piece as the word, the
// piece as the clue.
inline std::vector<editor::WordPair> piecesAsPairs(std::string_view input) {
  std::vector<editor::WordPair> pairs;
  const std::string text = cp1250::decode(input);
  std::size_t start = 0;
  while (start <= text.size() && pairs.size() < 64) {
    std::size_t end = text.find('\x1e', start);
    if (end == std::string::npos) end = text.size();
    const std::string piece = text.substr(start, end - start);
    std::string word;
    for (char32_t cp : cp1250::codePoints(piece))
      if (editor::isLetter(cp)) cp1250::appendUtf8(word, cp);
    const std::string clue = editor::normalizedClue(piece);
    if (!word.empty() && !clue.empty()) pairs.push_back({word, clue, 0});
    start = end + 1;
  }
  return pairs;
}

inline void requireSamePairs(const std::vector<editor::WordPair>& written,
                             const editor::WordPairs& read, const char* rule) {
  bool same = read.pairs.size() == written.size() && read.skippedTotal == 0;
  for (std::size_t i = 0; same && i < written.size(); ++i)
    same = read.pairs[i].answer == written[i].answer && read.pairs[i].clue == written[i].clue;
  require(same, rule);
}

}  // namespace tervano::fuzz
