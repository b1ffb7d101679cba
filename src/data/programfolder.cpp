#include "data/programfolder.h"

#include <unistd.h>

#include <vector>

#include "data/cp1250.h"
#include "data/errors.h"
#include "data/file_ops.h"
#include "data/textfile.h"

namespace tervano {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> splitRelative(std::string_view path) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) parts.push_back(std::move(current));
  return parts;
}

bool looksAbsolute(std::string_view path) {
  return !path.empty() && path.front() == '/';
}

// Resolves the components one by one below base.
fs::path resolveParts(fs::path base, const std::vector<std::string>& parts) {
  std::error_code ec;
  bool scanning = true;
  for (const auto& part : parts) {
    if (part == ".") continue;
    fs::path exact = base / part;
    if (!scanning || fs::exists(fs::symlink_status(exact, ec))) {
      base = std::move(exact);
      continue;
    }
    // Prefer the first match in name order, so the choice is stable.
    std::string found;
    for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (sameNameIgnoringCase(name, part) && (found.empty() || name < found)) found = name;
    }
    if (found.empty()) {
      scanning = false;  // nothing below a missing entry can exist
      base = std::move(exact);
    } else {
      base /= found;
    }
  }
  return base;
}

}  // namespace

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() == b.size() && a == b) return true;
  return cp1250::toLower(a) == cp1250::toLower(b);
}

fs::path resolveCaseInsensitive(const fs::path& absolute) {
  std::error_code ec;
  if (fs::exists(fs::symlink_status(absolute, ec))) return absolute;
  std::vector<std::string> parts;
  for (const auto& p : absolute.relative_path())
    parts.push_back(p.string());
  return resolveParts(absolute.root_path(), parts);
}

ProgramFolder::ProgramFolder(fs::path root) : root_(std::move(root)) {}

fs::path ProgramFolder::executablePath() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) exe = fs::absolute("tervano-hra");
  // An executable replaced while it runs (a package update) reads as "... (deleted)"; a new
  // instance is started from the new file under the same name.
  static constexpr std::string_view kDeleted = " (deleted)";
  const std::string text = exe.string();
  if (text.size() > kDeleted.size() && text.ends_with(kDeleted) && !fs::exists(exe, ec))
    exe = text.substr(0, text.size() - kDeleted.size());
  return exe;
}

fs::path ProgramFolder::executableFolder() {
  return executablePath().parent_path();
}

std::string ProgramFolder::text() const {
  std::string t = root_.string();
  if (t.empty() || t.back() != '/') t.push_back('/');
  return t;
}

fs::path ProgramFolder::resolve(std::string_view path) const {
  if (looksAbsolute(path)) return resolveCaseInsensitive(fs::path(std::string(path)));
  const auto parts = splitRelative(path);
  for (const auto& p : parts)
    if (p == "..") throw FileError("Cesta „" + std::string(path) + "“ vede mimo složku programu.");
  std::error_code ec;
  fs::path exact = root_;
  for (const auto& p : parts)
    exact /= p;
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  return resolveParts(root_, parts);
}

bool ProgramFolder::exists(std::string_view path) const {
  std::error_code ec;
  return fs::exists(resolve(path), ec);
}

bool ProgramFolder::isFile(std::string_view path) const {
  std::error_code ec;
  return fs::is_regular_file(resolve(path), ec);
}

TextList ProgramFolder::load(std::string_view path, std::uintmax_t maxBytes) const {
  return loadTextList(resolve(path), maxBytes);
}

void ProgramFolder::save(std::string_view path, const TextList& list) const {
  saveTextList(resolve(path), list);
  wrote(std::string(path));
}

void ProgramFolder::remove(std::string_view path) const {
  const fs::path p = resolve(path);
  // A link goes as a link; an empty folder goes too, a full one stays.
  if (fileops::removeFile(p) == EISDIR) fileops::removeEmptyFolder(p);
}

void ProgramFolder::wrote(const std::string& path) const {
  if (observer_) observer_(path);
}

}  // namespace tervano
