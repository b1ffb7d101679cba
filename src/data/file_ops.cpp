#include "data/file_ops.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <utility>

#include "data/concat.h"

namespace tervano::fileops {

namespace fs = std::filesystem;

// --- the seam ---

namespace seam {

namespace {
std::atomic<long> armedWith{detail::kIdle};
std::atomic<int> failWith{0};
std::atomic<bool> failOnward{false};
std::atomic<bool> killing{false};
std::atomic<bool> stopping{false};
std::atomic<bool> reachedArmed{false};
std::atomic<bool> flushing{true};

void arm(long n) {
  reachedArmed = false;
  armedWith = n;
  detail::remaining = n;
}
}  // namespace

Gate detail::reached(long previous) noexcept {
  if (previous == 1) {
    reachedArmed = true;
    if (killing) return {0, true, false};
    if (stopping) return {0, false, true};
    return {failWith, false, false};
  }
  if (previous < 1 && failWith != 0 && failOnward) return {failWith, false, false};
  return {};
}

void die() noexcept {
  ::kill(::getpid(), SIGKILL);
  ::_exit(128 + SIGKILL);
}

void stop() noexcept {
  ::kill(::getpid(), SIGSTOP);
}

void reset() {
  killing = false;
  stopping = false;
  failWith = 0;
  failOnward = false;
  arm(detail::kIdle);
}

long count() {
  return armedWith - detail::remaining.load(std::memory_order_relaxed);
}

void killAfter(long n) {
  reset();
  killing = true;
  arm(n);
}

void stopAfter(long n) {
  reset();
  stopping = true;
  arm(n);
}

void failAt(long n, int err, bool onward) {
  reset();
  failWith = err;
  failOnward = onward;
  arm(n);
}

bool fired() {
  return reachedArmed;
}

void flushToDisk(bool on) {
  flushing.store(on, std::memory_order_relaxed);
}

bool flushingToDisk() {
  return flushing.load(std::memory_order_relaxed);
}

}  // namespace seam

namespace {

// Runs one mutation through the seam; the action returns 0 or an errno.
template <class Action>
int gated(Action&& action) {
  const seam::Gate gate = seam::enter();
  if (gate.fail != 0) return gate.fail;
  const int err = action();
  if (gate.die) seam::die();
  if (gate.stop) seam::stop();
  return err;
}

int result(int rc) {
  return rc == 0 ? 0 : errno;
}

std::atomic<unsigned long> temporaryCounter{0};

// The process id, asked once per process (every temporary name holds it); a forked child asks
// again.
std::atomic<pid_t> cachedPid{0};
const int forgetPidInChild = ::pthread_atfork(nullptr, nullptr, [] { cachedPid.store(0); });

}  // namespace

pid_t processId() {
  pid_t pid = cachedPid.load(std::memory_order_relaxed);
  if (pid == 0) {
    pid = ::getpid();
    cachedPid.store(pid, std::memory_order_relaxed);
  }
  return pid;
}

namespace {

bool allDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "<pid>-<n>" with both numbers in decimal.
std::optional<pid_t> pidAndCounter(std::string_view rest) {
  const std::size_t dash = rest.find('-');
  if (dash == std::string_view::npos) return std::nullopt;
  const std::string_view pid = rest.substr(0, dash);
  if (!allDigits(pid) || !allDigits(rest.substr(dash + 1)) || pid.size() > 9) return std::nullopt;
  return static_cast<pid_t>(std::stol(std::string(pid)));
}

fs::path parentOf(const fs::path& p) {
  return p.has_parent_path() ? p.parent_path() : fs::path(".");
}

}  // namespace

// --- temporary names ---

std::string temporaryName() {
  return concat({kTemporaryPrefix, std::to_string(processId()), "-",
                 std::to_string(temporaryCounter.fetch_add(1, std::memory_order_relaxed))});
}

std::optional<pid_t> temporaryOwner(std::string_view name) {
  if (name.starts_with(kTemporaryPrefix))
    return pidAndCounter(name.substr(kTemporaryPrefix.size()));
  // ".<target>.tmp-<pid>-<n>"
  static constexpr std::string_view kOld = ".tmp-";
  const std::size_t at = name.rfind(kOld);
  if (name.size() < 2 || name.front() != '.' || at == std::string_view::npos || at < 2)
    return std::nullopt;
  return pidAndCounter(name.substr(at + kOld.size()));
}

bool processAlive(pid_t pid) {
  if (pid <= 0) return false;
  if (pid == processId()) return true;
  return ::kill(pid, 0) == 0 || errno != ESRCH;
}

// --- descriptors ---

Fd::~Fd() {
  if (fd_ >= 0) ::close(fd_);
}

Fd& Fd::operator=(Fd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.release();
  }
  return *this;
}

