// A transaction ends whole or not at all: killed after any of its file mutations and recovered,
// failing at any of them, stopped half-way while another process recovers, or recovered by a
// recovery that is itself killed.
#include "data/transaction.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

#include "data/textfile.h"
#include "interruptions.h"
#include "program_folder.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;
using testing::TempProgram;
using testing::Tree;

// A program folder and one change that uses every kind of step: two files replaced (one of them
// a link to a file outside), a new file, a new folder with a missing folder above it and a file
// inside, two set folders exchanged, a folder set aside and removed, a file renamed.
struct Scene {
  // The program folder lies one folder down, so that the file "outside" stays in the test's own.
  explicit Scene(std::string below = "program") : below_(std::move(below)) {}

  std::unique_ptr<TempProgram> dir;
  fs::path root() const { return dir->root(); }

  void prepare() {
    dir = std::make_unique<TempProgram>(below_, TempProgram::Where::Memory);
    dir->writeBytes("tervano/a.txt", "staré a");
    dir->writeBytes("tervano/b.txt", "staré b");
    dir->writeBytes("tervano31/Tervano.ini", "31");
    dir->writeBytes("tervano32/Tervano.ini", "32");
    dir->writeBytes("tervanoMazani/r1/k1/k.lk", "smazat");
    dir->writeBytes("sady.ini", "seznam");
    dir->writeBytes("../venku.txt", "venku");
    fs::create_symlink("../../venku.txt", root() / "tervano/odkaz.txt");
  }

  void change() const {
    Transaction tx(root(), "Zkouška změny");
    tx.replaceFile(root() / "tervano/a.txt", "nové a");
    tx.replaceFile(root() / "tervano/odkaz.txt", "místo odkazu");
    tx.replaceFile(root() / "tervano/nový.txt", "nový");
    tx.newFolder(root() / "tervano/r2/k1");
    tx.replaceFile(root() / "tervano/r2/k1/k.nk", "nové k.nk");
    tx.exchange(root() / "tervano31", root() / "tervano32");
    tx.moveAside(root() / "tervanoMazani");
    tx.move(root() / "sady.ini", root() / "sady.old");
    tx.replaceFile(root() / "tervano/b.txt", "nové b");
    tx.commit();
  }

  // The whole tree, with the file outside the program folder that a link names.
  Tree tree() const {
    Tree t = testing::tree(root());
    t["../venku.txt"] = dir->readBytes("../venku.txt");
    return t;
  }

 private:
  std::string below_;
};

struct Ends {
  Tree before, after;
};

Ends endsOf(Scene& s) {
  Ends e;
  s.prepare();
  e.before = s.tree();
  s.change();
  e.after = s.tree();
  return e;
}

void expectWholeOrNothing(const Scene& s, const Ends& e, long n) {
  const Tree now = s.tree();
  EXPECT_TRUE(now == e.before || now == e.after)
      << "after " << n << ": against before" << testing::difference(now, e.before)
      << " / against after" << testing::difference(now, e.after);
  EXPECT_EQ(testing::temporariesIn(s.root()), std::vector<std::string>{}) << "after " << n;
}

TEST(Transaction, DoneWholeTheChangeHasEveryStepAndLeavesNothingBehind) {
  Scene s;
  const Ends e = endsOf(s);
  EXPECT_EQ(e.after.at("tervano/a.txt"), "file:nové a");
  EXPECT_EQ(e.after.at("tervano/b.txt"), "file:nové b");
  EXPECT_EQ(e.after.at("tervano/odkaz.txt"), "file:místo odkazu");
  EXPECT_EQ(e.after.at("../venku.txt"), "venku");
  EXPECT_EQ(e.after.at("tervano/r2/k1/k.nk"), "file:nové k.nk");
  EXPECT_EQ(e.after.at("tervano31/Tervano.ini"), "file:32");
  EXPECT_EQ(e.after.at("sady.old"), "file:seznam");
  EXPECT_FALSE(e.after.contains("tervanoMazani"));
  EXPECT_FALSE(e.after.contains("sady.ini"));
  EXPECT_EQ(testing::temporariesIn(s.root()), std::vector<std::string>{});
}

class KilledTransaction : public ::testing::TestWithParam<const char*> {};

