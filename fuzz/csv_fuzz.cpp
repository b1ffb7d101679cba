// The CSV/TSV reader of the word-list window on any bytes. Any broken rule aborts:
// - reading never fails but for the size limit, and is deterministic;
// - the pairs of every choice of columns are usable words with clues the window keeps, in the
//   file's order, each row a pair or a skipped line, and read back unchanged from the window;
// - pairs written as a CSV file (a header, any separator, quotes where needed, UTF-8 with or
//   without its mark, UTF-16 or code page 1250, any line ending) read back as the same pairs.
#include <cstdint>
#include <string>

#include "data/document.h"
#include "vocabulary_rules.h"

using namespace tervano;

namespace {

using fuzz::require;

std::string csvField(const std::string& text) {
  if (text.find_first_of(",;\t\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string utf16le(const std::string& utf8) {
  std::string out = "\xFF\xFE";
  auto unit = [&](char32_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  };
  for (char32_t cp : cp1250::codePoints(utf8)) {
    if (cp >= 0x10000) {
      unit(0xD800 + ((cp - 0x10000) >> 10));
      unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      unit(cp);
    }
  }
  return out;
}

void roundTrip(std::string_view input, unsigned choice) {
  const std::vector<editor::WordPair> pairs = fuzz::piecesAsPairs(input);
  if (pairs.empty()) return;
  const char sep = ",;\t"[choice % 3];
  const char* end = choice & 4 ? "\r\n" : choice & 8 ? "\n" : "\r";
  std::string text = std::string("slovo") + sep + "čeština" + end;
  for (const auto& p : pairs)
    text += csvField(p.answer) + sep + csvField(p.clue) + end;
  std::string bytes;
  switch ((choice >> 4) % 4) {
    case 0:
      bytes = text;
      break;
    case 1:
      bytes = "\xEF\xBB\xBF" + text;
      break;
    case 2:
      bytes = utf16le(text);
      break;
    case 3:
      // Code page 1250 bytes that are also valid UTF-8 are read as UTF-8 by design.
      bytes = cp1250::encode(text);
      if (isValidUtf8(bytes)) bytes = text;
      break;
  }
  const editor::Vocabulary v = editor::readCsv(bytes);
  require(v.separator == sep, "the separator written is the one detected");
  require(v.headerLine == 1 && v.clueColumn == 1u && v.answerColumn == 0u,
          "the header tells the columns");
  fuzz::requireSamePairs(pairs, editor::vocabularyPairs(v, 0, 1),
                         "pairs written as CSV read back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto v = fuzz::readAndCheck(input, [](std::string_view b) { return editor::readCsv(b); });
  require(v.has_value() || size > editor::kMaxVocabularyBytes, "only the size limit refuses");
  if (v) {
    require(v->format != editor::VocabularyFormat::Kvtml, "the CSV reader reads no XML");
    // The reader of the window picks this reader for anything not starting with "<".
    const std::string_view start = input.substr(0, 1);
    if (start != "<" && start != " " && start != "\xEF" && start != "\xFF" && start != "\xFE" &&
        start != "\t" && start != "\r" && start != "\n")
      require(fuzz::describe(editor::readVocabulary(input)) == fuzz::describe(*v),
              "the window reads a non-XML file as CSV");
  }
  if (size > 0) roundTrip(input.substr(1), data[0]);
  return 0;
}
