#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/application.h"
#include "data/textfile.h"
#include "data/transaction.h"
#include "fake_host.h"
#include "interruptions.h"

// A command of a tool killed after each of its file mutations in turn, or failing at each (a full
// or read-only disk): the data end as before or as after, never between.
namespace tervano::testing {

struct Ends {
  Tree before, after;
};

// The tree before and after one whole run of op on the state that prepare builds.
inline Ends endsOf(const std::function<void()>& prepare, const std::function<void()>& op,
                   const std::function<std::filesystem::path()>& root) {
  Ends e;
  prepare();
  e.before = tree(root());
  op();
  e.after = tree(root());
  return e;
}

struct KillEnds {
  int kills = 0;     // the command's mutations
  int undone = 0;    // boxes of the start that told of a change undone
  int finished = 0;  // and of one finished
};

// killAtEveryMutation(prepare, op) for a command of a tool: after each kill the program is started
// again in `mode` ("-EDITOR"), which recovers first. The tree is then `before` or `after`, every
// crossword list of the active set matches its folders and nothing of the program's work is left;
// every box of that start about an interrupted change names `label` and says the change was
// undone when the tree is `before`, finished otherwise.
inline KillEnds restartedAfterEveryKill(const std::function<void()>& prepare,
                                        const std::function<void()>& op,
                                        const std::function<std::filesystem::path()>& root,
                                        const std::string& mode, const Tree& before,
                                        const Tree& after, const std::string& label) {
  KillEnds e;
  e.kills = killAtEveryMutation(prepare, op, [&](long n) {
    FakeHost host;
    app::Application again(host, ProgramFolder(root()),
                           TextList{(root() / "tervano-hra").string(), mode}, 1);
    again.startProgram();
    const std::string when = "killed after " + std::to_string(n);
    const Tree now = tree(root());
    EXPECT_TRUE(now == before || now == after)
        << when << ": against before" << difference(now, before) << " / against after"
        << difference(now, after);
    EXPECT_EQ(listsMatchFolders(root() / "tervano"), "") << when;
    EXPECT_EQ(temporariesIn(root()), std::vector<std::string>{}) << when;
    const bool old = now == before;
    for (const std::string& box : host.only({"info", "warning", "error"})) {
      // The start's own boxes (the script editor's warning) are not the recovery's.
      if (box.find("Přerušen") == std::string::npos) continue;
      EXPECT_NE(box.find("„" + label), std::string::npos) << when << box;
      EXPECT_NE(box.find(old ? "byla vrácena" : "byla dokončena"), std::string::npos)
          << when << box;
      ++(old ? e.undone : e.finished);
    }
  });
  return e;
}

struct Refusals {
  int runs = 0;                 // the runs refused
  std::set<std::string> named;  // the files and folders the refusals named
};

// failAtEveryMutation(err, prepare, op) for a command that tells the user what failed. Each run
// is either refused, with one error box that holds the error's own text, a file or folder in
// „…“ and `notDone` (say "Křížovka nebyla uložena, žádný soubor se nezměnil."), with the whole
// tree as `before` and nothing of the program's work left (whileRefused may check more); or it
// is done (an error after that is another command's), and after the next start's recovery the
// tree is `after`. A run counts as refused when its box holds `notDone` up to the first comma.
inline Refusals refusedOrDone(
    int err, const std::function<void()>& prepare, const std::function<void()>& op,
    const std::function<std::filesystem::path()>& root,
    const std::function<std::vector<std::string>()>& errors, const Tree& before, const Tree& after,
    const std::string& notDone,
    const std::function<void(const std::string& when)>& whileRefused = {}) {
  Refusals r;
  const std::string refusal = notDone.substr(0, notDone.find(','));
  failAtEveryMutation(err, prepare, op, [&](long n, const std::string&) {
    const std::string when = systemErrorText(err) + " at " + std::to_string(n);
    const std::vector<std::string> boxes = errors();
    if (boxes.empty() || boxes[0].find(refusal) == std::string::npos) {
      recoverAtStart(root());
      EXPECT_EQ(tree(root()), after) << when << difference(tree(root()), after);
      return;
    }
    ++r.runs;
    ASSERT_EQ(boxes.size(), 1u) << when;
    const std::string& box = boxes[0];
    EXPECT_EQ(tree(root()), before) << when << difference(tree(root()), before);
    EXPECT_NE(box.find(systemErrorText(err)), std::string::npos) << when << box;
    EXPECT_NE(box.find(notDone), std::string::npos) << when << box;
    const auto open = box.find("„"), close = box.find("“");
    ASSERT_NE(close, std::string::npos) << box;
    r.named.insert(
        std::filesystem::path(box.substr(open + 3, close - open - 3)).filename().string());
    EXPECT_EQ(temporariesIn(root()), std::vector<std::string>{}) << when;
    if (whileRefused) whileRefused(when);
  });
  return r;
}

}  // namespace tervano::testing
