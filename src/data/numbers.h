#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tervano {

// Numbers of the game are signed 32-bit values held as decimal text. Parsing accepts an optional
// sign followed by decimal digits and nothing else; anything outside 32 bits is refused.
std::optional<std::int32_t> tryParseInt(std::string_view text);

// Throws ConversionError with the offending text.
std::int32_t parseInt(std::string_view text);

std::string toText(std::int64_t value);

// Arithmetic whose result must fit in 32 bits; an overflow is a ConversionError naming the exact
// result, never a silent wrap-around.
std::int32_t checkedInt(std::int64_t value);
inline std::int32_t checkedAdd(std::int32_t a, std::int32_t b) {
  return checkedInt(std::int64_t{a} + b);
}
inline std::int32_t checkedSub(std::int32_t a, std::int32_t b) {
  return checkedInt(std::int64_t{a} - b);
}
inline std::int32_t checkedMul(std::int32_t a, std::int32_t b) {
  return checkedInt(std::int64_t{a} * b);
}

// True when the text is one or more decimal digits (no sign): safe to become part of a path.
bool isDigits(std::string_view text);

}  // namespace tervano
