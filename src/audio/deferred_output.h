#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "audio/sound_output.h"

namespace tervano::audio {

// The real sound output, built on a thread of its own when first needed: opening a device takes a
// good part of a second, and loading a synthesizer more, which no command of the game should wait
// for. Only a cue waits, as it must sound before the game goes on. The music player answers at
// once: open checks the file on the spot, and what is asked of the player is carried out by that
// thread once the output is ready, the last wish counting (a piece opened while another waits to
// be played replaces it unheard). A player that is only opened and closed, as with the music off,
// never needs the output at all. Should building fail, the program goes on without sound.
class DeferredSoundOutput : public SoundOutput {
 public:
  explicit DeferredSoundOutput(std::function<std::unique_ptr<SoundOutput>()> make);
  ~DeferredSoundOutput() override;
  DeferredSoundOutput(const DeferredSoundOutput&) = delete;
  DeferredSoundOutput& operator=(const DeferredSoundOutput&) = delete;

  // Begins building in the background, unless that has begun already: the first cue then does
  // not wait for it.
  void start();

  bool playWavSync(const std::string& path) override;
  ui::MusicPlayer& music() override;

 private:
  class Player : public ui::MusicPlayer {
   public:
    explicit Player(DeferredSoundOutput& owner) : owner_(owner) {}
    bool open(const std::string& path) override;
    void play() override;
    void stop() override;
    void close() override;
    bool isOpen() const override;

   private:
    DeferredSoundOutput& owner_;
  };

  // What the player should be doing. Each open or close is a new generation: a piece opened again
  // starts from its beginning.
  struct Wish {
    std::uint64_t generation = 0;
    std::optional<std::string> piece;  // empty: closed
    bool playing = false;
  };
  // What the built output's player is doing.
  struct Done {
    std::uint64_t generation = 0;
    bool opened = false;
    bool playing = false;
  };

  // With the mutex held.
  void wantOutput();
  bool musicToDo() const;
  void work();
  // On the worker, without the mutex: brings the output's player to the wish; false when the
  // piece could not be opened there after all.
  bool carryOut(const Wish& wish);

  std::function<std::unique_ptr<SoundOutput>()> make_;
  std::unique_ptr<SoundOutput> output_;
  Player player_{*this};

  mutable std::mutex mutex_;
  std::condition_variable workCv_;   // wakes the worker
  std::condition_variable readyCv_;  // tells a waiting cue that the output is built
  bool outputWanted_ = false;
  bool built_ = false;
  bool stopping_ = false;
  Wish wish_;
  Done done_;  // only the worker touches it
  std::thread worker_;
};

}  // namespace tervano::audio
