// A MIDI file is only read by the player when it starts playing, so open() checks it first:
// what the synthesizer cannot play must be refused, what it can play must pass.
#include "audio/midi_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio_files.h"

namespace tervano::audio {
namespace {

using testing::midiFile;
using testing::MidiTrack;

bool playable(const std::string& bytes) {
  return isPlayableMidi(
      std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::string header(std::uint16_t format, std::uint16_t tracks, std::uint16_t division) {
  std::string h = "MThd";
  h += std::string("\0\0\0\x06", 4);
  for (std::uint16_t v : {format, tracks, division}) {
    h.push_back(static_cast<char>(v >> 8));
    h.push_back(static_cast<char>(v & 0xFF));
  }
  return h;
}

std::string chunk(const std::string& id, const std::string& body) {
  std::string c = id;
  const auto n = static_cast<std::uint32_t>(body.size());
  for (int shift = 24; shift >= 0; shift -= 8)
    c.push_back(static_cast<char>((n >> shift) & 0xFF));
  return c + body;
}

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values)
    s.push_back(static_cast<char>(v));
  return s;
}

TEST(MidiCheck, WellFormedFilesPass) {
  MidiTrack tempo;
  tempo.at(0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});
  MidiTrack notes;
  notes.at(0, {0xC0, 16})
      .at(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7})  // GM on, as system exclusive
      .at(10, {0x90, 60, 100})
      .at(20, {62, 100})  // running status
      .at(30, {0xFF, 0x01, 0x02, 'h', 'i'})
      .at(40, {60, 0})  // running status survives a meta event in files in the wild
      .at(200, {0xE0, 0x00, 0x40})
      .at(300, {0xB0, 7, 100})
      .at(100000, {0x80, 62, 0});  // a delta time of three bytes
  EXPECT_TRUE(playable(midiFile({notes.chunk(100000)})));
  EXPECT_TRUE(playable(midiFile({tempo.chunk(0), notes.chunk(100000)})));

  // Unknown chunks are skipped, a longer header is allowed, a track may lack its end marker.
  std::string odd = header(0, 1, 96);
  odd.replace(7, 1, "\x08");
  odd += "xx";
  odd += chunk("XFIH", "whatever") + chunk("MTrk", bytes({0x00, 0x90, 60, 100, 0x60, 60, 0}));
  EXPECT_TRUE(playable(odd));
}

TEST(MidiCheck, BrokenHeadersAreRefused) {
  const std::string track = MidiTrack().at(0, {0x90, 60, 100}).chunk(96);
  ASSERT_TRUE(playable(header(0, 1, 96) + track));
  EXPECT_FALSE(playable(""));
  EXPECT_FALSE(playable("RIFF" + header(0, 1, 96).substr(4) + track));
  EXPECT_FALSE(playable(header(0, 1, 96).substr(0, 12)));
  EXPECT_FALSE(playable(header(0, 0, 96))) << "no track";
  EXPECT_FALSE(playable(header(2, 1, 96) + track)) << "format 2";
  EXPECT_FALSE(playable(header(0, 1, 0) + track)) << "zero resolution";
  EXPECT_FALSE(playable(header(0, 1, 0xE728) + track)) << "time code division";
  std::string shortHeader = header(0, 1, 96);
  shortHeader.replace(7, 1, "\x04");
  EXPECT_FALSE(playable(shortHeader + track));
}

