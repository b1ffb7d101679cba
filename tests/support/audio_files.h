#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace tervano::testing {

// 16-bit PCM in a RIFF WAVE container; samples interleaved by channel.
std::string wavFile(int rate, int channels, const std::vector<std::int16_t>& samples);

// A sine tone with one amplitude (0..1) per channel.
std::vector<std::int16_t> tone(double hz, double seconds, int rate,
                               const std::vector<double>& amplitudes);

// One track of a Standard MIDI File, events given at absolute ticks in order.
class MidiTrack {
 public:
  MidiTrack& at(std::uint32_t tick, std::initializer_list<std::uint8_t> event);
  // The track chunk, closed by an end-of-track event at endTick.
  std::string chunk(std::uint32_t endTick) const;

 private:
  std::string events_;
  std::uint32_t last_ = 0;
};

std::string midiFile(const std::vector<std::string>& trackChunks, std::uint16_t division = 480);

// A piece at 120 beats a minute (1 ms is 0.96 ticks at 480 per beat) on a drawbar organ, which
// sounds steadily while a key is held and stops quickly when released: one note from `onMs` to
// `offMs`, the piece ending at `endMs`.
std::string organPiece(int onMs, int offMs, int endMs, std::uint8_t key = 69);

void writeFile(const std::string& path, const std::string& bytes);

// The disk driver's output: interleaved float stereo from some byte offset on.
class Output {
 public:
  Output(std::vector<float> samples, int rate) : samples_(std::move(samples)), rate_(rate) {}
  // The bytes from fromByte up to toByte (default: all written so far).
  static Output read(const std::string& path, std::size_t fromByte, int rate,
                     std::size_t toByte = SIZE_MAX);

  std::size_t frames() const { return samples_.size() / 2; }
  double seconds() const { return static_cast<double>(frames()) / rate_; }
  float left(std::size_t frame) const { return samples_[2 * frame]; }
  float right(std::size_t frame) const { return samples_[2 * frame + 1]; }
  // Root mean square over [from, to) seconds, both channels.
  double rms(double from, double to) const;
  double peak() const;
  // The synthesizer's reverb leaves a floor around 1e-8 where nothing plays; anything above
  // -80 dBFS is sound.
  static constexpr float kAudible = 1e-4f;
  bool sounds(std::size_t frame) const;
  std::size_t soundingFrames() const;
  std::size_t firstSoundingFrame() const;  // frames() when silent
  std::size_t lastSoundingFrame() const;   // frames() when silent
  // Sign changes of the left channel where it sounds.
  std::size_t zeroCrossings() const;

 private:
  std::vector<float> samples_;
  int rate_;
};

}  // namespace tervano::testing
