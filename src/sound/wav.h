#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tervano::sound {

// A decoded sound: interleaved float samples in [-1, 1], `channels` per frame.
struct WavSound {
  int rate = 0;
  int channels = 0;
  std::vector<float> samples;

  std::size_t frames() const;
  std::chrono::microseconds length() const;  // frames at rate
};

inline constexpr int kMaxWavChannels = 8;
inline constexpr int kMaxWavRate = 384000;

// Decodes a RIFF WAVE file held in memory: PCM 8 (unsigned), 16, 24 and 32 bits, float 32 and
// 64 bits, A-law and mu-law, and the extensible form of PCM and float. nullopt for anything that
// does not play: another container or encoding, no fmt or data chunk, a cut header, channels
// outside 1..8, a rate outside 1..384000, a block align that does not fit the samples. A data
// chunk cut short plays as far as its whole frames go. Sounds longer than maxLength are refused
// before anything is converted.
std::optional<WavSound> decodeWav(std::span<const std::uint8_t> bytes,
                                  std::chrono::microseconds maxLength);

// Interleaved float stereo at `rate`: mono goes to both channels, more than two channels keep
// the first two (front left and right). Resampled by cubic interpolation when the rates differ,
// to round(frames * rate / sound.rate) frames so the sound keeps its length; an exact copy when
// they are equal. Empty for a rate outside 1..384000.
std::vector<float> toStereo(const WavSound& sound, int rate);

}  // namespace tervano::sound
