#include "sound/wav.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "sound/riff.h"

namespace tervano::sound {
namespace {

constexpr std::uint16_t kTagPcm = 0x0001;
constexpr std::uint16_t kTagFloat = 0x0003;
constexpr std::uint16_t kTagALaw = 0x0006;
constexpr std::uint16_t kTagMuLaw = 0x0007;
constexpr std::uint16_t kTagExtensible = 0xFFFE;

constexpr std::size_t kFmtSize = 16;
constexpr std::size_t kExtensibleFmtSize = 40;

// The extensible subformat GUID is the format tag followed by these fixed bytes.
constexpr std::array<std::uint8_t, 14> kGuidTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                    0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

enum class Encoding { kUnsigned8, kSigned, kFloat, kALaw, kMuLaw };

struct Format {
  Encoding encoding = Encoding::kSigned;
  int channels = 0;
  int rate = 0;
  int bytesPerSample = 0;  // the container
  int validBits = 0;       // signed PCM only; the bits below are padding
};

// The encoding and its container size from the tag and the bits per sample; nullopt for what
// the mixer cannot take.
std::optional<Format> encodingOf(std::uint16_t tag, int bits) {
  Format f;
  switch (tag) {
    case kTagPcm:
      // Narrower samples (12, 20 bits) sit left-justified in whole bytes.
      if (bits < 1 || bits > 32) return std::nullopt;
      f.bytesPerSample = (bits + 7) / 8;
      f.encoding = f.bytesPerSample == 1 ? Encoding::kUnsigned8 : Encoding::kSigned;
      f.validBits = f.bytesPerSample * 8;
      return f;
    case kTagFloat:
      if (bits != 32 && bits != 64) return std::nullopt;
      f.bytesPerSample = bits / 8;
      f.encoding = Encoding::kFloat;
      return f;
    case kTagALaw:
    case kTagMuLaw:
      if (bits != 8) return std::nullopt;
      f.bytesPerSample = 1;
      f.encoding = tag == kTagALaw ? Encoding::kALaw : Encoding::kMuLaw;
      return f;
    default:
      return std::nullopt;
  }
}

std::optional<Format> parseFmt(const std::uint8_t* p, std::size_t size) {
  if (size < kFmtSize) return std::nullopt;
  std::uint16_t tag = riff::get16(p);
  const int channels = riff::get16(p + 2);
  const std::uint32_t rate = riff::get32(p + 4);
  const int blockAlign = riff::get16(p + 12);
  const int bits = riff::get16(p + 14);
  int validBits = 0;
  if (tag == kTagExtensible) {
    if (size < kExtensibleFmtSize || riff::get16(p + 16) < kExtensibleFmtSize - 18)
      return std::nullopt;
    validBits = riff::get16(p + 18);
    const std::uint8_t* guid = p + 24;
    if (!std::equal(kGuidTail.begin(), kGuidTail.end(), guid + 2)) return std::nullopt;
    tag = riff::get16(guid);
    if (tag != kTagPcm && tag != kTagFloat) return std::nullopt;
    // The container is whole bytes here; the valid bits say how many of them carry the sample.
    if (bits % 8 != 0 || validBits > bits) return std::nullopt;
  }
  if (channels < 1 || channels > kMaxWavChannels) return std::nullopt;
  if (rate < 1 || rate > static_cast<std::uint32_t>(kMaxWavRate)) return std::nullopt;
  auto f = encodingOf(tag, bits);
  if (!f) return std::nullopt;
  if (blockAlign != channels * f->bytesPerSample) return std::nullopt;
  f->channels = channels;
  f->rate = static_cast<int>(rate);
  if (f->encoding == Encoding::kSigned && validBits > 0) f->validBits = validBits;
  return f;
}

float clamped(double v) {
  if (std::isnan(v)) return 0.0f;
  return static_cast<float>(std::clamp(v, -1.0, 1.0));
}

// G.711 to 16-bit linear.
int fromMuLaw(std::uint8_t code) {
  const int u = ~code & 0xFF;
  const int t = (((u & 0x0F) << 3) + 0x84) << ((u & 0x70) >> 4);
  return (u & 0x80) ? 0x84 - t : t - 0x84;
}

int fromALaw(std::uint8_t code) {
  const int a = code ^ 0x55;
  int t = (a & 0x0F) << 4;
  const int segment = (a & 0x70) >> 4;
  if (segment == 0) {
    t += 8;
  } else {
    t = (t + 0x108) << (segment - 1);
  }
  return (a & 0x80) ? t : -t;
}

float decodeSample(const Format& f, const std::uint8_t* p) {
  switch (f.encoding) {
    case Encoding::kUnsigned8:
      return static_cast<float>((p[0] - 128) / 128.0);
    case Encoding::kALaw:
      return static_cast<float>(fromALaw(p[0]) / 32768.0);
    case Encoding::kMuLaw:
      return static_cast<float>(fromMuLaw(p[0]) / 32768.0);
    case Encoding::kFloat:
      if (f.bytesPerSample == 4) {
        float v;
        std::uint32_t raw = riff::get32(p);
        std::memcpy(&v, &raw, sizeof v);
        return clamped(v);
      } else {
        double v;
        const std::uint64_t raw = static_cast<std::uint64_t>(riff::get32(p)) |
                                  static_cast<std::uint64_t>(riff::get32(p + 4)) << 32;
        std::memcpy(&v, &raw, sizeof v);
        return clamped(v);
      }
    case Encoding::kSigned:
      break;
  }
  // Little-endian into the top of a 32-bit word, so every width shares one scale; padding bits
  // below the valid ones are dropped.
  std::uint32_t word = 0;
  for (int i = 0; i < f.bytesPerSample; ++i) {
    word |= static_cast<std::uint32_t>(p[i]) << (32 - 8 * f.bytesPerSample + 8 * i);
  }
  word &= ~std::uint32_t{0} << (32 - f.validBits);
  return static_cast<float>(static_cast<std::int32_t>(word) / 2147483648.0);
}

std::chrono::microseconds lengthOf(std::uint64_t frames, int rate) {
  if (rate <= 0) return std::chrono::microseconds(0);
  return std::chrono::microseconds(static_cast<std::int64_t>(frames * 1'000'000 / rate));
}

}  // namespace

std::size_t WavSound::frames() const {
  return channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0;
}

std::chrono::microseconds WavSound::length() const {
  return lengthOf(frames(), rate);
}

std::optional<WavSound> decodeWav(std::span<const std::uint8_t> bytes,
                                  std::chrono::microseconds maxLength) {
  if (bytes.size() < 12 || !riff::isTag(bytes.data(), "RIFF") ||
      !riff::isTag(bytes.data() + 8, "WAVE")) {
    return std::nullopt;
  }
  // The RIFF size is often wrong in the wild; the chunks are walked up to the end of the bytes.
  const std::uint64_t end = bytes.size();
  std::optional<Format> format;
  bool fmtSeen = false;
  const std::uint8_t* data = nullptr;
  std::uint64_t dataBytes = 0;
  std::uint64_t at = 12;
  while (at + 8 <= end && (!fmtSeen || !data)) {
    const std::uint8_t* header = bytes.data() + at;
    const std::uint64_t size = riff::get32(header + 4);
    const std::uint64_t body = at + 8;
    const std::uint64_t present = std::min(size, end - body);
    if (riff::isTag(header, "fmt ") && !fmtSeen) {
      fmtSeen = true;
      if (present < size) return std::nullopt;  // the header itself is cut
      format = parseFmt(header + 8, static_cast<std::size_t>(size));
      if (!format) return std::nullopt;
    } else if (riff::isTag(header, "data") && !data) {
      data = header + 8;
      dataBytes = present;
    }
    at = body + size + (size & 1);
  }
  if (!format || !data) return std::nullopt;

  const std::uint64_t frameBytes =
      static_cast<std::uint64_t>(format->channels) * format->bytesPerSample;
  const std::uint64_t frames = dataBytes / frameBytes;
  if (lengthOf(frames, format->rate) > maxLength) return std::nullopt;

  WavSound sound;
  sound.rate = format->rate;
  sound.channels = format->channels;
  const std::size_t count = static_cast<std::size_t>(frames) * format->channels;
  sound.samples.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    sound.samples[i] = decodeSample(*format, data + i * format->bytesPerSample);
  }
  return sound;
}

