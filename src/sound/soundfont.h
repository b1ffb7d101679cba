#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audio/midi_check.h"

namespace tervano::sound {

// A file read at given offsets, exactly the bytes asked for (no read-ahead).
class ReadOnlyFile {
 public:
  ReadOnlyFile() = default;
  explicit ReadOnlyFile(const std::string& path);
  ~ReadOnlyFile();
  ReadOnlyFile(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;

  bool isOpen() const { return fd_ >= 0; }
  std::uint64_t size() const { return size_; }
  bool read(std::uint64_t at, void* to, std::uint64_t bytes) const;

 private:
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

// An SF2 file as the synthesizer reads it, made of pieces held in memory, ranges of another file
// and runs of zeros: a soundfont put together without copying its samples first.
class SoundfontImage {
 public:
  std::uint64_t size() const { return size_; }
  // False when the range lies outside or the file cannot be read.
  bool read(std::uint64_t at, void* to, std::uint64_t bytes);

 private:
  friend class Soundfont;
  struct Part {
    std::uint64_t at = 0;  // in the image
    std::uint64_t length = 0;
    std::vector<std::uint8_t> bytes;  // the part itself, when held in memory
    std::uint64_t fileOffset = 0;     // otherwise, from the file (or zeros, when `zeros`)
    bool zeros = false;
  };
  void addBytes(const std::vector<std::uint8_t>& bytes);
  void addFile(std::uint64_t offset, std::uint64_t length);
  void addZeros(std::uint64_t length);

  std::string path_;
  std::vector<Part> parts_;
  std::uint64_t size_ = 0;
  ReadOnlyFile file_;  // opened at the first read of a range
};

// A General MIDI soundfont (SF2) taken apart so that the synthesizer holds only what a piece can
// ask for. Loaded whole, the system's soundfont costs about 11 MB: 5.6 MB of samples and as much
// again for the synthesizer's copy of its 2,000-odd instrument zones, while a piece uses a handful
// of its 136 presets. The headers (200 kB) are read once; each piece then gets a soundfont of its
// own, built from those headers and the samples it needs, read straight from the file.
class Soundfont {
 public:
  // Reads the headers of an SF2 file; nothing when it is not one, or not one this reader can take
  // apart safely (the synthesizer may still load it whole).
  static std::optional<Soundfont> read(const std::string& path);

  // A complete SF2 file holding the presets of the given programs, in every melodic bank for the
  // melodic programs and in the drum bank (128) for the drum programs: any lookup the synthesizer
  // makes for such a program, its fallbacks to bank 0 and to program 0 included, finds what it
  // would find in the whole soundfont. Of their zones only those that the given keys reach are
  // kept (the synthesizer picks zones by key), with their instruments and samples; so each of the
  // keys sounds exactly as it would with the whole soundfont.
  SoundfontImage subset(const audio::ChannelUse& melodic, const audio::ChannelUse& drums) const;

  std::size_t presetCount() const;  // without the terminal record

 private:
  struct Chunk {
    std::vector<std::uint8_t> bytes;
    std::size_t count(std::size_t record) const { return bytes.size() / record; }
  };

  std::string path_;
  std::vector<std::uint8_t> info_;  // the INFO list's body (after "INFO")
  std::uint64_t smplOffset_ = 0;    // in the file
  std::uint64_t smplSamples_ = 0;
  std::uint64_t sm24Offset_ = 0;  // 0: no 24-bit samples
  // phdr, pbag, pmod, pgen, inst, ibag, imod, igen, shdr, each with its terminal record.
  Chunk phdr_, pbag_, pmod_, pgen_, inst_, ibag_, imod_, igen_, shdr_;
};

}  // namespace tervano::sound
