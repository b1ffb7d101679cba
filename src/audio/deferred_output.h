#pragma once

#include <functional>
#include <future>
#include <memory>

#include "audio/sound_output.h"

namespace tervano::audio {

// Builds the real sound output on a thread of its own while the program starts: opening a
// device and loading a soundfont takes a good part of a second, and a tool mode that never makes
// a sound should not wait for it. The first cue or music call waits until it is ready. Should
// building fail, the program goes on without sound.
class DeferredSoundOutput : public SoundOutput {
 public:
  explicit DeferredSoundOutput(std::function<std::unique_ptr<SoundOutput>()> make);
  ~DeferredSoundOutput() override;

  bool playWavSync(const std::string& path) override;
  ui::MusicPlayer& music() override;

 private:
  SoundOutput& ready();

  std::future<std::unique_ptr<SoundOutput>> building_;
  std::unique_ptr<SoundOutput> output_;
};

}  // namespace tervano::audio
