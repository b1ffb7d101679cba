// Synthesises the five sound cues of a set's "hdb" folder as 44.1 kHz 16-bit mono WAV files.
//   tervano-sounds <output folder>
// Cues block the game while they play, so every one is short; they differ in register and
// shape so that a player tells them apart without looking: a two-tone chime (hlasen), a soft
// falling low tone (chyba), a rising arpeggio (dobre), a short fanfare (vyhrar) and a longer one
// ending on a full chord (vyhraco).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;
// Peak level of every cue: loud enough to hear over the music, with headroom against clipping.
constexpr double kPeak = 0.75;

double hz(int midiKey) {
  return 440.0 * std::pow(2.0, (midiKey - 69) / 12.0);
}

enum class Timbre { Bell, Soft, Brass, Mallet };

struct Partial {
  double ratio;
  double amp;
  double decay;  // per second, on top of the note's own envelope
};

std::vector<Partial> partialsOf(Timbre t) {
  switch (t) {
    case Timbre::Bell:
      return {{1.0, 1.0, 3.0}, {2.0, 0.45, 5.0}, {3.01, 0.22, 8.0}, {4.2, 0.12, 12.0}};
    case Timbre::Soft:
      return {{1.0, 1.0, 0.0}, {3.0, 0.11, 0.0}, {5.0, 0.04, 0.0}};
    case Timbre::Brass:
      return {{1.0, 1.0, 0.0}, {2.0, 0.7, 0.0},  {3.0, 0.5, 0.0},  {4.0, 0.32, 0.0},
              {5.0, 0.2, 0.0}, {6.0, 0.12, 0.0}, {7.0, 0.07, 0.0}, {8.0, 0.04, 0.0}};
    case Timbre::Mallet:
      return {{1.0, 1.0, 4.0}, {4.0, 0.3, 14.0}, {9.8, 0.08, 25.0}};
  }
  return {};
}

class Cue {
 public:
  explicit Cue(double seconds) : samples_(static_cast<std::size_t>(seconds * kRate), 0.0) {}

  // A note from `start` lasting `length` seconds (its release runs on after it, within the cue).
  void note(int key, double start, double length, double level, Timbre timbre) {
    const double f = hz(key);
    const auto partials = partialsOf(timbre);
    const double attack = timbre == Timbre::Brass ? 0.025 : timbre == Timbre::Soft ? 0.012 : 0.003;
    const double release = timbre == Timbre::Bell ? 0.25 : 0.06;
    const auto first = static_cast<std::size_t>(start * kRate);
    for (std::size_t i = first; i < samples_.size(); ++i) {
      const double t = static_cast<double>(i - first) / kRate;
      if (t > length + release) break;
      double env = t < attack ? t / attack : 1.0;
      if (t > length) env *= 1.0 - (t - length) / release;
      if (timbre == Timbre::Soft) env *= std::exp(-2.5 * t);
      if (timbre == Timbre::Brass) env *= 0.85 + 0.15 * std::exp(-6.0 * t);
      // A little vibrato makes the brass sound played rather than switched on.
      const double vib = timbre == Timbre::Brass ? 1.0 + 0.003 * std::sin(2 * kPi * 5.5 * t) : 1.0;
      double v = 0;
      for (const auto& p : partials) {
        const double pf = f * p.ratio * vib;
        if (pf > kRate / 2.2) continue;
        v += p.amp * std::exp(-p.decay * t) * std::sin(2 * kPi * pf * t);
      }
      samples_[i] += level * env * v;
    }
  }

  // Scales to the common peak and fades the very ends so that no cue starts or stops with a
  // click.
  std::vector<std::int16_t> finish() {
    double peak = 0;
    for (double s : samples_)
      peak = std::max(peak, std::abs(s));
    const double scale = peak > 0 ? kPeak / peak : 0;
    const std::size_t fade = kRate / 200;
    std::vector<std::int16_t> out(samples_.size());
    for (std::size_t i = 0; i < samples_.size(); ++i) {
      double v = samples_[i] * scale;
      if (i < fade) v *= static_cast<double>(i) / fade;
      const std::size_t fromEnd = samples_.size() - 1 - i;
      if (fromEnd < fade * 4) v *= static_cast<double>(fromEnd) / (fade * 4);
      out[i] = static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767));
    }
    return out;
  }

 private:
  std::vector<double> samples_;
};

void putU32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void putU16(std::string& s, std::uint16_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>(v >> 8));
}

