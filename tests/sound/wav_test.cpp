#include "sound/wav.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "audio_files.h"

namespace tervano::sound {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr auto kLong = std::chrono::microseconds(std::chrono::minutes(10));

// Little-endian, `size` bytes.
void put(Bytes& b, std::uint64_t v, int size) {
  for (int i = 0; i < size; ++i)
    b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Bytes bytesOf(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

// A chunk with its pad byte; `size` overrides the size written in its header.
Bytes chunk(const char* id, const Bytes& body, std::int64_t size = -1) {
  Bytes b(id, id + 4);
  put(b, size < 0 ? body.size() : static_cast<std::uint64_t>(size), 4);
  b = b + body;
  if (body.size() % 2) b.push_back(0);
  return b;
}

Bytes riff(const Bytes& chunks) {
  Bytes b = bytesOf("RIFF");
  put(b, chunks.size() + 4, 4);
  return b + bytesOf("WAVE") + chunks;
}

Bytes fmtFields(unsigned tag, unsigned channels, std::uint32_t rate, unsigned bits, int align) {
  Bytes b;
  const unsigned blockAlign = align < 0 ? channels * (bits / 8) : align;
  for (auto [value, size] : {std::pair<std::uint64_t, int>{tag, 2},
                             {channels, 2},
                             {rate, 4},
                             {std::uint64_t{rate} * blockAlign, 4},
                             {blockAlign, 2},
                             {bits, 2}}) {
    put(b, value, size);
  }
  return b;
}

Bytes fmt(unsigned tag, unsigned channels, std::uint32_t rate, unsigned bits, int align = -1) {
  return chunk("fmt ", fmtFields(tag, channels, rate, bits, align));
}

// Mono at 8000 Hz; the subformat GUID is the tag followed by a fixed tail.
Bytes extensible(unsigned subformat, unsigned bits, unsigned validBits) {
  Bytes b = fmtFields(0xFFFE, 1, 8000, bits, -1);
  put(b, 22, 2);
  put(b, validBits, 2);
  put(b, 0x4, 4);  // front centre
  put(b, subformat, 2);
  return chunk("fmt ", b + Bytes{0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00,
                                 0x38, 0x9B, 0x71});
}

template <typename T>
Bytes raw(std::initializer_list<T> values) {
  static_assert(std::endian::native == std::endian::little);
  Bytes b(values.size() * sizeof(T));
  std::memcpy(b.data(), values.begin(), b.size());
  return b;
}

std::optional<WavSound> decode(const Bytes& b, std::chrono::microseconds max = kLong) {
  return decodeWav(b, max);
}

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(WavDecode, EachEncodingGivesItsSampleValues) {
  struct Case {
    const char* name;
    Bytes fmt;
    Bytes data;
    std::vector<double> expected;
  };
  const std::vector<Case> cases = {
      {"unsigned 8", fmt(1, 1, 8000, 8), {0x00, 0x80, 0xFF, 0xC0}, {-1, 0, 127 / 128.0, 0.5}},
      {"signed 16",
       fmt(1, 1, 8000, 16),
       {0x00, 0x80, 0x00, 0x00, 0xFF, 0x7F, 0x00, 0xC0},
       {-1, 0, 32767 / 32768.0, -0.5}},
      {"signed 24",
       fmt(1, 1, 8000, 24),
       {0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x40, 0xFF, 0xFF, 0xFF},
       {-1, 1 - std::ldexp(1, -23), 0.5, -std::ldexp(1, -23)}},
      {"signed 32",
       fmt(1, 1, 8000, 32),
       {0x00, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x00, 0x20},
       {-1, 1, 0.25}},
      {"float 32",
       fmt(3, 1, 8000, 32),
       raw<float>({0.25f, -1.5f, std::numeric_limits<float>::quiet_NaN(),
                   std::numeric_limits<float>::infinity()}),
       {0.25, -1, 0, 1}},
      {"float 64", fmt(3, 1, 8000, 64), raw<double>({-0.75, 2.0, -kInf}), {-0.75, 1, -1}},
      // G.711 tables: the codes for silence, the largest magnitudes and the smallest step.
      {"mu-law",
       fmt(7, 1, 8000, 8),
       {0xFF, 0x7F, 0x80, 0x00, 0xFE},
       {0, 0, 32124 / 32768.0, -32124 / 32768.0, 8 / 32768.0}},
      {"A-law",
       fmt(6, 1, 8000, 8),
       {0xD5, 0x55, 0xAA, 0x2A},
       {8 / 32768.0, -8 / 32768.0, 32256 / 32768.0, -32256 / 32768.0}},
      {"extensible PCM, 24 valid bits in 32",
       extensible(1, 32, 24),
       {0xAB, 0x00, 0x00, 0xC0, 0xFF, 0xFF, 0xFF, 0x7F},
       {-0.5, 1 - std::ldexp(1, -23)}},
      {"extensible PCM, 20 valid bits in 24: padding bits ignored",
       extensible(1, 24, 20),
       {0x0F, 0x00, 0x40},
       {0.5}},
      {"extensible float", extensible(3, 32, 32), raw<float>({-0.125f}), {-0.125}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto sound = decode(riff(c.fmt + chunk("data", c.data)));
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->rate, 8000);
    EXPECT_EQ(sound->channels, 1);
    ASSERT_EQ(sound->samples.size(), c.expected.size());
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
      EXPECT_NEAR(sound->samples[i], c.expected[i], 1e-7) << "sample " << i;
    }
  }
}

TEST(WavDecode, ChunksInAnyOrderWithPaddingAndUnknownChunks) {
  const Bytes format = fmt(1, 2, 11025, 16);
  const Bytes data = chunk("data", {0x00, 0x40, 0x00, 0xC0});  // one frame: 0.5, -0.5
  const Bytes odd = chunk("junk", {1, 2, 3});                  // padded to four bytes
  const Bytes list = chunk("LIST", bytesOf("INFOISFT") + Bytes{5, 0, 0, 0, 'T', 'o', 'o', 'l', 0});
  Bytes fact;
  put(fact, 1, 4);
  const std::vector<Bytes> files = {
      riff(format + data), riff(list + chunk("fact", fact) + format + data),
      riff(odd + format + odd + data + odd),
      riff(format + chunk("fmt ", {0xFF}) + data + chunk("data", {0, 0, 0, 0})),  // the first wins
  };
  for (std::size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE(i);
    const auto sound = decode(files[i]);
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->rate, 11025);
    EXPECT_EQ(sound->samples, (std::vector<float>{0.5f, -0.5f}));
  }
}

TEST(WavDecode, CutFiles) {
  const std::vector<std::int16_t> samples = {100, -100, 200, -200, 300, -300};
  const Bytes whole = bytesOf(testing::wavFile(22050, 2, samples));
  const std::size_t headerEnd = whole.size() - samples.size() * 2;
  for (std::size_t cut = 0; cut < headerEnd; ++cut) {
    EXPECT_FALSE(decode(Bytes(whole.begin(), whole.begin() + cut))) << "cut at " << cut;
  }
  // The data chunk still claims all three frames: the whole frames present play.
  for (std::size_t frames = 0; frames <= 3; ++frames) {
    for (std::size_t extra : {0, 1, 3}) {
      if (frames == 3 && extra) continue;
      const Bytes cut(whole.begin(), whole.begin() + headerEnd + frames * 4 + extra);
      const auto sound = decode(cut);
      ASSERT_TRUE(sound) << frames << " frames and " << extra;
      ASSERT_EQ(sound->frames(), frames);
      for (std::size_t i = 0; i < frames * 2; ++i) {
        EXPECT_FLOAT_EQ(sound->samples[i], samples[i] / 32768.0f);
      }
    }
  }
  // A size near 2^32 in any chunk ends the walk without reading past the bytes.
  const Bytes huge = riff(fmt(1, 1, 8000, 16) + chunk("data", {1, 0, 2, 0}, 0xFFFFFFFF));
  ASSERT_TRUE(decode(huge));
  EXPECT_EQ(decode(huge)->frames(), 2u);
  EXPECT_FALSE(decode(riff(chunk("junk", {}, 0xFFFFFFFE) + fmt(1, 1, 8000, 16))));
}

TEST(WavDecode, Refusals) {
  const Bytes data = chunk("data", {0, 0, 0, 0, 0, 0, 0, 0});
  Bytes shortFmt = fmtFields(1, 1, 8000, 16, -1);
  shortFmt.resize(14);  // without the bits per sample
  Bytes rifx = riff(fmt(1, 1, 8000, 16) + data);
  rifx[3] = 'X';
  Bytes unknownGuid = extensible(1, 16, 16);
  unknownGuid[8 + 24 + 15] ^= 1;
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"empty", {}},
      {"garbage", bytesOf("not a sound at all, just some text")},
      {"RIFX", rifx},
      {"no chunks", riff({})},
      {"no data", riff(fmt(1, 1, 8000, 16))},
      {"no fmt", riff(data)},
      {"fmt too short", riff(chunk("fmt ", shortFmt) + data)},
      {"ADPCM", riff(fmt(0x11, 1, 8000, 4, 256) + data)},
      {"MPEG", riff(fmt(0x55, 1, 8000, 0, 1) + data)},
      {"zero channels", riff(fmt(1, 0, 8000, 16) + data)},
      {"nine channels", riff(fmt(1, 9, 8000, 16) + data)},
      {"rate 0", riff(fmt(1, 1, 0, 16) + data)},
      {"rate above 384000", riff(fmt(1, 1, 384001, 16) + data)},
      {"rate near 2^32", riff(fmt(1, 1, 0xFFFFFFFF, 16) + data)},
      {"block align 0", riff(fmt(1, 1, 8000, 16, 0) + data)},
      {"block align not the frame", riff(fmt(1, 2, 8000, 16, 2) + data)},
      {"PCM 40 bits", riff(fmt(1, 1, 8000, 40) + data)},
      {"float 16", riff(fmt(3, 1, 8000, 16) + data)},
      {"A-law 16", riff(fmt(6, 1, 8000, 16) + data)},
      {"extensible of an unknown subformat", riff(unknownGuid + data)},
      {"extensible ADPCM", riff(extensible(2, 16, 16) + data)},
      {"extensible valid bits above the container", riff(extensible(1, 16, 24) + data)},
      {"extensible cut to a plain fmt", riff(fmt(0xFFFE, 1, 8000, 16) + data)},
  };
  for (const auto& [name, bytes] : cases) {
    EXPECT_FALSE(decode(bytes)) << name;
  }
}

