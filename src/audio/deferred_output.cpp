#include "audio/deferred_output.h"

namespace tervano::audio {

namespace {

// What is left when the sound output could not be built: no cue and no music.
class NoOutput : public SoundOutput, public ui::MusicPlayer {
 public:
  bool playWavSync(const std::string&) override { return false; }
  ui::MusicPlayer& music() override { return *this; }
  bool open(const std::string&) override { return false; }
  void play() override {}
  void stop() override {}
  void close() override {}
  bool isOpen() const override { return false; }
};

}  // namespace

DeferredSoundOutput::DeferredSoundOutput(std::function<std::unique_ptr<SoundOutput>()> make)
    : make_(std::move(make)) {}

void DeferredSoundOutput::start() {
  if (output_ || building_.valid() || !make_) return;
  building_ = std::async(std::launch::async, std::move(make_));
  make_ = nullptr;
}

DeferredSoundOutput::~DeferredSoundOutput() {
  // The output is destroyed on this thread, after its building has finished.
  if (building_.valid()) building_.wait();
}

SoundOutput& DeferredSoundOutput::ready() {
  if (!output_) {
    start();
    try {
      output_ = building_.get();
    } catch (...) {
      output_.reset();
    }
    if (!output_) output_ = std::make_unique<NoOutput>();
  }
  return *output_;
}

bool DeferredSoundOutput::playWavSync(const std::string& path) {
  return ready().playWavSync(path);
}

ui::MusicPlayer& DeferredSoundOutput::music() {
  return ready().music();
}

}  // namespace tervano::audio
