// The sound output built in the background while the program starts.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "audio/deferred_output.h"

namespace tervano::audio {
namespace {

using namespace std::chrono_literals;

struct Recording : SoundOutput, ui::MusicPlayer {
  std::vector<std::string>* log;
  explicit Recording(std::vector<std::string>* l) : log(l) {}
  bool playWavSync(const std::string& path) override {
    log->push_back("cue " + path);
    return true;
  }
  ui::MusicPlayer& music() override { return *this; }
  bool open(const std::string& path) override {
    log->push_back("open " + path);
    return true;
  }
  void play() override { log->push_back("play"); }
  void stop() override {}
  void close() override {}
  bool isOpen() const override { return true; }
};

TEST(DeferredSoundOutput, IsBuiltOnAnotherThreadAndTheFirstCallWaitsForIt) {
  std::vector<std::string> log;
  std::atomic<bool> built{false};
  const auto caller = std::this_thread::get_id();
  std::thread::id builder;
  DeferredSoundOutput output([&] {
    builder = std::this_thread::get_id();
    std::this_thread::sleep_for(100ms);
    built = true;
    return std::make_unique<Recording>(&log);
  });
  EXPECT_FALSE(built);  // the constructor did not wait
  EXPECT_TRUE(output.playWavSync("a.wav"));
  EXPECT_TRUE(built);
  EXPECT_NE(builder, caller);
  output.music().open("1r.mid");
  output.music().play();
  EXPECT_EQ(log, (std::vector<std::string>{"cue a.wav", "open 1r.mid", "play"}));
}

TEST(DeferredSoundOutput, StartBeginsTheBuildWithoutWaitingForIt) {
  std::vector<std::string> log;
  std::atomic<bool> built{false};
  DeferredSoundOutput output([&] {
    std::this_thread::sleep_for(50ms);
    built = true;
    return std::make_unique<Recording>(&log);
  });
  std::this_thread::sleep_for(100ms);
  EXPECT_FALSE(built);  // nothing is built before it is asked for
  output.start();
  output.start();  // once is enough
  const auto until = std::chrono::steady_clock::now() + 5s;
  while (!built && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(5ms);
  EXPECT_TRUE(built);
  EXPECT_TRUE(output.playWavSync("b.wav"));
  EXPECT_EQ(log, (std::vector<std::string>{"cue b.wav"}));
}

TEST(DeferredSoundOutput, AFailedBuildLeavesTheProgramSilentNotBroken) {
  DeferredSoundOutput throwing(
      []() -> std::unique_ptr<SoundOutput> { throw std::runtime_error("no sound"); });
  EXPECT_FALSE(throwing.playWavSync("a.wav"));  // the caller sounds the system alert
  EXPECT_FALSE(throwing.music().open("1r.mid"));
  DeferredSoundOutput empty([] { return std::unique_ptr<SoundOutput>(); });
  EXPECT_FALSE(empty.playWavSync("a.wav"));
  EXPECT_FALSE(empty.music().isOpen());
}

}  // namespace
}  // namespace tervano::audio
