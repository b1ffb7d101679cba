#include "interruptions.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "data/errors.h"
#include "data/file_ops.h"
#include "data/textfile.h"

namespace tervano::testing {

namespace fs = std::filesystem;
namespace seam = fileops::seam;

namespace {

// Safety net against an operation that never ends its mutations (a loop gone wrong).
constexpr long kMostMutations = 100000;

std::string bytesOf(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs op and reports through the pipe: 'R' or 'N' (the armed mutation reached or not), then 'F'
// finished, 'E' + text for a UserError, 'X' for anything else.
[[noreturn]] void child(int pipe, const std::function<void()>& op) {
  std::string report = "F";
  try {
    op();
  } catch (const UserError& e) {
    report = std::string("E") + e.what();
  } catch (...) {
    report = "X";
  }
  report.insert(0, 1, seam::fired() ? 'R' : 'N');
  fileops::writeAll(pipe, report.data(), report.size());
  ::_exit(0);
}

// Runs op in a child after arm(); with whileStopped, first waits for the child to stop itself,
// runs whileStopped and lets the child go on.
ChildEnd fork(const std::function<void()>& arm, const std::function<void()>& op,
              const std::function<void()>& whileStopped = {}) {
  int fds[2];
  if (::pipe(fds) != 0) throw std::runtime_error("pipe");
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork");
  if (pid == 0) {
    ::close(fds[0]);
    arm();
    child(fds[1], op);
  }
  ::close(fds[1]);
  ChildEnd end;
  int status = 0;
  if (whileStopped) {
    ::waitpid(pid, &status, WUNTRACED);
    end.stopped = WIFSTOPPED(status);
    if (end.stopped) {
      whileStopped();
      ::kill(pid, SIGCONT);
    }
  }
  std::string report;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0)
    report.append(buffer, static_cast<std::size_t>(n));
  ::close(fds[0]);
  if (!whileStopped || end.stopped) ::waitpid(pid, &status, 0);
  end.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  if (report.size() >= 2) {
    end.reached = report[0] == 'R';
    end.finished = report[1] == 'F' || report[1] == 'E';
    if (report[1] == 'E') end.error = report.substr(2);
  }
  return end;
}

}  // namespace

WithoutFlushes::WithoutFlushes() : was_(seam::flushingToDisk()) {
  seam::flushToDisk(false);
}

WithoutFlushes::~WithoutFlushes() {
  seam::flushToDisk(was_);
}

Tree tree(const fs::path& root) {
  Tree t;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string rel = it->path().lexically_relative(root).string();
    const fs::file_status st = it->symlink_status(ec);
    if (fs::is_symlink(st))
      t[rel] = "link:" + fs::read_symlink(it->path(), ec).string();
    else if (fs::is_directory(st))
      t[rel] = "dir";
    else
      t[rel] = "file:" + bytesOf(it->path());
  }
  return t;
}

std::string difference(const Tree& a, const Tree& b) {
  std::ostringstream out;
  for (const auto& [name, content] : a) {
    const auto it = b.find(name);
    if (it == b.end())
      out << " only in the first: " << name << ";";
    else if (it->second != content)
      out << " differs: " << name << ";";
  }
  for (const auto& [name, content] : b)
    if (!a.contains(name)) out << " only in the second: " << name << ";";
  return out.str();
}

ChildEnd runKilledAfter(long n, const std::function<void()>& op) {
  return fork(
      [n] {
        if (n > 0)
          seam::killAfter(n);
        else
          seam::reset();
      },
      op);
}

ChildEnd runFailingAt(long n, int err, bool onward, const std::function<void()>& op) {
  return fork([=] { seam::failAt(n, err, onward); }, op);
}

ChildEnd runStoppedAfter(long n, const std::function<void()>& op,
                         const std::function<void()>& whileStopped) {
  return fork([n] { seam::stopAfter(n); }, op, whileStopped);
}

long countMutations(const std::function<void()>& op) {
  long counted = -1;
  int fds[2];
  if (::pipe(fds) != 0) throw std::runtime_error("pipe");
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    seam::reset();
    try {
      op();
    } catch (...) {
    }
    const long c = seam::count();
    fileops::writeAll(fds[1], reinterpret_cast<const char*>(&c), sizeof c);
    ::_exit(0);
  }
  ::close(fds[1]);
  if (::read(fds[0], &counted, sizeof counted) != sizeof counted) counted = -1;
  ::close(fds[0]);
  ::waitpid(pid, nullptr, 0);
  return counted;
}

int killAtEveryMutation(const std::function<void()>& prepare, const std::function<void()>& op,
                        const std::function<void(long n)>& check) {
  const WithoutFlushes quick;
  for (long n = 1; n < kMostMutations; ++n) {
    prepare();
    const ChildEnd end = runKilledAfter(n, op);
    if (!end.killed) return static_cast<int>(n - 1);
    check(n);
  }
  throw std::runtime_error("an operation that does not end");
}

int stopAtEveryMutation(const std::function<void()>& prepare, const std::function<void()>& op,
                        const std::function<void(long n)>& whileStopped,
                        const std::function<void(long n)>& check) {
  const WithoutFlushes quick;
  for (long n = 1; n < kMostMutations; ++n) {
    prepare();
    const ChildEnd end = runStoppedAfter(n, op, [&] { whileStopped(n); });
    if (!end.stopped) return static_cast<int>(n - 1);
    check(n);
  }
  throw std::runtime_error("an operation that does not end");
}

int failAtEveryMutation(int err, const std::function<void()>& prepare,
                        const std::function<void()>& op,
                        const std::function<void(long n, const std::string& error)>& check) {
  const WithoutFlushes quick;
  for (long n = 1; n < kMostMutations; ++n) {
    prepare();
    seam::failAt(n, err);
    std::string error;
    try {
      op();
    } catch (const UserError& e) {
      error = e.what();
    }
    const bool reached = seam::fired();
    seam::reset();
    check(reached ? n : 0, error);
    if (!reached) return static_cast<int>(n - 1);
  }
  throw std::runtime_error("an operation that does not end");
}

std::vector<std::string> temporariesIn(const fs::path& root) {
  std::vector<std::string> found;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (fileops::temporaryOwner(name) || name.starts_with(".tvjournal-"))
      found.push_back(it->path().lexically_relative(root).string());
  }
  return found;
}

std::string listsMatchFolders(const fs::path& set) {
  std::ostringstream out;
  for (int g = 1; g <= 4; ++g) {
    const std::string grade = std::to_string(g);
    int count = 0;
    try {
      count = loadTextList(set / "sur" / (grade + ".cbx")).count();
    } catch (const FileError& e) {
      out << e.what() << " ";
      continue;
    }
    for (int n = 1; n <= count; ++n)
      for (const char* f : {"k.mk", "k.lk", "k.vk", "k.nk"})
        if (!fs::is_regular_file(set / ("r" + grade) / ("k" + std::to_string(n)) / f))
          out << "r" << g << "/k" << n << "/" << f << " is missing; ";
    if (fs::exists(fs::symlink_status(set / ("r" + grade) / ("k" + std::to_string(count + 1)))))
      out << "r" << g << "/k" << count + 1 << " is not listed; ";
  }
  return out.str();
}

}  // namespace tervano::testing
