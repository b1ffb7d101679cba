#include "audio/midi_check.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace tervano::audio {
namespace {

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}

  bool atEnd() const { return pos_ == data_.size(); }
  std::size_t remaining() const { return data_.size() - pos_; }

  std::optional<std::uint8_t> byte() {
    if (atEnd()) return std::nullopt;
    return data_[pos_++];
  }
  std::optional<std::uint32_t> bigEndian(int bytes) {
    if (remaining() < static_cast<std::size_t>(bytes)) return std::nullopt;
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
      v = (v << 8) | data_[pos_++];
    return v;
  }
  // A variable-length quantity: at most four bytes, seven bits each.
  std::optional<std::uint32_t> varLen() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      auto b = byte();
      if (!b) return std::nullopt;
      v = (v << 7) | (*b & 0x7F);
      if (!(*b & 0x80)) return v;
    }
    return std::nullopt;
  }
  bool skip(std::size_t n) {
    if (remaining() < n) return false;
    pos_ += n;
    return true;
  }
  bool tag(const char (&id)[5]) {
    if (remaining() < 4) return false;
    for (int i = 0; i < 4; ++i) {
      if (data_[pos_ + i] != static_cast<std::uint8_t>(id[i])) return false;
    }
    pos_ += 4;
    return true;
  }
  std::span<const std::uint8_t> take(std::size_t n) {
    auto s = data_.subspan(pos_, n);
    pos_ += n;
    return s;
  }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
};

int channelDataBytes(std::uint8_t status) {
  const int kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

struct Track {
  std::uint64_t endTick = 0;
  std::vector<std::pair<std::uint64_t, std::uint32_t>> tempos;  // tick, microseconds a beat
};

std::optional<Track> readTrack(std::span<const std::uint8_t> body) {
  Reader r(body);
  Track track;
  std::uint8_t running = 0;
  while (!r.atEnd()) {
    auto delta = r.varLen();
    if (!delta) return std::nullopt;
    track.endTick += *delta;
    auto first = r.byte();
    if (!first) return std::nullopt;
    std::uint8_t status = *first;
    int dataBytes = 0;
    if (status < 0x80) {
      // Running status: the byte just read is the first data byte.
      if (running == 0) return std::nullopt;
      dataBytes = channelDataBytes(running) - 1;
    } else if (status < 0xF0) {
      running = status;
      dataBytes = channelDataBytes(status);
    } else if (status == 0xFF) {
      // Meta and system exclusive events keep the running status: files in the wild rely on it.
      auto type = r.byte();
      if (!type) return std::nullopt;
      auto len = r.varLen();
      if (!len || r.remaining() < *len) return std::nullopt;
      auto data = r.take(*len);
      if (*type == 0x51) {
        if (*len != 3) return std::nullopt;
        const std::uint32_t tempo = (data[0] << 16) | (data[1] << 8) | data[2];
        if (tempo == 0) return std::nullopt;  // the player would divide by it
        track.tempos.emplace_back(track.endTick, tempo);
      }
      if (*type == 0x2F) {  // nothing may follow the end of the track
        return r.atEnd() ? std::optional(std::move(track)) : std::nullopt;
      }
      continue;
    } else if (status == 0xF0 || status == 0xF7) {
      auto len = r.varLen();
      if (!len || !r.skip(*len)) return std::nullopt;
      continue;
    } else {
      return std::nullopt;  // system common and real-time messages have no place in a file
    }
    if (!r.skip(dataBytes)) return std::nullopt;
  }
  // A track without its end marker: the player stops at the last event, which is good enough.
  return track;
}

// The piece's length in seconds, following the tempo changes of all tracks.
double pieceSeconds(const std::vector<Track>& tracks, std::uint32_t division) {
  std::uint64_t end = 0;
  std::vector<std::pair<std::uint64_t, std::uint32_t>> tempos;
  for (const Track& t : tracks) {
    end = std::max(end, t.endTick);
    tempos.insert(tempos.end(), t.tempos.begin(), t.tempos.end());
  }
  std::stable_sort(tempos.begin(), tempos.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  double micros = 0;
  std::uint64_t tick = 0;
  std::uint32_t tempo = 500000;  // the default: 120 beats a minute
  for (const auto& [at, value] : tempos) {
    if (at >= end) break;
    micros += double(at - tick) * tempo / division;
    tick = at;
    tempo = value;
  }
  micros += double(end - tick) * tempo / division;
  return micros / 1e6;
}

}  // namespace

bool isPlayableMidi(std::span<const std::uint8_t> data) {
  if (data.size() > kMaxMidiBytes) return false;
  Reader r(data);
  if (!r.tag("MThd")) return false;
  auto headerLen = r.bigEndian(4);
  if (!headerLen || *headerLen < 6) return false;
  auto format = r.bigEndian(2);
  auto tracks = r.bigEndian(2);
  auto division = r.bigEndian(2);
  if (!format || !tracks || !division) return false;
  if (*format > 1 || *tracks == 0) return false;
  // Time code divisions (top bit set) and a zero resolution cannot be played.
  if (*division == 0 || (*division & 0x8000)) return false;
  if (!r.skip(*headerLen - 6)) return false;

  std::vector<Track> found;
  while (found.size() < *tracks) {
    const bool isTrack = r.tag("MTrk");
    if (!isTrack && !r.skip(4)) return false;
    auto len = r.bigEndian(4);
    if (!len || r.remaining() < *len) return false;
    auto body = r.take(*len);
    if (!isTrack) continue;  // chunks of other kinds are skipped
    auto track = readTrack(body);
    if (!track) return false;
    found.push_back(std::move(*track));
  }
  return pieceSeconds(found, *division) >= kMinPieceSeconds;
}

}  // namespace tervano::audio
