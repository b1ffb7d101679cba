// The sound output built in the background, and the music player that answers at once.
#include "audio/deferred_output.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "audio_files.h"
#include "program_folder.h"
#include "ui/ids.h"

namespace tervano::audio {
namespace {

using namespace std::chrono_literals;
using V = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

// Stands in for the audio engine: records what reaches it. music() is where the real engine's
// synthesizer and soundfont would be loaded, so it is counted too.
class FakeEngine : public SoundOutput, public ui::MusicPlayer {
 public:
  bool playWavSync(const std::string& path) override {
    add("cue " + std::filesystem::path(path).filename().string());
    return true;
  }
  ui::MusicPlayer& music() override {
    ++musicUses;
    return *this;
  }
  bool open(const std::string& path) override {
    add("open " + std::filesystem::path(path).filename().string());
    return opens;
  }
  void play() override { add("play"); }
  void stop() override { add("stop"); }
  void close() override { add("close"); }
  bool isOpen() const override { return true; }

  V log() const {
    std::lock_guard lock(mutex);
    return log_;
  }
  std::atomic<int> musicUses{0};
  bool opens = true;

 private:
  void add(std::string line) {
    std::lock_guard lock(mutex);
    log_.push_back(std::move(line));
  }
  mutable std::mutex mutex;
  V log_;
};

// Builds fake engines, counting them, and holds each build until the gate opens.
class Factory {
 public:
  explicit Factory(bool gateOpen = true) : open_(gateOpen) {}
  std::unique_ptr<SoundOutput> operator()() {
    builder = std::this_thread::get_id();
    {
      std::unique_lock lock(mutex_);
      gate_.wait(lock, [this] { return open_; });
    }
    ++builds;
    auto made = std::make_unique<FakeEngine>();
    made->opens = enginesOpen;
    engine = made.get();
    return made;
  }
  void openGate() {
    {
      std::lock_guard lock(mutex_);
      open_ = true;
    }
    gate_.notify_all();
  }
  std::function<std::unique_ptr<SoundOutput>()> make() {
    return [this] { return (*this)(); };
  }

  std::atomic<int> builds{0};
  std::atomic<FakeEngine*> engine{nullptr};
  std::thread::id builder;
  bool enginesOpen = true;

