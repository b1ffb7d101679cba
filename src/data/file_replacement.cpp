#include "data/file_replacement.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <utility>

#include "data/concat.h"

namespace tervano {

namespace fs = std::filesystem;

namespace {
std::atomic<unsigned> tempCounter{0};
}  // namespace

Fd::~Fd() {
  if (fd_ >= 0) ::close(fd_);
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

std::string FileReplacement::temporaryPrefix(const std::string& fileName) {
  return concat({".", fileName, ".tmp-"});
}

FileReplacement::FileReplacement(const fs::path& target, unsigned mode)
    : target_(target),
      temp_((target.has_parent_path() ? target.parent_path() : fs::path(".")) /
            concat({temporaryPrefix(target.filename().string()), std::to_string(::getpid()), "-",
                    std::to_string(tempCounter.fetch_add(1))})),
      fd_(::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_t(mode))) {}

FileReplacement::~FileReplacement() {
  if (done_ || fd_.get() < 0) return;
  ::close(fd_.release());
  ::unlink(temp_.c_str());
}

int FileReplacement::commit() {
  done_ = true;
  int err = 0;
  if (::fsync(fd_.get()) != 0) err = errno;
  if (::close(fd_.release()) != 0 && err == 0) err = errno;
  if (err == 0 && ::rename(temp_.c_str(), target_.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(temp_.c_str());
    return err;
  }
  // Make the rename itself durable.
  const fs::path folder = temp_.parent_path();
  Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
  return 0;
}

}  // namespace tervano
