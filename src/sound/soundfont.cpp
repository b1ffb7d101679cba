#include "sound/soundfont.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <utility>

#include "sound/riff.h"

namespace tervano::sound {
namespace {

// Record sizes of the SF2 "pdta" sub-chunks.
constexpr std::size_t kPhdr = 38;
constexpr std::size_t kBag = 4;
constexpr std::size_t kMod = 10;
constexpr std::size_t kGen = 4;
constexpr std::size_t kInst = 22;
constexpr std::size_t kShdr = 46;
// Generators that point at another record, and the one that limits a zone to some keys.
constexpr std::uint16_t kGenInstrument = 41;
constexpr std::uint16_t kGenSampleId = 53;
constexpr std::uint16_t kGenKeyRange = 43;
// The zero samples every sample is followed by.
constexpr std::uint64_t kGuardSamples = 46;
constexpr std::uint16_t kRomSample = 0x8000;
// Far more than any soundfont's headers; a larger "pdta" is not worth trusting.
constexpr std::uint32_t kMaxHeaderBytes = 64 * 1024 * 1024;

using riff::get16;
using riff::get32;
using riff::isTag;

void set16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
void set32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  std::uint8_t b[4];
  set32(b, v);
  out.insert(out.end(), b, b + 4);
}
void putTag(std::vector<std::uint8_t>& out, const char* tag) {
  out.insert(out.end(), tag, tag + 4);
}

struct ChunkHeader {
  std::array<std::uint8_t, 4> tag;
  std::uint64_t body;  // where the body starts
  std::uint32_t size;
};

// The chunks in [from, to) of the file, in their order.
std::optional<std::vector<ChunkHeader>> chunks(const ReadOnlyFile& file, std::uint64_t from,
                                               std::uint64_t to) {
  std::vector<ChunkHeader> found;
  while (from + 8 <= to) {
    std::uint8_t head[8];
    if (!file.read(from, head, 8)) return std::nullopt;
    ChunkHeader c{{head[0], head[1], head[2], head[3]}, from + 8, get32(head + 4)};
    if (c.size > to - c.body) return std::nullopt;
    found.push_back(c);
    from = c.body + c.size + (c.size & 1);
  }
  return found;
}

// Index ranges of a header record (bags of a preset, generators of a bag) must rise and stay
// within the next list, whose last record is the terminal one.
bool indicesRise(const std::vector<std::uint8_t>& records, std::size_t recordSize,
                 std::size_t fieldAt, std::size_t targetCount) {
  std::uint32_t last = 0;
  for (std::size_t i = 0; i < records.size() / recordSize; ++i) {
    const std::uint32_t v = get16(records.data() + i * recordSize + fieldAt);
    if (v < last || v >= targetCount) return false;
    last = v;
  }
  return true;
}

// Every generator pointing at a record must point inside its list (terminal excluded).
bool pointersInside(const std::vector<std::uint8_t>& gens, std::uint16_t oper, std::size_t count) {
  for (std::size_t i = 0; i + 1 < gens.size() / kGen; ++i) {
    const std::uint8_t* g = gens.data() + i * kGen;
    if (get16(g) == oper && std::size_t{get16(g + 2)} + 1 >= count) return false;
  }
  return true;
}

// Records [first, last) of a list, appended.
void copyRecords(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& list,
                 std::size_t record, std::size_t first, std::size_t last) {
  out.insert(out.end(), list.begin() + static_cast<std::ptrdiff_t>(first * record),
             list.begin() + static_cast<std::ptrdiff_t>(last * record));
}

}  // namespace

