#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "sound/pcm_device.h"

namespace tervano::sound {

class Synth;

// What the device plays: the music, rendered by the synthesizer, with the current cue added. It
// runs on the device's thread. Only the device attached last is mixed for: one that is still
// closing gets silence and takes nothing of a cue from the device that took its place.
class Mixer {
 public:
  static constexpr int kChannels = 2;

  // The source to open a device with; it is mixed for once attached.
  PcmSource sourceFor(std::uint64_t device);
  void attach(std::uint64_t device);
  void detach();  // from its return on, no device is mixed for

  // Held while the synthesizer is changed, as it renders under this lock.
  std::unique_lock<std::mutex> lock() { return std::unique_lock(mutex_); }
  void setSynth(Synth* synth);

  // Plays the samples (interleaved stereo at the device's rate, swapped in) in place of any other
  // cue; returns the cue's number.
  std::uint64_t startCue(std::vector<float>& samples);
  // Waits until the buffer with the cue's last sample has gone to the device, a later cue has
  // replaced it (true), or the time is up (false: the device stalled).
  bool waitCue(std::uint64_t cue, std::chrono::microseconds timeout);
  // Ends the cue if it still plays (a stalled device drops it rather than let it sound later) and
  // swaps its samples back out, to be freed away from the device's thread: a long cue in float
  // stereo takes megabytes.
  void endCue(std::uint64_t cue, std::vector<float>& samples);

 private:
  enum class CuePhase { Idle, Playing, Draining };
  void mix(std::uint64_t device, float* out, int frames);
  void finishCue(std::uint64_t cue);

  std::mutex mutex_;  // guards all but the cue's end, which has a lock of its own
  std::uint64_t attached_ = 0;
  Synth* synth_ = nullptr;
  std::vector<float> cue_;
  std::size_t cuePos_ = 0;
  CuePhase cuePhase_ = CuePhase::Idle;
  std::uint64_t cueSerial_ = 0;

  std::mutex endMutex_;
  std::condition_variable endCv_;
  std::uint64_t doneSerial_ = 0;
  std::uint64_t latestSerial_ = 0;
};

}  // namespace tervano::sound
