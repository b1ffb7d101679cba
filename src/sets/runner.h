#pragma once

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// The program's own runner of the set manager's command scripts. It knows their few commands
// ("echo", "copy", "cd", "rd", "erase"), takes paths in double quotes (escaped as command_script.h
// says), and keeps to its limits: nothing is written outside the program folder, "erase" and "rd"
// act only inside the set folder the script was written for, and no symbolic link is followed by
// a change: a path that passes a link below those folders is not acted on.
namespace tervano::sets {

struct RunLimits {
  std::filesystem::path programFolder;
  std::filesystem::path setFolder;
  // Where the copies come from (the medium, the template). Sources must lie in it; what lies
  // behind a link in it is not copied but reported as skipped. Empty: sources anywhere.
  std::filesystem::path sourceFolder;
  // Asked, on the runner's thread, before every "erase *.*" that would act: the folder. False
  // skips that erase, as the answer "n" does in a console. Unset: nothing is asked.
  std::function<bool(const std::filesystem::path& folder)> confirmEraseAll;
};

// What a run reports while it works (files copied of files to copy), the questions it waits on,
// and how it ended. The runner writes it from its own thread; the user-interface thread reads it.
class RunProgress {
 public:
  int filesDone() const { return done_.load(); }
  int filesTotal() const { return total_.load(); }
  bool finished() const { return finished_.load(std::memory_order_acquire); }
  // Once finished: the Czech reason of a failure, "" after success.
  const std::string& error() const { return error_; }
  bool succeeded() const { return finished() && error_.empty(); }
  // Once finished: what the copies passed over (entries that are neither regular files nor
  // folders, and links in place of folders), relative to the source folder; and the folders
  // whose "erase *.*" was answered "n".
  const std::vector<std::string>& skipped() const { return skipped_; }
  const std::vector<std::filesystem::path>& declined() const { return declined_; }
  // Asks the run to stop before its next file; it then ends as failed. A question it waits on
  // is answered "n".
  void cancel();

  // The hand-over of a question from the runner's thread to the user-interface thread: the runner
  // asks and waits; the user-interface thread sees the question, asks the user and answers.
  // The folder a waiting run asks about, if any.
  std::optional<std::filesystem::path> question() const;
  void answer(bool yes);
  // Runner side: waits for the answer; false when the run was cancelled meanwhile.
  bool ask(const std::filesystem::path& folder);

 private:
  friend class Runner;
  friend void runCommandScript(const std::filesystem::path&, const RunLimits&, RunProgress&);
  std::atomic<int> done_{0};
  std::atomic<int> total_{0};
  std::atomic<bool> cancelled_{false};
  std::atomic<bool> finished_{false};
  std::string error_;
  std::vector<std::string> skipped_;
  std::vector<std::filesystem::path> declined_;
  mutable std::mutex mutex_;
  std::condition_variable answered_;
  std::optional<std::filesystem::path> question_;
  std::optional<bool> answer_;
};

// Reads the script (code page 1250) and carries it out line by line; returns when it is done.
// Every line is checked before the first one runs: a line the runner does not know fails the
// run and nothing is done. A failed "cd" leaves no current folder, so a following "erase *.*" or
// a relative "rd" does nothing; "rd" leaves the current folder, as a console does. A "copy"
// copies every regular file of a folder ("<folder>/*.*"), names without a dot too, but no
// subfolders; the source is found without regard to letter case, each file is replaced
// atomically, and a file copied onto itself is left alone. A copy that cannot be made fails the
// run; "erase" and "rd" pass over what is not there.
void runCommandScript(const std::filesystem::path& script, const RunLimits& limits,
                      RunProgress& progress);

}  // namespace tervano::sets