int Fd::release() {
  return std::exchange(fd_, -1);
}

bool writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// --- mutations ---

int createFile(const fs::path& path, unsigned mode, Fd& out) {
  return gated([&] {
    out = Fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                    static_cast<mode_t>(mode)));
    return out.get() < 0 ? errno : 0;
  });
}

int flushFile(int fd) {
  // The data and what is needed to read them back (size, blocks); the times may follow later.
  return gated([&] { return seam::flushingToDisk() ? result(::fdatasync(fd)) : 0; });
}

int append(int fd, std::string_view bytes) {
  return gated([&] { return writeAll(fd, bytes.data(), bytes.size()) ? 0 : errno; });
}

int renameOver(const fs::path& from, const fs::path& to) {
  return gated([&] { return result(::rename(from.c_str(), to.c_str())); });
}

bool lacksExchange(int err) {
  return err == EINVAL || err == ENOSYS || err == EOPNOTSUPP;
}

int rename(const fs::path& from, const fs::path& to) {
  const int err = gated([&] {
    return result(::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE));
  });
  if (!lacksExchange(err)) return err;
  // A file system without the flag: a file gets its second name first, which link() never puts
  // over an existing entry; a folder is checked and renamed.
  struct stat st {};
  if (::lstat(from.c_str(), &st) != 0) return errno;
  if (!S_ISDIR(st.st_mode)) {
    if (const int linked = hardLink(from, to)) return linked;
    return removeFile(from);
  }
  if (entryId(to) != 0) return EEXIST;
  return fileops::renameOver(from, to);
}

int exchange(const fs::path& a, const fs::path& b) {
  return gated([&] {
    return result(::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE));
  });
}

int hardLink(const fs::path& from, const fs::path& to) {
  return gated([&] { return result(::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 0)); });
}

int makeFolder(const fs::path& path, unsigned mode) {
  return gated([&] { return result(::mkdir(path.c_str(), static_cast<mode_t>(mode))); });
}

int removeFile(const fs::path& path) {
  const int err = gated([&] { return result(::unlink(path.c_str())); });
  return err == ENOENT ? 0 : err;
}

int removeEmptyFolder(const fs::path& path) {
  const int err = gated([&] { return result(::rmdir(path.c_str())); });
  return err == ENOENT ? 0 : err;
}

namespace {

// Removes the entry `name` of the open folder `dir`, a folder with all below it; links and
// files are unlinked. The first error is returned, but everything removable goes.
int removeAt(int dir, const std::string& name) {
  struct stat st {};
  if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
    return errno == ENOENT ? 0 : errno;
  auto unlinkEntry = [&](int flags) {
    const int err = gated([&] { return result(::unlinkat(dir, name.c_str(), flags)); });
    return err == ENOENT ? 0 : err;
  };
  if (!S_ISDIR(st.st_mode)) return unlinkEntry(0);
  Fd fd(::openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) return 0;
    // Replaced by a link or a file since the look: that entry goes as it is.
    if (errno == ELOOP || errno == ENOTDIR) return unlinkEntry(0);
    return errno;
  }
  std::vector<std::string> names;
  {
    DIR* d = ::fdopendir(::dup(fd.get()));
    if (d == nullptr) return errno;
    while (const dirent* e = ::readdir(d)) {
      const std::string_view n = e->d_name;
      if (n != "." && n != "..") names.emplace_back(n);
    }
    ::closedir(d);
  }
  int first = 0;
  for (const std::string& n : names) {
    const int err = removeAt(fd.get(), n);
    if (first == 0) first = err;
  }
  const int err = unlinkEntry(AT_REMOVEDIR);
  return first != 0 ? first : err;
}

}  // namespace

int removeTree(const fs::path& path) {
  const fs::path folder = parentOf(path);
  Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() < 0) return errno == ENOENT ? 0 : errno;
  return removeAt(dir.get(), path.filename().string());
}

