// A piece's own soundfont, cut from the system's: it must sound exactly as the whole one does.
#include "sound/soundfont.h"

#include <fluidsynth.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "audio/midi_check.h"
#include "audio_files.h"

namespace tervano::sound {
namespace {

namespace fs = std::filesystem;
using audio::ChannelUse;
using audio::MidiPiece;
using audio::readMidiPiece;
using testing::MidiTrack;

const char* systemSoundfont() {
  for (const char* path :
       {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"}) {
    if (fs::exists(path)) return path;
  }
  return nullptr;
}

class SoundfontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    dir_ = fs::temp_directory_path() / ("tervano-sf2-" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string file(const std::string& name) const { return (dir_ / name).string(); }

  // The image as the synthesizer would read it, written out.
  std::string writeImage(SoundfontImage& image, const std::string& name) const {
    std::vector<char> bytes(image.size());
    EXPECT_TRUE(image.read(0, bytes.data(), bytes.size()));
    std::ofstream(file(name), std::ios::binary).write(bytes.data(), std::ssize(bytes));
    return file(name);
  }

  fs::path dir_;
};

struct Synth {
  explicit Synth(const std::string& soundfont) {
    settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", 44100);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    synth = new_fluid_synth(settings);
    font = fluid_synth_sfload(synth, soundfont.c_str(), 1);
  }
  ~Synth() {
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
  }
  // The piece's first seconds, interleaved stereo.
  std::vector<float> render(const std::string& midi, double seconds) {
    fluid_player_t* player = new_fluid_player(synth);
    fluid_player_add_mem(player, midi.data(), midi.size());
    fluid_player_play(player);
    std::vector<float> out(static_cast<std::size_t>(seconds * 44100) / 512 * 512 * 2);
    for (std::size_t at = 0; at < out.size(); at += 1024)
      fluid_synth_write_float(synth, 512, out.data() + at, 0, 2, out.data() + at, 1, 2);
    delete_fluid_player(player);
    return out;
  }
  // Bank and program of every preset of the loaded soundfont.
  std::set<std::pair<int, int>> presets() const {
    std::set<std::pair<int, int>> found;
    fluid_sfont_t* sfont = fluid_synth_get_sfont_by_id(synth, font);
    fluid_sfont_iteration_start(sfont);
    while (fluid_preset_t* p = fluid_sfont_iteration_next(sfont))
      found.emplace(fluid_preset_get_banknum(p), fluid_preset_get_num(p));
    return found;
  }

  fluid_settings_t* settings;
  fluid_synth_t* synth;
  int font;
};

std::optional<MidiPiece> piece(const std::string& midi) {
  return readMidiPiece(std::span(reinterpret_cast<const std::uint8_t*>(midi.data()), midi.size()));
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Piano (program 0, never set), a guitar and a bass on two keys each, drums on three.
std::string band() {
  MidiTrack t;
  t.at(0, {0xC1, 25}).at(0, {0xC2, 33});
  for (std::uint32_t beat = 0; beat < 4; ++beat) {
    const std::uint32_t at = beat * 480;
    t.at(at, {0x90, static_cast<std::uint8_t>(60 + 4 * beat), 100})
        .at(at, {0x91, static_cast<std::uint8_t>(beat % 2 ? 64 : 67), 90})
        .at(at, {0x92, 40, 110})
        .at(at, {0x99, 36, 120})
        .at(at + 240, {0x99, static_cast<std::uint8_t>(beat % 2 ? 38 : 42), 100})
        .at(at + 400, {0x80, static_cast<std::uint8_t>(60 + 4 * beat), 0});
  }
  return testing::midiFile({t.chunk(1920)});
}

TEST_F(SoundfontTest, APieceSoundsTheSameFromItsOwnSoundfont) {
  const char* whole = systemSoundfont();
  if (!whole) GTEST_SKIP() << "no General MIDI soundfont installed";
  const auto soundfont = Soundfont::read(whole);
  ASSERT_TRUE(soundfont);
  std::vector<std::pair<std::string, std::string>> pieces = {
      {"band", band()}, {"organ", testing::organPiece(0, 600, 1000, 69)}};
  // The game's own music, as delivered.
  for (const char* name : {"1r.mid", "2r.mid", "3r.mid", "4r.mid", "Final.mid"}) {
    const fs::path path = fs::path(TERVANO_DATA_TREE) / "tervano" / "hdb" / name;
    if (fs::exists(path)) pieces.emplace_back(name, readFile(path.string()));
  }
  for (const auto& [name, midi] : pieces) {
    Synth reference(whole);
    ASSERT_NE(reference.font, FLUID_FAILED);
    const auto use = piece(midi);
    ASSERT_TRUE(use) << name;
    SoundfontImage image = soundfont->subset(use->melodic, use->drums);
    EXPECT_LT(image.size(), fs::file_size(whole) / 3) << name;
    Synth own(writeImage(image, name + ".sf2"));
    ASSERT_NE(own.font, FLUID_FAILED) << name;
    const std::vector<float> expected = reference.render(midi, 4.0);
    const std::vector<float> heard = own.render(midi, 4.0);
    double energy = 0;
    for (float v : expected)
      energy += double(v) * v;
    EXPECT_GT(energy, 1.0) << name << " is heard at all";
    EXPECT_TRUE(heard == expected) << name << " sounds different from its own soundfont";
  }
}

TEST_F(SoundfontTest, KeepsThePresetsOfTheProgramsInTheirBanks) {
  const char* whole = systemSoundfont();
  if (!whole) GTEST_SKIP() << "no General MIDI soundfont installed";
  const auto soundfont = Soundfont::read(whole);
  ASSERT_TRUE(soundfont);
  Synth all(whole);
  EXPECT_EQ(soundfont->presetCount(), all.presets().size());

  ChannelUse melodic, drums;
  melodic.programs.set(0).set(24).set(40);
  drums.programs.set(0).set(24);
  melodic.keys.set(60);
  drums.keys.set(36);
  SoundfontImage image = soundfont->subset(melodic, drums);
  Synth part(writeImage(image, "part.sf2"));
  std::set<std::pair<int, int>> expected;
  for (const auto& [bank, program] : all.presets()) {
    if ((bank == 128 ? drums : melodic).programs.test(static_cast<std::size_t>(program)))
      expected.emplace(bank, program);
  }
  EXPECT_FALSE(expected.empty());
  EXPECT_EQ(part.presets(), expected);
  // What the image holds can itself be taken apart again.
  const auto again = Soundfont::read(file("part.sf2"));
  ASSERT_TRUE(again);
  EXPECT_EQ(again->presetCount(), expected.size());
}

TEST_F(SoundfontTest, BrokenOrForeignFilesAreNotTakenApart) {
  const char* whole = systemSoundfont();
  if (!whole) GTEST_SKIP() << "no General MIDI soundfont installed";
  const std::string good = readFile(whole);
  ASSERT_TRUE(Soundfont::read(whole));
  // Where a header chunk starts, found by its tag after the last "pdta".
  const std::size_t pdta = good.rfind("pdta");
  ASSERT_NE(pdta, std::string::npos);
  auto at = [&](const char* tag) { return good.find(tag, pdta); };
  std::string badInstrument = good;
  // The first instrument generator of a preset, made to point past every instrument.
  const std::size_t pgen = at("pgen") + 8;
  for (std::size_t g = pgen; g + 4 <= at("inst"); g += 4) {
    if (static_cast<unsigned char>(good[g]) == 41 && good[g + 1] == 0) {
      badInstrument[g + 2] = '\xFF';
      badInstrument[g + 3] = '\x7F';
      break;
    }
  }
  std::string badBag = good;
  badBag[at("phdr") + 8 + 24] = '\xFF';  // the first preset's bags begin past the bag list
  badBag[at("phdr") + 8 + 25] = '\x7F';
  std::string wrongSize = good;
  wrongSize[at("pbag") + 4] = 3;  // not a whole number of records
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"empty", ""},
      {"not a RIFF file", "MThd" + good.substr(4, 1000)},
      {"RIFF of another kind", good.substr(0, 8) + "WAVE" + good.substr(12)},
      {"only the header", good.substr(0, 12)},
      {"cut before its headers", good.substr(0, good.size() / 2)},
      {"an instrument past the list", badInstrument},
      {"bags past the list", badBag},
      {"a chunk of broken records", wrongSize},
  };
  for (const auto& [name, bytes] : cases) {
    std::ofstream(file("case.sf2"), std::ios::binary | std::ios::trunc)
        .write(bytes.data(), std::ssize(bytes));
    EXPECT_FALSE(Soundfont::read(file("case.sf2"))) << name;
  }
  EXPECT_FALSE(Soundfont::read(file("missing.sf2")));
  fs::create_directories(file("folder.sf2"));
  EXPECT_FALSE(Soundfont::read(file("folder.sf2")));
}

}  // namespace
}  // namespace tervano::sound
