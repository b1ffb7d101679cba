#pragma once

#include <sys/types.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Every change the program makes to its own files goes through this module: creating, flushing,
// renaming, exchanging and removing entries, making folders, copying. Two rules hold for all of it:
//
// - A symbolic link is never followed by a change. Removing a link removes the link; a tree is
//   removed and copied without entering links; saving over a link replaces the link by a regular
//   file instead of writing through it.
// - Every mutation passes the seam below, one counter for the whole process, so a test can stop
//   the program after the N-th mutation (the moment of a kill) or make the N-th one fail with a
//   chosen errno (a full disk, a read-only disk) without doing it.
//
// The functions return 0 or the errno that stopped them; callers turn that into a Czech message
// naming the file the user knows (see systemErrorText in textfile.h).
namespace tervano::fileops {

// --- the seam ---

namespace seam {

// What the seam tells a mutation that is about to happen.
struct Gate {
  int fail = 0;       // not 0: do not do it, report this errno instead
  bool die = false;   // do it, then call die()
  bool stop = false;  // do it, then call stop()
};

namespace detail {
// Far more mutations than a process makes, so the idle seam never fires.
inline constexpr long kIdle = std::numeric_limits<long>::max() / 2;
// Counts down to the armed mutation; at 1 the next mutation is the armed one.
inline std::atomic<long> remaining{kIdle};
Gate reached(long previous) noexcept;
}  // namespace detail

// Passed before every mutation: one relaxed decrement and a branch while no test has armed it.
// Safe from any thread (the set runner copies on a worker thread).
inline Gate enter() noexcept {
  const long previous = detail::remaining.fetch_sub(1, std::memory_order_relaxed);
  if (previous > 1) [[likely]]
    return {};
  return detail::reached(previous);
}

// Ends the process at once, as a kill does: no destructor, no catch block, no buffered output.
[[noreturn]] void die() noexcept;
// Stops the process (SIGSTOP) until another sends SIGCONT: a transaction caught in the middle.
void stop() noexcept;

// For tests. Arming or resetting starts the count afresh.
void reset();  // idle: nothing fires, mutations are only counted
long count();  // mutations since the last reset or arming
// The n-th mutation from now (1 = the next) is done and then the process is killed.
void killAfter(long n);
// The n-th mutation from now is done and then the process stops until it is continued.
void stopAfter(long n);
// The n-th mutation from now fails with err without being done; with `onward`, every mutation
// after it fails too (a disk that stays full or read-only).
void failAt(long n, int err, bool onward = false);
// The armed mutation has been reached.
bool fired();
// Whether flushes reach the disk (fsync). A kill leaves the system's cache in place, so a test
// that only kills the process may spare the disk the flushes; they still count as mutations.
void flushToDisk(bool on);
bool flushingToDisk();

}  // namespace seam

// --- temporary names ---

// Every temporary entry this program makes is named ".tvtmp-<pid>-<n>": short whatever the
// target's name (a 251-byte file name leaves the temporary far below the 255-byte limit), and
// telling which process made it, so that a later start can remove those of a process that died.
inline constexpr std::string_view kTemporaryPrefix = ".tvtmp-";
// A new temporary name, unique in this process.
std::string temporaryName();
// The process that made a temporary entry of this name: the bounded form above, or the form that
// earlier versions used, ".<target>.tmp-<pid>-<n>". Nothing for any other name.
std::optional<pid_t> temporaryOwner(std::string_view name);
// This process's id (asked of the system once per process).
pid_t processId();
// False only when the process is known to be gone (it may belong to another user).
bool processAlive(pid_t pid);

// --- descriptors and plain writes (not mutations by themselves) ---

// A file descriptor closed when it goes.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd();
  Fd(Fd&& other) noexcept : fd_(other.release()) {}
  Fd& operator=(Fd&& other) noexcept;
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release();

 private:
  int fd_;
};

// Writes all bytes, through interrupted writes; false with errno set when the write fails.
bool writeAll(int fd, const char* data, std::size_t size);

