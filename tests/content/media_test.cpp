// The binary files of the delivered tree parse as what they claim to be: every WAV cue is a
// consistent RIFF/PCM file of the right length and level, every MIDI piece a valid standard
// MIDI file that loops cleanly, the pictures valid BMP, ICO and PNG, and the help a
// self-contained HTML document.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "data/textfile.h"
#include "tree.h"

namespace tervano::testing {
namespace {

namespace fs = std::filesystem;

std::uint32_t le(const std::string& s, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i)
    v = (v << 8) | static_cast<unsigned char>(s.at(at + static_cast<std::size_t>(i)));
  return v;
}
std::uint32_t be(const std::string& s, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i)
    v = (v << 8) | static_cast<unsigned char>(s.at(at + static_cast<std::size_t>(i)));
  return v;
}

// ---- WAV

struct Wav {
  int channels = 0, rate = 0, bits = 0;
  std::vector<std::int16_t> samples;
};

// Walks the RIFF chunks; fails the test on any inconsistency.
Wav parseWav(const std::string& b) {
  Wav w;
  EXPECT_GE(b.size(), 44u);
  if (b.size() < 12) return w;
  EXPECT_EQ(b.substr(0, 4), "RIFF");
  EXPECT_EQ(le(b, 4, 4), b.size() - 8) << "RIFF size";
  EXPECT_EQ(b.substr(8, 4), "WAVE");
  bool fmt = false, data = false;
  std::size_t pos = 12;
  while (pos + 8 <= b.size()) {
    const std::string id = b.substr(pos, 4);
    const std::uint32_t size = le(b, pos + 4, 4);
    EXPECT_LE(pos + 8 + size, b.size()) << "chunk " << id << " runs past the end";
    if (pos + 8 + size > b.size()) return w;
    if (id == "fmt ") {
      EXPECT_GE(size, 16u);
      EXPECT_EQ(le(b, pos + 8, 2), 1u) << "PCM";
      w.channels = static_cast<int>(le(b, pos + 10, 2));
      w.rate = static_cast<int>(le(b, pos + 12, 4));
      w.bits = static_cast<int>(le(b, pos + 22, 2));
      EXPECT_EQ(le(b, pos + 16, 4), static_cast<std::uint32_t>(w.rate * w.channels * w.bits / 8));
      EXPECT_EQ(le(b, pos + 20, 2), static_cast<std::uint32_t>(w.channels * w.bits / 8));
      fmt = true;
    } else if (id == "data") {
      EXPECT_TRUE(fmt) << "data before fmt";
      EXPECT_EQ(size % 2, 0u);
      for (std::size_t i = 0; i + 1 < size; i += 2)
        w.samples.push_back(static_cast<std::int16_t>(le(b, pos + 8 + i, 2)));
      data = true;
    }
    pos += 8 + size + (size & 1);
  }
  EXPECT_EQ(pos, b.size()) << "trailing bytes";
  EXPECT_TRUE(fmt && data);
  return w;
}

TEST(DeliveredCues, EveryCueIsAShortCleanPcmWave) {
  // Longest length of each cue: they block the game while they play.
  const std::map<std::string, double> longest = {{"hlasen.wav", 0.5},
                                                 {"chyba.wav", 0.5},
                                                 {"dobre.wav", 0.8},
                                                 {"vyhrar.wav", 1.5},
                                                 {"vyhraco.wav", 3.0}};
  std::set<std::string> distinct;
  for (const char* set : kSetFolders) {
    for (const auto& [name, seconds] : longest) {
      SCOPED_TRACE(std::string(set) + "/hdb/" + name);
      const std::string bytes = readFileBytes(kTree / set / "hdb" / name);
      distinct.insert(bytes);
      const Wav w = parseWav(bytes);
      EXPECT_EQ(w.rate, 44100);
      EXPECT_EQ(w.bits, 16);
      ASSERT_GE(w.channels, 1);
      const double length = static_cast<double>(w.samples.size()) / w.channels / w.rate;
      EXPECT_GT(length, 0.2);
      EXPECT_LE(length, seconds);
      int peak = 0;
      for (auto s : w.samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
      EXPECT_GT(peak, 32767 / 3) << "too quiet";
      EXPECT_LT(peak, 32767) << "clipped";
      // No click at either end.
      EXPECT_LT(std::abs(w.samples.front()), 500);
      EXPECT_LT(std::abs(w.samples.back()), 500);
    }
  }
  // The five cues differ, and every set carries the same five.
  EXPECT_EQ(distinct.size(), longest.size());
}

// ---- MIDI

struct Midi {
  int format = -1;
  int division = 0;
  std::size_t tracks = 0;
  double seconds = 0;
  std::set<std::uint32_t> endTicks;
  std::set<int> programs;
  std::set<int> noteChannels;
  std::set<int> channelsOffAtEnd;
  int notes = 0;
  bool tempo = false;
};

std::uint32_t varLen(const std::string& b, std::size_t& pos, std::size_t end) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) {
    if (pos >= end) throw std::runtime_error("variable-length number runs past the track");
    const auto c = static_cast<unsigned char>(b[pos++]);
    v = (v << 7) | (c & 0x7F);
    if (!(c & 0x80)) return v;
  }
  throw std::runtime_error("variable-length number longer than 4 bytes");
}

