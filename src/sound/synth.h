#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/midi_check.h"
#include "sound/libraries.h"
#include "sound/soundfont.h"

namespace tervano::sound {

// FluidSynth's synthesizer with the instruments of the open piece, and the player that loops that
// piece. It renders on the device's thread under the mixer's lock, and whatever touches the
// player holds that lock too; instruments are loaded beside it, as FluidSynth's own calls may come
// from any thread.
class Synth {
 public:
  // The synthesizer for a General MIDI soundfont (empty: the system's), at the device's rate;
  // nothing when FluidSynth or the soundfont is missing.
  static std::unique_ptr<Synth> make(const std::string& soundfont, int rate);
  ~Synth();
  Synth(const Synth&) = delete;
  Synth& operator=(const Synth&) = delete;

  // Loads the instruments of the piece in place of the previous ones, unless those include them.
  bool loadInstruments(const audio::MidiPiece& piece);

  // Under the mixer's lock. open() puts the piece, a Standard MIDI File, in place of the open one
  // at its start, not yet playing; false leaves the player closed.
  bool open(const std::vector<std::uint8_t>& midi);
  void play();
  void stop();  // silences at once and keeps the position
  void close();
  bool isOpen() const { return player_ != nullptr; }
  void render(float* out, int frames);

  // The presets held now: those of the open piece's instruments, or all of a soundfont that
  // could not be taken apart.
  int loadedPresets() const;

 private:
  Synth(const FluidLibrary& fluid, std::string path, int rate);
  // Lets FluidSynth itself read the piece, on a player of its own that plays once and passes no
  // event on. Its looping player retries a piece it cannot read, or one without length, endlessly
  // inside the audio callback, which would hang the device: what it cannot read must never reach
  // it. It renders a block of the synthesizer, which is silent as no piece is open.
  bool canRead(const std::vector<std::uint8_t>& midi);

  const FluidLibrary& fl_;
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  fluid_player_t* player_ = nullptr;
  std::string path_;
  std::optional<Soundfont> soundfont_;  // empty: the file is loaded whole
  int fontId_ = FLUID_FAILED;
  // What the loaded soundfont holds (everything, when it is the whole file).
  audio::ChannelUse fontMelodic_, fontDrums_;
};

}  // namespace tervano::sound
