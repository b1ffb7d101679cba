#include "sound/pcm_device.h"

#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "sound/libraries.h"

namespace tervano::sound {
namespace {

constexpr int kChannels = 2;
// How long one wait for room in ALSA's buffer may take before the thread looks whether it
// should stop; a device that stays stalled so long is given up.
constexpr int kAlsaWaitMs = 100;
constexpr int kAlsaStalledWaits = 20;
// The latency asked of ALSA, in periods: a cue ends that much after its last sample was mixed,
// and a late wake-up of this thread does not yet run the buffer dry.
constexpr int kAlsaPeriods = 4;

std::string environment(const char* name, const char* otherwise) {
  const char* value = std::getenv(name);
  return value && *value ? value : otherwise;
}

// ALSA's device, opened without blocking: a card held by another program must not hang the
// caller. Writes wait for room with snd_pcm_wait, a bounded wait.
snd_pcm_t* openAlsa(const AlsaLibrary& alsa, int rate, int periodFrames) {
  snd_pcm_t* pcm = nullptr;
  const std::string name = environment("AUDIODEV", "default");
  if (alsa.snd_pcm_open(&pcm, name.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
    return nullptr;
  }
  const auto latencyUs =
      static_cast<unsigned>(std::int64_t{kAlsaPeriods} * periodFrames * 1'000'000 / rate);
  if (alsa.snd_pcm_set_params(pcm, SND_PCM_FORMAT_FLOAT, SND_PCM_ACCESS_RW_INTERLEAVED, kChannels,
                              static_cast<unsigned>(rate), 1, latencyUs) < 0) {
    alsa.snd_pcm_close(pcm);
    return nullptr;
  }
  return pcm;
}

class ThreadDevice final : public PcmDevice {
 public:
  ThreadDevice(std::string driver, int rate, int periodFrames, PcmSource source,
               const AlsaLibrary* alsa, snd_pcm_t* pcm, std::FILE* file)
      : PcmDevice(std::move(driver), rate),
        period_(periodFrames),
        source_(std::move(source)),
        alsa_(alsa),
        pcm_(pcm),
        file_(file) {
    thread_ = std::thread([this] { run(); });
  }
  ~ThreadDevice() override {
    {
      std::lock_guard lock(stopMutex_);
      stopping_ = true;
    }
    stopCv_.notify_all();
    thread_.join();
    closeAlsa();
    if (file_) std::fclose(file_);
  }

 private:
  void run() {
    // Named, so that a look at the program's threads tells who wakes up.
    pthread_setname_np(pthread_self(), "tervano-audio");
    using Clock = std::chrono::steady_clock;
    std::vector<float> buffer(static_cast<std::size_t>(period_) * kChannels);
    const auto periodTime = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(static_cast<double>(period_) / rate()));
    const auto lead = kAlsaPeriods * periodTime;
    // When what was handed over so far will have been heard, at the nominal rate.
    auto next = Clock::now();
    while (!stopping_) {
      source_(buffer.data(), period_);
      auto wake = next;
      if (pcm_) {
        bool waited = false;
        if (writeAlsa(buffer.data(), waited)) {
          // A card paces the thread by making it wait for room. A device that takes everything
          // at once (ALSA's "null", a file) would have it mix as fast as it can and end cues
          // early: it is held to the nominal rate, a buffer ahead.
          const auto now = Clock::now();
          next = waited ? now + lead : std::max(next, now) + periodTime;
          if (next - now <= lead) continue;
          wake = next - lead;
        } else {
          // The card went away: time goes on without it, so nothing waits for it in vain.
          closeAlsa();
          next = wake = Clock::now() + periodTime;
        }
      } else {
        if (file_) {
          std::fwrite(buffer.data(), sizeof(float), buffer.size(), file_);
          std::fflush(file_);
        }
        // After a stall (a suspended machine) the clock starts afresh rather than mixing the
        // missed time at full speed.
        next = std::max(next + periodTime, Clock::now() - lead);
        wake = next;
      }
      std::unique_lock lock(stopMutex_);
      stopCv_.wait_until(lock, wake, [this] { return stopping_.load(); });
    }
  }

  // False when the device failed for good; `waited` tells whether it had to wait for room.
  bool writeAlsa(const float* samples, bool& waited) {
    int left = period_;
    int stalled = 0;
    while (left > 0 && !stopping_) {
      const snd_pcm_sframes_t n =
          alsa_->snd_pcm_writei(pcm_, samples, static_cast<snd_pcm_uframes_t>(left));
      if (n >= 0) {
        left -= static_cast<int>(n);
        samples += n * kChannels;
        stalled = 0;
        continue;
      }
      if (n == -EAGAIN) {
        waited = true;
        const int ready = alsa_->snd_pcm_wait(pcm_, kAlsaWaitMs);
        if (ready == 0 && ++stalled >= kAlsaStalledWaits) return false;
        if (ready < 0 && alsa_->snd_pcm_recover(pcm_, ready, 1) < 0) return false;
        continue;
      }
      // An underrun, or a suspended card: start again.
      if (alsa_->snd_pcm_recover(pcm_, static_cast<int>(n), 1) < 0) return false;
    }
    return true;
  }

  void closeAlsa() {
    if (!pcm_) return;
    alsa_->snd_pcm_drop(pcm_);
    alsa_->snd_pcm_close(pcm_);
    pcm_ = nullptr;
  }

  const int period_;
  const PcmSource source_;
  const AlsaLibrary* const alsa_;
  snd_pcm_t* pcm_;
  std::FILE* const file_;
  std::atomic<bool> stopping_ = false;
  std::mutex stopMutex_;
  std::condition_variable stopCv_;
  std::thread thread_;
};

}  // namespace

std::unique_ptr<PcmDevice> PcmDevice::open(const std::string& driver, int rate, int periodFrames,
                                           PcmSource source) {
  if (rate <= 0 || periodFrames <= 0) return nullptr;
  const AlsaLibrary* alsa = nullptr;
  snd_pcm_t* pcm = nullptr;
  std::FILE* file = nullptr;
  if (driver == "alsa") {
    alsa = alsaLibrary();
    if (!alsa) return nullptr;
    pcm = openAlsa(*alsa, rate, periodFrames);
    if (!pcm) return nullptr;
  } else if (driver == "disk") {
    // Appended to, so that what was written before the device closed keeps its place.
    file = std::fopen(environment("TERVANO_AUDIO_FILE", "tervano-audio.raw").c_str(), "ab");
    if (!file) return nullptr;
  } else if (driver != "dummy") {
    return nullptr;
  }
  return std::make_unique<ThreadDevice>(driver, rate, periodFrames, std::move(source), alsa, pcm,
                                        file);
}

}  // namespace tervano::sound
