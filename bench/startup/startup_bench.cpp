// Start-up time: from the spawn of a process to its first painted window, for a bare Qt window
// and for tervano-hra, run alternately many times. Both print "first-paint <ns>" (the monotonic
// clock) at their first paint; the difference to the clock just before the spawn is the start-up.
//
//   startup_bench RUNS BARE_WINDOW PROGRAM [ARGUMENT]
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

long long monotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Runs the program once; the start-up time in milliseconds, or nothing when it never painted.
std::optional<double> runOnce(const std::vector<std::string>& command) {
  int out[2];
  if (pipe(out) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::vector<char*> argv;
  for (const auto& a : command)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const long long start = monotonicNs();
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (rc != 0) {
    close(out[0]);
    return std::nullopt;
  }
  std::string text;
  char buffer[256];
  ssize_t n = 0;
  while ((n = read(out[0], buffer, sizeof buffer)) > 0)
    text.append(buffer, static_cast<std::size_t>(n));
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  const auto at = text.find("first-paint ");
  if (at == std::string::npos) return std::nullopt;
  const long long painted = std::atoll(text.c_str() + at + std::strlen("first-paint "));
  return (painted - start) / 1e6;
}

double percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  const std::size_t i = std::min(v.size() - 1, static_cast<std::size_t>(p * (v.size() - 1) + 0.5));
  return v[i];
}

void summary(const char* name, const std::vector<double>& v) {
  std::printf("%-12s runs %3zu  median %7.1f ms  min %7.1f  p90 %7.1f  max %7.1f\n", name, v.size(),
              percentile(v, 0.5), percentile(v, 0.0), percentile(v, 0.9), percentile(v, 1.0));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s RUNS BARE_WINDOW PROGRAM [ARGUMENT]\n", argv[0]);
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  const std::vector<std::string> bare = {argv[2]};
  std::vector<std::string> program = {argv[3]};
  if (argc > 4) program.push_back(argv[4]);
  setenv("TERVANO_REPORT_FIRST_PAINT", "1", 1);

  // One unmeasured run each warms the file cache.
  runOnce(bare);
  runOnce(program);
  std::vector<double> bareTimes, programTimes;
  for (int i = 0; i < runs; ++i) {
    for (auto [command, times] : {std::pair{&bare, &bareTimes}, {&program, &programTimes}}) {
      const auto t = runOnce(*command);
      if (!t) {
        std::fprintf(stderr, "%s did not report its first paint\n", (*command)[0].c_str());
        return 1;
      }
      times->push_back(*t);
    }
  }
  summary("bare window", bareTimes);
  summary("tervano-hra", programTimes);
  const double ratio = percentile(programTimes, 0.5) / percentile(bareTimes, 0.5);
  std::printf("ratio of medians %.2f (target <= 1.30)\n", ratio);
  return 0;
}
