#include "data/textfile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "data/cp1250.h"
#include "data/errors.h"
#include "data/file_replacement.h"

namespace tervano {

namespace fs = std::filesystem;

std::string systemErrorText(int err) {
  switch (err) {
    case ENOENT:
      return "soubor nebo složka neexistuje";
    case EACCES:
    case EPERM:
      return "chybí oprávnění";
    case EROFS:
      return "disk je jen pro čtení";
    case ENOSPC:
    case EDQUOT:
      return "na disku není místo";
    case EISDIR:
      return "jde o složku, ne o soubor";
    case ENOTDIR:
      return "část cesty není složka";
    case ENAMETOOLONG:
      return "cesta je příliš dlouhá";
    case EIO:
      return "chyba čtení nebo zápisu na disk";
    case EMFILE:
    case ENFILE:
      return "je otevřeno příliš mnoho souborů";
    default:
      return "systémová chyba č. " + std::to_string(err);
  }
}

namespace {

std::string shown(const fs::path& p) {
  return p.string();
}

[[noreturn]] void fail(const char* what, const fs::path& p, int err) {
  throw FileError(std::string(what) + " „" + shown(p) + "“: " + systemErrorText(err) + ".");
}

// Removes temporary files that writers of the same target left behind when they were killed.
void removeStaleTemporaries(const fs::path& folder, const std::string& fileName) {
  const std::string prefix = FileReplacement::temporaryPrefix(fileName);
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(prefix, 0) != 0) continue;
    const std::string rest = name.substr(prefix.size());
    const pid_t pid = static_cast<pid_t>(std::atol(rest.c_str()));
    if (pid > 0 && pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH)
      ::unlink(it->path().c_str());
  }
}

}  // namespace

[[noreturn]] void tooLarge(const fs::path& path, std::uintmax_t size, std::uintmax_t maxBytes) {
  auto kb = [](std::uintmax_t bytes) { return std::to_string((bytes + 1023) / 1024) + " kB"; };
  throw FileError("Soubor „" + shown(path) + "“ je příliš velký (" + kb(size) +
                  "); soubor tohoto druhu má nejvýše " + kb(maxBytes) + ".");
}

std::string readFileBytes(const fs::path& path, std::uintmax_t maxBytes) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) fail("Soubor nelze otevřít", path, errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) fail("Soubor nelze otevřít", path, errno);
  if (S_ISDIR(st.st_mode)) fail("Soubor nelze otevřít", path, EISDIR);
  if (static_cast<std::uintmax_t>(st.st_size) > maxBytes)
    tooLarge(path, static_cast<std::uintmax_t>(st.st_size), maxBytes);
  std::string bytes;
  bytes.resize(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  for (;;) {
    if (done == bytes.size()) {
      // The file may have grown since fstat; keep reading, within the limit.
      if (bytes.size() > maxBytes) tooLarge(path, bytes.size(), maxBytes);
      bytes.resize(bytes.size() + 4096);
    }
    const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail("Soubor nelze přečíst", path, errno);
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  if (done > maxBytes) tooLarge(path, done, maxBytes);
  bytes.resize(done);
  return bytes;
}

TextList loadTextList(const fs::path& path, std::uintmax_t maxBytes) {
  return TextList::fromText(cp1250::decode(readFileBytes(path, maxBytes)));
}

void saveTextList(const fs::path& path, const TextList& list) {
  std::string bytes;
  try {
    bytes = cp1250::encode(list.joined("\r\n"));
  } catch (const FileError& e) {
    throw FileError(std::string(e.what()) + "\rSoubor „" + shown(path) + "“ nebyl uložen.");
  }
  writeFileAtomic(path, bytes);
}

void writeFileAtomic(const fs::path& path, std::string_view bytes) {
  detail::writeFileAtomic(path, bytes, detail::WriteFault::None);
}

namespace detail {

void writeFileAtomic(const fs::path& requested, std::string_view bytes, WriteFault fault) {
  // Write through a symbolic link to the file it names, not over the link.
  fs::path path = requested;
  std::error_code ec;
  if (fs::is_symlink(path, ec)) path = fs::weakly_canonical(path, ec);
  if (ec) path = requested;

  mode_t mode = 0644;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) fail("Soubor nelze uložit", path, EISDIR);
    if ((st.st_mode & S_IWUSR) == 0)
      throw FileError("Soubor „" + shown(path) + "“ je jen pro čtení a nelze jej přepsat.");
    mode = st.st_mode & 07777;
  }

  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  removeStaleTemporaries(folder, path.filename().string());
  FileReplacement replacement(path, mode);
  if (replacement.fd() < 0) fail("Soubor nelze uložit", path, errno);
  const int fd = replacement.fd();
  if (fault == WriteFault::AfterCreate) fail("Soubor nelze uložit", path, EIO);
  if (fault == WriteFault::AfterPartialWrite) {
    writeAll(fd, bytes.data(), bytes.size() / 2);
    fail("Soubor nelze uložit", path, ENOSPC);
  }
  if (!writeAll(fd, bytes.data(), bytes.size())) fail("Soubor nelze uložit", path, errno);
  if (::fchmod(fd, mode) != 0) fail("Soubor nelze uložit", path, errno);
  if (fault == WriteFault::BeforeRename) {
    ::fsync(fd);
    fail("Soubor nelze uložit", path, EIO);
  }
  if (const int err = replacement.commit()) fail("Soubor nelze uložit", path, err);
}

}  // namespace detail
}  // namespace tervano
