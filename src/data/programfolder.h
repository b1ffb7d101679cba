#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "data/textlist.h"

namespace tervano {

// The folder of the executable and everything below it. Relative paths are written with "\" or
// "/" and are resolved without regard to letter case, component by component, so that
// "Tervano\hdb\FINAL.mid" and "tervano/hdb/Final.mid" reach one entry. A component that does not
// exist keeps the spelling given, so new files are created with the name the caller chose.
class ProgramFolder {
 public:
  static constexpr std::uintmax_t kDefaultLimit = 1024u * 1024u;
  explicit ProgramFolder(std::filesystem::path root);

  // The folder holding the running executable (not the working folder).
  static std::filesystem::path executableFolder();
  static std::filesystem::path executablePath();

  const std::filesystem::path& root() const { return root_; }
  // The folder as text, ending with a separator.
  std::string text() const;

  // Relative paths are taken below the folder; absolute ones are resolved as they are. A
  // relative path may not climb out of the folder ("..").
  std::filesystem::path resolve(std::string_view path) const;
  bool exists(std::string_view path) const;
  bool isFile(std::string_view path) const;

  // Reads a text list; a file larger than maxBytes is refused (see limits in textfile.h).
  TextList load(std::string_view path, std::uintmax_t maxBytes = kDefaultLimit) const;
  void save(std::string_view path, const TextList& list) const;
  // Removes a file (a link as a link, never what it points to); a missing file is not an error.
  void remove(std::string_view path) const;

  // Called after every successful save with the path as the caller wrote it; tests record the
  // order of file writes with it.
  void setWriteObserver(std::function<void(const std::string&)> observer) {
    observer_ = std::move(observer);
  }
  // Tells the observer of a file written by other means (a transaction's commit).
  void wrote(const std::string& path) const;

 private:
  std::filesystem::path root_;
  std::function<void(const std::string&)> observer_;
};

// Resolves an absolute path without regard to letter case (see ProgramFolder).
std::filesystem::path resolveCaseInsensitive(const std::filesystem::path& absolute);

// Name comparison used by the resolution: equal after lower-casing by code page 1250's rules.
bool sameNameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tervano