// Parses the file with running status; throws with a reason for anything a player would choke
// on: bad chunks, data bytes without a status, a note-off for a silent key, a note held at the
// end of its track, a missing end-of-track.
Midi parseMidi(const std::string& b) {
  Midi m;
  if (b.substr(0, 4) != "MThd" || be(b, 4, 4) != 6) throw std::runtime_error("no MThd");
  m.format = static_cast<int>(be(b, 8, 2));
  const std::size_t declared = be(b, 10, 2);
  m.division = static_cast<int>(be(b, 12, 2));
  if (m.division & 0x8000) throw std::runtime_error("SMPTE timing");
  std::map<std::uint32_t, std::uint32_t> tempoAt{{0, 500000}};
  std::uint32_t lastTick = 0;
  std::size_t pos = 14;
  while (pos < b.size()) {
    if (b.substr(pos, 4) != "MTrk") throw std::runtime_error("chunk is not MTrk");
    const std::size_t end = pos + 8 + be(b, pos + 4, 4);
    if (end > b.size()) throw std::runtime_error("track runs past the file");
    ++m.tracks;
    std::size_t p = pos + 8;
    std::uint32_t tick = 0;
    int running = -1;
    bool ended = false;
    std::map<std::pair<int, int>, int> sounding;
    while (p < end) {
      if (ended) throw std::runtime_error("events after end-of-track");
      tick += varLen(b, p, end);
      int status = static_cast<unsigned char>(b.at(p));
      if (status < 0x80) {
        if (running < 0) throw std::runtime_error("data byte without a running status");
        status = running;
      } else {
        ++p;
      }
      if (status == 0xFF) {
        running = -1;
        const int type = static_cast<unsigned char>(b.at(p++));
        const std::uint32_t len = varLen(b, p, end);
        if (p + len > end) throw std::runtime_error("meta event runs past the track");
        if (type == 0x51) {
          if (len != 3) throw std::runtime_error("tempo of wrong length");
          tempoAt[tick] = be(b, p, 3);
          m.tempo = true;
        }
        if (type == 0x2F) {
          if (len != 0) throw std::runtime_error("end-of-track with data");
          ended = true;
          m.endTicks.insert(tick);
        }
        p += len;
        continue;
      }
      if (status == 0xF0 || status == 0xF7) {
        running = -1;
        p += varLen(b, p, end);
        continue;
      }
      if (status >= 0xF0) throw std::runtime_error("system message in a file");
      running = status;
      const int type = status & 0xF0;
      const int ch = status & 0x0F;
      const int data = (type == 0xC0 || type == 0xD0) ? 1 : 2;
      if (p + static_cast<std::size_t>(data) > end) throw std::runtime_error("event cut off");
      const int d1 = static_cast<unsigned char>(b[p]);
      const int d2 = data == 2 ? static_cast<unsigned char>(b[p + 1]) : 0;
      if (d1 > 127 || d2 > 127) throw std::runtime_error("data byte above 127");
      p += static_cast<std::size_t>(data);
      if (type == 0x90 && d2 > 0) {
        if (sounding[{ch, d1}]++ > 0) throw std::runtime_error("note on for a sounding key");
        m.noteChannels.insert(ch);
        ++m.notes;
      } else if (type == 0x80 || type == 0x90) {
        if (sounding[{ch, d1}]-- <= 0) throw std::runtime_error("note off for a silent key");
      } else if (type == 0xC0) {
        m.programs.insert(ch);
      } else if (type == 0xB0 && d1 == 123) {
        m.channelsOffAtEnd.insert(ch);
      }
      lastTick = std::max(lastTick, tick);
    }
    if (!ended) throw std::runtime_error("no end-of-track");
    for (const auto& [key, n] : sounding)
      if (n != 0) throw std::runtime_error("a note still sounds at the end of the track");
    pos = end;
  }
  if (m.tracks != declared) throw std::runtime_error("track count differs from the header");
  // Length through the tempo map up to the last end-of-track.
  const std::uint32_t endTick = std::max(lastTick, *m.endTicks.rbegin());
  double us = 0;
  auto it = tempoAt.begin();
  for (auto next = std::next(it); it != tempoAt.end(); ++it, next = std::next(it)) {
    const std::uint32_t until = next == tempoAt.end() ? endTick : std::min(next->first, endTick);
    if (until > it->first) us += static_cast<double>(until - it->first) * it->second / m.division;
  }
  m.seconds = us / 1e6;
  return m;
}