 private:
  std::mutex mutex_;
  std::condition_variable gate_;
  bool open_;
};

// The engine's log once it reads `expected`, the worker carrying out commands in its own time,
// and a while after, in case more is to come: a busy machine can only let a fault slip through
// here, never fail a sound engine. The minute's limit only keeps a fault from hanging the test.
V logOnceItReads(const Factory& factory, const V& expected) {
  const auto log = [&factory] {
    FakeEngine* engine = factory.engine;
    return engine ? engine->log() : V{};
  };
  const auto giveUp = Clock::now() + 60s;
  while (log() != expected && Clock::now() < giveUp)
    std::this_thread::sleep_for(5ms);
  std::this_thread::sleep_for(150ms);
  return log();
}

// Waits for something that must happen, with the same limit.
template <typename Condition>
bool eventually(Condition condition) {
  const auto giveUp = Clock::now() + 60s;
  while (!condition()) {
    if (Clock::now() > giveUp) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

class DeferredTest : public ::testing::Test {
 protected:
  std::string piece(const std::string& name) {
    const std::string path = (dir.root() / name).string();
    testing::writeFile(path, testing::organPiece(0, 500, 1000));
    return path;
  }
  testing::TempProgram dir;
};

TEST_F(DeferredTest, TheOutputIsBuiltOnAnotherThreadAndOnlyACueWaitsForIt) {
  Factory factory(false);
  const auto caller = std::this_thread::get_id();
  DeferredSoundOutput output(factory.make());
  const std::string a = piece("a.mid");
  // The player answers while nothing is built, and nothing is built for it but to play.
  EXPECT_TRUE(output.music().open(a));
  EXPECT_TRUE(output.music().isOpen());
  output.music().stop();
  output.music().close();
  EXPECT_FALSE(output.music().isOpen());
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(factory.builds, 0);

  std::thread opener([&] {
    std::this_thread::sleep_for(100ms);
    factory.openGate();
  });
  const auto start = Clock::now();
  EXPECT_TRUE(output.playWavSync("x/hlasen.wav"));
  EXPECT_GE(Clock::now() - start, 90ms) << "the cue waited for the output";
  opener.join();
  EXPECT_EQ(factory.builds, 1);
  EXPECT_NE(factory.builder, caller);
  EXPECT_EQ(logOnceItReads(factory, V{"cue hlasen.wav"}), (V{"cue hlasen.wav"}));
}

TEST_F(DeferredTest, StartBeginsTheBuildWithoutWaitingForIt) {
  Factory factory;
  DeferredSoundOutput output(factory.make());
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(factory.builds, 0);  // nothing is built before it is asked for
  output.start();
  output.start();  // once is enough
  EXPECT_TRUE(eventually([&] { return factory.builds > 0; }));
  EXPECT_EQ(factory.builds, 1);
  EXPECT_TRUE(output.playWavSync("b.wav"));
  EXPECT_EQ(factory.builds, 1);
  EXPECT_EQ(logOnceItReads(factory, V{"cue b.wav"}), (V{"cue b.wav"}));
}

TEST_F(DeferredTest, OpenAnswersFromTheFileItself) {
  DeferredSoundOutput output([]() -> std::unique_ptr<SoundOutput> {
    ADD_FAILURE() << "an open alone builds nothing";
    return nullptr;
  });
  const std::string good = testing::organPiece(0, 500, 1000);
  testing::writeFile((dir.root() / "garbage.mid").string(), "MThd junk that is no music");
  testing::writeFile((dir.root() / "cut.mid").string(), good.substr(0, good.size() - 6));
  testing::writeFile((dir.root() / "short.mid").string(), testing::organPiece(0, 10, 20));
  std::filesystem::create_directories(dir.root() / "folder.mid");
  const struct {
    std::string file;
    bool playable;
  } cases[] = {
      {piece("good.mid"), true}, {"garbage.mid", false}, {"cut.mid", false},
      {"short.mid", false},      {"folder.mid", false},  {"missing.mid", false},
  };
  for (const auto& c : cases) {
    const std::string path = c.file.front() == '/' ? c.file : (dir.root() / c.file).string();
    EXPECT_EQ(output.music().open(path), c.playable) << c.file;
    EXPECT_EQ(output.music().isOpen(), c.playable) << c.file;
  }
  EXPECT_FALSE(output.music().open(""));
}

TEST_F(DeferredTest, TheEngineGetsTheLastWishOnceItIsReady) {
  // Commands given while the output is being built, and what reaches the engine once it is.
  const std::string a = piece("a.mid");
  const std::string b = piece("b.mid");
  const struct {
    const char* name;
    std::function<void(ui::MusicPlayer&)> commands;
    V engine;
  } cases[] = {
      {"open and play",
       [&](ui::MusicPlayer& m) {
         m.open(a);
         m.play();
       },
       {"open a.mid", "play"}},
      {"stopped and played again",
       [&](ui::MusicPlayer& m) {
         m.open(a);
         m.play();
         m.stop();
         m.play();
         m.stop();
         m.play();
       },
       {"open a.mid", "play"}},
      {"another piece before the first was heard",
       [&](ui::MusicPlayer& m) {
         m.open(a);
         m.play();
         m.stop();
         m.close();
         m.open(b);
         m.play();
       },
       {"open b.mid", "play"}},
      {"played, then stopped",
       [&](ui::MusicPlayer& m) {
         m.open(a);
         m.play();
         m.stop();
       },
       {}},
      {"played, then closed",
       [&](ui::MusicPlayer& m) {
         m.open(a);
         m.play();
         m.close();
       },
       {}},
      {"an unplayable piece replaces the playing one",
       [&](ui::MusicPlayer& m) {
         m.open(a);
         m.play();
         m.open(a + ".missing");
         m.play();
       },
       {}},
  };
  for (const auto& c : cases) {
    Factory factory(false);
    DeferredSoundOutput output(factory.make());
    output.start();
    c.commands(output.music());
    factory.openGate();
    EXPECT_EQ(logOnceItReads(factory, c.engine), c.engine) << c.name;
  }
}

TEST_F(DeferredTest, AReadyEngineFollowsEachCommandInTurn) {
  const std::string a = piece("a.mid");
  const std::string b = piece("b.mid");
  Factory factory;
  DeferredSoundOutput output(factory.make());
  ui::MusicPlayer& m = output.music();
  const struct {
    std::function<void()> command;
    V added;
  } steps[] = {
      {[&] {
         m.open(a);
         m.play();
       },
       {"open a.mid", "play"}},
      {[&] { m.stop(); }, {"stop"}},
      {[&] { m.play(); }, {"play"}},  // goes on from where it stopped: no new open
      {[&] { m.play(); }, {}},
      {[&] {
         m.open(a);
         m.play();
       },
       {"close", "open a.mid", "play"}},  // from its start again
      {[&] { m.open(b); }, {"close"}},    // the new piece is not needed before it plays
      {[&] { m.close(); }, {}},
      {[&] { m.play(); }, {}},  // nothing open
  };
  V expected;
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    steps[i].command();
    expected.insert(expected.end(), steps[i].added.begin(), steps[i].added.end());
    EXPECT_EQ(logOnceItReads(factory, expected), expected) << "after step " << i;
  }
  EXPECT_EQ(factory.builds, 1);
}

TEST_F(DeferredTest, AFailedBuildOrOpenLeavesTheProgramSilentNotBroken) {
  const std::string a = piece("a.mid");
  DeferredSoundOutput throwing(
      []() -> std::unique_ptr<SoundOutput> { throw std::runtime_error("no sound"); });
  EXPECT_FALSE(throwing.playWavSync("a.wav"));  // the caller sounds the system alert
  DeferredSoundOutput empty([] { return std::unique_ptr<SoundOutput>(); });
  EXPECT_TRUE(empty.music().open(a));
  empty.music().play();
  EXPECT_FALSE(empty.playWavSync("a.wav"));

  // The engine could not open the piece after all (its synthesizer reads less than the check):
  // the player is then closed, as after an open that failed at once.
  Factory factory;
  factory.enginesOpen = false;
  DeferredSoundOutput refusing(factory.make());
  EXPECT_TRUE(refusing.music().open(a));
  refusing.music().play();
  EXPECT_EQ(logOnceItReads(factory, V{"open a.mid"}), (V{"open a.mid"}));
  EXPECT_FALSE(refusing.music().isOpen());
  for (DeferredSoundOutput* output : {&empty, &refusing}) {
    EXPECT_TRUE(eventually([output] { return !output->music().isOpen(); }));
  }
}

// The game itself, with its sound going through a deferred output around fake engines.
class DeferredHost : public testing::FakeHost {
 public:
  explicit DeferredHost(DeferredSoundOutput& output) : output_(output) {}
  ui::MusicPlayer& music() override { return output_.music(); }
  void playWavSync(const std::string& path) override {
    FakeHost::playWavSync(path);
    output_.playWavSync(path);
  }

 private:
  DeferredSoundOutput& output_;
};

struct DeferredGame {
  explicit DeferredGame(Factory& factory) : output(factory.make()), host(output) {
    dir.makeSet({1, 1, 1, 1});
    for (auto name : {"1r.mid", "2r.mid", "3r.mid", "4r.mid", "Final.mid"})
      dir.writeBytes(std::string("tervano/hdb/") + name, testing::organPiece(0, 500, 1000));
  }
  // Loads a saved game in grade I at the program's start.
  void load(bool music, bool sound) {
    auto rec = testing::record("1", "1");
    rec[0] = music ? "A" : "N";
    rec[6] = sound ? "A" : "N";
    host.pick(dir.makeSave("hra", rec));
    app = std::make_unique<app::Application>(host, ProgramFolder(dir.root()),
                                             TextList{dir.path("tervano-hra")});
    app->startProgram();
  }
  void solve() {
    app->edit(id::kAnswerArea, "c a t\r\nd o g");
    app->click(id::kKontrola);
  }

  testing::TempProgram dir;
  DeferredSoundOutput output;
  DeferredHost host;
  std::unique_ptr<app::Application> app;
};

TEST(DeferredGame, LoadingAGameWithTheMusicOffNeverNeedsTheMusic) {
  Factory factory;
  DeferredGame game(factory);
  game.load(false, true);
  // The music steps of the load went by: the grade's piece was chosen, opened and closed.
  EXPECT_EQ(game.app->controls().text(id::kRecordFile), game.dir.path("tervano/hdb/1r.mid"));
  EXPECT_FALSE(game.output.music().isOpen());
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(factory.builds, 0) << "nothing sounded, nothing was built";

  // The window's first paint starts the output for the cues; a check sounds them.
  game.output.start();
  game.host.cancel();
  game.solve();
  EXPECT_FALSE(game.host.only({"cue"}).empty());
  EXPECT_EQ(factory.builds, 1);
  ASSERT_NE(factory.engine.load(), nullptr);
  EXPECT_EQ(factory.engine.load()->musicUses, 0) << "no synthesizer, no soundfont";
  // The cues are in the log as they return; nothing else may follow.
  std::this_thread::sleep_for(150ms);
  for (const std::string& line : factory.engine.load()->log())
    EXPECT_EQ(line.rfind("cue ", 0), 0u) << line;
}

TEST(DeferredGame, AMusicSwitchWhileTheEngineIsBuiltPlaysTheLastPieceOnce) {
  Factory factory(false);
  DeferredGame game(factory);
  game.load(true, false);  // grade I's piece is to play
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(factory.builds, 0) << "still building";
  game.host.cancel();
  game.solve();  // the grade is finished: grade II's piece
  EXPECT_EQ(game.app->controls().text(id::kGrade), "2");
  factory.openGate();
  EXPECT_EQ(logOnceItReads(factory, V{"open 2r.mid", "play"}), (V{"open 2r.mid", "play"}));
  EXPECT_TRUE(game.output.music().isOpen());
}

}  // namespace
}  // namespace tervano::audio
