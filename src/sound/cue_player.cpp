#include "sound/cue_player.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <thread>
#include <vector>

#include "audio/sound_file.h"
#include "sound/wav.h"

namespace tervano::sound {
namespace {

// Covers the device's start-up and a late buffer or two; a stalled device must not hang the game.
constexpr auto kCueMargin = std::chrono::milliseconds(1000);
// A cue is a short signal; ten minutes converted to float stereo already take 200 MB.
constexpr auto kMaxCueLength = std::chrono::minutes(10);
// The largest cue file read: ten minutes of 48 kHz 16-bit stereo are 110 MB, and the decoded
// samples take twice as much again.
constexpr std::uintmax_t kMaxCueBytes = 128u << 20;

struct Cue {
  std::vector<float> samples;  // interleaved stereo at the device's rate
  std::chrono::microseconds length{0};
};

// Loads a WAV file; with a rate, also converts it for the mixer.
std::optional<Cue> loadCue(const std::string& path, int rate) {
  const auto bytes = audio::readSoundFile(path, kMaxCueBytes);
  if (!bytes) return std::nullopt;
  std::optional<WavSound> sound = decodeWav(*bytes, kMaxCueLength);
  if (!sound) return std::nullopt;
  Cue cue;
  cue.length = sound->length();
  if (rate > 0) cue.samples = toStereo(*sound, rate);
  return cue;
}

}  // namespace

bool CuePlayer::play(const std::string& path) {
  std::optional<Cue> cue = loadCue(path, keeper_.rate());
  if (!cue) return false;
  if (!keeper_.begin(DeviceKeeper::Use::Cue)) {
    std::this_thread::sleep_for(cue->length);
    return true;
  }
  const std::uint64_t number = mixer_.startCue(cue->samples);
  std::vector<float>().swap(cue->samples);  // those of a cue this one replaced
  mixer_.waitCue(number, cue->length + kCueMargin);
  mixer_.endCue(number, cue->samples);
  keeper_.end(DeviceKeeper::Use::Cue);
  return true;
}

}  // namespace tervano::sound
