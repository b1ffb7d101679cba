// Start-up time: from the spawn of a process to its first painted window, for a bare Qt window
// and for tervano-hra, run alternately many times. Both print "first-paint <ns>" (the monotonic
// clock) at their first paint; the difference to the clock just before the spawn is the start-up.
//
//   startup_bench RUNS BARE_WINDOW PROGRAM [ARGUMENT]
//   startup_bench --main-game RUNS BARE_WINDOW PROGRAM SAVED_GAME
//
// With --main-game the program starts in the main game: its first dialog (the saved game to load)
// is answered through xdotool with SAVED_GAME, and the time counts from the Return that accepts
// the dialog to the first paint of the main window. Both modes also report the peak resident
// memory of each process up to its first paint.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
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

struct Child {
  pid_t pid = 0;
  int out = -1;  // the child's stdout
};

std::optional<Child> spawn(const std::vector<std::string>& command) {
  int out[2];
  if (pipe(out) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  // The programs' diagnostics (ALSA's complaints on a machine without a sound card) would drown
  // the results.
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (const auto& a : command)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (rc != 0) {
    close(out[0]);
    return std::nullopt;
  }
  return Child{pid, out[0]};
}

// Reads the child's stdout to its end and waits for it; its peak resident memory in KiB. A child
// still running after 30 s is killed: a benchmark must not hang on a dialog nobody answered.
std::string finish(const Child& child, long* maxRssKb = nullptr, int* status = nullptr) {
  std::string text;
  char buffer[256];
  const long long deadline = monotonicNs() + 30'000'000'000LL;
  for (;;) {
    pollfd p{child.out, POLLIN, 0};
    const long long left = (deadline - monotonicNs()) / 1'000'000;
    if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0) {
      kill(child.pid, SIGKILL);
      break;
    }
    const ssize_t n = read(child.out, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  close(child.out);
  int st = 0;
  rusage usage{};
  wait4(child.pid, &st, 0, &usage);
  if (maxRssKb) *maxRssKb = usage.ru_maxrss;
  if (status) *status = st;
  return text;
}

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

struct Run {
  double ms = 0;
  double peakMb = 0;
};

// Runs the program once to its first paint.
std::optional<Run> runOnce(const std::vector<std::string>& command) {
  const long long start = monotonicNs();
  const auto child = spawn(command);
  if (!child) return std::nullopt;
  long rss = 0;
  const auto painted = firstPaint(finish(*child, &rss));
  if (!painted) return std::nullopt;
  return Run{(*painted - start) / 1e6, rss / 1024.0};
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
  const long long start = monotonicNs();
  if (!helper({"xdotool", "key", "Return"})) return fail();
  long rss = 0;
  const auto painted = firstPaint(finish(*child, &rss));
  if (!painted) return std::nullopt;
  return Run{(*painted - start) / 1e6, rss / 1024.0};
}

double percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  const std::size_t i = std::min(v.size() - 1, static_cast<std::size_t>(p * (v.size() - 1) + 0.5));
  return v[i];
}

void summary(const char* name, const std::vector<Run>& runs) {
  std::vector<double> ms, mb;
  for (const Run& r : runs) {
    ms.push_back(r.ms);
    mb.push_back(r.peakMb);
  }
  std::printf(
      "%-12s runs %3zu  median %7.1f ms  min %7.1f  p90 %7.1f  max %7.1f   peak RSS median %6.1f "
      "MiB\n",
      name, ms.size(), percentile(ms, 0.5), percentile(ms, 0.0), percentile(ms, 0.9),
      percentile(ms, 1.0), percentile(mb, 0.5));
}

double median(const std::vector<Run>& runs, double Run::*field) {
  std::vector<double> v;
  for (const Run& r : runs)
    v.push_back(r.*field);
  return percentile(v, 0.5);
}

}  // namespace

int main(int argc, char** argv) {
  const bool mainGame = argc > 1 && std::strcmp(argv[1], "--main-game") == 0;
  if (mainGame) {
    --argc;
    ++argv;
  }
  if (argc < 4 || (mainGame && argc < 5)) {
    std::fprintf(stderr,
                 "usage: %s RUNS BARE_WINDOW PROGRAM [ARGUMENT]\n"
                 "       %s --main-game RUNS BARE_WINDOW PROGRAM SAVED_GAME\n",
                 argv[0], argv[0]);
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  const std::vector<std::string> bare = {argv[2]};
  std::vector<std::string> program = {argv[3]};
  if (!mainGame && argc > 4) program.push_back(argv[4]);
  const std::string game = mainGame ? argv[4] : "";
  setenv("TERVANO_REPORT_FIRST_PAINT", "1", 1);

  auto runProgram = [&] { return mainGame ? runMainGame(program, game) : runOnce(program); };
  // One unmeasured run each warms the file cache.
  runOnce(bare);
  runProgram();
  std::vector<Run> bareRuns, programRuns;
  for (int i = 0; i < runs; ++i) {
    const auto b = runOnce(bare);
    const auto p = runProgram();
    if (!b || !p) {
      std::fprintf(stderr, "%s did not report its first paint\n", (b ? program : bare)[0].c_str());
      return 1;
    }
    bareRuns.push_back(*b);
    programRuns.push_back(*p);
  }
  summary("bare window", bareRuns);
  summary(mainGame ? "main game" : "tervano-hra", programRuns);
  if (mainGame) {
    std::printf("main game: dialog accepted to first paint, median %.1f ms\n",
                median(programRuns, &Run::ms));
  } else {
    std::printf("ratio of medians %.2f (target <= 1.30)\n",
                median(programRuns, &Run::ms) / median(bareRuns, &Run::ms));
  }
  std::printf("peak RSS at first paint: ratio of medians %.2f\n",
              median(programRuns, &Run::peakMb) / median(bareRuns, &Run::peakMb));
  return 0;
}