int syncFolder(const fs::path& folder) {
  if (!seam::flushingToDisk()) return 0;
  Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() < 0) return errno;
  return result(::fsync(dir.get()));
}

ino_t entryId(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

// --- the replacement of one file ---

FileReplacement::FileReplacement(const fs::path& target, unsigned mode)
    : target_(target), temp_(parentOf(target) / temporaryName()) {
  error_ = createFile(temp_, mode, fd_);
  // The mode as asked, whatever the umask says.
  if (error_ == 0) ::fchmod(fd_.get(), static_cast<mode_t>(mode));
}

FileReplacement::~FileReplacement() {
  if (!done_) discard();
}

void FileReplacement::discard() {
  done_ = true;
  if (error_ != 0) return;
  if (fd_.get() >= 0) ::close(fd_.release());
  removeFile(temp_);
}

int FileReplacement::keep() {
  if (error_ != 0) return error_;
  done_ = true;
  int err = flushFile(fd_.get());
  if (::close(fd_.release()) != 0 && err == 0) err = errno;
  if (err != 0) removeFile(temp_);
  return err;
}

int FileReplacement::commit() {
  if (const int err = keep()) return err;
  if (const int err = fileops::renameOver(temp_, target_)) {
    removeFile(temp_);
    return err;
  }
  syncFolder(parentOf(temp_));
  return 0;
}

// --- copying ---

namespace {

int copyFromFd(int in, const fs::path& to) {
  FileReplacement out(to, 0644);
  if (out.error() != 0) return out.error();
  std::array<char, 1 << 16> buffer{};
  while (true) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) break;
    if (!writeAll(out.fd(), buffer.data(), static_cast<std::size_t>(n))) return errno;
  }
  return out.commit();
}

// Opens a regular file for reading, never through a link.
int openRegular(int dir, const char* name, Fd& out) {
  out = Fd(::openat(dir, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  if (out.get() < 0) return errno;
  struct stat st {};
  if (::fstat(out.get(), &st) != 0) return errno;
  return S_ISREG(st.st_mode) ? 0 : EINVAL;
}

int copyFolder(int from, const fs::path& to, const fs::path& relative, CopyReport& report) {
  std::vector<std::string> names;
  {
    DIR* d = ::fdopendir(::dup(from));
    if (d == nullptr) return errno;
    while (const dirent* e = ::readdir(d)) {
      const std::string_view n = e->d_name;
      if (n != "." && n != "..") names.emplace_back(n);
    }
    ::closedir(d);
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    struct stat st {};
    if (::fstatat(from, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return errno;
    if (S_ISREG(st.st_mode)) {
      Fd in;
      if (const int err = openRegular(from, name.c_str(), in)) return err;
      if (const int err = copyFromFd(in.get(), to / name)) return err;
      ++report.files;
    } else if (S_ISDIR(st.st_mode)) {
      Fd sub(::openat(from, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
      if (sub.get() < 0) return errno;
      const int made = makeFolder(to / name);
      std::error_code ec;
      if (made != 0 && !(made == EEXIST && fs::is_directory(fs::symlink_status(to / name, ec))))
        return made == EEXIST ? ELOOP : made;
      if (const int err = copyFolder(sub.get(), to / name, relative / name, report)) return err;
    } else {
      report.skipped.push_back(relative / name);
    }
  }
  return 0;
}

}  // namespace

int copyFile(const fs::path& from, const fs::path& to) {
  Fd in;
  if (const int err = openRegular(AT_FDCWD, from.c_str(), in)) return err;
  return copyFromFd(in.get(), to);
}

int copyTree(const fs::path& from, const fs::path& to, CopyReport& report) {
  struct stat st {};
  if (::lstat(from.c_str(), &st) != 0) return errno;
  if (S_ISLNK(st.st_mode)) return ELOOP;
  Fd source(::open(from.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (source.get() < 0) return errno;
  const int made = makeFolder(to);
  std::error_code ec;
  if (made != 0 && !(made == EEXIST && fs::is_directory(fs::symlink_status(to, ec))))
    return made == EEXIST ? ELOOP : made;
  return copyFolder(source.get(), to, {}, report);
}

}  // namespace tervano::fileops