TEST(DeliveredMusic, EveryPieceIsAValidLoopingStandardMidiFile) {
  std::set<std::string> distinct;
  for (const char* set : kSetFolders)
    for (const char* name : {"1r.mid", "2r.mid", "3r.mid", "4r.mid", "Final.mid"}) {
      SCOPED_TRACE(std::string(set) + "/hdb/" + name);
      const std::string bytes = readFileBytes(kTree / set / "hdb" / name);
      distinct.insert(bytes);
      Midi m;
      try {
        m = parseMidi(bytes);
      } catch (const std::exception& e) {
        FAIL() << e.what();
      }
      EXPECT_TRUE(m.format == 0 || m.format == 1);
      EXPECT_TRUE(m.tempo);
      EXPECT_GE(m.seconds, 30.0);
      EXPECT_LE(m.seconds, 60.0);
      EXPECT_GE(m.notes, 100);
      // Every track ends on the same tick, so the rewind at the end makes a seamless loop.
      EXPECT_EQ(m.endTicks.size(), 1u);
      for (int ch : m.noteChannels) {
        if (ch != 9) {
          EXPECT_TRUE(m.programs.count(ch)) << "no program on channel " << ch;
        }
        EXPECT_TRUE(m.channelsOffAtEnd.count(ch)) << "no all-notes-off on channel " << ch;
      }
      EXPECT_GE(m.noteChannels.size(), 3u);
    }
  EXPECT_EQ(distinct.size(), 5u);
}

TEST(DeliveredMusic, TheParserRefusesBrokenFiles) {
  // Header, one track: program change, a note with running status for its note-off.
  auto file = [](const std::string& events) {
    std::string track = events;
    std::string out = std::string("MThd") + std::string("\0\0\0\x06\0\0\0\x01\x01\xE0", 10);
    out += "MTrk";
    for (int i = 3; i >= 0; --i)
      out.push_back(static_cast<char>((track.size() >> (8 * i)) & 0xFF));
    return out + track;
  };
  const std::string note = std::string("\0\xC0\x05\0\x90\x40\x60\x83\x60\x40\0", 11);
  const std::string eot = std::string("\0\xFF\x2F\0", 4);
  EXPECT_NO_THROW(parseMidi(file(note + eot)));
  EXPECT_THROW(parseMidi(file(note)), std::runtime_error);                     // no end
  EXPECT_THROW(parseMidi(file(note.substr(0, 7) + eot)), std::runtime_error);  // held note
  EXPECT_THROW(parseMidi(file(std::string("\0\x40\x60", 3) + eot)), std::runtime_error);
  EXPECT_THROW(parseMidi(file(note + eot + eot)), std::runtime_error);
}

// ---- Pictures

TEST(DeliveredPictures, ButtonPicturesAreSmall24BitBitmaps) {
  for (const char* name : {"editor", "sady", "parametry", "kr1", "havarie"}) {
    SCOPED_TRACE(name);
    const std::string b = readFileBytes(kTree / "Ikony" / (std::string(name) + ".bmp"));
    ASSERT_GE(b.size(), 54u);
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(le(b, 2, 4), b.size());
    const std::uint32_t offset = le(b, 10, 4);
    const auto w = static_cast<std::int32_t>(le(b, 18, 4));
    const auto h = static_cast<std::int32_t>(le(b, 22, 4));
    EXPECT_EQ(le(b, 14, 4), 40u);
    EXPECT_GE(w, 24);
    EXPECT_LE(w, 48);
    EXPECT_EQ(std::abs(h), w);
    EXPECT_EQ(le(b, 28, 2), 24u);
    EXPECT_EQ(le(b, 30, 4), 0u) << "compressed";
    const std::size_t row = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
    EXPECT_EQ(b.size(), offset + row * static_cast<std::size_t>(std::abs(h)));
    std::set<char> values(b.begin() + offset, b.end());
    EXPECT_GT(values.size(), 8u) << "an empty picture";
  }
}

