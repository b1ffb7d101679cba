#pragma once
// The benchmarks' child processes: spawned with their stdout to a pipe and their stderr dropped,
// read to their end, waited for, and measured.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace bench {

inline long long monotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct Child {
  pid_t pid = 0;
  int out = -1;  // the child's stdout
};

inline std::optional<Child> spawn(const std::vector<std::string>& command) {
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
inline std::string finish(const Child& child, long* maxRssKb = nullptr, int* status = nullptr,
                          double* cpuMs = nullptr) {
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
  auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  if (cpuMs) *cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
  if (status) *status = st;
  return text;
}

}  // namespace bench