TEST(WavDecode, LongerThanTheLimitIsRefused) {
  const Bytes second = bytesOf(testing::wavFile(8000, 1, std::vector<std::int16_t>(8000)));
  EXPECT_TRUE(decode(second, 1s));
  EXPECT_EQ(decode(second, 1s)->length(), 1s);
  EXPECT_FALSE(decode(second, 999ms));
}

// Whatever the bytes, decoding ends and gives samples within range.
TEST(WavDecode, DamagedFilesNeverGoOutOfBounds) {
  const Bytes good =
      riff(chunk("LIST", {1, 2, 3}) + fmt(1, 2, 8000, 16) + chunk("data", Bytes(64, 0x80)));
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    Bytes bytes = good;
    const int flips = 1 + round % 6;
    for (int i = 0; i < flips; ++i) {
      bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
    }
    if (round % 3 == 0) bytes.resize(random() % bytes.size());
    const auto sound = decode(bytes);
    if (!sound) continue;
    ASSERT_GE(sound->channels, 1);
    ASSERT_LE(sound->samples.size(), bytes.size());
    for (float s : sound->samples)
      ASSERT_TRUE(s >= -1 && s <= 1);
  }
}

WavSound sound(int rate, int channels, std::vector<float> samples) {
  return WavSound{rate, channels, std::move(samples)};
}

