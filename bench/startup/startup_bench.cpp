// Start-up time of every mode of tervano-hra beside a bare Qt window, run alternately many times:
// from the spawn of a process to the first paint of its first window. Both print
// "first-paint <ns>" (the monotonic clock) at their first paint; the difference to the clock just
// before the spawn is the start-up. For the main game two rows: the start to its load dialog,
// and the dialog answered (through xdotool, with SAVED_GAME) to the play screen painted.
//
//   startup_bench RUNS BARE_WINDOW PROGRAM SAVED_GAME [MODE ...]
//
// MODE is "main", "main-play" or a switch such as "-SADA"; without one, a row for each mode. For
// each row: the medians of the start-up, of the CPU time used up to the first paint and of the peak
// resident memory, and their ratios to the bare window's.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/mode_registry.h"
#include "child_process.h"

namespace {

using bench::finish;
using bench::monotonicNs;
using bench::spawn;

// Runs a helper (xdotool) to its end; its stdout, or nothing when it failed.
std::optional<std::string> helper(const std::vector<std::string>& command) {
  const auto child = spawn(command);
  if (!child) return std::nullopt;
  int status = 0;
  std::string text = finish(*child, nullptr, &status);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return text;
}

std::optional<long long> firstPaint(const std::string& text) {
  const auto at = text.find("first-paint ");
  if (at == std::string::npos) return std::nullopt;
  return std::atoll(text.c_str() + at + std::strlen("first-paint "));
}

// The CPU time a running process has used so far (user and system, in clock ticks).
double cpuMsSoFar(pid_t pid) {
  FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
  if (!f) return 0;
  char text[1024] = {};
  const std::size_t n = std::fread(text, 1, sizeof text - 1, f);
  std::fclose(f);
  // The fields after the command name, which is in parentheses and may hold blanks.
  const char* p = std::strrchr(text, ')');
  if (!p || n == 0) return 0;
  unsigned long utime = 0, stime = 0;
  if (std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime) !=
      2)
    return 0;
  return (utime + stime) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct Run {
  double ms = 0;
  double peakMb = 0;
  double cpuMs = 0;
};

// Runs the program once to its first paint.
std::optional<Run> runOnce(const std::vector<std::string>& command) {
  const long long start = monotonicNs();
  const auto child = spawn(command);
  if (!child) return std::nullopt;
  long rss = 0;
  double cpu = 0;
  const auto painted = firstPaint(finish(*child, &rss, nullptr, &cpu));
  if (!painted) return std::nullopt;
  return Run{(*painted - start) / 1e6, rss / 1024.0, cpu};
}

// Starts the program in the main game and answers its load dialog with the saved game; the time
// from the Return to the main window's first paint.
std::optional<Run> runMainGame(const std::vector<std::string>& command, const std::string& game) {
  const auto child = spawn(command);
  if (!child) return std::nullopt;
  auto fail = [&]() -> std::optional<Run> {
    kill(child->pid, SIGKILL);
    finish(*child);
    return std::nullopt;
  };
  const auto found = helper({"timeout", "20", "xdotool", "search", "--sync", "--onlyvisible",
                             "--pid", std::to_string(child->pid), "--name", "hru hry k"});
  if (!found || found->empty()) return fail();
  const std::string window = found->substr(0, found->find('\n'));
  helper({"xdotool", "windowfocus", "--sync", window});
  usleep(500'000);  // the dialog takes keys only once it has settled
  if (!helper({"xdotool", "type", "--delay", "10", game})) return fail();
  const double cpuBefore = cpuMsSoFar(child->pid);
  const long long start = monotonicNs();
  if (!helper({"xdotool", "key", "Return"})) return fail();
  long rss = 0;
  double cpu = 0;
  const auto painted = firstPaint(finish(*child, &rss, nullptr, &cpu));
  if (!painted) return std::nullopt;
  // Only what the answered dialog costs: the start-up to the dialog is the other row.
  return Run{(*painted - start) / 1e6, rss / 1024.0, cpu - cpuBefore};
}

double percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  const std::size_t i = std::min(v.size() - 1, static_cast<std::size_t>(p * (v.size() - 1) + 0.5));
  return v[i];
}

double median(const std::vector<Run>& runs, double Run::*field) {
  std::vector<double> v;
  for (const Run& r : runs)
    v.push_back(r.*field);
  return percentile(v, 0.5);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s RUNS BARE_WINDOW PROGRAM SAVED_GAME [MODE ...]\n", argv[0]);
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  const std::vector<std::string> bare = {argv[2]};
  const std::string program = argv[3];
  const std::string game = argv[4];
  std::vector<std::string> modes(argv + 5, argv + argc);
  if (modes.empty()) {
    modes = {"main", "main-play"};
    for (const auto& row : tervano::app::ModeRegistry::standard().rows())
      if (!row.name.empty()) modes.push_back(row.name);
  }

  std::printf("%-14s %9s %9s %7s %7s %7s %9s\n", "mode", "start ms", "bare ms", "ratio", "cpu",
              "memory", "peak MiB");
  for (const std::string& mode : modes) {
    const bool play = mode == "main-play";
    std::vector<std::string> command = {program};
    if (mode != "main" && !play) command.push_back(mode);
    // The first window of any kind, except for the play screen after the dialog.
    setenv("TERVANO_REPORT_FIRST_PAINT", play ? "window" : "any", 1);
    auto runProgram = [&] { return play ? runMainGame(command, game) : runOnce(command); };
    // One unmeasured run each warms the file cache.
    runOnce(bare);
    runProgram();
    std::vector<Run> bareRuns, programRuns;
    for (int i = 0; i < runs; ++i) {
      const auto b = runOnce(bare);
      const auto p = runProgram();
      if (!b || !p) {
        std::fprintf(stderr, "%s did not report its first paint\n",
                     b ? (program + " " + mode).c_str() : bare[0].c_str());
        return 1;
      }
      bareRuns.push_back(*b);
      programRuns.push_back(*p);
    }
    const double ms = median(programRuns, &Run::ms);
    const double bareMs = median(bareRuns, &Run::ms);
    std::printf("%-14s %9.1f %9.1f %7.2f %7.2f %7.2f %9.1f\n", mode.c_str(), ms, bareMs,
                ms / bareMs, median(programRuns, &Run::cpuMs) / median(bareRuns, &Run::cpuMs),
                median(programRuns, &Run::peakMb) / median(bareRuns, &Run::peakMb),
                median(programRuns, &Run::peakMb));
    std::fflush(stdout);
  }
  std::printf(
      "targets: start and memory at most 1.30 and 1.70, cpu at most 1.50 (ratios of "
      "medians to the bare window)\n");
  return 0;
}