TEST_P(KilledTransaction, AKillAfterAnyMutationIsRecoveredToAllOldOrAllNew) {
  Scene s(GetParam());
  const Ends e = endsOf(s);
  int old = 0, whole = 0;
  const int kills = testing::killAtEveryMutation(
      [&] { s.prepare(); }, [&] { s.change(); },
      [&](long n) {
        const RecoveryReport report = recoverAtStart(s.root());
        expectWholeOrNothing(s, e, n);
        const bool isOld = s.tree() == e.before;
        (isOld ? old : whole)++;
        // The user hears of an undone or finished change only when a journal was there.
        EXPECT_TRUE(report.problems.empty()) << report.message();
        EXPECT_TRUE(report.undone.empty() || isOld) << n;
        EXPECT_TRUE(report.finished.empty() || !isOld) << n;
        EXPECT_TRUE(report.message().empty() ||
                    report.message().find("„Zkouška změny“") != std::string::npos)
            << report.message();
      });
  EXPECT_GT(kills, 20);
  EXPECT_GT(old, 0);
  EXPECT_GT(whole, 0);
}

INSTANTIATE_TEST_SUITE_P(PlainAndOddFolder, KilledTransaction,
                         ::testing::Values("program", testing::kOddFolder), [](const auto& info) {
                           return std::string(info.index == 0 ? "Plain" : "OddFolder");
                         });

TEST(Transaction, ARecoveryKilledAtAnyOfItsStepsEndsTheSameWhenRunAgain) {
  Scene s;
  const Ends e = endsOf(s);
  int cases = 0;
  testing::killAtEveryMutation(
      [&] { s.prepare(); }, [&] { s.change(); },
      [&](long n) {
        recoverAtStart(s.root());
        const Tree expected = s.tree();
        // The same interruption again, and a recovery killed after each of its own mutations.
        cases += testing::killAtEveryMutation(
            [&] {
              s.prepare();
              testing::runKilledAfter(n, [&] { s.change(); });
            },
            [&] { recoverAtStart(s.root()); },
            [&](long m) {
              recoverAtStart(s.root());
              EXPECT_EQ(s.tree(), expected) << "change killed after " << n << ", recovery after "
                                            << m << testing::difference(s.tree(), expected);
              EXPECT_EQ(testing::temporariesIn(s.root()), std::vector<std::string>{});
            });
      });
  EXPECT_GT(cases, 50);
}

TEST(Transaction, RecoveryInAnotherProcessLeavesALiveTransactionAlone) {
  Scene s;
  const Ends e = endsOf(s);
  const int stops = testing::stopAtEveryMutation(
      [&] { s.prepare(); }, [&] { s.change(); },
      [&](long n) {
        // The change is caught half-way; a second instance starting now must not touch it.
        const Tree caught = testing::tree(s.root());
        const RecoveryReport report = recoverAtStart(s.root());
        EXPECT_EQ(testing::tree(s.root()), caught) << "stopped after " << n;
        EXPECT_EQ(report.message(), "");
      },
      [&](long n) {
        EXPECT_EQ(s.tree(), e.after) << "stopped after " << n;
        EXPECT_EQ(testing::temporariesIn(s.root()), std::vector<std::string>{});
      });
  EXPECT_GT(stops, 20);
}

// A full disk, a read-only disk, a file system that cannot exchange: the failing mutation ends
// the change, which is undone at once; a failure after the commit mark leaves the change done.
TEST(Transaction, AFailureAtAnyMutationUndoesTheChangeAtOnce) {
  for (const int err : {ENOSPC, EROFS, EIO}) {
    Scene s;
    const Ends e = endsOf(s);
    int undone = 0;
    testing::failAtEveryMutation(
        err, [&] { s.prepare(); }, [&] { s.change(); },
        [&](long n, const std::string& error) {
          if (!error.empty()) {
            ++undone;
            EXPECT_EQ(s.tree(), e.before) << "failed at " << n << ": " << error;
            EXPECT_NE(error.find(systemErrorText(err)), std::string::npos) << error;
            EXPECT_NE(error.find(s.root().string()), std::string::npos) << error;
          } else {
            recoverAtStart(s.root());
            EXPECT_EQ(s.tree(), e.after) << "failed at " << n;
          }
          EXPECT_EQ(testing::temporariesIn(s.root()), std::vector<std::string>{});
        });
    EXPECT_GT(undone, 20) << err;
  }
}

