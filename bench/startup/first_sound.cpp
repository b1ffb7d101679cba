// How long until the program is heard: started just before the benchmark answers the program's
// load dialog, it waits for the first sounding sample in the file that the program's "disk"
// sound driver writes (raw float stereo, in real time) and prints the milliseconds since its own
// start, or nothing when the program stays silent for TIMEOUT seconds.
//
//   first_sound FILE [TIMEOUT]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE [TIMEOUT]\n", argv[0]);
    return 2;
  }
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  const auto deadline = start + std::chrono::seconds(argc > 2 ? std::atoi(argv[2]) : 30);
  // What the engine's tests count as sound: above -80 dBFS, over the synthesizer's reverb floor.
  constexpr float kAudible = 1e-4f;
  long offset = 0;
  std::vector<float> block(4096);
  while (Clock::now() < deadline) {
    if (std::FILE* f = std::fopen(argv[1], "rb")) {
      std::fseek(f, offset, SEEK_SET);
      std::size_t n = 0;
      while ((n = std::fread(block.data(), sizeof(float), block.size(), f)) > 0) {
        const auto sounding = std::find_if(block.begin(), block.begin() + static_cast<long>(n),
                                           [](float x) { return std::fabs(x) > kAudible; });
        if (sounding != block.begin() + static_cast<long>(n)) {
          const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
          std::printf("%.1f\n", ms);
          std::fclose(f);
          return 0;
        }
        offset += static_cast<long>(n * sizeof(float));
      }
      std::fclose(f);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return 1;
}
