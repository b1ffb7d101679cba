#include "audio_files.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>
#include <stdexcept>

namespace tervano::testing {
namespace {

void le(std::string& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void be(std::string& out, std::uint32_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i)
    out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void varLen(std::string& out, std::uint32_t v) {
  std::string bytes(1, static_cast<char>(v & 0x7F));
  while (v >>= 7)
    bytes.insert(bytes.begin(), static_cast<char>((v & 0x7F) | 0x80));
  out += bytes;
}

}  // namespace

std::string wavFile(int rate, int channels, const std::vector<std::int16_t>& samples) {
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::string out = "RIFF";
  le(out, 36 + dataBytes, 4);
  out += "WAVEfmt ";
  le(out, 16, 4);
  le(out, 1, 2);  // PCM
  le(out, channels, 2);
  le(out, rate, 4);
  le(out, rate * channels * 2, 4);
  le(out, channels * 2, 2);
  le(out, 16, 2);
  out += "data";
  le(out, dataBytes, 4);
  for (std::int16_t s : samples)
    le(out, static_cast<std::uint16_t>(s), 2);
  return out;
}

std::vector<std::int16_t> tone(double hz, double seconds, int rate,
                               const std::vector<double>& amplitudes) {
  const auto frames = static_cast<std::size_t>(std::lround(seconds * rate));
  std::vector<std::int16_t> out;
  out.reserve(frames * amplitudes.size());
  for (std::size_t i = 0; i < frames; ++i) {
    const double s = std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / rate);
    for (double a : amplitudes)
      out.push_back(static_cast<std::int16_t>(std::lround(s * a * 32767)));
  }
  return out;
}

MidiTrack& MidiTrack::at(std::uint32_t tick, std::initializer_list<std::uint8_t> event) {
  if (tick < last_) throw std::logic_error("MIDI events out of order");
  varLen(events_, tick - last_);
  for (std::uint8_t b : event)
    events_.push_back(static_cast<char>(b));
  last_ = tick;
  return *this;
}

std::string MidiTrack::chunk(std::uint32_t endTick) const {
  std::string body = events_;
  varLen(body, endTick - last_);
  body += "\xFF\x2F";
  body.push_back('\0');
  std::string out = "MTrk";
  be(out, static_cast<std::uint32_t>(body.size()), 4);
  return out + body;
}

std::string midiFile(const std::vector<std::string>& trackChunks, std::uint16_t division) {
  std::string out = "MThd";
  be(out, 6, 4);
  be(out, trackChunks.size() > 1 ? 1 : 0, 2);
  be(out, static_cast<std::uint32_t>(trackChunks.size()), 2);
  be(out, division, 2);
  for (const std::string& t : trackChunks)
    out += t;
  return out;
}

std::string organPiece(int onMs, int offMs, int endMs, std::uint8_t key) {
  auto tick = [](int ms) { return static_cast<std::uint32_t>(ms * 480 / 500); };
  MidiTrack t;
  t.at(0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20})  // 500000 microseconds a beat
      .at(0, {0xC0, 16})                         // drawbar organ
      .at(tick(onMs), {0x90, key, 110})
      .at(tick(offMs), {0x80, key, 0});
  return midiFile({t.chunk(tick(endMs))});
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

Output Output::read(const std::string& path, std::size_t fromByte, int rate, std::size_t toByte) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(0, std::ios::end);
  const auto size = std::min(toByte, static_cast<std::size_t>(in.tellg()));
  // Whole frames only: the writer may be in the middle of one.
  const std::size_t start = fromByte - fromByte % 8;
  const std::size_t bytes = size > start ? (size - start) / 8 * 8 : 0;
  std::vector<float> samples(bytes / sizeof(float));
  in.seekg(static_cast<std::streamoff>(start));
  in.read(reinterpret_cast<char*>(samples.data()), static_cast<std::streamsize>(bytes));
  return Output(std::move(samples), rate);
}

double Output::rms(double from, double to) const {
  const auto a = std::min(frames(), static_cast<std::size_t>(std::max(0.0, from) * rate_));
  const auto b = std::min(frames(), static_cast<std::size_t>(std::max(0.0, to) * rate_));
  if (b <= a) return 0;
  double sum = 0;
  for (std::size_t i = 2 * a; i < 2 * b; ++i)
    sum += double(samples_[i]) * samples_[i];
  return std::sqrt(sum / static_cast<double>(2 * (b - a)));
}

double Output::peak() const {
  double p = 0;
  for (float s : samples_)
    p = std::max(p, double(std::fabs(s)));
  return p;
}

bool Output::sounds(std::size_t frame) const {
  return std::fabs(left(frame)) > kAudible || std::fabs(right(frame)) > kAudible;
}

std::size_t Output::soundingFrames() const {
  std::size_t n = 0;
  for (std::size_t f = 0; f < frames(); ++f)
    n += sounds(f);
  return n;
}

std::size_t Output::firstSoundingFrame() const {
  for (std::size_t f = 0; f < frames(); ++f) {
    if (sounds(f)) return f;
  }
  return frames();
}

std::size_t Output::lastSoundingFrame() const {
  for (std::size_t f = frames(); f > 0; --f) {
    if (sounds(f - 1)) return f - 1;
  }
  return frames();
}

std::size_t Output::zeroCrossings() const {
  std::size_t n = 0;
  int sign = 0;
  for (std::size_t f = 0; f < frames(); ++f) {
    if (std::fabs(left(f)) <= kAudible) continue;
    const int s = left(f) < 0 ? -1 : 1;
    n += sign != 0 && s != sign;
    sign = s;
  }
  return n;
}

}  // namespace tervano::testing