std::optional<Soundfont> Soundfont::read(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  const ReadOnlyFile file(path);
  std::uint8_t riff[12];
  if (!file.read(0, riff, 12) || !isTag(riff, "RIFF") || !isTag(riff + 8, "sfbk")) {
    return std::nullopt;
  }
  const std::uint64_t end = std::min<std::uint64_t>(file.size(), 8ull + get32(riff + 4));
  const auto top = chunks(file, 12, end);
  if (!top) return std::nullopt;

  Soundfont sf;
  sf.path_ = path;
  bool info = false, sdta = false, pdta = false;
  std::uint64_t sm24Bytes = 0;
  for (const ChunkHeader& list : *top) {
    if (!isTag(list.tag.data(), "LIST") || list.size < 4) continue;
    std::uint8_t kind[4];
    if (!file.read(list.body, kind, 4)) return std::nullopt;
    const std::uint64_t body = list.body + 4;
    const std::uint64_t bodyEnd = list.body + list.size;
    if (isTag(kind, "INFO")) {
      if (list.size - 4 > kMaxHeaderBytes) return std::nullopt;
      sf.info_.resize(list.size - 4);
      if (!file.read(body, sf.info_.data(), sf.info_.size())) return std::nullopt;
      info = true;
    } else if (isTag(kind, "sdta")) {
      const auto subs = chunks(file, body, bodyEnd);
      if (!subs) return std::nullopt;
      for (const ChunkHeader& c : *subs) {
        if (isTag(c.tag.data(), "smpl")) {
          sf.smplOffset_ = c.body;
          sf.smplSamples_ = c.size / 2;
          sdta = true;
        } else if (isTag(c.tag.data(), "sm24")) {
          sf.sm24Offset_ = c.body;
          sm24Bytes = c.size;
        }
      }
    } else if (isTag(kind, "pdta")) {
      const auto subs = chunks(file, body, bodyEnd);
      if (!subs || subs->size() != 9) return std::nullopt;
      const std::pair<const char*, std::size_t> order[] = {
          {"phdr", kPhdr}, {"pbag", kBag}, {"pmod", kMod}, {"pgen", kGen}, {"inst", kInst},
          {"ibag", kBag},  {"imod", kMod}, {"igen", kGen}, {"shdr", kShdr}};
      Chunk* into[] = {&sf.phdr_, &sf.pbag_, &sf.pmod_, &sf.pgen_, &sf.inst_,
                       &sf.ibag_, &sf.imod_, &sf.igen_, &sf.shdr_};
      for (std::size_t i = 0; i < 9; ++i) {
        const ChunkHeader& c = (*subs)[i];
        const auto [tag, record] = order[i];
        if (!isTag(c.tag.data(), tag) || c.size % record || c.size == 0 ||
            c.size > kMaxHeaderBytes) {
          return std::nullopt;
        }
        into[i]->bytes.resize(c.size);
        if (!file.read(c.body, into[i]->bytes.data(), c.size)) return std::nullopt;
      }
      pdta = true;
    }
  }
  // The 24-bit part must match the samples (padded to an even size), or it is left out.
  if (sm24Bytes < sf.smplSamples_ || sm24Bytes > sf.smplSamples_ + 1) sf.sm24Offset_ = 0;
  if (!info || !sdta || !pdta) return std::nullopt;
  if (sf.phdr_.count(kPhdr) < 2 || sf.inst_.count(kInst) < 2 || sf.shdr_.count(kShdr) < 2) {
    return std::nullopt;
  }
  if (!indicesRise(sf.phdr_.bytes, kPhdr, 24, sf.pbag_.count(kBag)) ||
      !indicesRise(sf.pbag_.bytes, kBag, 0, sf.pgen_.count(kGen)) ||
      !indicesRise(sf.pbag_.bytes, kBag, 2, sf.pmod_.count(kMod)) ||
      !indicesRise(sf.inst_.bytes, kInst, 20, sf.ibag_.count(kBag)) ||
      !indicesRise(sf.ibag_.bytes, kBag, 0, sf.igen_.count(kGen)) ||
      !indicesRise(sf.ibag_.bytes, kBag, 2, sf.imod_.count(kMod)) ||
      !pointersInside(sf.pgen_.bytes, kGenInstrument, sf.inst_.count(kInst)) ||
      !pointersInside(sf.igen_.bytes, kGenSampleId, sf.shdr_.count(kShdr))) {
    return std::nullopt;
  }
  return sf;
}

std::size_t Soundfont::presetCount() const {
  return phdr_.count(kPhdr) - 1;
}

