#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/errors.h"
#include "editor/word_list.h"

namespace tervano::editor {

// A teacher's vocabulary is a few hundred words; 4 MB holds tens of thousands of them, and a
// bigger file is something else, refused before it is parsed and shown.
inline constexpr std::size_t kMaxVocabularyBytes = 4u * 1024u * 1024u;
// A word list has a word, a clue and perhaps a note or two, a KDE file a few languages; columns
// past this many are not offered (and a file of separators cannot make millions of them).
inline constexpr std::size_t kMaxColumns = 20;
// Unusable lines kept for the report: far more than a message shows, few enough that a file of
// empty lines cannot fill the memory with them.
inline constexpr std::size_t kMaxKeptSkipped = 1000;

// A vocabulary file that cannot be read at all; the text is Czech.
class VocabularyError : public UserError {
 public:
  using UserError::UserError;
};

enum class VocabularyFormat {
  Csv,    // comma, semicolon or tab separated values
  Lines,  // no separator: each line as the word-list window reads it, "monday – pondělí"
  Kvtml,  // KDE's vocabulary files (Parley, KWordQuiz), version 2.0
};

struct VocabularyColumn {
  std::string name;    // from the header row or the KVTML identifier, "" when unnamed
  std::string locale;  // KVTML only
  std::string sample;  // the column's first value, so that a question can show it
};

struct VocabularyRow {
  int line = 0;                    // of the file, from 1 (where an entry starts)
  std::vector<std::string> cells;  // by column, UTF-8 as read; may be shorter than the columns
};

struct SkippedLine {
  int line = 0;
  std::string reason;  // Czech
};

// A file read into columns (languages) and rows, before the teacher's choice of columns.
struct Vocabulary {
  VocabularyFormat format = VocabularyFormat::Csv;
  std::string encoding;  // "UTF-8", "UTF-16" or "kódová stránka 1250"
  char separator = 0;    // of a CSV file
  int headerLine = 0;    // the line that named the columns, 0 when none did
  std::vector<VocabularyColumn> columns;
  std::vector<VocabularyRow> rows;
  // Lines no choice of columns can use (empty, broken quotes), by line, the first
  // kMaxKeptSkipped of skippedTotal.
  std::vector<SkippedLine> skipped;
  std::size_t skippedTotal = 0;
  // The columns the file itself tells, by the header, the identifiers' names and locales, or
  // (for the clue only) by the letters that only Czech uses.
  std::optional<std::size_t> clueColumn;
  std::optional<std::size_t> answerColumn;
  bool clueByLetters = false;  // the clue column was told by its letters alone
};

// Reads a CSV/TSV file, a plain list, or (when it starts with "<") a KVTML file. Throws
// VocabularyError for a file over kMaxVocabularyBytes and for XML that is not KVTML 2.0.
Vocabulary readVocabulary(std::string_view bytes);

// CSV/TSV: UTF-16 with its byte order mark, UTF-8 (with or without one) when the bytes are valid
// UTF-8, code page 1250 otherwise. The separator is the one of tab, semicolon and comma that
// splits most lines into the same number of fields (at least two); with none of them each line
// splits as in the word-list window. Quoted fields may hold separators, line breaks and doubled
// quotes; a quote left open to the end of the file is a skipped line and from there on an
// ordinary character. A first row naming Czech ("čeština", "cs", "nápověda") or the word
// ("slovo") is the header.
Vocabulary readCsv(std::string_view bytes);

// KVTML 2.0 through pugixml: the identifiers are the columns, the entries' translations (by
// identifier id) the cells. No entity of a document type is expanded and nothing outside the
// file is read.
Vocabulary readKvtml(std::string_view bytes);

struct WordPairs {
  std::vector<WordPair> pairs;       // line: of the file
  std::vector<SkippedLine> skipped;  // by line, the first kMaxKeptSkipped of skippedTotal
  std::size_t skippedTotal = 0;
};

// The pairs of two columns: answer trimmed, clue normalized as the window keeps it. A row is
// skipped, with its reason, when it is empty, has one column only, lacks the word or the clue,
// holds a character that code page 1250 (the crossword files) cannot hold, or its word is not
// letters only.
WordPairs vocabularyPairs(const Vocabulary& vocabulary, std::size_t answerColumn,
                          std::size_t clueColumn);

// True for a name or locale that means Czech: "cs", "cs_CZ", "Čeština", "česky", "Czech".
bool namesCzech(std::string_view text);

}  // namespace tervano::editor
