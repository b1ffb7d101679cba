#include "sound/audio_engine.h"

#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <optional>
#include <vector>

#include "audio/midi_check.h"
#include "audio/session_bus.h"
#include "audio/sound_file.h"
#include "sound/cue_player.h"
#include "sound/device_keeper.h"
#include "sound/mixer.h"
#include "sound/synth.h"

namespace tervano::sound {
namespace {

struct Midi {
  std::vector<std::uint8_t> bytes;
  audio::MidiPiece piece;
};

std::optional<Midi> readMidi(const std::string& path) {
  auto bytes = audio::readSoundFile(path, audio::kMaxMidiBytes);
  if (!bytes) return std::nullopt;
  Midi midi;
  midi.bytes = std::move(*bytes);
  const auto piece = audio::readMidiPiece(midi.bytes);
  if (!piece || piece->seconds < audio::kMinPieceSeconds) return std::nullopt;
  midi.piece = *piece;
  return midi;
}

DeviceKeeper::Options keeperOptions(AudioEngineOptions& options) {
  const char* forced = std::getenv("TERVANO_AUDIO_DRIVER");
  return {forced && *forced ? forced : "alsa", options.fallbackDriver, options.idleClose,
          std::move(options.openDevice)};
}

class MusicOutput final : public ui::MusicPlayer {
 public:
  MusicOutput(DeviceKeeper& keeper, Mixer& mixer, std::string soundfont)
      : keeper_(keeper), mixer_(mixer), soundfont_(std::move(soundfont)) {}
  // The device may still be mixing: the synthesizer leaves the mixer before it goes.
  ~MusicOutput() override { mixer_.setSynth(nullptr); }

  bool open(const std::string& path) override;
  void play() override;
  void stop() override;
  void close() override;
  bool isOpen() const override { return synth_ && synth_->isOpen(); }

  const Synth* synth() const { return synth_.get(); }

 private:
  bool openPiece(const std::string& path);
  // Built by the first piece; false when there is none.
  bool ensureSynth();

  DeviceKeeper& keeper_;
  Mixer& mixer_;
  const std::string soundfont_;
  std::unique_ptr<Synth> synth_;
  bool synthFailed_ = false;
};

bool MusicOutput::ensureSynth() {
  if (synth_) return true;
  if (synthFailed_ || !keeper_.hasDevice()) return false;
  synth_ = Synth::make(soundfont_, keeper_.rate());
  synthFailed_ = !synth_;
  if (synth_) mixer_.setSynth(synth_.get());
  return synth_ != nullptr;
}

bool MusicOutput::open(const std::string& path) {
  close();
  const bool opened = openPiece(path);
#ifdef __GLIBC__
  // Loading instruments leaves the synthesizer's scratch space free but mapped; hand it back.
  malloc_trim(0);
#endif
  return opened;
}

bool MusicOutput::openPiece(const std::string& path) {
  const std::optional<Midi> midi = readMidi(path);
  if (!midi || !ensureSynth() || !synth_->loadInstruments(midi->piece)) return false;
  const auto lock = mixer_.lock();
  return synth_->open(midi->bytes);
}

void MusicOutput::play() {
  if (!isOpen()) return;
  keeper_.begin(DeviceKeeper::Use::Music);
  const auto lock = mixer_.lock();
  synth_->play();
}

void MusicOutput::stop() {
  if (!isOpen()) return;
  {
    const auto lock = mixer_.lock();
    synth_->stop();
  }
  keeper_.end(DeviceKeeper::Use::Music);
}

void MusicOutput::close() {
  if (!isOpen()) return;
  {
    const auto lock = mixer_.lock();
    synth_->close();
  }
  keeper_.end(DeviceKeeper::Use::Music);
}

}  // namespace

struct AudioEngine::State {
  explicit State(AudioEngineOptions options)
      : keeper(keeperOptions(options), mixer), music(keeper, mixer, options.soundfont) {}

  Mixer mixer;
  DeviceKeeper keeper;
  CuePlayer cues{keeper, mixer};
  MusicOutput music;
};

AudioEngine::AudioEngine(AudioEngineOptions options) {
  // A sound server's client library connects to the D-Bus session bus, which would otherwise be
  // launched here.
  audio::preventSessionBusAutolaunch();
  state_ = std::make_unique<State>(std::move(options));
}

AudioEngine::~AudioEngine() = default;

bool AudioEngine::playWavSync(const std::string& path) {
  return state_->cues.play(path);
}

ui::MusicPlayer& AudioEngine::music() {
  return state_->music;
}

bool AudioEngine::hasDevice() const {
  return state_->keeper.hasDevice();
}
bool AudioEngine::deviceOpen() const {
  return state_->keeper.isOpen();
}
std::string AudioEngine::driver() const {
  return state_->keeper.driver();
}
int AudioEngine::sampleRate() const {
  return state_->keeper.rate();
}
bool AudioEngine::hasSynth() const {
  return state_->music.synth() != nullptr;
}
int AudioEngine::loadedPresets() const {
  const Synth* synth = state_->music.synth();
  return synth ? synth->loadedPresets() : 0;
}

}  // namespace tervano::sound