SoundfontImage Soundfont::subset(const audio::ChannelUse& melodic,
                                 const audio::ChannelUse& drums) const {
  constexpr std::uint16_t kDrumBank = 128;
  auto bagOfPreset = [&](std::size_t p) { return get16(phdr_.bytes.data() + p * kPhdr + 24); };
  auto bagOfInst = [&](std::size_t i) { return get16(inst_.bytes.data() + i * kInst + 20); };
  auto genOf = [](const Chunk& bags, std::size_t b) { return get16(bags.bytes.data() + b * kBag); };
  auto modOf = [](const Chunk& bags, std::size_t b) {
    return get16(bags.bytes.data() + b * kBag + 2);
  };
  // A zone's keys (its key range, all keys without one) and what it points at, if anything.
  struct Zone {
    std::bitset<128> keys;
    std::optional<std::uint16_t> target;
  };
  auto zone = [&](const Chunk& bags, const Chunk& gens, std::size_t b, std::uint16_t pointer) {
    Zone z;
    z.keys.set();
    for (std::size_t g = genOf(bags, b); g < genOf(bags, b + 1); ++g) {
      const std::uint8_t* gen = gens.bytes.data() + g * kGen;
      if (get16(gen) == kGenKeyRange) {
        z.keys.reset();
        for (int k = gen[2]; k <= gen[3] && k < 128; ++k)
          z.keys.set(static_cast<std::size_t>(k));
      } else if (get16(gen) == pointer) {
        z.target = get16(gen + 2);
      }
    }
    return z;
  };

  // Presets, then the instruments they use, then the samples those use; each kept in its order.
  // A zone no key of the piece reaches is left out; one pointing nowhere (a global zone) stays.
  const std::size_t presets = phdr_.count(kPhdr) - 1;
  std::vector<std::size_t> keptPresets;
  std::vector<bool> keptPresetBag(pbag_.count(kBag), false), keptInstBag(ibag_.count(kBag), false);
  std::map<std::size_t, std::bitset<128>> instKeys;  // the keys that reach each instrument
  for (std::size_t p = 0; p < presets; ++p) {
    const std::uint16_t program = get16(phdr_.bytes.data() + p * kPhdr + 20);
    const std::uint16_t bank = get16(phdr_.bytes.data() + p * kPhdr + 22);
    const audio::ChannelUse& use = bank == kDrumBank ? drums : melodic;
    if (program >= 128 || !use.programs.test(program)) continue;
    keptPresets.push_back(p);
    for (std::size_t b = bagOfPreset(p); b < bagOfPreset(p + 1); ++b) {
      const Zone z = zone(pbag_, pgen_, b, kGenInstrument);
      const std::bitset<128> reaching = z.keys & use.keys;
      if (z.target && reaching.none()) continue;
      keptPresetBag[b] = true;
      if (z.target) instKeys[*z.target] |= reaching;
    }
  }
  std::map<std::size_t, std::size_t> instIndex, sampleIndex;  // old -> new
  for (const auto& [i, keys] : instKeys) {
    instIndex[i] = 0;
    for (std::size_t b = bagOfInst(i); b < bagOfInst(i + 1); ++b) {
      const Zone z = zone(ibag_, igen_, b, kGenSampleId);
      if (z.target && (z.keys & keys).none()) continue;
      keptInstBag[b] = true;
      if (z.target) sampleIndex[*z.target] = 0;
    }
  }
  std::size_t next = 0;
  for (auto& [i, slot] : instIndex)
    slot = next++;
  next = 0;
  for (auto& [s, slot] : sampleIndex)
    slot = next++;

  // Each sample's range in the file (with its loop), followed by its guard of zeros.
  struct Range {
    std::uint64_t from, samples;
  };
  std::vector<Range> ranges;
  std::vector<std::uint8_t> shdr;
  std::uint64_t imageSamples = 0;
  for (const auto& [s, slot] : sampleIndex) {
    std::uint8_t header[kShdr];
    std::memcpy(header, shdr_.bytes.data() + s * kShdr, kShdr);
    const std::uint32_t start = get32(header + 20), stop = get32(header + 24);
    const std::uint32_t loopStart = get32(header + 28), loopEnd = get32(header + 32);
    std::uint64_t lo = std::min({start, stop, loopStart, loopEnd});
    std::uint64_t hi = std::max({start, stop, loopStart, loopEnd});
    if (get16(header + 44) & kRomSample) hi = lo;  // in a ROM the synthesizer does not have
    lo = std::min(lo, smplSamples_);
    hi = std::min(hi, smplSamples_);
    // Offsets keep their places relative to each other, and so whatever the synthesizer makes
    // of a sample (including a loop it must repair) stays the same.
    for (std::size_t field : {20, 24, 28, 32}) {
      const std::uint64_t v = get32(header + field);
      set32(header + field, static_cast<std::uint32_t>(imageSamples + std::min(v, hi) - lo));
    }
    const auto link = sampleIndex.find(get16(header + 42));
    set16(header + 42, link == sampleIndex.end() ? 0 : static_cast<std::uint32_t>(link->second));
    shdr.insert(shdr.end(), header, header + kShdr);
    ranges.push_back({lo, hi - lo});
    imageSamples += hi - lo + kGuardSamples;
  }
  copyRecords(shdr, shdr_.bytes, kShdr, shdr_.count(kShdr) - 1, shdr_.count(kShdr));

  // Presets and instruments with their zones, indices renumbered.
  std::vector<std::uint8_t> phdr, pbag, pmod, pgen, inst, ibag, imod, igen;
  auto copyZones = [&](std::size_t firstBag, std::size_t lastBag, const Chunk& bags,
                       const std::vector<bool>& kept, const Chunk& gens, const Chunk& mods,
                       std::vector<std::uint8_t>& outBags, std::vector<std::uint8_t>& outGens,
                       std::vector<std::uint8_t>& outMods, std::uint16_t pointer,
                       const std::map<std::size_t, std::size_t>& index) {
    for (std::size_t b = firstBag; b < lastBag; ++b) {
      if (!kept[b]) continue;
      std::uint8_t bag[kBag];
      set16(bag, static_cast<std::uint32_t>(outGens.size() / kGen));
      set16(bag + 2, static_cast<std::uint32_t>(outMods.size() / kMod));
      outBags.insert(outBags.end(), bag, bag + kBag);
      for (std::size_t g = genOf(bags, b); g < genOf(bags, b + 1); ++g) {
        std::uint8_t gen[kGen];
        std::memcpy(gen, gens.bytes.data() + g * kGen, kGen);
        if (get16(gen) == pointer)
          set16(gen + 2, static_cast<std::uint32_t>(index.at(get16(gen + 2))));
        outGens.insert(outGens.end(), gen, gen + kGen);
      }
      copyRecords(outMods, mods.bytes, kMod, modOf(bags, b), modOf(bags, b + 1));
    }
  };
  auto terminals = [](std::vector<std::uint8_t>& bags, std::vector<std::uint8_t>& gens,
                      std::vector<std::uint8_t>& mods, const Chunk& oldGens, const Chunk& oldMods) {
    std::uint8_t bag[kBag];
    set16(bag, static_cast<std::uint32_t>(gens.size() / kGen));
    set16(bag + 2, static_cast<std::uint32_t>(mods.size() / kMod));
    bags.insert(bags.end(), bag, bag + kBag);
    copyRecords(gens, oldGens.bytes, kGen, oldGens.count(kGen) - 1, oldGens.count(kGen));
    copyRecords(mods, oldMods.bytes, kMod, oldMods.count(kMod) - 1, oldMods.count(kMod));
  };

  for (std::size_t p : keptPresets) {
    std::uint8_t header[kPhdr];
    std::memcpy(header, phdr_.bytes.data() + p * kPhdr, kPhdr);
    set16(header + 24, static_cast<std::uint32_t>(pbag.size() / kBag));
    phdr.insert(phdr.end(), header, header + kPhdr);
    copyZones(bagOfPreset(p), bagOfPreset(p + 1), pbag_, keptPresetBag, pgen_, pmod_, pbag, pgen,
              pmod, kGenInstrument, instIndex);
  }
  std::uint8_t eop[kPhdr];
  std::memcpy(eop, phdr_.bytes.data() + presets * kPhdr, kPhdr);
  set16(eop + 24, static_cast<std::uint32_t>(pbag.size() / kBag));
  phdr.insert(phdr.end(), eop, eop + kPhdr);
  terminals(pbag, pgen, pmod, pgen_, pmod_);

  for (const auto& [i, slot] : instIndex) {
    std::uint8_t header[kInst];
    std::memcpy(header, inst_.bytes.data() + i * kInst, kInst);
    set16(header + 20, static_cast<std::uint32_t>(ibag.size() / kBag));
    inst.insert(inst.end(), header, header + kInst);
    copyZones(bagOfInst(i), bagOfInst(i + 1), ibag_, keptInstBag, igen_, imod_, ibag, igen, imod,
              kGenSampleId, sampleIndex);
  }
  const std::size_t insts = inst_.count(kInst) - 1;
  std::uint8_t eoi[kInst];
  std::memcpy(eoi, inst_.bytes.data() + insts * kInst, kInst);
  set16(eoi + 20, static_cast<std::uint32_t>(ibag.size() / kBag));
  inst.insert(inst.end(), eoi, eoi + kInst);
  terminals(ibag, igen, imod, igen_, imod_);

  // The layout, with every size known beforehand: RIFF, INFO, sdta (smpl, sm24), pdta.
  const std::pair<const char*, const std::vector<std::uint8_t>*> pdtaParts[] = {
      {"phdr", &phdr}, {"pbag", &pbag}, {"pmod", &pmod}, {"pgen", &pgen}, {"inst", &inst},
      {"ibag", &ibag}, {"imod", &imod}, {"igen", &igen}, {"shdr", &shdr}};
  auto padded = [](std::uint64_t n) { return n + (n & 1); };
  const std::uint64_t smplBytes = imageSamples * 2;
  const std::uint64_t sm24Bytes = sm24Offset_ ? imageSamples : 0;
  std::uint64_t pdtaBytes = 4;
  for (const auto& [tag, bytes] : pdtaParts)
    pdtaBytes += 8 + padded(bytes->size());
  const std::uint64_t infoBytes = 4 + info_.size();
  const std::uint64_t sdtaBytes = 4 + 8 + smplBytes + (sm24Offset_ ? 8 + padded(sm24Bytes) : 0);
  const std::uint64_t riffBytes = 4 + 8 + padded(infoBytes) + 8 + sdtaBytes + 8 + pdtaBytes;

  SoundfontImage image;
  image.path_ = path_;
  std::vector<std::uint8_t> head;
  auto chunkHeader = [&head](const char* tag, std::uint64_t size) {
    putTag(head, tag);
    put32(head, static_cast<std::uint32_t>(size));
  };
  chunkHeader("RIFF", riffBytes);
  putTag(head, "sfbk");
  chunkHeader("LIST", infoBytes);
  putTag(head, "INFO");
  head.insert(head.end(), info_.begin(), info_.end());
  if (head.size() % 2) head.push_back(0);
  chunkHeader("LIST", sdtaBytes);
  putTag(head, "sdta");
  chunkHeader("smpl", smplBytes);
  image.addBytes(head);
  for (const Range& r : ranges) {
    image.addFile(smplOffset_ + r.from * 2, r.samples * 2);
    image.addZeros(kGuardSamples * 2);
  }
  head.clear();
  if (sm24Offset_) {
    chunkHeader("sm24", sm24Bytes);
    image.addBytes(head);
    for (const Range& r : ranges) {
      image.addFile(sm24Offset_ + r.from, r.samples);
      image.addZeros(kGuardSamples);
    }
    image.addZeros(sm24Bytes & 1);
    head.clear();
  }
  chunkHeader("LIST", pdtaBytes);
  putTag(head, "pdta");
  for (const auto& [tag, bytes] : pdtaParts) {
    chunkHeader(tag, bytes->size());
    head.insert(head.end(), bytes->begin(), bytes->end());
    if (head.size() % 2) head.push_back(0);
  }
  image.addBytes(head);
  return image;
}