std::string wav(const std::vector<std::int16_t>& pcm) {
  const auto dataBytes = static_cast<std::uint32_t>(pcm.size() * 2);
  std::string s = "RIFF";
  putU32(s, 36 + dataBytes);
  s += "WAVEfmt ";
  putU32(s, 16);
  putU16(s, 1);  // PCM
  putU16(s, 1);  // mono
  putU32(s, kRate);
  putU32(s, kRate * 2);
  putU16(s, 2);
  putU16(s, 16);
  s += "data";
  putU32(s, dataBytes);
  for (std::int16_t v : pcm)
    putU16(s, static_cast<std::uint16_t>(v));
  return s;
}

// MIDI keys of the notes used below.
enum Key {
  C3 = 48,
  F3 = 53,
  A3 = 57,
  G4 = 67,
  C5 = 72,
  D5 = 74,
  E5 = 76,
  G5 = 79,
  A5 = 81,
  C6 = 84,
  E6 = 88,
  G6 = 91,
  C7 = 96
};

std::vector<std::int16_t> hlasen() {
  Cue c(0.42);
  c.note(E6, 0.00, 0.10, 1.0, Timbre::Bell);
  c.note(C6, 0.13, 0.12, 1.0, Timbre::Bell);
  return c.finish();
}

std::vector<std::int16_t> chyba() {
  Cue c(0.40);
  c.note(A3, 0.00, 0.15, 1.0, Timbre::Soft);
  c.note(F3, 0.17, 0.17, 1.0, Timbre::Soft);
  return c.finish();
}

std::vector<std::int16_t> dobre() {
  Cue c(0.62);
  const int keys[] = {C5, E5, G5, C6};
  for (int i = 0; i < 4; ++i)
    c.note(keys[i], 0.09 * i, 0.62 - 0.09 * i - 0.08, 0.8, Timbre::Mallet);
  c.note(C7, 0.27, 0.15, 0.25, Timbre::Bell);
  return c.finish();
}

std::vector<std::int16_t> vyhrar() {
  Cue c(1.25);
  c.note(G4, 0.00, 0.09, 0.8, Timbre::Brass);
  c.note(C5, 0.12, 0.09, 0.8, Timbre::Brass);
  c.note(E5, 0.24, 0.09, 0.8, Timbre::Brass);
  c.note(G5, 0.36, 0.22, 0.9, Timbre::Brass);
  c.note(E5, 0.62, 0.09, 0.8, Timbre::Brass);
  c.note(G5, 0.74, 0.40, 1.0, Timbre::Brass);
  c.note(C5, 0.74, 0.40, 0.5, Timbre::Brass);
  c.note(E5, 0.74, 0.40, 0.45, Timbre::Brass);
  c.note(G6, 0.74, 0.20, 0.2, Timbre::Bell);
  return c.finish();
}

std::vector<std::int16_t> vyhraco() {
  Cue c(2.5);
  // Three pick-ups and a long note, an answer, then a climb to the full chord.
  c.note(G4, 0.00, 0.08, 0.8, Timbre::Brass);
  c.note(G4, 0.13, 0.08, 0.8, Timbre::Brass);
  c.note(G4, 0.26, 0.08, 0.8, Timbre::Brass);
  c.note(C5, 0.39, 0.35, 1.0, Timbre::Brass);
  c.note(E5, 0.80, 0.12, 0.8, Timbre::Brass);
  c.note(D5, 0.95, 0.12, 0.8, Timbre::Brass);
  c.note(E5, 1.10, 0.12, 0.8, Timbre::Brass);
  c.note(G5, 1.25, 0.12, 0.9, Timbre::Brass);
  c.note(A5, 1.40, 0.10, 0.8, Timbre::Brass);
  for (int k : {C5, E5, G5, C6})
    c.note(k, 1.55, 0.70, k == C6 ? 1.0 : 0.55, Timbre::Brass);
  c.note(C3, 1.55, 0.70, 0.5, Timbre::Soft);
  for (int i = 0; i < 4; ++i)
    c.note(C6 + (i % 2 ? 7 : 12), 1.55 + 0.08 * i, 0.1, 0.18, Timbre::Bell);
  return c.finish();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "použití: tervano-sounds <výstupní složka>\n";
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);
  const std::pair<const char*, std::vector<std::int16_t>> cues[] = {
      {"hlasen.wav", hlasen()}, {"chyba.wav", chyba()},     {"dobre.wav", dobre()},
      {"vyhrar.wav", vyhrar()}, {"vyhraco.wav", vyhraco()},
  };
  for (const auto& [name, pcm] : cues) {
    std::ofstream f(out / name, std::ios::binary | std::ios::trunc);
    const std::string bytes = wav(pcm);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f) {
      std::cerr << "nelze zapsat " << (out / name).string() << "\n";
      return 1;
    }
    std::cout << name << ": " << pcm.size() * 1000 / kRate << " ms\n";
  }
  return 0;
}
