#include "data/program_location.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <system_error>
#include <vector>

#include "data/concat.h"
#include "data/cp1250.h"
#include "data/errors.h"
#include "data/file_ops.h"
#include "data/programfolder.h"
#include "data/textfile.h"

namespace tervano {

namespace fs = std::filesystem;

namespace {

bool present(const fs::path& p) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(p, ec));
}

[[noreturn]] void failFolder(const fs::path& folder, const std::error_code& ec) {
  throw FileError(concat({"Složku s daty hry „", folder.string(),
                          "“ nelze připravit: ", systemErrorText(ec.value()), "."}));
}

// The files of the tree as relative paths, in name order.
std::vector<fs::path> filesOf(const fs::path& tree) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(tree, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file(ec)) files.push_back(it->path().lexically_relative(tree));
  if (ec) failFolder(tree, ec);
  std::sort(files.begin(), files.end());
  return files;
}

// "tervano" and "tervano" + number: the active set and the installed ones.
bool isSetFolder(const fs::path& relative) {
  const std::string first = cp1250::toLower(relative.begin()->string());
  if (first.rfind("tervano", 0) != 0) return false;
  const std::string rest = first.substr(7);
  return std::all_of(rest.begin(), rest.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Makes a folder and the folders above it that are missing.
void makeFolders(const fs::path& folder) {
  std::error_code ec;
  if (fs::is_directory(folder, ec)) return;
  if (folder.has_parent_path() && folder.parent_path() != folder) makeFolders(folder.parent_path());
  const int err = fileops::makeFolder(folder);
  if (err != 0 && !(err == EEXIST && fs::is_directory(folder, ec)))
    failFolder(folder, std::error_code(err, std::generic_category()));
}

// Copies one file under a name that does not exist yet; a file that appeared meanwhile wins.
void copyNew(const fs::path& from, const fs::path& to) {
  makeFolders(to.parent_path());
  // The copy is the player's to change, whatever the delivered file's permissions.
  const fs::path temp = to.parent_path() / fileops::temporaryName();
  // The installed tree is the program's own: a file a package links in is copied as what it is.
  std::error_code ec;
  const fs::path source = fs::canonical(from, ec);
  int err = ec ? ec.value() : fileops::copyFile(source, temp);
  // link() refuses to replace an existing name, where rename() would replace it.
  if (err == 0) err = fileops::hardLink(temp, to);
  fileops::removeFile(temp);
  if (err != 0 && err != EEXIST)
    failFolder(to.parent_path(), std::error_code(err, std::generic_category()));
}

void writeStamp(const fs::path& folder, const std::string& fingerprint) {
  writeFileAtomic(folder / kFilledFromFile, fingerprint + "\n");
}

std::string readStamp(const fs::path& folder) {
  std::error_code ec;
  if (!fs::is_regular_file(folder / kFilledFromFile, ec)) return {};
  try {
    std::string text = readFileBytes(folder / kFilledFromFile, 4096);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
      text.pop_back();
    return text;
  } catch (const FileError&) {
    return {};  // an unreadable record only means one more fill of what is missing
  }
}

void fillFirstTime(const fs::path& tree, const fs::path& folder, const std::string& fingerprint) {
  const fs::path parent = folder.parent_path();
  makeFolders(parent);
  const fs::path temp =
      parent / concat({".", folder.filename().string(), "-new-", std::to_string(::getpid())});
  fileops::removeTree(temp);
  if (const int err = fileops::makeFolder(temp))
    failFolder(temp, std::error_code(err, std::generic_category()));
  for (const fs::path& rel : filesOf(tree))
    copyNew(tree / rel, temp / rel);
  writeStamp(temp, fingerprint);
  if (const int err = fileops::rename(temp, folder)) {
    // Another instance started at the same moment made the folder first: use that one.
    fileops::removeTree(temp);
    std::error_code ignored;
    if (!fs::is_directory(folder, ignored))
      failFolder(folder, std::error_code(err, std::generic_category()));
  }
}

}  // namespace

bool holdsDataTree(const fs::path& folder) {
  std::error_code ec;
  return fs::is_directory(resolveCaseInsensitive(folder / "tervano"), ec) ||
         fs::is_regular_file(resolveCaseInsensitive(folder / "sady.ini"), ec) ||
         fs::is_directory(resolveCaseInsensitive(folder / "Data" / "kriz"), ec);
}

fs::path userDataFolder(const std::string& xdgDataHome, const std::string& home) {
  if (!xdgDataHome.empty() && xdgDataHome.front() == '/') return fs::path(xdgDataHome) / "tervano";
  return fs::path(home) / ".local" / "share" / "tervano";
}

ProgramLocation locateProgramFolder(const LocationInputs& in) {
  std::error_code ec;
  if (!in.handedOver.empty() && in.handedOver.front() == '/' && fs::is_directory(in.handedOver, ec))
    return {fs::path(in.handedOver), {}};
  if (holdsDataTree(in.executableFolder) || !fs::is_directory(in.installedTree, ec))
    return {in.executableFolder, {}};
  return {userDataFolder(in.xdgDataHome, in.home), in.installedTree.lexically_normal()};
}

std::string treeFingerprint(const fs::path& tree) {
  // FNV-1a over every file's name, size and time.
  std::uint64_t hash = 14695981039346656037ull;
  auto mix = [&hash](std::string_view bytes) {
    for (unsigned char c : bytes) {
      hash ^= c;
      hash *= 1099511628211ull;
    }
    hash ^= 0xff;  // a separator, so that "ab","c" and "a","bc" differ
    hash *= 1099511628211ull;
  };
  std::error_code ec;
  for (const fs::path& rel : filesOf(tree)) {
    mix(rel.string());
    mix(std::to_string(fs::file_size(tree / rel, ec)));
    mix(std::to_string(fs::last_write_time(tree / rel, ec).time_since_epoch().count()));
  }
  char text[17];
  static const char digits[] = "0123456789abcdef";
  for (int i = 15; i >= 0; --i, hash >>= 4)
    text[i] = digits[hash & 0xf];
  text[16] = '\0';
  return text;
}

void fillProgramFolder(const fs::path& tree, const fs::path& folder) {
  const std::string fingerprint = treeFingerprint(tree);
  if (!present(folder)) {
    fillFirstTime(tree, folder, fingerprint);
    return;
  }
  if (readStamp(folder) == fingerprint) return;
  const ProgramFolder own(folder);
  for (const fs::path& rel : filesOf(tree)) {
    if (isSetFolder(rel)) continue;
    const fs::path target = own.resolve(rel.string());
    if (!present(target)) copyNew(tree / rel, target);
  }
  writeStamp(folder, fingerprint);
}

}  // namespace tervano