TEST(Transaction, WhenEvenTheUndoingFailsTheNextRecoveryEndsIt) {
  // From the failing mutation on, every one fails (a disk gone read-only): the change cannot be
  // undone at once, and says so; once the process has ended, the next start puts it all back.
  const testing::WithoutFlushes quick;
  Scene s;
  const Ends e = endsOf(s);
  int later = 0;
  for (long n = 1;; ++n) {
    s.prepare();
    const auto end = testing::runFailingAt(n, EROFS, true, [&] { s.change(); });
    if (!end.reached) break;
    if (end.error.find("při příštím spuštění") != std::string::npos) ++later;
    const RecoveryReport report = recoverAtStart(s.root());
    EXPECT_TRUE(report.problems.empty()) << report.message();
    const Tree now = s.tree();
    EXPECT_TRUE(now == (end.error.empty() ? e.after : e.before))
        << "failing from " << n << ": " << end.error;
    EXPECT_EQ(testing::temporariesIn(s.root()), std::vector<std::string>{}) << n;
  }
  EXPECT_GT(later, 0);
}

TEST(Transaction, WithoutExchangeFilesAreStillReplacedAndFoldersRefusedWhole) {
  // The file system refuses to exchange (or to rename without replacing) at one mutation: files
  // fall back to a second name and a rename, a folder exchange fails and is undone.
  Scene s;
  const Ends e = endsOf(s);
  int fellBack = 0, refused = 0;
  testing::failAtEveryMutation(
      fileops::kNoExchange, [&] { s.prepare(); }, [&] { s.change(); },
      [&](long n, const std::string& error) {
        if (n == 0) return;
        if (error.empty()) {
          ++fellBack;
          recoverAtStart(s.root());
          EXPECT_EQ(s.tree(), e.after) << "at " << n;
        } else {
          ++refused;
          EXPECT_EQ(s.tree(), e.before) << "at " << n << ": " << error;
        }
      });
  EXPECT_GE(fellBack, 5);  // the three replacements over files, the three moves
  EXPECT_GT(refused, 0);
}

TEST(Transaction, AFinishOnceStartedChangeIsFinishedByRecovery) {
  Scene s;
  const Ends e = endsOf(s);
  auto finishing = [&] {
    Transaction tx(s.root(), "Smazání sady");
    tx.moveAside(s.root() / "tervanoMazani");
    tx.exchange(s.root() / "tervano31", s.root() / "tervano32");
    tx.commit(Transaction::Policy::FinishOnceStarted);
  };
  s.prepare();
  finishing();
  const Tree done = s.tree();
  testing::killAtEveryMutation([&] { s.prepare(); }, finishing,
                               [&](long n) {
                                 recoverAtStart(s.root());
                                 // Once the journal is there, the change is finished; before it
                                 // nothing had happened.
                                 const Tree now = s.tree();
                                 EXPECT_TRUE(now == done || now == e.before) << "after " << n;
                                 EXPECT_EQ(testing::temporariesIn(s.root()),
                                           std::vector<std::string>{});
                               });
}

// The id of a process that has ended.
pid_t goneProcess() {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  return gone;
}

TEST(Recovery, OnlyTemporariesOfProcessesThatAreGoneAreRemoved) {
  const std::string g = std::to_string(goneProcess());
  const std::string me = std::to_string(::getpid());
  TempProgram dir;
  const std::vector<std::string> removed = {
      ".tvtmp-" + g + "-1", "tervano/r1/k2/.k.lk.tmp-" + g + "-3", "Data/kriz/.tvtmp-" + g + "-7",
      "tervano31/.tvtmp-" + g + "-2/k.lk"};  // a staged folder goes with what it holds
  const std::vector<std::string> kept = {
      ".tvtmp-" + me + "-1",       // this process's own
      "jinde/.tvtmp-" + g + "-1",  // not a folder the program writes in
      "tervano/.bashrc", "tervano/k.lk.tmp-" + g + "-1", "tervano/.tvtmp-" + g};
  for (const auto& p : removed)
    dir.writeBytes(p, "x");
  for (const auto& p : kept)
    dir.writeBytes(p, "x");
  // A link named like a temporary goes as a link; the folder it names stays.
  dir.writeBytes("venku/soubor", "x");
  fs::create_symlink(dir.root() / "venku", dir.root() / ("tervano/.tvtmp-" + g + "-9"));
  const RecoveryReport report = recoverAtStart(dir.root());
  EXPECT_EQ(report.temporariesRemoved, 5);
  EXPECT_EQ(report.message(), "");
  for (const auto& p : removed)
    EXPECT_FALSE(dir.exists(p)) << p;
  EXPECT_FALSE(dir.exists("tervano31/.tvtmp-" + g + "-2"));
  for (const auto& p : kept)
    EXPECT_TRUE(dir.exists(p)) << p;
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir.root() / ("tervano/.tvtmp-" + g + "-9"))));
  EXPECT_TRUE(dir.exists("venku/soubor"));
}

