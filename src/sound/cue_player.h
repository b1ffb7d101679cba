#pragma once

#include <string>

#include "sound/device_keeper.h"
#include "sound/mixer.h"

namespace tervano::sound {

// Cues: WAV files played synchronously, each in place of any cue still sounding.
class CuePlayer {
 public:
  CuePlayer(DeviceKeeper& keeper, Mixer& mixer) : keeper_(keeper), mixer_(mixer) {}

  // Returns once the cue's last sample has gone to the device, or at once when a later cue
  // replaced it; without a device, once the cue's length has passed. False for a file that does
  // not play (missing, broken, longer than ten minutes), which takes no time.
  bool play(const std::string& path);

 private:
  DeviceKeeper& keeper_;
  Mixer& mixer_;
};

}  // namespace tervano::sound
