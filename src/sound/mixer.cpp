#include "sound/mixer.h"

#include <algorithm>

#include "sound/synth.h"

namespace tervano::sound {

PcmSource Mixer::sourceFor(std::uint64_t device) {
  return [this, device](float* out, int frames) { mix(device, out, frames); };
}

void Mixer::attach(std::uint64_t device) {
  std::lock_guard lock(mutex_);
  attached_ = device;
}

void Mixer::detach() {
  std::lock_guard lock(mutex_);
  attached_ = 0;
}

void Mixer::setSynth(Synth* synth) {
  std::lock_guard lock(mutex_);
  synth_ = synth;
}

void Mixer::mix(std::uint64_t device, float* out, int frames) {
  const std::size_t n = static_cast<std::size_t>(frames) * kChannels;
  std::lock_guard lock(mutex_);
  if (device != attached_ || !synth_) std::fill(out, out + n, 0.0f);
  if (device != attached_) return;
  if (synth_) synth_->render(out, frames);

  // The buffer holding the cue's last sample went to the device before this call.
  if (cuePhase_ == CuePhase::Draining) {
    cuePhase_ = CuePhase::Idle;
    finishCue(cueSerial_);
  }
  if (cuePhase_ == CuePhase::Playing) {
    const std::size_t take = std::min(n, cue_.size() - cuePos_);
    const float* src = cue_.data() + cuePos_;
    for (std::size_t i = 0; i < take; ++i)
      out[i] += src[i];
    cuePos_ += take;
    if (cuePos_ == cue_.size()) cuePhase_ = CuePhase::Draining;
  }
  for (std::size_t i = 0; i < n; ++i)
    out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

void Mixer::finishCue(std::uint64_t cue) {
  {
    std::lock_guard lock(endMutex_);
    doneSerial_ = cue;
  }
  endCv_.notify_all();
}

std::uint64_t Mixer::startCue(std::vector<float>& samples) {
  std::uint64_t cue = 0;
  {
    std::lock_guard lock(mutex_);
    cue_.swap(samples);  // the previous cue's samples come back to be freed by the caller
    cuePos_ = 0;
    cuePhase_ = CuePhase::Playing;
    cue = ++cueSerial_;
  }
  {
    std::lock_guard lock(endMutex_);
    latestSerial_ = cue;
  }
  endCv_.notify_all();
  return cue;
}

bool Mixer::waitCue(std::uint64_t cue, std::chrono::microseconds timeout) {
  std::unique_lock lock(endMutex_);
  return endCv_.wait_for(lock, timeout, [&] { return doneSerial_ >= cue || latestSerial_ > cue; });
}

void Mixer::endCue(std::uint64_t cue, std::vector<float>& samples) {
  std::lock_guard lock(mutex_);
  if (cueSerial_ != cue) return;
  cuePhase_ = CuePhase::Idle;
  cue_.swap(samples);
}

}  // namespace tervano::sound
