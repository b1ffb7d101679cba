#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Tests of changes that are interrupted: killed after the N-th file mutation, or failing at it
// (see the seam in data/file_ops.h). The kill is real: the operation runs in a forked child that
// the seam kills with SIGKILL right after the N-th mutation, so no destructor or catch block of it
// runs; the test (the parent) then runs the recovery and checks the files.
//
// The usual shape, for an operation `op` on state that `prepare` builds afresh:
//
//   const int kills = killAtEveryMutation(prepare, op, [&](long n) {
//     recoverAtStart(root);
//     EXPECT_TRUE(tree(root) == before || tree(root) == after) << "killed after " << n;
//     EXPECT_EQ(temporariesIn(root), std::vector<std::string>{});
//   });
//
// The loops run without flushes to the disk (fileops::seam::flushToDisk): a killed process leaves
// the system's cache in place, so they would only cost time.
namespace tervano::testing {

// While it lives, flushes do not reach the disk (see the note above); the loops below hold one.
class WithoutFlushes {
 public:
  WithoutFlushes();
  ~WithoutFlushes();
  WithoutFlushes(const WithoutFlushes&) = delete;
  WithoutFlushes& operator=(const WithoutFlushes&) = delete;

 private:
  bool was_;
};

// Every entry below a folder, links not followed: relative path -> "dir", "file:<bytes>" or
// "link:<target>". Two snapshots are equal when the trees hold the same names, kinds and bytes.
using Tree = std::map<std::string, std::string>;
Tree tree(const std::filesystem::path& root);
// The entries in which two trees differ, for a readable failure message.
std::string difference(const Tree& a, const Tree& b);

// How a child that ran an operation ended.
struct ChildEnd {
  bool killed = false;    // by the seam, after the armed mutation
  bool stopped = false;   // stopped by the seam, after the armed mutation (then continued)
  bool finished = false;  // the operation returned (or threw a UserError, reported as such)
  bool reached = false;   // it came to the armed mutation (failing runs)
  std::string error;      // the UserError's text, if it threw one
};

// Runs op in a child process whose n-th file mutation is its last (n = 0: never killed).
ChildEnd runKilledAfter(long n, const std::function<void()>& op);
// Runs op in a child whose n-th mutation fails with err (with `onward`, every one after it too);
// the child then ends, so its temporaries belong to a process that is gone.
ChildEnd runFailingAt(long n, int err, bool onward, const std::function<void()>& op);
// Runs op in a child that stops itself after its n-th mutation; while it is stopped (a live change
// caught half-way) whileStopped runs here, then the child goes on to its end.
ChildEnd runStoppedAfter(long n, const std::function<void()>& op,
                         const std::function<void()>& whileStopped);
// The number of file mutations op makes, counted in a child: this process (its seam, its memory)
// stays as it was, the files op changes stay changed.
long countMutations(const std::function<void()>& op);

// For n = 1, 2, ...: prepare(), then op in a child killed after its n-th mutation, then check(n)
// in this process. Ends at the first n that op does not reach (op then ran whole; check is not
// called for it). Returns the number of kills, which is op's mutation count.
int killAtEveryMutation(const std::function<void()>& prepare, const std::function<void()>& op,
                        const std::function<void(long n)>& check);

// For n = 1, 2, ...: prepare(), then op in a child stopped after its n-th mutation, whileStopped(n)
// here, then the child goes on and check(n) runs once it has ended. Returns the number of stops.
int stopAtEveryMutation(const std::function<void()>& prepare, const std::function<void()>& op,
                        const std::function<void(long n)>& whileStopped,
                        const std::function<void(long n)>& check);

// For n = 1, 2, ...: prepare(), then op in this process with its n-th mutation failing with err
// (the others succeed), then check(n, what op threw, "" when nothing). Ends at the first n that
// op does not reach; check is called for that run too, with n = 0. Returns the number of failed
// runs.
int failAtEveryMutation(int err, const std::function<void()>& prepare,
                        const std::function<void()>& op,
                        const std::function<void(long n, const std::string& error)>& check);

// Work entries of the program found below root: temporaries (".tvtmp-*", the older
// ".<name>.tmp-<pid>-<n>") and journals (".tvjournal-*"), as relative paths. Links are not
// followed.
std::vector<std::string> temporariesIn(const std::filesystem::path& root);

// The rule of a set's crossword lists: "sur/<g>.cbx" has count lines, the folders "r<g>/k1" to
// "r<g>/k<count>" each hold the four crossword files, and no "r<g>/k<count+1>" exists. "" when the
// rule holds, otherwise what breaks it.
std::string listsMatchFolders(const std::filesystem::path& set);

}  // namespace tervano::testing
