// How long the first cue of a program waits for the sound output: the time playWavSync takes
// beyond the cue's own length. Each run is a fresh process (ALSA is loaded once per process),
// once with the output asked for by the first cue itself ("cold") and once with it started a
// second before, as the main window does at its first paint when the cues are on ("started").
//
//   first_cue_bench CUE.wav [RUNS]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/deferred_output.h"
#include "child_process.h"
#include "sound/audio_engine.h"
#include "sound/wav.h"

namespace {

using Clock = std::chrono::steady_clock;

// The cue's length in seconds, as the engine's own decoder reads it.
std::optional<double> wavSeconds(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  const auto sound = tervano::sound::decodeWav(bytes, std::chrono::minutes(10));
  if (!sound) return std::nullopt;
  return std::chrono::duration<double>(sound->length()).count();
}

// One measurement in this process: the wait in milliseconds.
int measure(const std::string& cue, bool started) {
  const auto length = wavSeconds(cue);
  if (!length) {
    std::fprintf(stderr, "%s is no playable WAV file\n", cue.c_str());
    return 1;
  }
  tervano::audio::DeferredSoundOutput output(
      [] { return std::make_unique<tervano::sound::AudioEngine>(); });
  if (started) {
    output.start();
    std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  const auto begin = Clock::now();
  const bool played = output.playWavSync(cue);
  const double elapsed = std::chrono::duration<double>(Clock::now() - begin).count();
  std::printf("%.1f %d\n", (elapsed - *length) * 1000, played ? 1 : 0);
  return 0;
}

std::optional<double> runChild(const char* self, const std::string& cue, const char* mode) {
  const auto child = bench::spawn({self, "--measure", mode, cue});
  if (!child) return std::nullopt;
  const std::string text = bench::finish(*child);
  if (text.empty()) return std::nullopt;
  return std::atof(text.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--measure") == 0) {
    return measure(argv[3], std::strcmp(argv[2], "started") == 0);
  }
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s CUE.wav [RUNS]\n", argv[0]);
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
  const std::string self = "/proc/self/exe";
  char path[4096];
  const ssize_t len = readlink(self.c_str(), path, sizeof path - 1);
  if (len <= 0) return 1;
  path[len] = '\0';
  for (const char* mode : {"cold", "started"}) {
    std::vector<double> waits;
    for (int i = 0; i < runs; ++i) {
      if (auto w = runChild(path, argv[1], mode)) waits.push_back(*w);
    }
    if (waits.empty()) {
      std::fprintf(stderr, "no measurement for %s\n", mode);
      return 1;
    }
    std::sort(waits.begin(), waits.end());
    std::printf("first cue, output %-8s runs %2zu  wait median %6.1f ms  min %6.1f  max %6.1f\n",
                mode, waits.size(), waits[waits.size() / 2], waits.front(), waits.back());
  }
  return 0;
}
