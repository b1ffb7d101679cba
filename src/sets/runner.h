#pragma once

#include <atomic>
#include <filesystem>
#include <string>

// The program's own runner of the set manager's command scripts. It knows their few commands
// ("echo", "copy", "cd", "rd", "erase"), takes paths in double quotes, and keeps to two limits:
// nothing is written outside the program folder, and "erase" and "rd" act only inside the set
// folder the script was written for.
namespace tervano::sets {

struct RunLimits {
  std::filesystem::path programFolder;
  std::filesystem::path setFolder;
};

// What a run reports while it works (files copied of files to copy) and how it ended. The runner
// writes it from its own thread; the user-interface thread reads it.
class RunProgress {
 public:
  int filesDone() const { return done_.load(); }
  int filesTotal() const { return total_.load(); }
  bool finished() const { return finished_.load(std::memory_order_acquire); }
  // Once finished: the Czech reason of a failure, "" after success.
  const std::string& error() const { return error_; }
  bool succeeded() const { return finished() && error_.empty(); }
  // Asks the run to stop before its next file; it then ends as failed.
  void cancel() { cancelled_ = true; }

 private:
  friend class Runner;
  friend void runCommandScript(const std::filesystem::path&, const RunLimits&, RunProgress&);
  std::atomic<int> done_{0};
  std::atomic<int> total_{0};
  std::atomic<bool> cancelled_{false};
  std::atomic<bool> finished_{false};
  std::string error_;
};

// Reads the script (code page 1250) and carries it out line by line; returns when it is done.
// Every line is checked before the first one runs: a line the runner does not know fails the
// run and nothing is done. A failed "cd" leaves no current folder, so a following "erase *.*" or
// a relative "rd" does nothing. A "copy" copies every regular file of a folder ("<folder>/*.*"),
// names without a dot too, but no subfolders; the source is found without regard to letter case,
// each file is replaced atomically, and a file copied onto itself is left alone. A copy that
// cannot be made fails the run; "erase" and "rd" pass over what is not there.
void runCommandScript(const std::filesystem::path& script, const RunLimits& limits,
                      RunProgress& progress);

}  // namespace tervano::sets
