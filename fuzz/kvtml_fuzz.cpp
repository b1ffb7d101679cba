// The KVTML reader of the word-list window on any bytes. Any broken rule aborts:
// - reading gives a result or a Czech refusal, the same one every time;
// - the pairs of every choice of columns are usable words with clues the window keeps, in the
//   file's order, each entry a pair or a skipped line, and read back unchanged from the window;
// - pairs written as a KVTML 2.0 file (escaped text or CDATA, with or without a document type
//   declaring entities) read back as the same pairs, the Czech identifier found by its locale
//   or its name.
#include <cstdint>
#include <string>

#include "vocabulary_rules.h"

using namespace tervano;

namespace {

using fuzz::require;

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string element(const std::string& text, bool cdata) {
  if (cdata && text.find("]]>") == std::string::npos) return "<![CDATA[" + text + "]]>";
  return escaped(text);
}

void roundTrip(std::string_view input, unsigned choice) {
  const std::vector<editor::WordPair> pairs = fuzz::piecesAsPairs(input);
  if (pairs.empty()) return;
  const bool cdata = choice & 1;
  const bool czechFirst = choice & 2;
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  if (choice & 4)
    xml += "<!DOCTYPE kvtml [<!ENTITY a \"&b;&b;\"><!ENTITY b SYSTEM \"/etc/passwd\">]>\n";
  xml += "<kvtml version=\"2.0\">\n<identifiers>\n";
  const std::string czech = choice & 8 ? "<name>Čeština</name>" : "<locale>cs_CZ</locale>";
  const std::string other = "<name>English</name><locale>en</locale>";
  xml += "<identifier id=\"0\">" + (czechFirst ? czech : other) + "</identifier>\n";
  xml += "<identifier id=\"7\">" + (czechFirst ? other : czech) + "</identifier>\n";
  xml += "</identifiers>\n<entries>\n";
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const std::string word = "<translation id=\"" + std::string(czechFirst ? "7" : "0") +
                             "\"><text>" + element(pairs[i].answer, cdata) +
                             "</text></translation>";
    const std::string clue = "<translation id=\"" + std::string(czechFirst ? "0" : "7") +
                             "\"><text>" + element(pairs[i].clue, cdata) +
                             "</text><comment>&amp;</comment></translation>";
    xml += "<entry id=\"" + std::to_string(i) + "\">" + (i % 2 ? word + clue : clue + word) +
           "</entry>\n";
  }
  xml +=
      "</entries>\n<lessons><container><name>L</name><entry id=\"0\"/></container></lessons>\n"
      "</kvtml>\n";
  const editor::Vocabulary v = editor::readVocabulary(xml);
  const std::size_t clue = czechFirst ? 0 : 1;
  require(v.format == editor::VocabularyFormat::Kvtml && v.columns.size() == 2,
          "a written KVTML file reads as two languages");
  require(v.clueColumn == clue, "the Czech identifier is found");
  fuzz::requireSamePairs(pairs, editor::vocabularyPairs(v, 1 - clue, clue),
                         "pairs written as KVTML read back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto v = fuzz::readAndCheck(input, [](std::string_view b) { return editor::readKvtml(b); });
  if (v) {
    require(v->format == editor::VocabularyFormat::Kvtml, "a KVTML reading says so");
    for (const auto& row : v->rows)
      require(row.cells.size() == v->columns.size(), "every entry has a cell per language");
  }
  if (size > 0) roundTrip(input.substr(1), data[0]);
  return 0;
}
