#include "sound/device_keeper.h"

#include <cstdio>

namespace tervano::sound {
namespace {

// Small buffers: a cue returns one buffer after its last sample, and that should not be heard
// as a delay.
constexpr int kPeriodFrames = 512;

// Without a sound card the player learns it in one line, not from the libraries' own reports. On
// a desktop, ALSA's default device reaches the sound server only through one of these packages.
void reportSilence() {
  static std::once_flag once;
  std::call_once(once, [] {
    std::fputs(
        "Tervano: zvukové zařízení nelze otevřít, program hraje potichu. Běží-li v systému "
        "PipeWire nebo PulseAudio, nainstalujte balíček " TERVANO_SOUND_SERVER_PACKAGES ".\n",
        stderr);
  });
}

}  // namespace

DeviceKeeper::DeviceKeeper(Options options, Mixer& mixer)
    : options_(std::move(options)), mixer_(mixer) {
  if (!tryDriver(options_.driver)) {
    reportSilence();
    if (!options_.fallbackDriver.empty()) tryDriver(options_.fallbackDriver);
  }
  if (!device_) return;
  quietSince_ = std::chrono::steady_clock::now();
  if (options_.idleClose.count() > 0) idleThread_ = std::thread([this] { idleLoop(); });
}

DeviceKeeper::~DeviceKeeper() {
  {
    std::lock_guard lock(mutex_);
    shuttingDown_ = true;
  }
  changed_.notify_all();
  if (idleThread_.joinable()) idleThread_.join();  // after a close it has begun
  std::unique_ptr<PcmDevice> last;
  {
    std::lock_guard lock(mutex_);
    last = std::move(device_);
    mixer_.detach();
  }
}

// Remembered when it opens, so that the same driver opens the device again after a quiet spell.
bool DeviceKeeper::tryDriver(const std::string& name) {
  std::lock_guard lock(mutex_);
  driver_ = name;
  if (openDevice()) {
    rate_ = device_->rate();
    return true;
  }
  driver_.clear();
  return false;
}

bool DeviceKeeper::openDevice() {
  const std::uint64_t number = ++devices_;
  device_ = options_.open(driver_, kRate, kPeriodFrames, mixer_.sourceFor(number));
  if (!device_) return false;
  mixer_.attach(number);
  return true;
}

bool DeviceKeeper::begin(Use use) {
  std::unique_lock lock(mutex_);
  if (!hasDevice()) return false;
  while (!device_ && !openDevice()) {
    if (closing_ == 0) return false;
    changed_.wait(lock, [this] { return closing_ == 0; });
  }
  if (use == Use::Cue)
    ++cues_;
  else
    music_ = true;
  return true;
}

void DeviceKeeper::end(Use use) {
  std::lock_guard lock(mutex_);
  if (use == Use::Cue && cues_ > 0)
    --cues_;
  else if (use == Use::Music)
    music_ = false;
  if (cues_ > 0 || music_) return;
  quietSince_ = std::chrono::steady_clock::now();
  changed_.notify_all();
}

bool DeviceKeeper::isOpen() const {
  std::lock_guard lock(mutex_);
  return device_ != nullptr;
}

void DeviceKeeper::idleLoop() {
  std::unique_lock lock(mutex_);
  while (!shuttingDown_) {
    if (!device_ || cues_ > 0 || music_) {
      changed_.wait(lock);
      continue;
    }
    const auto deadline = quietSince_ + options_.idleClose;
    if (std::chrono::steady_clock::now() < deadline) {
      changed_.wait_until(lock, deadline);
      continue;
    }
    std::unique_ptr<PcmDevice> quiet = std::move(device_);
    mixer_.detach();
    ++closing_;
    lock.unlock();
    quiet.reset();  // the slow part, and why it happens here
    lock.lock();
    --closing_;
    changed_.notify_all();
  }
}

}  // namespace tervano::sound