TEST(MidiCheck, IncompleteOrMalformedTracksAreRefused) {
  const std::string good = MidiTrack().at(0, {0x90, 60, 100}).at(96, {0x80, 60, 0}).chunk(96);
  EXPECT_FALSE(playable(header(1, 2, 96) + good)) << "a track announced but missing";
  const std::string file = header(0, 1, 96) + good;
  for (std::size_t cut = 14; cut < file.size(); ++cut) {
    EXPECT_FALSE(playable(file.substr(0, cut))) << "cut at " << cut;
  }
  EXPECT_TRUE(playable(file));

  // Each case is a second track beside a sound first one.
  auto track = [&](std::initializer_list<int> body) {
    return header(1, 2, 96) + good + chunk("MTrk", bytes(body));
  };
  ASSERT_TRUE(playable(track({0x00, 0x90, 60, 100})));
  EXPECT_FALSE(playable(track({0x00, 60, 100}))) << "running status with nothing to run on";
  EXPECT_FALSE(playable(track({0x00, 0x90, 60}))) << "a note cut short";
  EXPECT_FALSE(playable(track({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 100})))
      << "a delta time over four bytes";
  EXPECT_FALSE(playable(track({0x00, 0xF8}))) << "a real-time message";
  EXPECT_FALSE(playable(track({0x00, 0xFF, 0x01, 0x05, 'a'}))) << "meta text past the track";
  EXPECT_FALSE(playable(track({0x00, 0xF0, 0x7F}))) << "system exclusive past the track";
  EXPECT_FALSE(playable(track({0x00, 0xFF, 0x2F, 0x00, 0x00, 0x90, 60, 100})))
      << "events after the end of the track";
}

TEST(MidiCheck, FilesOverTheSizeLimitAreRefused) {
  // One long system exclusive message fills a file up to the limit exactly.
  auto fileOfSize = [](std::size_t total) {
    const std::size_t fixed = 14 + 8 + 1 + 1 + 4 + 1 + 4;  // header, chunk, event, length, F7, end
    std::string body = bytes({0x00, 0xF0});
    const auto len = static_cast<int>(total - fixed + 1);
    body += bytes({0x80 | ((len >> 21) & 0x7F), 0x80 | ((len >> 14) & 0x7F),
                   0x80 | ((len >> 7) & 0x7F), len & 0x7F});
    body += std::string(len - 1, '\x01') + "\xF7";
    body += bytes({0x60, 0xFF, 0x2F, 0x00});  // half a second
    return header(0, 1, 96) + chunk("MTrk", body);
  };
  const std::string atLimit = fileOfSize(kMaxMidiBytes);
  ASSERT_EQ(atLimit.size(), kMaxMidiBytes);
  EXPECT_TRUE(playable(atLimit));
  EXPECT_FALSE(playable(fileOfSize(kMaxMidiBytes + 1)));
}

TEST(MidiCheck, PiecesTooShortToLoopAreRefused) {
  // The player would restart them endlessly inside the audio callback.
  EXPECT_FALSE(playable(midiFile({MidiTrack().chunk(0)}))) << "only the end marker";
  EXPECT_FALSE(playable(header(0, 1, 480) + chunk("MTrk", ""))) << "an empty track";
  EXPECT_FALSE(playable(midiFile({MidiTrack().at(0, {0xC0, 16}).chunk(0)})));

  // 96 ticks are 0.1 s at 480 a beat and the default 120 beats a minute.
  EXPECT_TRUE(playable(midiFile({MidiTrack().chunk(96)})));
  EXPECT_FALSE(playable(midiFile({MidiTrack().chunk(95)})));

  // The tempo counts, from whichever track sets it: 0.01 s a beat makes two beats 0.02 s.
  const std::string fast = MidiTrack().at(0, {0xFF, 0x51, 0x03, 0x00, 0x27, 0x10}).chunk(0);
  EXPECT_TRUE(playable(midiFile({MidiTrack().chunk(960)})));
  EXPECT_FALSE(playable(midiFile({fast, MidiTrack().chunk(960)})));
  // Fast only after the first beat: half a second plus a little.
  const std::string later = MidiTrack().at(480, {0xFF, 0x51, 0x03, 0x00, 0x27, 0x10}).chunk(480);
  EXPECT_TRUE(playable(midiFile({later, MidiTrack().chunk(960)})));

  // A tempo of zero or of the wrong size is broken.
  EXPECT_FALSE(playable(midiFile({MidiTrack().at(0, {0xFF, 0x51, 0x03, 0, 0, 0}).chunk(960)})));
  EXPECT_FALSE(playable(midiFile({MidiTrack().at(0, {0xFF, 0x51, 0x02, 0x27, 0x10}).chunk(960)})));
}

}  // namespace
}  // namespace tervano::audio
