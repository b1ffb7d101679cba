#include "sets/work_folders.h"

#include <fcntl.h>
#include <sys/file.h>

#include "data/concat.h"
#include "data/programfolder.h"
#include "data/textfile.h"
#include "data/transaction.h"
#include "sets/errors.h"
#include "sets/names.h"

namespace tervano::sets {

namespace fs = std::filesystem;

namespace {

struct Kind {
  const char* folder;
  std::vector<const char*> scripts;
};

const Kind kKinds[] = {{kWorkFolder, {kInstallScript, kCreateScript}},
                       {kDeletionFolder, {kDeleteScript}}};

bool journalsLeft(const fs::path& root) {
  std::error_code ec;
  for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
    if (it->path().filename().string().starts_with(kJournalPrefix)) return true;
  return false;
}

SetError inUse(const fs::path& folder) {
  return SetError(concat({"Se složkou „", folder.string(),
                          "“ právě pracuje jiné spuštění programu.\rPočkejte, až práci dokončí."}));
}

}  // namespace

FolderLock FolderLock::take(const fs::path& folder) {
  FolderLock lock;
  fileops::Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (fd.get() >= 0 && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) lock.fd_ = std::move(fd);
  return lock;
}

WorkState workState(const fs::path& folder) {
  std::error_code ec;
  const auto type = fs::symlink_status(folder, ec).type();
  if (type == fs::file_type::not_found) return WorkState::Missing;
  if (type != fs::file_type::directory) return WorkState::NotOurs;
  return FolderLock::take(folder).held() ? WorkState::Leftover : WorkState::InUse;
}

std::vector<std::string> clearLeftoverWork(const fs::path& root) {
  std::vector<std::string> cleared;
  // A journal left means a change that is not ended yet, which may name a work folder.
  if (journalsLeft(root)) return cleared;
  for (const Kind& kind : kKinds) {
    const fs::path folder = resolveCaseInsensitive(root / kind.folder);
    if (const FolderLock lock = FolderLock::take(folder); lock.held()) {
      // Removed while locked: no other instance can take it over meanwhile.
      if (fileops::removeTree(folder) != 0) continue;
      cleared.push_back(folder.filename().string());
    }
    if (workState(folder) == WorkState::InUse) continue;
    for (const char* script : kind.scripts) {
      const fs::path file = resolveCaseInsensitive(root / script);
      std::error_code ec;
      if (fs::symlink_status(file, ec).type() == fs::file_type::not_found) continue;
      if (fileops::removeFile(file) == 0) cleared.push_back(file.filename().string());
    }
  }
  return cleared;
}

FolderLock makeWorkFolder(const fs::path& root, std::string_view name) {
  const fs::path existing = resolveCaseInsensitive(root / std::string(name));
  switch (workState(existing)) {
    case WorkState::Missing:
      break;
    case WorkState::InUse:
      throw inUse(existing);
    case WorkState::NotOurs:
      throw SetError(concat({"„", existing.string(),
                             "“ není pracovní složkou programu. Odstraňte ji nebo přejmenujte; "
                             "nic se nezměnilo."}));
    case WorkState::Leftover: {
      const FolderLock old = FolderLock::take(existing);
      if (!old.held()) throw inUse(existing);
      if (const int err = fileops::removeTree(existing))
        throw FileError(fileErrorText("Složku nelze odstranit", existing, err));
      break;
    }
  }
  // Made and locked under a temporary name first, so that it never bears its name unlocked.
  const fs::path staged = root / fileops::temporaryName();
  const fs::path folder = root / std::string(name);
  if (const int err = fileops::makeFolder(staged))
    throw FileError(fileErrorText("Složku nelze vytvořit", folder, err));
  FolderLock lock = FolderLock::take(staged);
  const int err = lock.held() ? fileops::rename(staged, folder) : EAGAIN;
  if (err != 0) {
    fileops::removeEmptyFolder(staged);
    if (err == EEXIST) throw inUse(folder);
    throw FileError(fileErrorText("Složku nelze vytvořit", folder, err));
  }
  return lock;
}

}  // namespace tervano::sets
