#pragma once

#include <memory>
#include <mutex>
#include <string>

namespace tervano::audio {

// Fills `frames` frames of interleaved float stereo; runs on the device's thread with the
// device's mutex held.
using PcmMixer = void (*)(void* user, float* out, int frames);

// An output device that pulls interleaved float stereo from a mixer on a thread of its own, one
// period at a time, from the moment it opens until it is destroyed.
//
// Drivers:
// - "alsa": the sound card, through ALSA's device named by $AUDIODEV (default "default", which
//   on a desktop with a sound server leads to that server). ALSA converts rate and format for
//   the hardware.
// - "dummy": silent, consuming samples in real time, so that cues take as long as they would
//   with a sound card.
// - "disk": like "dummy", but writes what it consumes to the file named by $TERVANO_AUDIO_FILE
//   (raw float stereo), so that a test can read back what the device was given.
class PcmDevice {
 public:
  // nullptr when the driver is unknown or its device cannot be opened.
  static std::unique_ptr<PcmDevice> open(const std::string& driver, int rate, int periodFrames,
                                         PcmMixer mixer, void* user);
  virtual ~PcmDevice() = default;  // stops pulling and closes the device
  PcmDevice(const PcmDevice&) = delete;
  PcmDevice& operator=(const PcmDevice&) = delete;

  const std::string& driver() const { return driver_; }
  int rate() const { return rate_; }
  // Held while the mixer runs: whoever changes what it mixes holds it too.
  std::mutex& mutex() { return mutex_; }

 protected:
  PcmDevice(std::string driver, int rate) : driver_(std::move(driver)), rate_(rate) {}

 private:
  std::string driver_;
  int rate_;
  std::mutex mutex_;
};

}  // namespace tervano::audio
