// The text parsers under their own rules, checked against small independent references. The
// first byte chooses the parser; the rest is its input. Any broken rule aborts.
//   0 code page 1250    1 text list splitting    2 text files on disk    3 numbers
//   4 the help document decoder
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include <unistd.h>

#include "data/cp1250.h"
#include "data/document.h"
#include "data/errors.h"
#include "data/numbers.h"
#include "data/textfile.h"
#include "data/textlist.h"
#include "fuzz_support.h"

using namespace tervano;

namespace {

using fuzz::require;
using fuzz::violated;

// Reference UTF-8 check written the other way round from the one under test: decode each
// sequence by its lead byte, then demand that the shortest encoding of the value gives the same
// bytes and that the value is a scalar value.
bool referenceUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t len = b < 0x80           ? 1
                      : (b >> 5) == 0x6  ? 2
                      : (b >> 4) == 0xE  ? 3
                      : (b >> 3) == 0x1E ? 4
                                         : 0;
    if (len == 0 || i + len > s.size()) return false;
    char32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (std::size_t k = 1; k < len; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c >> 6) != 0x2) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    std::string shortest;
    cp1250::appendUtf8(shortest, cp);
    if (shortest != s.substr(i, len)) return false;
    i += len;
  }
  return true;
}

std::size_t referenceCodePointCount(std::string_view valid) {
  std::size_t n = 0;
  for (char c : valid)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

void codePage(std::string_view bytes) {
  // Decoding: every byte string, one character per byte, valid UTF-8, and back unchanged.
  const std::string text = cp1250::decode(bytes);
  require(referenceUtf8(text), "decode gives valid UTF-8");
  require(referenceCodePointCount(text) == bytes.size(), "decode gives one character per byte");
  require(cp1250::codePoints(text).size() == bytes.size(), "codePoints counts the characters");
  require(cp1250::representable(text), "a decoded text is representable");
  require(cp1250::encode(text) == bytes, "decode then encode gives the same bytes");

  const std::string lower = cp1250::toLower(text);
  require(cp1250::representable(lower), "lower-casing stays in the code page");
  require(cp1250::encode(lower).size() == bytes.size(), "lower-casing keeps the length");
  require(cp1250::toLower(lower) == lower, "lower-casing is idempotent");
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char b = bytes[i];
    const char l = cp1250::encode(lower)[i];
    if (b >= 'A' && b <= 'Z') require(l == b + ('a' - 'A'), "A-Z lower to a-z");
    if (static_cast<unsigned char>(b) < 0x80 && !(b >= 'A' && b <= 'Z'))
      require(l == b, "other ASCII stays");
  }

  // Encoding: the same bytes read as UTF-8 text. Valid and representable text round-trips;
  // anything else is refused with a FileError, never written in some other form.
  const bool valid = referenceUtf8(bytes);
  const bool representable = cp1250::representable(bytes);
  std::optional<std::string> encoded;
  try {
    encoded = cp1250::encode(bytes);
  } catch (const FileError&) {
  }
  require(encoded.has_value() == representable, "encode succeeds exactly when representable");
  if (!valid) require(!representable, "malformed UTF-8 is not representable");
  if (encoded) {
    require(encoded->size() == referenceCodePointCount(bytes), "one byte per character");
    require(cp1250::decode(*encoded) == bytes, "encode then decode gives the same text");
  }
}

void textList(std::string_view text) {
  const TextList list = TextList::fromText(text);
  for (const auto& line : list.lines())
    require(line.find_first_of("\r\n") == std::string::npos, "no line holds a line ending");
  require(list.joined("\n") == fuzz::normalisedLines(text), "split agrees with the reference");
  for (std::string_view end : {"\r\n", "\n", "\r"})
    require(TextList::fromText(list.joined(end)) == list, "a joined list splits back unchanged");
  require(list.get(list.count()).empty() && list.get(-1).empty(), "beyond the end reads empty");
  TextList copy = list;
  copy.set(copy.count(), "x");
  copy.removeAt(copy.count());
  require(copy == list, "writing beyond the end changes nothing");
}

std::filesystem::path scratchFile() {
  static const std::filesystem::path dir = [] {
    auto d = std::filesystem::temp_directory_path() /
             ("tervano-text-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                      ("tervano-text-fuzz-" + std::to_string(::getpid())),
                                  ec);
    });
    return d;
  }();
  return dir / "soubor.txt";
}

