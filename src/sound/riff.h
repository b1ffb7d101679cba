#pragma once

#include <cstdint>
#include <cstring>

// Reading RIFF files (WAV cues, SF2 soundfonts): little-endian numbers and four-letter tags. The
// caller has checked that the bytes are there.
namespace tervano::sound::riff {

inline std::uint16_t get16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline std::uint32_t get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline bool isTag(const std::uint8_t* p, const char* tag) {
  return std::memcmp(p, tag, 4) == 0;
}

}  // namespace tervano::sound::riff
