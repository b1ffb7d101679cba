// The check that guards the synthesizer against broken music files, against a second check of
// the structure written here from the file format, not from the code under test. The two
// verdicts must agree; an accepted file must have what the header promises. Reading outside
// the input is caught by AddressSanitizer (libFuzzer hands over a buffer of the exact size).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "audio/midi_check.h"

namespace {

using Bytes = std::span<const std::uint8_t>;
using u128 = unsigned __int128;

struct Tempo {
  std::uint64_t tick;
  std::uint32_t micros;
};

struct Verdict {
  bool structure = false;  // a format 0/1 file with metrical timing and every track complete
  std::uint64_t endTick = 0;
  std::vector<Tempo> tempos;  // in the order of the file
  std::uint32_t division = 0;
};

std::uint32_t be(Bytes b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int k = 0; k < n; ++k)
    v = v << 8 | b[at + static_cast<std::size_t>(k)];
  return v;
}

// A variable-length quantity of at most four bytes starting at `at`; moves `at` past it.
std::optional<std::uint32_t> quantity(Bytes b, std::size_t& at) {
  std::uint32_t v = 0;
  for (int used = 1; used <= 4 && at < b.size(); ++used) {
    const std::uint8_t c = b[at++];
    v = v << 7 | (c & 0x7Fu);
    if (c < 0x80) return v;
  }
  return std::nullopt;
}

// One track body; false when an event is malformed or runs past the body.
bool track(Bytes body, Verdict& out) {
  std::size_t at = 0;
  std::uint64_t tick = 0;
  int running = -1;  // meta and system exclusive events leave it as it was
  while (at != body.size()) {
    const auto delta = quantity(body, at);
    if (!delta || at == body.size()) return false;
    tick += *delta;
    const std::uint8_t status = body[at++];
    std::size_t need = 0;
    if (status == 0xFF) {
      if (at == body.size()) return false;
      const std::uint8_t type = body[at++];
      const auto len = quantity(body, at);
      if (!len || body.size() - at < *len) return false;
      if (type == 0x51) {
        if (*len != 3 || be(body, at, 3) == 0) return false;
        out.tempos.push_back({tick, be(body, at, 3)});
      }
      at += *len;
      if (type == 0x2F && at != body.size()) return false;
      out.endTick = std::max(out.endTick, tick);
      continue;
    }
    if (status == 0xF0 || status == 0xF7) {
      const auto len = quantity(body, at);
      if (!len || body.size() - at < *len) return false;
      at += *len;
      out.endTick = std::max(out.endTick, tick);
      continue;
    }
    if (status >= 0xF0) return false;
    if (status >= 0x80) {
      running = status;
      need = (status >> 4) == 0xC || (status >> 4) == 0xD ? 1 : 2;
    } else {
      if (running < 0) return false;
      need = (running >> 4) == 0xC || (running >> 4) == 0xD ? 0 : 1;
    }
    if (body.size() - at < need) return false;
    at += need;
    out.endTick = std::max(out.endTick, tick);
  }
  return true;
}

Verdict reference(Bytes b) {
  Verdict v;
  if (b.size() < 14 || b[0] != 'M' || b[1] != 'T' || b[2] != 'h' || b[3] != 'd') return v;
  const std::uint32_t headerLen = be(b, 4, 4);
  if (headerLen < 6 || b.size() - 8 < headerLen) return v;
  const std::uint32_t format = be(b, 8, 2);
  const std::uint32_t tracks = be(b, 10, 2);
  v.division = be(b, 12, 2);
  if (format > 1 || tracks == 0 || v.division == 0 || v.division >= 0x8000) return v;
  std::size_t at = 8 + std::size_t{headerLen};
  for (std::uint32_t found = 0; found < tracks;) {
    if (b.size() - at < 8) return v;
    const bool isTrack = b[at] == 'M' && b[at + 1] == 'T' && b[at + 2] == 'r' && b[at + 3] == 'k';
    const std::uint32_t len = be(b, at + 4, 4);
    at += 8;
    if (b.size() - at < len) return v;
    if (isTrack) {
      if (!track(b.subspan(at, len), v)) return v;
      ++found;
    }
    at += len;
  }
  v.structure = true;
  return v;
}

// The length in microseconds times the division, exactly: every stretch between tempo changes
// counts at the tempo in force. Changes at one tick take effect in file order.
u128 scaledLength(const Verdict& v) {
  std::vector<Tempo> changes = v.tempos;
  std::stable_sort(changes.begin(), changes.end(),
                   [](const Tempo& a, const Tempo& b) { return a.tick < b.tick; });
  u128 total = 0;
  std::uint64_t from = 0;
  std::uint32_t tempo = 500000;
  for (const Tempo& t : changes) {
    const std::uint64_t upTo = std::min(t.tick, v.endTick);
    total += u128(upTo - std::min(from, upTo)) * tempo;
    from = std::max(from, upTo);
    tempo = t.micros;
  }
  total += u128(v.endTick - std::min(from, v.endTick)) * tempo;
  return total;
}

[[noreturn]] void violated(const char* rule) {
  std::fprintf(stderr, "rule broken: %s\n", rule);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Bytes bytes(data, size);
  const bool accepted = tervano::audio::isPlayableMidi(bytes);
  const Verdict v = reference(bytes);
  if (accepted && !v.structure) violated("an accepted file has a sound structure");
  if (!v.structure) return 0;
  // The limit: kMinPieceSeconds, compared without rounding. The check under test works in
  // floating point, so within a hair of the limit either verdict is fine.
  const u128 length = scaledLength(v);
  const u128 limit = u128(tervano::audio::kMinPieceSeconds * 1e6) * v.division;
  const u128 margin = limit / 1000000000 + 1;
  if (length >= limit + margin && !accepted) violated("a sound file long enough is accepted");
  if (length + margin < limit && accepted) violated("a file too short to loop is refused");
  return 0;
}