void SoundfontImage::addBytes(const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty()) return;
  Part part;
  part.at = size_;
  part.length = bytes.size();
  part.bytes = bytes;
  parts_.push_back(std::move(part));
  size_ += bytes.size();
}

void SoundfontImage::addFile(std::uint64_t offset, std::uint64_t length) {
  if (length == 0) return;
  Part part;
  part.at = size_;
  part.length = length;
  part.fileOffset = offset;
  parts_.push_back(std::move(part));
  size_ += length;
}

void SoundfontImage::addZeros(std::uint64_t length) {
  if (length == 0) return;
  Part part;
  part.at = size_;
  part.length = length;
  part.zeros = true;
  parts_.push_back(std::move(part));
  size_ += length;
}

bool SoundfontImage::read(std::uint64_t at, void* to, std::uint64_t bytes) {
  if (at > size_ || bytes > size_ - at) return false;
  if (bytes == 0) return true;
  auto* out = static_cast<std::uint8_t*>(to);
  // The part holding `at`: the last one starting at or before it.
  auto part = std::upper_bound(parts_.begin(), parts_.end(), at,
                               [](std::uint64_t pos, const Part& p) { return pos < p.at; }) -
              1;
  for (; bytes > 0; ++part) {
    const std::uint64_t within = at - part->at;
    const std::uint64_t n = std::min(bytes, part->length - within);
    if (part->zeros) {
      std::memset(out, 0, n);
    } else if (!part->bytes.empty()) {
      std::memcpy(out, part->bytes.data() + within, n);
    } else {
      if (!file_.isOpen()) file_ = ReadOnlyFile(path_);
      if (!file_.read(part->fileOffset + within, out, n)) return false;
    }
    out += n;
    at += n;
    bytes -= n;
  }
  return true;
}

ReadOnlyFile::ReadOnlyFile(const std::string& path)
    : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
  struct stat st {};
  if (fd_ >= 0 && fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) {
    size_ = static_cast<std::uint64_t>(st.st_size);
  }
}

ReadOnlyFile::~ReadOnlyFile() {
  if (fd_ >= 0) ::close(fd_);
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    size_ = other.size_;
  }
  return *this;
}

bool ReadOnlyFile::read(std::uint64_t at, void* to, std::uint64_t bytes) const {
  if (fd_ < 0 || at > size_ || bytes > size_ - at) return false;
  auto* out = static_cast<char*>(to);
  while (bytes > 0) {
    const ssize_t n = ::pread(fd_, out, bytes, static_cast<off_t>(at));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    out += n;
    at += static_cast<std::uint64_t>(n);
    bytes -= static_cast<std::uint64_t>(n);
  }
  return true;
}

}  // namespace tervano::sound
