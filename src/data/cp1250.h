#pragma once

#include <string>
#include <string_view>

namespace tervano::cp1250 {

// Data files are code page 1250 on disk and UTF-8 inside the program. The five byte values that
// code page 1250 leaves unassigned decode to the C1 controls of the same value, so that any byte
// sequence survives a read and a write unchanged.
std::string decode(std::string_view bytes);

// Throws FileError naming the first character that code page 1250 cannot hold.
std::string encode(std::string_view utf8);

// True when every character of the UTF-8 text can be written in code page 1250.
bool representable(std::string_view utf8);

// True when the single code point can be written in code page 1250.
bool representable(char32_t cp);

// Lower-casing by code page 1250's rules: A-Z and the upper-case letters with diacritics of the
// code page ("Ř" -> "ř"). Characters outside the code page are left as they are.
std::string toLower(std::string_view utf8);
char32_t toLower(char32_t cp);
// The reverse pairs: "ř" -> "Ř". A letter without a capital in the code page ("ß") stays.
std::string toUpper(std::string_view utf8);
char32_t toUpper(char32_t cp);

// UTF-8 helpers shared by the callers above.
void appendUtf8(std::string& out, char32_t cp);
// Decodes one code point at pos and advances pos; malformed input yields U+FFFD.
char32_t nextCodePoint(std::string_view utf8, std::size_t& pos);
// The characters of a UTF-8 text, one code point each (a text's width in a fixed-width font).
std::u32string codePoints(std::string_view utf8);

}  // namespace tervano::cp1250
