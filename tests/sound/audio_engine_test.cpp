// The audio engine against the disk driver, which writes the mixed output to a file in real
// time: what the engine sends to the device can be read back and measured.
#include "sound/audio_engine.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio_files.h"
#include "sound/soundfont.h"

namespace tervano::sound {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::organPiece;
using testing::Output;
using testing::tone;
using testing::wavFile;
using testing::writeFile;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Waits for something that must happen; the limit only keeps a broken engine from hanging the
// test, it is no measure of speed.
template <typename Condition>
bool eventually(Condition condition) {
  const auto giveUp = Clock::now() + 60s;
  while (!condition()) {
    if (Clock::now() > giveUp) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

// Opens the engine's devices as the engine would, and counts the frames each one takes from the
// mixer: the device's own clock, which a loaded machine slows down together with the engine.
class CountingOpener {
 public:
  PcmOpener opener() {
    return [this](const std::string& driver, int rate, int period, PcmSource source) {
      return PcmDevice::open(driver, rate, period,
                             [this, source = std::move(source)](float* out, int frames) {
                               source(out, frames);
                               frames_ += static_cast<std::uint64_t>(frames);
                             });
    };
  }
  std::uint64_t frames() const { return frames_; }

 private:
  std::atomic<std::uint64_t> frames_{0};
};

// A held organ note measures about 0.018 RMS; silence stays below 0.0005.
constexpr double kSounding = 0.005;
constexpr double kQuiet = 0.001;

class AudioEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           ("tervano-audio-" + std::to_string(getpid()) + "-" + info->name());
    fs::create_directories(dir_);
    setenv("TERVANO_AUDIO_DRIVER", "disk", 1);
    setenv("TERVANO_AUDIO_FILE", output().c_str(), 1);
  }
  void TearDown() override {
    unsetenv("TERVANO_AUDIO_DRIVER");
    unsetenv("TERVANO_AUDIO_FILE");
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  std::string file(const std::string& name) const { return (dir_ / name).string(); }
  std::string output() const { return file("output.raw"); }
  std::size_t written() const {
    std::error_code ec;
    const auto size = fs::file_size(output(), ec);
    return ec ? 0 : static_cast<std::size_t>(size);
  }
  // The output is the clock: waits until `seconds` of it have been written since `from`.
  void waitFor(std::size_t from, double seconds) const {
    const auto bytes = static_cast<std::size_t>(seconds * 44100) * 8;
    if (!eventually([&] { return written() >= from + bytes; })) {
      ADD_FAILURE() << "the device stopped writing";
    }
  }
  Output outputSince(std::size_t from, const AudioEngine& engine, std::size_t to = SIZE_MAX) const {
    return Output::read(output(), from, engine.sampleRate(), to);
  }
  // Writes a file into the test's folder and returns its path.
  std::string put(const std::string& name, const std::string& bytes) const {
    writeFile(file(name), bytes);
    return file(name);
  }
  static int wholeSoundfontPresets() {
    for (const char* path :
         {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"}) {
      if (const auto sf = Soundfont::read(path)) return static_cast<int>(sf->presetCount());
    }
    return 0;
  }
  static bool haveSoundfont() {
    return fs::exists("/usr/share/sounds/sf2/default-GM.sf2") ||
           fs::exists("/usr/share/sounds/sf2/TimGM6mb.sf2");
  }

  fs::path dir_;
};

TEST_F(AudioEngineTest, CueSamplesAreAllOutputBeforeTheCallReturns) {
  // A cue is synchronous: when playWavSync returns, every sample of it has gone to the device and
  // nothing of it follows. Mono 22.05 kHz 16-bit is converted to the mixer's stereo 44.1 kHz.
  AudioEngine engine;
  ASSERT_EQ(engine.driver(), "disk");
  ASSERT_EQ(engine.sampleRate(), 44100);
  const std::string cue = put("a.wav", wavFile(22050, 1, tone(440, 0.4, 22050, {0.5})));

  const std::size_t before = written();
  const auto start = Clock::now();
  EXPECT_TRUE(engine.playWavSync(cue));
  const double elapsed = secondsSince(start);
  const std::size_t after = written();

  const Output atReturn = outputSince(before, engine);
  const std::size_t cueFrames = 17640;  // 0.4 s at 44.1 kHz
  EXPECT_NEAR(double(atReturn.soundingFrames()), double(cueFrames), 60);
  EXPECT_NEAR(atReturn.peak(), 0.5, 0.02);
  EXPECT_NEAR(double(atReturn.zeroCrossings()), 2 * 440 * 0.4, 4);
  for (std::size_t f = 0; f < atReturn.frames(); ++f) {
    // Equal but for the synthesizer's reverb floor.
    ASSERT_NEAR(atReturn.left(f), atReturn.right(f), 1e-6) << "mono on both channels, frame " << f;
  }
  EXPECT_GE(after - before, cueFrames * 8) << "the device consumed the whole cue";
  // The disk driver runs a little ahead of the clock; a cue can still not return much earlier
  // than it lasts.
  EXPECT_GE(elapsed, 0.35);

  waitFor(after, 0.2);
  EXPECT_EQ(outputSince(before, engine).soundingFrames(), atReturn.soundingFrames())
      << "nothing of the cue came after the return";
  EXPECT_FALSE(engine.hasSynth()) << "cues need no synthesizer";

  // Stereo at 48 kHz keeps its channels apart and its length.
  const std::string stereo = put("b.wav", wavFile(48000, 2, tone(1000, 0.3, 48000, {0.25, 0.5})));
  const std::size_t before2 = written();
  EXPECT_TRUE(engine.playWavSync(stereo));
  const Output second = outputSince(before2, engine);
  EXPECT_NEAR(double(second.soundingFrames()), 0.3 * 44100, 60);
  float left = 0, right = 0;
  for (std::size_t f = 0; f < second.frames(); ++f) {
    left = std::max(left, std::fabs(second.left(f)));
    right = std::max(right, std::fabs(second.right(f)));
  }
  EXPECT_NEAR(left, 0.25, 0.02);
  EXPECT_NEAR(right, 0.5, 0.02);
}

TEST_F(AudioEngineTest, ACueStartedWhileAnotherPlaysReplacesIt) {
  // The replaced cue stops sounding where the new one begins, and its caller returns then, not at
  // the end of its own twenty seconds.
  AudioEngine engine;
  const std::string longCue = put("long.wav", wavFile(44100, 1, tone(300, 20.0, 44100, {0.25})));
  const std::string shortCue = put("short.wav", wavFile(44100, 1, tone(300, 0.2, 44100, {0.5})));
  const std::size_t before = written();

  std::size_t longReturned = 0;
  bool longResult = false;
  std::thread first([&] {
    longResult = engine.playWavSync(longCue);
    longReturned = written();
  });
  // Into the long cue by 0.2 s.
  EXPECT_TRUE(eventually([&] { return outputSince(before, engine).soundingFrames() >= 8820; }));
  EXPECT_TRUE(engine.playWavSync(shortCue));
  first.join();
  EXPECT_TRUE(longResult);
  EXPECT_LT(longReturned, before + std::size_t{20 * 44100 * 8})
      << "the replaced cue's caller waited for its own end";

  waitFor(written(), 0.1);
  const Output out = outputSince(before, engine);
  const std::size_t shortStart = [&] {
    for (std::size_t f = 0; f < out.frames(); ++f) {
      if (std::fabs(out.left(f)) > 0.3) return f;
    }
    return out.frames();
  }();
  ASSERT_LT(shortStart, out.frames()) << "the second cue was played";
  EXPECT_NEAR(double(out.lastSoundingFrame() - shortStart), 8820, 60)
      << "the second cue played whole, and nothing of the first came after it";
}

TEST_F(AudioEngineTest, MissingOrBrokenCueReturnsFalseAndSoundsNothing) {
  // Refused before the device is even asked for: a closed device stays closed.
  AudioEngine engine({.idleClose = 1ms});
  const std::string valid = wavFile(22050, 1, tone(440, 1.0, 22050, {0.5}));
  const std::string garbage = put("garbage.wav", std::string("RIFF\x10\0\0\0WAVEjunkjunkjunk", 24));
  const std::string cut = put("cut.wav", valid.substr(0, 30));
  fs::create_directories(file("folder.wav"));
  ASSERT_TRUE(eventually([&] { return !engine.deviceOpen(); }));

  const std::size_t before = written();
  EXPECT_FALSE(engine.playWavSync(file("missing.wav")));
  EXPECT_FALSE(engine.playWavSync(garbage));
  EXPECT_FALSE(engine.playWavSync(cut));
  EXPECT_FALSE(engine.playWavSync(file("folder.wav")));
  EXPECT_FALSE(engine.playWavSync(""));
  EXPECT_FALSE(engine.deviceOpen());
  EXPECT_EQ(written(), before);
}

TEST_F(AudioEngineTest, MusicSoundsOnlyAfterPlayAndLoopsByItself) {
  if (!haveSoundfont()) GTEST_SKIP() << "no General MIDI soundfont installed";
  AudioEngine engine;
  EXPECT_FALSE(engine.hasSynth()) << "the synthesizer waits for the first piece";
  // One second: a note for the first quarter, then silence.
  const std::string piece = put("piece.mid", organPiece(0, 250, 1000));
  ASSERT_TRUE(engine.music().open(piece));
  EXPECT_TRUE(engine.music().isOpen());
  EXPECT_TRUE(engine.hasSynth());
  // The organ, the piano every channel starts on and the drum kit: a few of the soundfont's
  // presets, not all of them.
  EXPECT_GT(engine.loadedPresets(), 0);
  EXPECT_LT(engine.loadedPresets(), wholeSoundfontPresets() / 10);

  const std::size_t opened = written();
  waitFor(opened, 0.3);
  const std::size_t played = written();
  EXPECT_LT(outputSince(opened, engine, played).rms(0, 1), kQuiet) << "open does not play";

  engine.music().play();
  waitFor(played, 2.3);
  const Output out = outputSince(played, engine);
  for (int pass = 0; pass < 3; ++pass) {
    EXPECT_GT(out.rms(pass + 0.03, pass + 0.2), kSounding) << "the note of pass " << pass;
    if (pass < 2) {
      EXPECT_LT(out.rms(pass + 0.6, pass + 0.95), kQuiet) << "the rest of pass " << pass;
    }
  }
}

TEST_F(AudioEngineTest, StopSilencesAtOnceAndPlayGoesOnFromThere) {
  if (!haveSoundfont()) GTEST_SKIP() << "no General MIDI soundfont installed";
  AudioEngine engine;
  // Two notes: 300-600 ms and 1000-1300 ms of a 1.5 s piece.
  testing::MidiTrack track;
  auto tick = [](int ms) { return static_cast<std::uint32_t>(ms * 480 / 500); };
  track.at(0, {0xC0, 16})
      .at(tick(300), {0x90, 69, 110})
      .at(tick(600), {0x80, 69, 0})
      .at(tick(1000), {0x90, 72, 110})
      .at(tick(1300), {0x80, 72, 0});
  const std::string piece = put("two.mid", testing::midiFile({track.chunk(tick(1500))}));
  ASSERT_TRUE(engine.music().open(piece));

  const std::size_t started = written();
  engine.music().play();
  waitFor(started, 0.15);
  engine.music().play();  // already playing: no restart
  waitFor(started, 0.45);
  const Output first = outputSince(started, engine);
  EXPECT_GT(first.rms(0.33, 0.42), kSounding) << "the first note came on time";

  engine.music().stop();  // in the middle of the first note
  const std::size_t stopped = written();
  EXPECT_TRUE(engine.music().isOpen());
  waitFor(stopped, 0.3);
  EXPECT_LT(outputSince(stopped, engine).rms(0.05, 0.3), kQuiet) << "the held note was cut";

  const std::size_t resumed = written();
  engine.music().play();
  waitFor(resumed, 0.9);
  const Output after = outputSince(resumed, engine);
  // From about 450 ms on, the second note is next (in about 550 ms); from the start, the first
  // note would come after 300 ms.
  EXPECT_LT(after.rms(0.05, 0.45), kQuiet);
  EXPECT_GT(after.rms(0.62, 0.8), kSounding);
}

TEST_F(AudioEngineTest, OpeningAnotherPieceReplacesTheFirstAndCloseSilences) {
  if (!haveSoundfont()) GTEST_SKIP() << "no General MIDI soundfont installed";
  AudioEngine engine;
  const std::string held = put("held.mid", organPiece(0, 1000, 1000));
  const std::string late = put("late.mid", organPiece(400, 700, 1000, 81));
  ASSERT_TRUE(engine.music().open(held));
  const std::size_t first = written();
  engine.music().play();
  waitFor(first, 0.3);

  ASSERT_TRUE(engine.music().open(late));
  EXPECT_TRUE(engine.music().isOpen());
  const std::size_t switched = written();
  engine.music().play();
  waitFor(switched, 0.8);
  const Output out = outputSince(switched, engine);
  EXPECT_LT(out.rms(0.05, 0.35), kQuiet) << "the first piece and its held note are gone";
  EXPECT_GT(out.rms(0.45, 0.65), kSounding) << "the second piece plays from its start";

  engine.music().close();
  EXPECT_FALSE(engine.music().isOpen());
  const std::size_t closed = written();
  engine.music().play();  // nothing to play
  engine.music().stop();
  waitFor(closed, 1.0);
  const Output rest = outputSince(closed, engine);
  EXPECT_LT(rest.rms(0.05, 1.0), kQuiet);
}

TEST_F(AudioEngineTest, MissingOrBrokenPiecesLeaveThePlayerClosedAndSilent) {
  if (!haveSoundfont()) GTEST_SKIP() << "no General MIDI soundfont installed";
  AudioEngine engine;
  const std::string good = organPiece(0, 1000, 1000);
  const std::string track = good.substr(14);
  const std::string piece = put("good.mid", good);
  const std::vector<std::string> bad = {
      file("missing.mid"),
      put("garbage.mid", "MThd junk that is no music"),
      put("cut.mid", good.substr(0, good.size() - 6)),
      // No length: it would restart endlessly in the audio callback.
      put("empty.mid", testing::midiFile({testing::MidiTrack().chunk(0)})),
      // Standard, but beyond what FluidSynth reads: a longer header and a foreign chunk. Its
      // looping player would retry them endlessly in the audio callback.
      put("long.mid", std::string("MThd\0\0\0\x08\0\0\0\x01\x01\xE0xx", 16) + track),
      put("foreign.mid", good.substr(0, 14) +
                             std::string("XFIH\0\0\0\x02"
                                         "ab",
                                         10) +
                             track),
      file("folder.mid"),
      "",
  };
  fs::create_directories(file("folder.mid"));

  ::testing::internal::CaptureStdout();
  const bool opened = engine.music().open(piece);
  std::vector<std::string> accepted;
  bool leftOpen = false;
  for (const std::string& path : bad) {
    if (engine.music().open(path)) accepted.push_back(path);
    leftOpen = leftOpen || engine.music().isOpen();
  }
  const std::size_t before = written();
  engine.music().play();
  waitFor(before, 0.3);
  const std::string printed = ::testing::internal::GetCapturedStdout();

  EXPECT_TRUE(opened);
  EXPECT_EQ(accepted, std::vector<std::string>{});
  EXPECT_FALSE(leftOpen) << "a failed open leaves the player closed, the open piece too";
  EXPECT_LT(outputSince(before, engine).rms(0, 1), kQuiet);
  EXPECT_EQ(printed, "");
}

TEST_F(AudioEngineTest, WithoutSoundfontCuesStillPlayAndMusicCannotOpen) {
  const std::string piece = put("good.mid", organPiece(0, 1000, 1000));
  const std::string cue = put("a.wav", wavFile(44100, 1, tone(440, 0.2, 44100, {0.5})));
  writeFile(file("broken.sf2"), std::string("RIFF\x04\0\0\0sfbk", 12));

  for (const std::string& soundfont : {file("missing.sf2"), file("broken.sf2")}) {
    ::testing::internal::CaptureStdout();
    AudioEngine engine({.soundfont = soundfont});
    const bool opened = engine.music().open(piece);
    engine.music().play();
    const std::size_t before = written();
    const bool played = engine.playWavSync(cue);
    const std::string printed = ::testing::internal::GetCapturedStdout();

    EXPECT_TRUE(engine.hasDevice());
    EXPECT_FALSE(engine.hasSynth()) << soundfont;
    EXPECT_FALSE(opened) << soundfont;
    EXPECT_FALSE(engine.music().isOpen());
    EXPECT_TRUE(played);
    EXPECT_NEAR(double(outputSince(before, engine).soundingFrames()), 0.2 * 44100, 60) << soundfont;
    EXPECT_EQ(printed, "");
  }
}

TEST_F(AudioEngineTest, DevicesThatDoNotPlayStillKeepTime) {
  // Without a sound card the silent dummy driver stands in; ALSA's "null" device takes any amount
  // at once. Either way a cue lasts as long as it would on a card, and music can be played.
  struct Case {
    const char* driver;
    const char* device;
    const char* expected;
  };
  for (const Case& c :
       {Case{"tervano-no-such-driver", nullptr, "dummy"}, Case{"alsa", "null", "alsa"}}) {
    SCOPED_TRACE(c.driver);
    setenv("TERVANO_AUDIO_DRIVER", c.driver, 1);
    if (c.device) setenv("AUDIODEV", c.device, 1);
    CountingOpener device;
    AudioEngine engine({.openDevice = device.opener()});
    unsetenv("AUDIODEV");
    EXPECT_TRUE(engine.hasDevice());
    EXPECT_EQ(engine.driver(), c.expected);
    const std::string cue = put("a.wav", wavFile(44100, 1, tone(440, 0.4, 44100, {0.5})));

    const std::uint64_t before = device.frames();
    const auto start = Clock::now();
    EXPECT_TRUE(engine.playWavSync(cue));
    const double elapsed = secondsSince(start);
    EXPECT_GE(device.frames() - before, 17640u) << "the whole cue went to the device";
    // A device's buffer may hold the cue's end: it returns when the last sample went in.
    EXPECT_GE(elapsed, 0.3) << "the device consumes samples in real time";
    EXPECT_FALSE(engine.playWavSync(file("missing.wav")));

    if (haveSoundfont()) {
      const std::string piece = put("good.mid", organPiece(0, 1000, 1000));
      EXPECT_TRUE(engine.music().open(piece));
      engine.music().play();
      std::this_thread::sleep_for(50ms);
      engine.music().stop();
      engine.music().close();
    }
  }
}

// What the player reads on the terminal: with a device nothing at all; without a sound card one
// Czech line saying that the program plays silently, not the libraries' reports (ALSA prints a
// screen of them when its card is missing). Each run is a fresh process, as the program is.
TEST_F(AudioEngineTest, WithoutASoundCardOneCzechLineWithADeviceNone) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string cue = put("a.wav", wavFile(44100, 1, tone(440, 0.1, 44100, {0.5})));
  auto run = [&cue](const char* driver, const char* device) {
    setenv("TERVANO_AUDIO_DRIVER", driver, 1);
    if (device) setenv("AUDIODEV", device, 1);
    {
      AudioEngine engine;
      if (!engine.playWavSync(cue)) std::exit(1);
    }
    AudioEngine again;  // said once, however often the device is looked for
    std::exit(0);
  };
  // A driver that opens (the disk driver of the other cases announces itself).
  EXPECT_EXIT(run("dummy", nullptr), ::testing::ExitedWithCode(0), ::testing::Eq(""));
  EXPECT_EXIT(run("alsa", "tervano_no_such_card"), ::testing::ExitedWithCode(0),
              ::testing::Eq("Tervano: zvukové zařízení nelze otevřít, program hraje potichu. "
                            "Běží-li v systému PipeWire nebo PulseAudio, nainstalujte balíček "
                            "pipewire-alsa nebo libasound2-plugins.\n"));
}

TEST_F(AudioEngineTest, AQuietDeviceIsClosedAndOpensAgainForTheNextSound) {
  // An idle program must not wake up for every buffer: without cue or music the device closes
  // after a while, and the next cue or piece opens it again.
  AudioEngine engine({.idleClose = 150ms});
  const std::string cue = put("a.wav", wavFile(44100, 1, tone(440, 0.2, 44100, {0.5})));
  EXPECT_TRUE(engine.playWavSync(cue));
  EXPECT_TRUE(engine.deviceOpen());
  EXPECT_TRUE(eventually([&] { return !engine.deviceOpen(); }));
  EXPECT_TRUE(engine.hasDevice());

  const auto start = Clock::now();
  EXPECT_TRUE(engine.playWavSync(cue));
  EXPECT_GE(secondsSince(start), 0.15);  // it really played, on a device opened again
  EXPECT_TRUE(engine.deviceOpen());

  if (!haveSoundfont()) return;
  // Playing music keeps the device open however long it plays; stopping lets it close.
  ASSERT_TRUE(engine.music().open(put("p.mid", organPiece(0, 2000, 2000))));
  engine.music().play();
  std::this_thread::sleep_for(400ms);
  EXPECT_TRUE(engine.deviceOpen());
  engine.music().stop();
  EXPECT_TRUE(eventually([&] { return !engine.deviceOpen(); }));
  engine.music().play();  // resumes on a reopened device
  EXPECT_TRUE(engine.deviceOpen());
}

TEST_F(AudioEngineTest, WithNoDeviceAtAllCuesOnlyTakeTheirTimeAndMusicStaysClosed) {
  setenv("TERVANO_AUDIO_DRIVER", "tervano-no-such-driver", 1);
  AudioEngine engine({.fallbackDriver = "tervano-no-such-fallback"});
  EXPECT_FALSE(engine.hasDevice());
  EXPECT_EQ(engine.driver(), "");
  EXPECT_EQ(engine.sampleRate(), 0);
  const std::string cue = put("a.wav", wavFile(44100, 1, tone(440, 0.4, 44100, {0.5})));

  const auto start = Clock::now();
  EXPECT_TRUE(engine.playWavSync(cue));
  EXPECT_GE(secondsSince(start), 0.4);

  // Longer than any cue: refused (false) rather than waited for ten minutes.
  const std::string endless =
      put("endless.wav", wavFile(8000, 1, std::vector<std::int16_t>(8000 * 601, 100)));
  EXPECT_FALSE(engine.playWavSync(endless));
  EXPECT_FALSE(engine.playWavSync(file("missing.wav")));

  const std::string piece = put("good.mid", organPiece(0, 1000, 1000));
  EXPECT_FALSE(engine.music().open(piece));
  EXPECT_FALSE(engine.music().isOpen());
  engine.music().play();
  engine.music().stop();
  engine.music().close();
}

// Devices whose closing the test holds up, as a sound server's stream can take a second to close.
// Each wraps a real device, whose thread goes on taking frames (silence, once the engine has let
// go of it) while the close is held: the clock by which a close that nobody releases still ends,
// after ten seconds of them. The events are logged in the order they happen.
class HeldCloses {
 public:
  PcmOpener opener() {
    return [this](const std::string& driver, int rate, int period, PcmSource source) {
      const int number = ++opened_;
      auto inner = PcmDevice::open(driver, rate, period,
                                   [this, number, source = std::move(source)](float* out, int n) {
                                     source(out, n);
                                     tick(number, out, n);
                                   });
      return inner ? std::make_unique<Held>(*this, number, std::move(inner), rate) : nullptr;
    };
  }
  void release() {
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }
  bool logged(const std::string& event) const {
    std::lock_guard lock(mutex_);
    return std::find(log_.begin(), log_.end(), event) != log_.end();
  }
  std::vector<std::string> log() const {
    std::lock_guard lock(mutex_);
    return log_;
  }

 private:
  class Held final : public PcmDevice {
   public:
    Held(HeldCloses& owner, int number, std::unique_ptr<PcmDevice> inner, int rate)
        : PcmDevice(inner->driver(), rate),
          owner_(owner),
          number_(number),
          inner_(std::move(inner)) {}
    ~Held() override {
      owner_.holdClose(number_, static_cast<std::uint64_t>(rate()) * 10);
      inner_.reset();
      owner_.add("device " + std::to_string(number_) + " closed");
    }

   private:
    HeldCloses& owner_;
    int number_;
    std::unique_ptr<PcmDevice> inner_;
  };

  void add(const std::string& event) {
    std::lock_guard lock(mutex_);
    log_.push_back(event);
  }
  // Logs each start of sound on a device.
  void tick(int number, const float* out, int n) {
    std::lock_guard lock(mutex_);
    frames_[number] += static_cast<std::uint64_t>(n);
    const bool sounding =
        std::any_of(out, out + 2 * n, [](float x) { return std::fabs(x) > 0.1f; });
    if (sounding && !sounding_[number])
      log_.push_back("device " + std::to_string(number) + " sounds");
    sounding_[number] = sounding;
    changed_.notify_all();
  }
  void holdClose(int number, std::uint64_t frames) {
    std::unique_lock lock(mutex_);
    log_.push_back("device " + std::to_string(number) + " closing");
    const std::uint64_t until = frames_[number] + frames;
    changed_.wait(lock, [&] { return released_ || frames_[number] >= until; });
  }

  std::atomic<int> opened_{0};
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::map<int, std::uint64_t> frames_;
  std::map<int, bool> sounding_;
  std::vector<std::string> log_;
  bool released_ = false;
};

TEST_F(AudioEngineTest, ACueDuringTheCloseOfTheDeviceDoesNotWaitForIt) {
  // The device closes after a quiet spell, slowly; a cue that comes meanwhile sounds on a new
  // device before the old one has closed, and the caller returns without waiting for the close.
  setenv("TERVANO_AUDIO_DRIVER", "dummy", 1);
  HeldCloses devices;
  AudioEngine engine({.idleClose = 50ms, .openDevice = devices.opener()});
  const std::string cue = put("a.wav", wavFile(44100, 1, tone(440, 0.2, 44100, {0.5})));
  EXPECT_TRUE(engine.playWavSync(cue));
  ASSERT_TRUE(eventually([&] { return devices.logged("device 1 closing"); }));

  EXPECT_TRUE(engine.playWavSync(cue));
  const bool closedFirst = devices.logged("device 1 closed");
  devices.release();
  EXPECT_FALSE(closedFirst) << "the cue waited for the close";
  ASSERT_TRUE(eventually([&] { return devices.logged("device 1 closed"); }));
  const std::vector<std::string> log = devices.log();
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + std::min<long>(4, log.size())),
            (std::vector<std::string>{"device 1 sounds", "device 1 closing", "device 2 sounds",
                                      "device 1 closed"}))
      << "the cue sounded on a new device while the old one closed, and the old one took none of "
         "it";
}

TEST_F(AudioEngineTest, EveryPieceOfTheGameSounds) {
  // The grades' music and the final as delivered, opened one after another as the game does,
  // each through the disk driver: the first two seconds of every piece are heard.
  if (!haveSoundfont()) GTEST_SKIP() << "no General MIDI soundfont installed";
  AudioEngine engine;
  for (const char* name : {"1r.mid", "2r.mid", "3r.mid", "4r.mid", "Final.mid"}) {
    SCOPED_TRACE(name);
    const fs::path piece = fs::path(TERVANO_DATA_TREE) / "tervano" / "hdb" / name;
    ASSERT_TRUE(engine.music().open(piece.string()));
    const std::size_t started = written();
    engine.music().play();
    waitFor(started, 2.0);
    engine.music().stop();
    const Output out = outputSince(started, engine);
    EXPECT_GT(out.rms(0, 2), kSounding);
    EXPECT_GT(double(out.soundingFrames()), 0.8 * out.frames()) << "silent stretches";
  }
}

}  // namespace
}  // namespace tervano::sound