TEST(DeliveredPictures, WindowIconsHoldA32AndA16PixelImage) {
  for (const char* name : {"editor", "sady", "parametry", "parametry2", "havarie"}) {
    SCOPED_TRACE(name);
    const std::string b = readFileBytes(kTree / "Ikony" / (std::string(name) + ".ico"));
    ASSERT_GE(b.size(), 6u);
    EXPECT_EQ(le(b, 0, 2), 0u);
    EXPECT_EQ(le(b, 2, 2), 1u);
    const std::uint32_t count = le(b, 4, 2);
    std::set<int> sizes;
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::size_t e = 6 + 16 * i;
      const int w = static_cast<unsigned char>(b.at(e));
      const std::uint32_t bytes = le(b, e + 8, 4), at = le(b, e + 12, 4);
      ASSERT_LE(at + bytes, b.size());
      sizes.insert(w);
      // A DIB whose height counts the colour image and its mask.
      EXPECT_EQ(le(b, at, 4), 40u);
      EXPECT_EQ(le(b, at + 4, 4), static_cast<std::uint32_t>(w));
      EXPECT_EQ(le(b, at + 8, 4), static_cast<std::uint32_t>(2 * w));
      EXPECT_EQ(le(b, at + 14, 2), 32u);
      const std::uint32_t mask = static_cast<std::uint32_t>((w + 31) / 32 * 4 * w);
      EXPECT_EQ(bytes, 40 + static_cast<std::uint32_t>(w * w * 4) + mask);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32}));
  }
}

std::uint32_t crc(const std::string& s, std::size_t from, std::size_t len) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = from; i < from + len; ++i) {
    c ^= static_cast<unsigned char>(s[i]);
    for (int k = 0; k < 8; ++k)
      c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
  }
  return c ^ 0xFFFFFFFFu;
}

TEST(DeliveredPictures, TheProgramIconIsAValidPngAndTheViewHasTheSame) {
  const std::string b = readFileBytes(kTree / "Ikony" / "tervano.png");
  ASSERT_GE(b.size(), 33u);
  EXPECT_EQ(b.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  std::size_t pos = 8;
  std::vector<std::string> chunks;
  while (pos + 12 <= b.size()) {
    const std::uint32_t len = be(b, pos, 4);
    ASSERT_LE(pos + 12 + len, b.size());
    chunks.push_back(b.substr(pos + 4, 4));
    EXPECT_EQ(be(b, pos + 8 + len, 4), crc(b, pos + 4, len + 4)) << chunks.back();
    pos += 12 + len;
  }
  EXPECT_EQ(pos, b.size());
  ASSERT_GE(chunks.size(), 3u);
  EXPECT_EQ(chunks.front(), "IHDR");
  EXPECT_EQ(chunks.back(), "IEND");
  EXPECT_GE(be(b, 16, 4), 64u);
  EXPECT_EQ(be(b, 16, 4), be(b, 20, 4));
  EXPECT_EQ(readFileBytes(fs::path(TERVANO_SOURCE_DIR) / "src/qt/icons/tervano.png"), b);
}

// ---- Help

TEST(DeliveredHelp, TheExternalHelpIsSelfContainedCzechHtml) {
  const std::string h = readFileBytes(kTree / "help" / "hkriz.hlp");
  EXPECT_NE(h.find("<meta charset=\"utf-8\">"), std::string::npos);
  // Valid UTF-8 throughout.
  for (std::size_t i = 0; i < h.size();) {
    const auto c = static_cast<unsigned char>(h[i]);
    const int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : -1;
    ASSERT_GE(extra, 0) << "byte " << i;
    for (int k = 1; k <= extra; ++k)
      ASSERT_EQ(static_cast<unsigned char>(h.at(i + static_cast<std::size_t>(k))) & 0xC0, 0x80);
    i += 1 + static_cast<std::size_t>(extra);
  }
  for (const char* forbidden : {"<script", "src=", "http:", "https:", "<link", "<img"})
    EXPECT_EQ(h.find(forbidden), std::string::npos) << forbidden;
  for (const char* tag : {"table", "ul", "p", "h2", "html", "body"}) {
    std::size_t open = 0, close = 0;
    for (std::size_t p = h.find(std::string("<") + tag); p != std::string::npos;
         p = h.find(std::string("<") + tag, p + 1)) {
      const char next = h.at(p + 1 + std::char_traits<char>::length(tag));
      if (next == '>' || next == ' ') ++open;
    }
    for (std::size_t p = h.find(std::string("</") + tag + ">"); p != std::string::npos;
         p = h.find(std::string("</") + tag + ">", p + 1))
      ++close;
    EXPECT_EQ(open, close) << tag;
  }
  for (const char* key :
       {">F1<", ">F2<", ">F3<", ">Shift+F1<", ">Shift+F2<", ">Ctrl+F1<", ">Ctrl+F2<", ">Ctrl+F3<",
        ">Ctrl+F4<", ">Ctrl+F5<", ">Ctrl+F6<", ">F7<", ">F12<"})
    EXPECT_NE(h.find(key), std::string::npos) << key;
  for (const char* topic :
       {"malými písmeny", "dvě mezery", "tajenk", "získat", "ztratit", "finále", ".kr1",
        "Automatické uložení", "nazacatkuhry.lsc", "Editor křížovek", "Výběr křížovkové sady",
        "Editor skriptů", "Správa automatického uložení"})
    EXPECT_NE(h.find(topic), std::string::npos) << topic;
}

}  // namespace
}  // namespace tervano::testing
