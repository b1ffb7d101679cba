#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "audio/sound_output.h"
#include "sound/pcm_device.h"

namespace tervano::sound {

struct AudioEngineOptions {
  // A General MIDI soundfont; empty picks the system's own.
  std::string soundfont;
  // The driver used when the sound card cannot be opened (see PcmDevice): "dummy" is silent,
  // but it consumes samples in real time so cues take as long as they would with a sound card.
  std::string fallbackDriver = "dummy";
  // After this long without a cue or playing music the device is closed, so an idle program
  // does not wake up for every buffer; the next sound opens it again. Zero keeps it open.
  std::chrono::milliseconds idleClose{3000};
  // Opens the devices; a test puts a device of its own around the real one.
  PcmOpener openDevice = PcmDevice::open;
};

// One audio device, opened while there is something to hear (DeviceKeeper). Its mixer adds up
// the music, rendered by FluidSynth from a looping MIDI file player (Synth), with the current cue
// (CuePlayer). Without any device, cues only take their time and the music stays silent.
//
// Building the engine opens the device only: cues need nothing more. The synthesizer, with the
// instruments of the piece, is loaded when a piece is first opened, and each piece opened later
// brings the instruments it needs in place of the previous ones.
class AudioEngine final : public audio::SoundOutput {
 public:
  explicit AudioEngine(AudioEngineOptions options = {});
  ~AudioEngine() override;
  AudioEngine(const AudioEngine&) = delete;
  AudioEngine& operator=(const AudioEngine&) = delete;

  bool playWavSync(const std::string& path) override;
  // Open, play, stop and close come from one thread at a time.
  ui::MusicPlayer& music() override;

  // What the engine ended up with, for diagnostics and tests.
  bool hasDevice() const;      // a device could be opened
  bool deviceOpen() const;     // it is open right now
  std::string driver() const;  // empty without a device
  int sampleRate() const;      // frames per second of the mixed output, 0 without a device
  bool hasSynth() const;       // the synthesizer is loaded, with a soundfont
  // The presets the synthesizer holds now: those of the open piece's instruments, or all of a
  // soundfont that could not be taken apart. 0 without a synthesizer.
  int loadedPresets() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tervano::sound
