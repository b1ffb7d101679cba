#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "sound/mixer.h"
#include "sound/pcm_device.h"

namespace tervano::sound {

// The sound device's life. A device is opened at start, to learn which driver works; then it is
// open while a cue or the music sounds, and after a quiet spell a thread of the keeper's own
// closes it, so that an idle program does not wake up for every buffer.
//
// Closing can take up to a second (a sound server's stream). It happens away from the keeper's
// lock, with the device detached from the mixer: a sound that comes meanwhile opens a new device
// at once and never waits for the old one. Only a device that cannot be opened twice (a card held
// exclusively) makes it wait, until the old one is closed.
class DeviceKeeper {
 public:
  enum class Use { Cue, Music };
  struct Options {
    std::string driver;                         // tried first
    std::string fallbackDriver;                 // when the first does not open; none when empty
    std::chrono::milliseconds idleClose{3000};  // zero keeps the device open
    PcmOpener open = PcmDevice::open;
  };

  static constexpr int kRate = 44100;

  DeviceKeeper(Options options, Mixer& mixer);
  ~DeviceKeeper();
  DeviceKeeper(const DeviceKeeper&) = delete;
  DeviceKeeper& operator=(const DeviceKeeper&) = delete;

  // The use sounds from now on: opens the device when it is closed. False, counting nothing,
  // when no device opens. Cues are counted, as several callers may play them.
  bool begin(Use use);
  // The use fell quiet; once all are, the device closes after the idle time.
  void end(Use use);

  bool hasDevice() const { return !driver_.empty(); }  // a driver opened at start
  bool isOpen() const;
  const std::string& driver() const { return driver_; }  // empty without a device
  int rate() const { return rate_; }                     // 0 without a device

 private:
  bool tryDriver(const std::string& name);
  bool openDevice();  // with the lock held
  void idleLoop();

  Options options_;
  Mixer& mixer_;
  std::string driver_;
  int rate_ = 0;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::unique_ptr<PcmDevice> device_;
  std::uint64_t devices_ = 0;  // devices opened so far, each mixed for under its number
  int cues_ = 0;
  bool music_ = false;
  int closing_ = 0;  // devices the idle thread is closing
  bool shuttingDown_ = false;
  std::chrono::steady_clock::time_point quietSince_;
  std::thread idleThread_;
};

}  // namespace tervano::sound