// Earlier versions set a crossword aside in its grade folder while deleting it; a kill left it
// there for good. Such a folder goes once its process is gone, and nothing that only looks like it.
TEST(Recovery, CrosswordsThatOlderVersionsSetAsideAreClearedAndNothingElse) {
  const std::string g = std::to_string(goneProcess());
  const std::string me = std::to_string(::getpid());
  TempProgram dir;
  const std::vector<std::string> removed = {
      "tervano/r2/.smazana-k3-" + g + "/k.lk",  // with what it holds
      "tervano31/R1/.smazana-k12-" + g + "/k.nk", "tervanoMazani/r4/.smazana-k1-" + g};
  const std::vector<std::string> kept = {
      "tervano/r2/.smazana-k3-" + me + "/k.lk",  // a live process's own
      "tervano/.smazana-k3-" + g,                // not in a grade folder
      "tervano/def/.smazana-k3-" + g,            // nor here
      "tervano/r2/k1/.smazana-k3-" + g,          // nor inside a crossword
      "tervano/def/r1/.smazana-k3-" + g,         // nor in a folder named like a grade deeper down
      "jinde/r2/.smazana-k3-" + g,               // not in a set
      "tervano/r2/.smazana-kx-" + g,             // not a crossword number
      "tervano/r2/.smazana-k3-" + g + "x",       // not a process
      "tervano/r2/.smazana-k3",                  // no process at all
      "tervano/r2/smazana-k3-" + g};
  for (const auto& p : removed)
    dir.writeBytes(p, "x");
  for (const auto& p : kept)
    dir.writeBytes(p, "x");
  // A crossword folder that was a link was set aside as the link: it goes as a link.
  dir.writeBytes("venku/k.lk", "x");
  fs::create_directories(dir.root() / "tervano/r3");
  fs::create_symlink(dir.root() / "venku", dir.root() / ("tervano/r3/.smazana-k2-" + g));
  const RecoveryReport report = recoverAtStart(dir.root());
  EXPECT_EQ(report.temporariesRemoved, 4);
  EXPECT_EQ(report.message(), "");
  for (const auto& p : removed)
    EXPECT_FALSE(dir.exists(fs::path(p).parent_path().filename().string().starts_with(".smazana")
                                ? fs::path(p).parent_path().string()
                                : p))
        << p;
  for (const auto& p : kept)
    EXPECT_TRUE(dir.exists(p)) << p;
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir.root() / ("tervano/r3/.smazana-k2-" + g))));
  EXPECT_TRUE(dir.exists("venku/k.lk"));
}

TEST(Recovery, ADamagedJournalIsReportedAndKeepsWhatItMayName) {
  // Killed at the first moment its journal is there, then the journal damaged.
  Scene s;
  fs::path journal;
  for (long n = 1; journal.empty(); ++n) {
    s.prepare();
    ASSERT_TRUE(testing::runKilledAfter(n, [&] { s.change(); }).killed);
    for (const auto& entry : fs::directory_iterator(s.root()))
      if (entry.path().filename().string().starts_with(kJournalPrefix)) journal = entry.path();
  }
  const std::string name = journal.filename().string();
  const std::string text = s.dir->readBytes(name);
  s.dir->writeBytes(name, text.substr(0, text.size() / 2));
  const Tree before = testing::tree(s.root());
  const RecoveryReport report = recoverAtStart(s.root());
  EXPECT_EQ(report.problems.size(), 1u);
  EXPECT_NE(report.message().find("je poškozený"), std::string::npos) << report.message();
  // Its staged files stay too: they may hold what the journal would have put back.
  EXPECT_EQ(testing::tree(s.root()), before);
}

}  // namespace
}  // namespace tervano
