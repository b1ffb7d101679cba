// The autosave log has writers in two processes: the running game appends records and stores its
// settings, the autosave manager deletes records and corrects the count. Each holds the one lock
// of the log from its re-read to its save, so none writes back a log that another changed
// meanwhile: a record the game appends while the manager deletes is never lost.
#include "autosave/log_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "data/file_ops.h"
#include "game_rig.h"
#include "interruptions.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;
using V = std::vector<std::string>;
using Kind = app::Event::Kind;
const char* kLog = "Data/kriz/automatické uložení.kra";
const char* kEvery = "kontrole každé křížovky";

V record(const std::string& points) {
  return {" ", "<>", "4", "1", "1", " ", "<data1>", "N", points, "1",  "1",
          "0", "0",  "A", "S", "4", "N", "N",       "N", kEvery, "</>"};
}

enum class Writer { Delete, DeleteAll, Konec, Check, Settings, Closing };

// A game playing on a folder whose log holds two records (10 and 20 points), and the autosave
// manager started on the same folder when one is needed.
struct TwoRuns {
  testing::GameRig game;
  explicit TwoRuns(const std::string& count = "2") {
    V log = {"A", "50", count, kEvery};
    for (const char* points : {"10", "20"}) {
      const V r = record(points);
      log.insert(log.end(), r.begin(), r.end());
    }
    game.dir.write(kLog, log);
    game.play();
  }
  ProgramFolder folder() const { return ProgramFolder(game.dir.root()); }
  fs::path logFolder() const { return game.dir.root() / "Data/kriz"; }

  // The writer's command; `ready` runs just before it (the seam armed there counts from it).
  void write(Writer w, const std::function<void()>& ready) {
    if (w == Writer::Check || w == Writer::Settings || w == Writer::Closing) {
      app::Application& g = *game.app;
      if (w == Writer::Settings) g.dispatch({Kind::Edit, id::kAutosaveQuota, "", 100});
      game.host.cancel();  // the close's question to save the game
      ready();
      if (w == Writer::Check) game.kontrola();
      if (w == Writer::Settings) g.click(id::kAutosaveApply);
      if (w == Writer::Closing) g.dispatch({Kind::CloseRequest});
      return;
    }
    testing::FakeHost host;
    app::Application manager(host, folder(), TextList{game.dir.path("tervano-hra"), "-SPAUTOSAVE"});
    manager.startProgram();
    manager.dispatch({Kind::Select, id::kManagerList, "", 0});
    host.ok();
    ready();
    if (w == Writer::Delete) manager.click(id::kManagerDelete);
    if (w == Writer::DeleteAll) manager.click(id::kManagerDeleteAll);
    if (w == Writer::Konec) manager.click(id::kManagerQuit);
  }

  TextList log() const { return game.dir.read(kLog); }
  V points() const {
    V all;
    const TextList l = log();
    for (int i = 0; i < l.count(); ++i)
      if (l.get(i) == "<>") all.push_back(l.get(i + 7));
    return all;
  }
};

// Whether a process waits for an flock on the entry with this inode (a "->" line of /proc/locks).
bool waitsForLock(pid_t pid, ino_t entry) {
  std::ifstream locks("/proc/locks");
  for (std::string line; std::getline(locks, line);) {
    std::istringstream in(line);
    const V w{std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
    const auto has = [&](const std::string& s) {
      return std::find(w.begin(), w.end(), s) != w.end();
    };
    const bool there = std::any_of(w.begin(), w.end(), [&](const std::string& s) {
      return s.ends_with(":" + std::to_string(entry));
    });
    if (has("->") && has("FLOCK") && has(std::to_string(pid)) && there) return true;
  }
  return false;
}

TEST(AutosaveLock, EveryWriterOfTheLogHoldsTheLockWhenItWrites) {
  const std::pair<Writer, const char*> writers[] = {
      {Writer::Delete, "Smazat"},        {Writer::DeleteAll, "Smazat veškeré záznamy"},
      {Writer::Konec, "Konec"},          {Writer::Check, "Kontrola"},
      {Writer::Settings, "Aktualizace"}, {Writer::Closing, "closing record"}};
  for (const auto& [writer, name] : writers) {
    // "Konec" writes only a count that is wrong.
    TwoRuns two(writer == Writer::Konec ? "7" : "2");
    const auto end = testing::runStoppedAfter(
        1,
        [&, w = writer] {
          fileops::seam::reset();
          two.write(w, [] { fileops::seam::stopAfter(1); });
        },
        [&, n = name] {
          // Stopped at its first file operation: the new log being written beside the old one.
          EXPECT_EQ(testing::temporariesIn(two.logFolder()).size(), 1u) << n;
          EXPECT_FALSE(autosave::LogLock::freeNow(two.folder())) << n;
        });
    EXPECT_TRUE(end.stopped) << name;
    EXPECT_TRUE(autosave::LogLock::freeNow(two.folder())) << name;
  }
}

TEST(AutosaveLock, ARecordTheGameAppendsWhileTheManagerDeletesIsKept) {
  TwoRuns two;
  struct stat folder {};
  ASSERT_EQ(::stat(two.logFolder().c_str(), &folder), 0);
  V namesBefore;
  for (const auto& e : fs::directory_iterator(two.logFolder()))
    namesBefore.push_back(e.path().filename().string());
  std::sort(namesBefore.begin(), namesBefore.end());

  std::thread game;
  std::atomic<bool> appended{false};
  // The manager deletes the first record and stops at the save of the log, after its re-read;
  // the game checks a crossword meanwhile, which appends a record.
  const auto end = testing::runStoppedAfter(
      1,
      [&] {
        fileops::seam::reset();
        two.write(Writer::Delete, [] { fileops::seam::stopAfter(1); });
      },
      [&] {
        game = std::thread([&] {
          two.game.kontrola();
          appended = true;
        });
        // Until the game waits for the lock, or, not waiting, has written its record. The limit
        // only keeps a game that does neither from hanging the test.
        for (int i = 0; i < 30000 && !appended && !waitsForLock(::getpid(), folder.st_ino); ++i)
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_FALSE(appended) << "the game wrote the log while the manager held it";
      });
  game.join();
  ASSERT_TRUE(end.stopped);
  // The deletion and the new record, both.
  const V points = two.points();
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0], "20");
  EXPECT_EQ(two.log().get(2), "2");
  // The lock made no file of its own.
  V namesAfter;
  for (const auto& e : fs::directory_iterator(two.logFolder()))
    namesAfter.push_back(e.path().filename().string());
  std::sort(namesAfter.begin(), namesAfter.end());
  EXPECT_EQ(namesAfter, namesBefore);
}

}  // namespace
}  // namespace tervano
