// Writes the five General MIDI pieces of a set's "hdb" folder: 1r.mid to 4r.mid for the grades
// and Final.mid for the last crossword.
//   tervano-music <output folder>
// Every piece is a melody over a chord progression with accompaniment made from the chords.
// The last bar leads back to the first (its chord is the dominant of the first), and every note
// ends on the last bar line, so the player's rewind at the end makes a seamless loop.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "music/smf.h"

namespace {

using tervano::music::Track;

constexpr int kDivision = 480;  // ticks per quarter note
constexpr std::uint32_t kEighth = kDivision / 2;
constexpr std::uint32_t kBar = 4 * kDivision;
constexpr int kDrums = 9;  // General MIDI percussion channel (channel 10)

// General MIDI programs and percussion keys used below.
namespace gm {
constexpr int kPiano = 0, kEPiano = 4, kGlockenspiel = 9, kMarimba = 12, kNylonGuitar = 24,
              kAcousticBass = 32, kFingerBass = 33, kViolin = 40, kStrings = 48, kTimpani = 47,
              kTrumpet = 56, kBrass = 61, kFlute = 73, kPizzicato = 45;
constexpr int kKick = 36, kSideStick = 37, kSnare = 38, kClosedHat = 42, kOpenHat = 46, kCrash = 49,
              kRide = 51, kShaker = 70, kTambourine = 54;
}  // namespace gm

// "C", "F#m", "G7", "Bbm": root and quality to pitch classes (root first).
std::vector<int> chordTones(const std::string& name) {
  static const int base[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (name.empty() || name[0] < 'A' || name[0] > 'G') throw std::invalid_argument(name);
  int root = base[name[0] - 'A'];
  std::size_t i = 1;
  if (i < name.size() && name[i] == '#') root = (root + 1) % 12, ++i;
  if (i < name.size() && name[i] == 'b') root = (root + 11) % 12, ++i;
  const std::string quality = name.substr(i);
  if (quality == "") return {root, (root + 4) % 12, (root + 7) % 12};
  if (quality == "m") return {root, (root + 3) % 12, (root + 7) % 12};
  if (quality == "7") return {root, (root + 4) % 12, (root + 7) % 12, (root + 10) % 12};
  throw std::invalid_argument(name);
}

// The key nearest above `floor` with the pitch class.
int above(int pitchClass, int floor) {
  int k = floor;
  while (((k % 12) + 12) % 12 != pitchClass)
    ++k;
  return k;
}

// "e5", "f#4", "bb3" to a MIDI key.
int key(const std::string& n) {
  static const int base[] = {9, 11, 0, 2, 4, 5, 7};
  int pc = base[n.at(0) - 'a'];
  std::size_t i = 1;
  if (n.at(i) == '#') pc += 1, ++i;
  if (n.at(i) == 'b') pc -= 1, ++i;
  return 12 * (std::stoi(n.substr(i)) + 1) + pc;
}

struct Piece {
  const char* file;
  const char* title;
  int bpm;
  // One chord per bar; "Dm G" splits the bar in halves.
  std::vector<std::string> bars;
  // Tokens "note:eighths" or "r:eighths", eight eighths to a bar.
  std::string melody;
};

// Chords at each half bar, from the bar list.
std::vector<std::string> halfBars(const Piece& p) {
  std::vector<std::string> out;
  for (const auto& bar : p.bars) {
    std::istringstream in(bar);
    std::vector<std::string> chords;
    std::string c;
    while (in >> c)
      chords.push_back(c);
    if (chords.size() == 1) chords.push_back(chords[0]);
    if (chords.size() != 2) throw std::invalid_argument("bar: " + bar);
    out.insert(out.end(), chords.begin(), chords.end());
  }
  return out;
}

struct Voice {
  int channel;
  int program;
  int volume;
  int pan;
  int reverb;
};

void setUp(Track& t, const Voice& v) {
  t.control(0, v.channel, 0, 0);  // bank select: the General MIDI bank
  t.program(0, v.channel, v.program);
  t.control(0, v.channel, 7, v.volume);
  t.control(0, v.channel, 10, v.pan);
  t.control(0, v.channel, 91, v.reverb);
}

// Accents by position in the bar keep the lines from sounding mechanical.
int accent(std::uint32_t tickInBar, int base) {
  if (tickInBar == 0) return base + 10;
  if (tickInBar == 2 * kDivision) return base + 5;
  if (tickInBar % kDivision != 0) return base - 8;
  return base;
}

void melody(Track& t, const Voice& v, const Piece& p, int transpose, int velocity) {
  setUp(t, v);
  std::istringstream in(p.melody);
  std::string token;
  std::uint32_t now = 0;
  while (in >> token) {
    const auto colon = token.find(':');
    const std::uint32_t len =
        static_cast<std::uint32_t>(std::stoi(token.substr(colon + 1))) * kEighth;
    const std::string n = token.substr(0, colon);
    // Slightly detached, as a player would phrase it.
    if (n != "r")
      t.note(now, len - len / 10, v.channel, key(n) + transpose, accent(now % kBar, velocity));
    now += len;
  }
  if (now != p.bars.size() * kBar)
    throw std::logic_error(std::string(p.file) + ": the melody does not fill the bars");
}

enum class Bass { Halves, Drive, Broken };

void bass(Track& t, const Voice& v, const Piece& p, Bass style, int velocity) {
  setUp(t, v);
  const auto halves = halfBars(p);
  for (std::size_t h = 0; h < halves.size(); ++h) {
    const std::uint32_t start = static_cast<std::uint32_t>(h) * 2 * kDivision;
    const auto tones = chordTones(halves[h]);
    const int root = above(tones[0], 36);
    switch (style) {
      case Bass::Halves:
        // Root, then the fifth below it: the bass stays low and moves little.
        t.note(start, 2 * kDivision - 60, v.channel, h % 2 ? above(tones[2], root) - 12 : root,
               velocity);
        break;
      case Bass::Drive:
        t.note(start, kEighth + kEighth / 2, v.channel, root, velocity + 8);
        t.note(start + 3 * kEighth, kEighth - 20, v.channel, root, velocity - 10);
        break;
      case Bass::Broken: {
        // Quarter notes through the chord: root and third, then fifth and third.
        const int third = above(tones[1], root);
        const int fifth = above(tones[2], root);
        t.note(start, kDivision - 30, v.channel, h % 2 ? fifth : root, velocity + 6);
        t.note(start + kDivision, kDivision - 30, v.channel, third, velocity - 6);
        break;
      }
    }
  }
}

// Sustained chords, one voicing per half bar (repeated chords tie over).
void pad(Track& t, const Voice& v, const Piece& p, int floor, int velocity) {
  setUp(t, v);
  const auto halves = halfBars(p);
  std::size_t h = 0;
  while (h < halves.size()) {
    std::size_t end = h + 1;
    while (end < halves.size() && halves[end] == halves[h] && end % 2 == 1)
      ++end;
    const auto tones = chordTones(halves[h]);
    const std::uint32_t start = static_cast<std::uint32_t>(h) * 2 * kDivision;
    const std::uint32_t len = static_cast<std::uint32_t>(end - h) * 2 * kDivision - 30;
    for (int pc : tones)
      t.note(start, len, v.channel, above(pc, floor), velocity);
    h = end;
  }
}

// Broken chords in eighths: up and down the voicing.
void arpeggio(Track& t, const Voice& v, const Piece& p, int floor, int velocity) {
  setUp(t, v);
  const auto halves = halfBars(p);
  static const int shape[] = {0, 1, 2, 3, 2, 1, 2, 1};
  for (std::size_t h = 0; h < halves.size(); ++h) {
    const auto tones = chordTones(halves[h]);
    const int root = above(tones[0], floor);
    const int voicing[] = {root, above(tones[1], root), above(tones[2], root), root + 12};
    for (int i = 0; i < 4; ++i) {
      const std::uint32_t tick = static_cast<std::uint32_t>(h) * 2 * kDivision + i * kEighth;
      t.note(tick, kEighth + 40, v.channel, voicing[shape[(h % 2) * 4 + i]],
             accent(tick % kBar, velocity));
    }
  }
}

// Short chords on beats two and four.
void comp(Track& t, const Voice& v, const Piece& p, int floor, int velocity) {
  setUp(t, v);
  const auto halves = halfBars(p);
  for (std::size_t h = 0; h < halves.size(); ++h) {
    const auto tones = chordTones(halves[h]);
    const std::uint32_t beat = static_cast<std::uint32_t>(h) * 2 * kDivision + kDivision;
    for (int pc : tones)
      t.note(beat, kEighth, v.channel, above(pc, floor), velocity);
  }
}

enum class Drums { Light, Pop, March };

void drums(Track& t, const Piece& p, Drums style, int velocity) {
  setUp(t, Voice{kDrums, 0, 100, 64, 30});
  const auto bars = static_cast<std::uint32_t>(p.bars.size());
  for (std::uint32_t b = 0; b < bars; ++b) {
    const std::uint32_t s = b * kBar;
    const bool sectionStart = b % 8 == 0;
    const bool lastOfSection = b % 8 == 7;
    for (int e = 0; e < 8; ++e) {
      const std::uint32_t tick = s + static_cast<std::uint32_t>(e) * kEighth;
      switch (style) {
        case Drums::Light:
          t.note(tick, 60, kDrums, gm::kShaker, e % 2 ? velocity - 25 : velocity - 12);
          break;
        case Drums::Pop:
          t.note(tick, 60, kDrums, lastOfSection && e == 7 ? gm::kOpenHat : gm::kClosedHat,
                 e % 2 ? velocity - 22 : velocity - 8);
          break;
        case Drums::March:
          t.note(tick, 60, kDrums, gm::kRide, e % 2 ? velocity - 25 : velocity - 12);
          break;
      }
    }
    switch (style) {
      case Drums::Light:
        t.note(s, 60, kDrums, gm::kKick, velocity - 10);
        t.note(s + kDivision, 60, kDrums, gm::kSideStick, velocity - 20);
        t.note(s + 2 * kDivision, 60, kDrums, gm::kKick, velocity - 15);
        t.note(s + 3 * kDivision, 60, kDrums, gm::kSideStick, velocity - 20);
        break;
      case Drums::Pop:
        if (sectionStart) t.note(s, 240, kDrums, gm::kCrash, velocity - 10);
        t.note(s, 60, kDrums, gm::kKick, velocity);
        t.note(s + kDivision, 60, kDrums, gm::kSnare, velocity - 5);
        t.note(s + 2 * kDivision, 60, kDrums, gm::kKick, velocity - 5);
        t.note(s + 2 * kDivision + kEighth, 60, kDrums, gm::kKick, velocity - 20);
        if (!lastOfSection) t.note(s + 3 * kDivision, 60, kDrums, gm::kSnare, velocity - 5);
        if (lastOfSection)
          for (int i = 0; i < 4; ++i)
            t.note(s + 3 * kDivision + static_cast<std::uint32_t>(i) * kDivision / 4, 60, kDrums,
                   gm::kSnare, velocity - 30 + 6 * i);
        break;
      case Drums::March:
        if (b % 4 == 0) t.note(s, 240, kDrums, gm::kCrash, velocity - 10);
        t.note(s, 60, kDrums, gm::kKick, velocity);
        t.note(s + 2 * kDivision, 60, kDrums, gm::kKick, velocity - 8);
        // The snare of a march: sixteenths on the second and fourth beats.
        for (std::uint32_t beat : {1u, 3u})
          for (std::uint32_t i = 0; i < 4; ++i)
            t.note(s + beat * kDivision + i * kDivision / 4, 50, kDrums, gm::kSnare,
                   i == 0 ? velocity - 5 : velocity - 35);
        t.note(s + 3 * kDivision, 60, kDrums, gm::kTambourine, velocity - 25);
        break;
    }
  }
}

// Timpani on the roots of the first and third beats.
void timpani(Track& t, const Voice& v, const Piece& p, int velocity) {
  setUp(t, v);
  const auto halves = halfBars(p);
  for (std::size_t h = 0; h < halves.size(); ++h) {
    const auto tones = chordTones(halves[h]);
    t.note(static_cast<std::uint32_t>(h) * 2 * kDivision, kDivision, v.channel, above(tones[0], 41),
           h % 2 ? velocity - 15 : velocity);
  }
}

// The piece: a conductor track (name, time signature, tempo) and the instrument tracks.
struct Arrangement {
  Piece piece;
  std::vector<Track> tracks;
  std::vector<int> channels;
};

std::string render(Arrangement& a) {
  const std::uint32_t end = static_cast<std::uint32_t>(a.piece.bars.size()) * kBar;
  Track conductor(a.piece.title);
  conductor.timeSignature(0, 4, 2);
  conductor.tempo(0, a.piece.bpm);
  std::vector<Track> all{conductor};
  for (auto& t : a.tracks) {
    t.allNotesOff(end, a.channels);
    all.push_back(t);
  }
  return tervano::music::smfFile(all, kDivision, end);
}

// Grade I: light and simple. Piano over a nylon guitar, plucked bass and a shaker.
std::string grade1() {
  Arrangement a;
  a.piece = {
      "1r.mid",
      "Tervano - rocnik I",
      108,
      {"C", "Am", "F", "G", "C", "Am", "Dm G", "C", "F", "G", "Em", "Am", "F", "G", "C", "G7"},
      "e5:2 g5:2 e5:2 c5:2  a4:2 c5:2 e5:4  f5:2 e5:2 d5:2 c5:2  d5:6 r:2 "
      "e5:2 g5:2 c6:2 g5:2  a5:2 g5:2 e5:4  f5:2 d5:2 g5:2 b4:2  c5:6 r:2 "
      "a5:3 g5:1 f5:2 a5:2  g5:3 f5:1 e5:2 d5:2  e5:2 g5:2 b5:2 g5:2  a5:6 r:2 "
      "f5:2 a5:2 g5:2 f5:2  d5:2 b4:2 g4:2 b4:2  c5:4 e5:2 g5:2  f5:2 d5:2 b4:2 g4:2"};
  a.channels = {0, 1, 2, kDrums};
  Track m("Piano"), g("Guitar"), b("Bass"), d("Shaker");
  melody(m, {0, gm::kPiano, 105, 70, 40}, a.piece, 0, 88);
  arpeggio(g, {1, gm::kNylonGuitar, 80, 50, 40}, a.piece, 52, 62);
  bass(b, {2, gm::kAcousticBass, 100, 64, 20}, a.piece, Bass::Halves, 85);
  drums(d, a.piece, Drums::Light, 70);
  a.tracks = {m, g, b, d};
  return render(a);
}

// Grade II: a little busier. Marimba tune, strings, a broken-chord bass and light drums.
std::string grade2() {
  Arrangement a;
  a.piece = {"2r.mid",
             "Tervano - rocnik II",
             116,
             {"G", "D", "Em", "C", "G", "D", "C", "D", "Em", "C", "G", "D", "C", "D", "G", "D7"},
             "b4:1 d5:1 g5:2 f#5:1 e5:1 d5:2  a4:1 d5:1 f#5:2 e5:1 d5:1 a4:2 "
             "b4:1 e5:1 g5:2 f#5:1 e5:1 b4:2  c5:2 e5:2 g5:2 e5:2 "
             "d5:2 g5:2 b5:3 a5:1  a5:2 f#5:2 d5:4  e5:2 g5:2 c6:2 b5:1 a5:1  a5:6 r:2 "
             "g5:2 b5:2 e5:2 g5:2  e5:2 g5:2 c5:2 e5:2  d5:2 g5:2 b4:2 d5:2  f#5:4 a5:4 "
             "g5:2 e5:2 c5:2 e5:2  f#5:2 a5:2 d6:2 c6:2  b5:4 g5:4  a5:2 f#5:2 d5:2 c5:2"};
  a.channels = {0, 1, 2, kDrums};
  Track m("Marimba"), s("Strings"), b("Bass"), d("Drums");
  melody(m, {0, gm::kMarimba, 110, 60, 40}, a.piece, 0, 92);
  pad(s, {1, gm::kStrings, 70, 72, 60}, a.piece, 55, 55);
  bass(b, {2, gm::kFingerBass, 95, 64, 20}, a.piece, Bass::Broken, 82);
  drums(d, a.piece, Drums::Light, 78);
  a.tracks = {m, s, b, d};
  return render(a);
}

// Grade III: a minor key and a flute over guitar, bass and soft drums.
std::string grade3() {
  Arrangement a;
  a.piece = {"3r.mid",
             "Tervano - rocnik III",
             96,
             {"Am", "F", "C", "G", "Am", "F", "Dm", "E", "F", "G", "C", "Am", "Dm", "G", "E", "E7"},
             "a4:2 c5:2 e5:3 d5:1  c5:2 a4:2 f4:4  g4:2 c5:2 e5:2 g5:2  d5:6 r:2 "
             "e5:2 a5:2 e5:2 c5:2  f5:3 e5:1 c5:4  d5:2 f5:2 a5:2 f5:2  e5:2 g#5:2 b5:4 "
             "a5:3 g5:1 f5:2 e5:2  d5:3 c5:1 b4:2 d5:2  c5:2 e5:2 g5:2 c6:2  a5:6 r:2 "
             "f5:2 e5:2 d5:2 a4:2  b4:2 d5:2 g5:2 f5:2  e5:4 g#4:2 b4:2  d5:2 b4:2 g#4:2 e4:2"};
  a.channels = {0, 1, 2, 3, kDrums};
  Track m("Flute"), g("Guitar"), s("Strings"), b("Bass"), d("Drums");
  melody(m, {0, gm::kFlute, 105, 58, 50}, a.piece, 0, 90);
  arpeggio(g, {1, gm::kNylonGuitar, 85, 45, 40}, a.piece, 45, 66);
  pad(s, {2, gm::kStrings, 55, 80, 70}, a.piece, 57, 45);
  bass(b, {3, gm::kFingerBass, 95, 64, 20}, a.piece, Bass::Halves, 84);
  drums(d, a.piece, Drums::Pop, 72);
  a.tracks = {m, g, s, b, d};
  return render(a);
}

// Grade IV: the richest of the grades. Violin lead, strings, electric piano, driving bass and
// full drums.
std::string grade4() {
  Arrangement a;
  a.piece = {"4r.mid",
             "Tervano - rocnik IV",
             124,
             {"D", "Bm", "G", "A", "D",  "Bm", "Em", "A", "G", "A",  "F#m", "Bm",
              "G", "A",  "D", "D", "Bm", "G",  "D",  "A", "G", "Em", "A",   "A7"},
             "f#5:2 a5:2 d6:3 c#6:1  b5:2 a5:2 f#5:4  g5:2 b5:2 d6:2 b5:2  a5:6 r:2 "
             "f#5:2 a5:2 d6:3 e6:1  f#6:2 e6:2 d6:4  e6:2 d6:2 b5:2 g5:2  a5:6 r:2 "
             "b5:3 a5:1 g5:2 b5:2  c#6:3 b5:1 a5:2 c#6:2  a5:2 c#6:2 f#6:2 e6:2  d6:6 r:2 "
             "d6:2 b5:2 g5:2 b5:2  c#6:2 a5:2 e5:2 a5:2  d6:4 a5:2 f#5:2  d5:6 r:2 "
             "f#5:1 g5:1 a5:2 b5:2 d6:2  d6:2 b5:2 g5:4  a5:1 b5:1 a5:2 f#5:2 a5:2  e5:6 r:2 "
             "g5:2 b5:2 d6:2 g6:2  g6:2 e6:2 b5:2 g5:2  c#6:2 e6:2 a5:2 c#6:2  "
             "e6:2 c#6:2 a5:2 g5:2"};
  a.channels = {0, 1, 2, 3, kDrums};
  Track m("Violin"), s("Strings"), e("Electric piano"), b("Bass"), d("Drums");
  melody(m, {0, gm::kViolin, 100, 60, 55}, a.piece, -12, 95);
  pad(s, {1, gm::kStrings, 65, 76, 70}, a.piece, 54, 52);
  comp(e, {2, gm::kEPiano, 80, 45, 40}, a.piece, 57, 70);
  bass(b, {3, gm::kFingerBass, 100, 64, 20}, a.piece, Bass::Drive, 88);
  drums(d, a.piece, Drums::Pop, 90);
  a.tracks = {m, s, e, b, d};
  return render(a);
}

// The final: festive. Trumpet fanfare, brass chords, strings, timpani, bass and a march.
std::string finalPiece() {
  Arrangement a;
  a.piece = {"Final.mid",
             "Tervano - finale",
             132,
             {"C", "F", "G", "C", "Am", "F", "D7", "G",  "C",  "F", "G", "Em",
              "F", "G", "C", "C", "F",  "G", "Em", "Am", "Dm", "G", "C", "G7"},
             "g4:1 c5:1 e5:1 g5:1 c6:4  a5:2 c6:2 a5:2 f5:2  g5:3 f5:1 e5:2 d5:2  e5:2 c5:2 g4:4 "
             "a4:1 c5:1 e5:1 a5:1 c6:4  c6:2 a5:2 f5:2 a5:2  f#5:2 a5:2 d6:2 c6:2  b5:6 r:2 "
             "e6:3 d6:1 c6:2 g5:2  a5:3 b5:1 c6:4  d6:2 c6:2 b5:2 g5:2  e5:2 g5:2 b5:4 "
             "c6:2 a5:2 f5:2 c6:2  b5:2 d6:2 g6:4  e6:2 d6:2 c6:2 g5:2  c6:6 r:2 "
             "f5:1 g5:1 a5:2 c6:2 f6:2  g6:2 f6:2 d6:4  e6:2 d6:2 b5:2 g5:2  a5:2 c6:2 e6:4 "
             "f6:2 e6:2 d6:2 a5:2  b5:2 d6:2 g6:2 f6:2  e6:4 g6:2 e6:2  d6:2 b5:2 g5:2 f5:2"};
  a.channels = {0, 1, 2, 3, 4, 5, kDrums};
  Track m("Trumpet"), br("Brass"), s("Strings"), ti("Timpani"), b("Bass"), gl("Glockenspiel"),
      d("March");
  melody(m, {0, gm::kTrumpet, 110, 64, 50}, a.piece, -12, 100);
  comp(br, {1, gm::kBrass, 85, 50, 50}, a.piece, 55, 82);
  pad(s, {2, gm::kStrings, 70, 80, 70}, a.piece, 60, 55);
  timpani(ti, {3, gm::kTimpani, 95, 64, 40}, a.piece, 90);
  bass(b, {4, gm::kPizzicato, 100, 64, 30}, a.piece, Bass::Halves, 90);
  melody(gl, {5, gm::kGlockenspiel, 45, 90, 60}, a.piece, 12, 60);
  drums(d, a.piece, Drums::March, 88);
  a.tracks = {m, br, s, ti, b, gl, d};
  return render(a);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "použití: tervano-music <výstupní složka>\n";
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);
  try {
    const std::pair<const char*, std::string> files[] = {{"1r.mid", grade1()},
                                                         {"2r.mid", grade2()},
                                                         {"3r.mid", grade3()},
                                                         {"4r.mid", grade4()},
                                                         {"Final.mid", finalPiece()}};
    for (const auto& [name, bytes] : files) {
      std::ofstream f(out / name, std::ios::binary | std::ios::trunc);
      f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      if (!f) {
        std::cerr << "nelze zapsat " << (out / name).string() << "\n";
        return 1;
      }
      std::cout << name << ": " << bytes.size() << " bajtů\n";
    }
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return 0;
}
