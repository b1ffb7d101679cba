#include "autosave/log_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

#include "data/records.h"

namespace tervano::autosave {

namespace {

fileops::Fd openLogFolder(const ProgramFolder& folder) {
  const auto place = folder.resolve(paths::kAutosaveLog).parent_path();
  return fileops::Fd(::open(place.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

}  // namespace

LogLock::LogLock(const ProgramFolder& folder) : fd_(openLogFolder(folder)) {
  if (fd_.get() < 0) return;
  while (::flock(fd_.get(), LOCK_EX) != 0 && errno == EINTR) {
  }
}

bool LogLock::freeNow(const ProgramFolder& folder) {
  const fileops::Fd fd = openLogFolder(folder);
  return fd.get() < 0 || ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0;
}

}  // namespace tervano::autosave