void textFile(std::string_view input, bool asCodePage) {
  // The input is the list's text: as code page bytes (always writable) or as UTF-8 (may hold
  // characters the code page lacks, or be malformed).
  const TextList list = TextList::fromText(asCodePage ? cp1250::decode(input) : std::string(input));
  const auto path = scratchFile();
  const std::string before = "stará\r\n";
  writeFileAtomic(path, before);
  bool saved = true;
  try {
    saveTextList(path, list);
  } catch (const FileError&) {
    saved = false;
  }
  const std::string after = readFileBytes(path);
  require(saved == cp1250::representable(list.joined()), "only unwritable text is refused");
  if (!saved) {
    require(after == before, "a refused save leaves the old file");
    return;
  }
  require(after == cp1250::encode(list.joined("\r\n")), "the file holds the lines with CR LF");
  require(loadTextList(path) == list, "a saved list reads back unchanged");
  const auto entries = std::distance(std::filesystem::directory_iterator(path.parent_path()),
                                     std::filesystem::directory_iterator());
  require(entries == 1, "no temporary file is left behind");
}

bool canonical(std::string_view s) {
  if (s.empty()) return false;
  std::string_view digits = s.front() == '-' ? s.substr(1) : s;
  if (digits.empty() || (digits.size() > 1 && digits.front() == '0')) return false;
  if (s.front() == '-' && digits == "0") return false;
  for (char c : digits)
    if (c < '0' || c > '9') return false;
  return true;
}

void numbers(std::string_view text) {
  const auto parsed = tryParseInt(text);
  require(parsed == fuzz::referenceInt(text), "tryParseInt agrees with from_chars on the grammar");
  if (parsed) {
    require(parseInt(text) == *parsed, "parseInt agrees with tryParseInt");
    require(tryParseInt(toText(*parsed)) == parsed, "toText reads back");
    if (canonical(text)) require(toText(*parsed) == text, "canonical text round-trips");
  } else {
    try {
      parseInt(text);
      violated("parseInt refuses what tryParseInt refuses");
    } catch (const ConversionError& e) {
      require(e.offending() == text, "the error names the text");
    }
  }
  bool digitsOnly = !text.empty();
  for (char c : text)
    digitsOnly = digitsOnly && c >= '0' && c <= '9';
  require(isDigits(text) == digitsOnly, "isDigits means decimal digits only");

  // Checked arithmetic on two 32-bit values taken from the input.
  if (text.size() < 8) return;
  auto word = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k)
      v = (v << 8) | static_cast<unsigned char>(text[at + k]);
    return static_cast<std::int32_t>(v);
  };
  const std::int32_t a = word(0);
  const std::int32_t b = word(4);
  auto agrees = [](auto op, std::int64_t exact) {
    const bool fits = exact >= std::numeric_limits<std::int32_t>::min() &&
                      exact <= std::numeric_limits<std::int32_t>::max();
    try {
      const std::int32_t r = op();
      return fits && r == exact;
    } catch (const ConversionError& e) {
      return !fits && e.offending() == std::to_string(exact);
    }
  };
  require(agrees([&] { return checkedAdd(a, b); }, std::int64_t{a} + b), "checkedAdd");
  require(agrees([&] { return checkedSub(a, b); }, std::int64_t{a} - b), "checkedSub");
  require(agrees([&] { return checkedMul(a, b); }, std::int64_t{a} * b), "checkedMul");
}

void document(std::string_view bytes) {
  const bool valid = referenceUtf8(bytes);
  require(isValidUtf8(bytes) == valid, "isValidUtf8 agrees with the reference");
  const std::string text = decodeDocument(bytes);
  require(referenceUtf8(text), "the document text is valid UTF-8");
  if (valid) {
    const std::string_view bom = "\xEF\xBB\xBF";
    const std::string_view expected = bytes.substr(0, 3) == bom ? bytes.substr(3) : bytes;
    require(text == expected, "valid UTF-8 comes back unchanged");
  } else {
    require(cp1250::encode(text) == bytes, "a code page 1250 document loses nothing");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 5) {
    case 0:
      codePage(input);
      break;
    case 1:
      textList(input);
      break;
    case 2:
      textFile(input, data[0] & 0x80);
      break;
    case 3:
      numbers(input);
      break;
    case 4:
      document(input);
      break;
  }
  return 0;
}