// --- mutations: each counts once at the seam unless said otherwise ---

// Creates a new file (never over an existing entry, never through a link), open for writing.
int createFile(const std::filesystem::path& path, unsigned mode, Fd& out);
// Flushes a written file to the disk: where a full disk shows at the latest.
int flushFile(int fd);
// Appends bytes to an open file in one write.
int append(int fd, std::string_view bytes);
// Renames only when nothing is at `to` (EEXIST otherwise). Where the file system lacks the
// kernel's no-replace rename, a file is hard-linked and unlinked, and a folder is renamed after a
// check (two counted mutations or one).
int rename(const std::filesystem::path& from, const std::filesystem::path& to);
// Renames over what is at `to`: a file (or an empty folder) there is replaced, as rename(2) does.
// Only for putting a new file in place of an old one.
int renameOver(const std::filesystem::path& from, const std::filesystem::path& to);
// Exchanges two existing entries in one step (renameat2 RENAME_EXCHANGE). Where the file system
// lacks it the result is kNoExchange and nothing changed.
int exchange(const std::filesystem::path& a, const std::filesystem::path& b);
inline constexpr int kNoExchange = EINVAL;
bool lacksExchange(int err);
// A second name for an existing file (never following a link at `from`).
int hardLink(const std::filesystem::path& from, const std::filesystem::path& to);
int makeFolder(const std::filesystem::path& path, unsigned mode = 0755);
// Removes a file or a link (the link, never what it points to); a missing entry is no error.
// A folder is refused with EISDIR.
int removeFile(const std::filesystem::path& path);
// Removes an empty folder; a missing one is no error.
int removeEmptyFolder(const std::filesystem::path& path);
// Removes an entry with everything below it, never entering a link: a link anywhere in the tree
// is removed as a link. A missing entry is no error. Each removal counts once.
int removeTree(const std::filesystem::path& path);

// Makes the entries of a folder durable (fsync of the folder); not a mutation.
int syncFolder(const std::filesystem::path& folder);

// The identity of an entry as it stands (links not followed): its inode number, 0 when missing.
ino_t entryId(const std::filesystem::path& path);

// --- the replacement of one file ---

// The new content of a file, written into a temporary file beside the target and renamed over
// it in one step, so the target is either the old or the new file, never half of one. A link in
// the target's place is replaced by the rename, never written through. What is not committed is
// removed. Mutations: creating the temporary file, flushing it, renaming it.
class FileReplacement {
 public:
  FileReplacement(const std::filesystem::path& target, unsigned mode);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // The temporary file to write to; below 0 when it could not be made (error() says why).
  int fd() const { return fd_.get(); }
  int error() const { return error_; }
  const std::filesystem::path& temporary() const { return temp_; }
  // Flushes the new file, renames it over the target and makes the rename durable. Returns 0, or
  // the errno that stopped it; the temporary file is gone either way.
  int commit();
  // Flushes and closes the new file and leaves it under its temporary name, which from then on
  // belongs to the caller (a transaction puts it in place later). Returns 0 or the errno; on an
  // error the temporary file is gone.
  int keep();

 private:
  void discard();

  std::filesystem::path target_;
  std::filesystem::path temp_;
  Fd fd_;
  int error_ = 0;
  bool done_ = false;
};

// --- copying ---

// What a copy skipped: entries that are neither regular files nor folders (links, devices,
// pipes, sockets), relative to the source.
struct CopyReport {
  int files = 0;
  std::vector<std::filesystem::path> skipped;
};

// Copies a regular file (never through a link at `from`) over `to`, replacing it atomically.
int copyFile(const std::filesystem::path& from, const std::filesystem::path& to);
// Copies the regular files and folders of the folder `from` into the folder `to` (made when
// missing), never entering a link; everything else is skipped and reported. `from` itself must be
// a folder, not a link to one (ELOOP otherwise).
int copyTree(const std::filesystem::path& from, const std::filesystem::path& to,
             CopyReport& report);

}  // namespace tervano::fileops