TEST(WavToStereo, ChannelsAtTheSameRateAreCopiedExactly) {
  EXPECT_EQ(toStereo(sound(44100, 1, {0.1f, -0.2f}), 44100),
            (std::vector<float>{0.1f, 0.1f, -0.2f, -0.2f}));
  EXPECT_EQ(toStereo(sound(44100, 2, {0.1f, -0.2f, 0.3f, 0.4f}), 44100),
            (std::vector<float>{0.1f, -0.2f, 0.3f, 0.4f}));
  EXPECT_EQ(
      toStereo(sound(44100, 6, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, -1, 1, 0, 0, 0, 0}), 44100),
      (std::vector<float>{0.1f, 0.2f, -1, 1}));
  EXPECT_TRUE(toStereo(sound(44100, 1, {}), 48000).empty());
  EXPECT_TRUE(toStereo(sound(44100, 1, {0.5f}), 0).empty());
}

std::size_t zeroCrossings(const std::vector<float>& stereo, std::size_t channel) {
  std::size_t count = 0;
  for (std::size_t i = 2 + channel; i < stereo.size(); i += 2) {
    if ((stereo[i - 2] < 0) != (stereo[i] < 0)) ++count;
  }
  return count;
}

TEST(WavToStereo, ResamplingKeepsLengthPitchAndLoudness) {
  struct Case {
    int from;
    int to;
    double seconds;
  };
  for (const Case& c : {Case{22050, 44100, 0.5}, Case{48000, 44100, 0.5}, Case{44100, 48000, 0.3},
                        Case{8000, 44100, 1.0}, Case{48000, 44100, 1001 / 48000.0}}) {
    SCOPED_TRACE(std::to_string(c.from) + " to " + std::to_string(c.to));
    const double hz = 440;
    const auto decoded = decodeWav(
        bytesOf(testing::wavFile(c.from, 2, testing::tone(hz, c.seconds, c.from, {0.8, 0.4}))),
        kLong);
    ASSERT_TRUE(decoded);
    const std::size_t frames = decoded->frames();
    const auto out = toStereo(*decoded, c.to);
    EXPECT_EQ(out.size() / 2,
              static_cast<std::size_t>(std::llround(static_cast<double>(frames) * c.to / c.from)));
    const double expectedCrossings = 2 * hz * c.seconds;
    for (std::size_t channel : {0u, 1u}) {
      const double amplitude = channel == 0 ? 0.8 : 0.4;
      float peak = 0;
      for (std::size_t i = channel; i < out.size(); i += 2)
        peak = std::max(peak, std::abs(out[i]));
      EXPECT_NEAR(peak, amplitude, 0.02 * amplitude) << "channel " << channel;
      EXPECT_NEAR(static_cast<double>(zeroCrossings(out, channel)), expectedCrossings, 2);
      // Between the ends the curve follows the tone itself, far closer than straight lines
      // between the samples would (0.15 % of full scale at 22050 Hz).
      double worst = 0;
      for (std::size_t j = 0; j < out.size() / 2; ++j) {
        const double position = static_cast<double>(j) * c.from / c.to;
        if (position < 1 || position + 2 >= static_cast<double>(frames)) continue;
        const double exact = amplitude * std::sin(2 * std::numbers::pi * hz * j / c.to);
        worst = std::max(worst, std::abs(out[2 * j + channel] - exact));
      }
      EXPECT_LT(worst, 1e-3) << "channel " << channel;
    }
  }
}

}  // namespace
}  // namespace tervano::sound
