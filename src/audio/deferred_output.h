#pragma once

#include <functional>
#include <future>
#include <memory>

#include "audio/sound_output.h"

namespace tervano::audio {

// Builds the real sound output on a thread of its own: opening a device and loading a soundfont
// takes a good part of a second, which the program's start should not wait for. The building
// begins with start() or with the first cue or music call, which waits until it is ready. Should
// building fail, the program goes on without sound.
class DeferredSoundOutput : public SoundOutput {
 public:
  explicit DeferredSoundOutput(std::function<std::unique_ptr<SoundOutput>()> make);
  ~DeferredSoundOutput() override;

  // Begins building in the background, unless that has begun already.
  void start();

  bool playWavSync(const std::string& path) override;
  ui::MusicPlayer& music() override;

 private:
  SoundOutput& ready();

  std::function<std::unique_ptr<SoundOutput>()> make_;
  std::future<std::unique_ptr<SoundOutput>> building_;
  std::unique_ptr<SoundOutput> output_;
};

}  // namespace tervano::audio
