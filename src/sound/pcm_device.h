#pragma once

#include <functional>
#include <memory>
#include <string>

namespace tervano::sound {

// Fills `frames` frames of interleaved float stereo; called on the device's thread.
using PcmSource = std::function<void(float* out, int frames)>;

// An output device that pulls interleaved float stereo from its source on a thread of its own, one
// period at a time, from the moment it opens until it is destroyed. Destroying it may take a
// while: a sound server's stream can take up to a second to close.
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
                                         PcmSource source);
  virtual ~PcmDevice() = default;  // stops pulling and closes the device
  PcmDevice(const PcmDevice&) = delete;
  PcmDevice& operator=(const PcmDevice&) = delete;

  const std::string& driver() const { return driver_; }
  int rate() const { return rate_; }

 protected:
  PcmDevice(std::string driver, int rate) : driver_(std::move(driver)), rate_(rate) {}

 private:
  std::string driver_;
  int rate_;
};

// How the engine opens a device: PcmDevice::open, or in a test a device whose closing the test
// holds up.
using PcmOpener = std::function<std::unique_ptr<PcmDevice>(const std::string& driver, int rate,
                                                           int periodFrames, PcmSource source)>;

}  // namespace tervano::sound
