#include "data/document.h"

#include "data/cp1250.h"

namespace tervano {

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
}

bool isValidUtf8(std::string_view s) {
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
      ++i;
      continue;
    }
    int extra = 0;
    // The range of the second byte is narrower after some lead bytes: that is what rules out
    // overlong forms (E0, F0), surrogates (ED) and code points above U+10FFFF (F4).
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      extra = 1;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      extra = 2;
      if (b0 == 0xE0) lo = 0xA0;
      if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      extra = 3;
      if (b0 == 0xF0) lo = 0x90;
      if (b0 == 0xF4) hi = 0x8F;
    } else {
      return false;  // a continuation byte, C0, C1 or F5 to FF cannot start a character
    }
    if (n - i - 1 < static_cast<std::size_t>(extra)) return false;
    const auto b1 = static_cast<unsigned char>(s[i + 1]);
    if (b1 < lo || b1 > hi) return false;
    for (int k = 2; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0xC0) != 0x80)
        return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

std::string decodeDocument(std::string_view bytes) {
  if (isValidUtf8(bytes)) {
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
      bytes.remove_prefix(kByteOrderMark.size());
    return std::string(bytes);
  }
  return cp1250::decode(bytes);
}

}  // namespace tervano
