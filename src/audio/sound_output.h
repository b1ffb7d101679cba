#pragma once

#include <string>

#include "ui/host.h"

namespace tervano::audio {

// The sound device as the host sees it: cues played synchronously and a music player that loops
// its piece by itself.
class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  // Returns when the cue's last sample has been played; false when the file cannot be played
  // (missing or broken), so the caller can sound the system's alert instead.
  virtual bool playWavSync(const std::string& path) = 0;
  virtual ui::MusicPlayer& music() = 0;
};

}  // namespace tervano::audio
