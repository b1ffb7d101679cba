#pragma once

#include <filesystem>
#include <string>

namespace tervano {

// A file descriptor closed when it goes.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd();
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release();

 private:
  int fd_;
};

// Writes all bytes, through interrupted writes; false with errno set when the write fails.
bool writeAll(int fd, const char* data, std::size_t size);

// The new content of a file, written into a temporary file beside the target and renamed over
// it in one step, so the target is either the old or the new file, never half of one. A symbolic
// link in the target's place is replaced by the rename. What is not committed is removed.
class FileReplacement {
 public:
  FileReplacement(const std::filesystem::path& target, unsigned mode);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // The temporary file; below 0 when it could not be made (errno says why).
  int fd() const { return fd_.get(); }
  // Flushes the new file, renames it over the target and makes the rename durable. Returns 0, or
  // the errno that stopped it; the temporary file is gone either way.
  int commit();

  // The prefix of the temporary files of a target: ".<name>.tmp-", then pid and a counter.
  static std::string temporaryPrefix(const std::string& fileName);

 private:
  std::filesystem::path target_;
  std::filesystem::path temp_;
  Fd fd_;
  bool done_ = false;
};

}  // namespace tervano
