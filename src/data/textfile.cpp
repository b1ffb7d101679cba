#include "data/textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "data/concat.h"
#include "data/cp1250.h"
#include "data/errors.h"
#include "data/file_ops.h"

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
    case EEXIST:
      return "soubor nebo složka tohoto jména již existuje";
    case ESTALE:
      return "soubor nebo složka se mezitím změnily";
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
  throw FileError(fileErrorText(what, p, err));
}

}  // namespace

[[noreturn]] void tooLarge(const fs::path& path, std::uintmax_t size, std::uintmax_t maxBytes) {
  auto kb = [](std::uintmax_t bytes) { return std::to_string((bytes + 1023) / 1024) + " kB"; };
  throw FileError("Soubor „" + shown(path) + "“ je příliš velký (" + kb(size) +
                  "); soubor tohoto druhu má nejvýše " + kb(maxBytes) + ".");
}

std::string readFileBytes(const fs::path& path, std::uintmax_t maxBytes) {
  fileops::Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
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

std::string fileErrorText(std::string_view what, const fs::path& path, int err) {
  return concat({what, " „", shown(path), "“: ", systemErrorText(err), "."});
}

unsigned replacementMode(const fs::path& path) {
  // A symbolic link in the target's place is replaced by a regular file, never written through.
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return 0644;
  if (S_ISDIR(st.st_mode)) fail("Soubor nelze uložit", path, EISDIR);
  if (!S_ISREG(st.st_mode)) return 0644;
  if ((st.st_mode & S_IWUSR) == 0)
    throw FileError("Soubor „" + shown(path) + "“ je jen pro čtení a nelze jej přepsat.");
  return st.st_mode & 07777;
}

void writeFileAtomic(const fs::path& path, std::string_view bytes) {
  fileops::FileReplacement replacement(path, replacementMode(path));
  if (replacement.error() != 0) fail("Soubor nelze uložit", path, replacement.error());
  if (!fileops::writeAll(replacement.fd(), bytes.data(), bytes.size()))
    fail("Soubor nelze uložit", path, errno);
  if (const int err = replacement.commit()) fail("Soubor nelze uložit", path, err);
}

}  // namespace tervano