std::vector<float> toStereo(const WavSound& sound, int rate) {
  const std::size_t frames = sound.frames();
  if (rate < 1 || rate > kMaxWavRate || sound.rate < 1 || frames == 0) return {};
  const std::size_t stride = static_cast<std::size_t>(sound.channels);
  const std::size_t right = sound.channels > 1 ? 1 : 0;
  auto at = [&](std::size_t frame, std::size_t channel) {
    return sound.samples[frame * stride + channel];
  };

  if (rate == sound.rate) {
    std::vector<float> out(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
      out[2 * i] = at(i, 0);
      out[2 * i + 1] = at(i, right);
    }
    return out;
  }

  // Catmull-Rom through the four source frames around each output position; the ends hold
  // their outermost sample. Positions are kept as exact fractions of the two rates.
  const std::uint64_t from = static_cast<std::uint64_t>(sound.rate);
  const std::uint64_t to = static_cast<std::uint64_t>(rate);
  const std::size_t outFrames = static_cast<std::size_t>((frames * to * 2 + from) / (2 * from));
  const std::size_t last = frames - 1;
  std::vector<float> out(outFrames * 2);
  for (std::size_t i = 0; i < outFrames; ++i) {
    const std::uint64_t position = i * from;
    const std::size_t k = static_cast<std::size_t>(position / to);
    const float t = static_cast<float>(position % to) / static_cast<float>(to);
    const std::size_t k0 = k == 0 ? 0 : std::min(k - 1, last);
    const std::size_t k1 = std::min(k, last);
    const std::size_t k2 = std::min(k + 1, last);
    const std::size_t k3 = std::min(k + 2, last);
    for (std::size_t c = 0; c < 2; ++c) {
      const std::size_t channel = c == 0 ? 0 : right;
      const float p0 = at(k0, channel), p1 = at(k1, channel), p2 = at(k2, channel),
                  p3 = at(k3, channel);
      const float a = -0.5f * p0 + 1.5f * p1 - 1.5f * p2 + 0.5f * p3;
      const float b = p0 - 2.5f * p1 + 2.0f * p2 - 0.5f * p3;
      const float d = -0.5f * p0 + 0.5f * p2;
      const float v = ((a * t + b) * t + d) * t + p1;
      out[2 * i + c] = std::clamp(v, -1.0f, 1.0f);
    }
  }
  return out;
}

}  // namespace tervano::sound
