#include "data/cp1250.h"

#include <array>
#include <cstdint>

#include "data/errors.h"

namespace tervano::cp1250 {
namespace {

// Code points of the bytes 0x80 to 0xFF. Unassigned bytes map to the C1 control of their value.
constexpr std::array<char16_t, 128> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

// Every code point of the code page lies below U+2200.
constexpr char32_t kTableEnd = 0x2200;

// Byte of a code point, or -1 when the code page has none.
int byteOf(char32_t cp) {
  static const auto table = [] {
    std::array<std::int16_t, kTableEnd> t{};
    t.fill(-1);
    for (int i = 0; i < 0x80; ++i)
      t[i] = static_cast<std::int16_t>(i);
    for (int i = 0; i < 128; ++i)
      t[kHigh[i]] = static_cast<std::int16_t>(0x80 + i);
    return t;
  }();
  return cp < kTableEnd ? table[cp] : -1;
}

// Lower-case byte of a byte, by the code page's own pairs.
unsigned char lowerByte(unsigned char b) {
  if (b >= 'A' && b <= 'Z') return static_cast<unsigned char>(b + 0x20);
  switch (b) {
    case 0x8A:
    case 0x8C:
    case 0x8D:
    case 0x8E:
    case 0x8F:  // Š Ś Ť Ž Ź
      return static_cast<unsigned char>(b + 0x10);
    case 0xA3:
      return 0xB3;  // Ł
    case 0xA5:
      return 0xB9;  // Ą
    case 0xAA:
      return 0xBA;  // Ş
    case 0xAF:
      return 0xBF;  // Ż
    case 0xBC:
      return 0xBE;  // Ľ
    default:
      break;
  }
  if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<unsigned char>(b + 0x20);
  return b;
}

}  // namespace

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

char32_t nextCodePoint(std::string_view s, std::size_t& pos) {
  const auto b0 = static_cast<unsigned char>(s[pos++]);
  if (b0 < 0x80) return b0;
  int extra = 0;
  char32_t cp = 0;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3;
    cp = b0 & 0x07;
  } else {
    return 0xFFFD;
  }
  for (int i = 0; i < extra; ++i) {
    if (pos >= s.size()) return 0xFFFD;
    const auto b = static_cast<unsigned char>(s[pos]);
    if ((b & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (b & 0x3F);
    ++pos;
  }
  // A longer form than needed, a surrogate or a value beyond Unicode is malformed too: taken as
  // a character, "\xC1\x81" would be written as "A" and a text would change on its way to disk.
  constexpr char32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kShortest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0xFFFD;
  return cp;
}

std::u32string codePoints(std::string_view utf8) {
  std::u32string out;
  std::size_t pos = 0;
  while (pos < utf8.size())
    out.push_back(nextCodePoint(utf8, pos));
  return out;
}

std::string decode(std::string_view bytes) {
  // UTF-8 forms of the upper half, worked out once.
  static const auto utf8 = [] {
    std::array<std::string, 128> t;
    for (int i = 0; i < 128; ++i)
      appendUtf8(t[static_cast<std::size_t>(i)], kHigh[static_cast<std::size_t>(i)]);
    return t;
  }();
  std::size_t size = bytes.size();
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) size += 2;
  std::string out;
  out.reserve(size);
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) continue;
    out.append(bytes.substr(start, i - start));
    out += utf8[b - 0x80];
    start = i + 1;
  }
  out.append(bytes.substr(start));
  return out;
}

std::string encode(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const auto b = static_cast<unsigned char>(utf8[pos]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++pos;
      continue;
    }
    const std::size_t start = pos;
    const char32_t cp = nextCodePoint(utf8, pos);
    const int byte = cp == 0xFFFD ? -1 : byteOf(cp);
    if (byte < 0)
      throw FileError("Znak „" + std::string(utf8.substr(start, pos - start)) +
                      "“ nelze uložit v kódování Windows-1250.");
    out.push_back(static_cast<char>(byte));
  }
  return out;
}

bool representable(char32_t cp) {
  return cp != 0xFFFD && byteOf(cp) >= 0;
}

bool representable(std::string_view utf8) {
  std::size_t pos = 0;
  while (pos < utf8.size())
    if (!representable(nextCodePoint(utf8, pos))) return false;
  return true;
}

char32_t toLower(char32_t cp) {
  const int b = byteOf(cp);
  if (b < 0) return cp;
  const unsigned char lb = lowerByte(static_cast<unsigned char>(b));
  return lb < 0x80 ? char32_t{lb} : char32_t{kHigh[lb - 0x80]};
}

char32_t toUpper(char32_t cp) {
  // The inverse of lowerByte, built from it so that the two never disagree.
  static const auto upper = [] {
    std::array<unsigned char, 256> t{};
    for (int b = 0; b < 256; ++b)
      t[b] = static_cast<unsigned char>(b);
    for (int b = 0; b < 256; ++b) {
      const unsigned char lb = lowerByte(static_cast<unsigned char>(b));
      if (lb != b) t[lb] = static_cast<unsigned char>(b);
    }
    return t;
  }();
  const int b = byteOf(cp);
  if (b < 0) return cp;
  const unsigned char ub = upper[b];
  return ub < 0x80 ? char32_t{ub} : char32_t{kHigh[ub - 0x80]};
}

namespace {

template <typename Map>
std::string mapLetters(std::string_view utf8, Map map) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const auto b = static_cast<unsigned char>(utf8[pos]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(map(char32_t{b})));
      ++pos;
      continue;
    }
    const std::size_t start = pos;
    const char32_t cp = nextCodePoint(utf8, pos);
    if (cp == 0xFFFD) {
      out.append(utf8.substr(start, pos - start));
      continue;
    }
    appendUtf8(out, map(cp));
  }
  return out;
}

}  // namespace

std::string toUpper(std::string_view utf8) {
  return mapLetters(utf8, [](char32_t cp) { return toUpper(cp); });
}

std::string toLower(std::string_view utf8) {
  return mapLetters(utf8, [](char32_t cp) { return toLower(cp); });
}

}  // namespace tervano::cp1250
