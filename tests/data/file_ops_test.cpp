// The one module that changes files: links are never followed, temporary names stay short, and
// every change passes the seam that tests use to kill or fail it.
#include "data/file_ops.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include "data/textfile.h"
#include "interruptions.h"
#include "program_folder.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;
using testing::TempProgram;
using testing::Tree;

// A folder outside the program folder with a file in it, and links to both from inside.
struct LinkedOutside {
  TempProgram dir;
  fs::path outside = dir.root() / "mimo";
  fs::path in = dir.root() / "program";
  LinkedOutside() {
    dir.writeBytes("mimo/cizí.txt", "cizí");
    dir.writeBytes("program/sada/vlastní.txt", "vlastní");
    fs::create_directories(in / "sada/r1");
    fs::create_symlink(outside, in / "sada/r1/k1");                   // a linked crossword folder
    fs::create_symlink(outside / "cizí.txt", in / "sada/odkaz.txt");  // a linked file
    fs::create_symlink(in / "nikam", in / "sada/mrtvý");              // a dangling link
  }
};

TEST(FileOps, RemovingATreeRemovesLinksAsLinksAndLeavesWhatTheyNameAlone) {
  LinkedOutside t;
  const Tree outsideBefore = testing::tree(t.outside);
  EXPECT_EQ(fileops::removeTree(t.in / "sada"), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(t.in / "sada")));
  EXPECT_EQ(testing::tree(t.outside), outsideBefore);
  // A tree that is itself a link: only the link goes.
  fs::create_symlink(t.outside, t.in / "sada2");
  EXPECT_EQ(fileops::removeTree(t.in / "sada2"), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(t.in / "sada2")));
  EXPECT_EQ(testing::tree(t.outside), outsideBefore);
  // Nothing there is no error.
  EXPECT_EQ(fileops::removeTree(t.in / "sada"), 0);
}

TEST(FileOps, RemovingAFileRemovesALinkNotItsTargetAndRefusesAFolder) {
  LinkedOutside t;
  EXPECT_EQ(fileops::removeFile(t.in / "sada/odkaz.txt"), 0);
  EXPECT_EQ(t.dir.readBytes("mimo/cizí.txt"), "cizí");
  EXPECT_EQ(fileops::removeFile(t.in / "sada/r1/k1"), 0);  // a link to a folder
  EXPECT_TRUE(fs::is_directory(t.outside));
  EXPECT_EQ(fileops::removeFile(t.in / "sada"), EISDIR);
  EXPECT_EQ(fileops::removeFile(t.in / "sada/nic"), 0);
}

TEST(FileOps, CopyingATreeTakesOnlyFilesAndFoldersAndReportsWhatItSkipped) {
  LinkedOutside t;
  ASSERT_EQ(::mkfifo((t.in / "sada/roura").c_str(), 0600), 0);
  fileops::CopyReport report;
  ASSERT_EQ(fileops::copyTree(t.in / "sada", t.in / "kopie", report), 0);
  EXPECT_EQ(report.files, 1);
  EXPECT_EQ(report.skipped, (std::vector<fs::path>{"mrtvý", "odkaz.txt", "r1/k1", "roura"}));
  const Tree copy = testing::tree(t.in / "kopie");
  EXPECT_EQ(copy, (Tree{{"r1", "dir"}, {"vlastní.txt", "file:vlastní"}}));
  // A source that is itself a link is refused before anything is made.
  fs::create_symlink(t.outside, t.in / "médium");
  fileops::CopyReport none;
  EXPECT_EQ(fileops::copyTree(t.in / "médium", t.in / "kopie2", none), ELOOP);
  EXPECT_FALSE(fs::exists(t.in / "kopie2"));
  EXPECT_EQ(fileops::copyFile(t.in / "sada/odkaz.txt", t.in / "x.txt"), ELOOP);
  EXPECT_FALSE(fs::exists(t.in / "x.txt"));
}

TEST(FileOps, TemporaryNamesAreShortSoThatALongestNameCanBeReplaced) {
  TempProgram dir;
  // 251 bytes: a legal name; the temporary beside it must be legal too.
  const std::string name = std::string(247, 'u') + ".lsc";
  ASSERT_EQ(name.size(), 251u);
  writeFileAtomic(dir.root() / name, "první");
  writeFileAtomic(dir.root() / name, "druhý");
  EXPECT_EQ(dir.readBytes(name), "druhý");
  EXPECT_LE(fileops::temporaryName().size(), 40u);
  EXPECT_EQ(testing::temporariesIn(dir.root()), std::vector<std::string>{});
}

TEST(FileOps, TheOwnerOfATemporaryIsReadFromItsNameInBothForms) {
  const std::pair<const char*, std::optional<pid_t>> names[] = {
      {".tvtmp-123-4", 123},
      {".k.lk.tmp-55-0", 55},
      {".automatické uložení.kra.tmp-7-12", 7},
      {".tvtmp-x-1", std::nullopt},
      {".tvtmp-12", std::nullopt},
      {"k.lk.tmp-5-1", std::nullopt},
      {".tmp-1-2", std::nullopt},
      {".tvjournal-5-1", std::nullopt},
      {"k.lk", std::nullopt},
      {".k.lk.tmp-5-1x", std::nullopt}};
  for (const auto& [name, owner] : names)
    EXPECT_EQ(fileops::temporaryOwner(name), owner) << name;
}

TEST(FileOps, ExchangeAndRenamesKeepToTheirPromises) {
  TempProgram dir;
  dir.writeBytes("a/x", "A");
  dir.writeBytes("b/y", "B");
  dir.writeBytes("f", "F");
  dir.writeBytes("g", "G");
  const fs::path r = dir.root();
  // Two folders and two files trade places in one step.
  ASSERT_EQ(fileops::exchange(r / "a", r / "b"), 0);
  EXPECT_EQ(dir.readBytes("a/y"), "B");
  EXPECT_EQ(dir.readBytes("b/x"), "A");
  ASSERT_EQ(fileops::exchange(r / "f", r / "g"), 0);
  EXPECT_EQ(dir.readBytes("f"), "G");
  // Exchanging with nothing fails and changes nothing.
  EXPECT_EQ(fileops::exchange(r / "f", r / "nic"), ENOENT);
  // A rename without replacing refuses an existing target, a file or a folder.
  EXPECT_EQ(fileops::rename(r / "f", r / "g"), EEXIST);
  EXPECT_EQ(fileops::rename(r / "a", r / "b"), EEXIST);
  EXPECT_EQ(dir.readBytes("g"), "F");
  EXPECT_EQ(fileops::rename(r / "f", r / "h"), 0);
  EXPECT_EQ(dir.readBytes("h"), "G");
}

TEST(FileOps, TheSeamCountsFailsAndKillsTheMutationItIsToldOf) {
  TempProgram dir;
  const fs::path r = dir.root();
  EXPECT_EQ(testing::countMutations([&] {
              fileops::makeFolder(r / "x");
              fileops::removeEmptyFolder(r / "x");
              fileops::makeFolder(r / "y");
            }),
            3);

  // The second fails without being done; the others are done.
  fileops::seam::failAt(2, EROFS);
  EXPECT_EQ(fileops::makeFolder(r / "a"), 0);
  EXPECT_EQ(fileops::makeFolder(r / "b"), EROFS);
  EXPECT_TRUE(fileops::seam::fired());
  EXPECT_EQ(fileops::makeFolder(r / "c"), 0);
  EXPECT_FALSE(fs::exists(r / "b"));
  // Onward: every mutation from the armed one fails.
  fileops::seam::failAt(1, ENOSPC, true);
  EXPECT_EQ(fileops::makeFolder(r / "d"), ENOSPC);
  EXPECT_EQ(fileops::makeFolder(r / "e"), ENOSPC);
  fileops::seam::reset();
  EXPECT_EQ(fileops::makeFolder(r / "e"), 0);
  EXPECT_FALSE(fileops::seam::fired());

  // Mutations of two threads at once (the set runner copies on one) are each counted once.
  EXPECT_EQ(testing::countMutations([&] {
              auto work = [&](const std::string& name) {
                for (int i = 0; i < 500; ++i) {
                  fileops::makeFolder(r / name);
                  fileops::removeEmptyFolder(r / name);
                }
              };
              std::thread other(work, "vlákno");
              work("hlavní");
              other.join();
            }),
            2000);

  // A kill after the second: it is done, the third never happens.
  const auto end = testing::runKilledAfter(2, [&] {
    fileops::makeFolder(r / "k1");
    fileops::makeFolder(r / "k2");
    fileops::makeFolder(r / "k3");
  });
  EXPECT_TRUE(end.killed);
  EXPECT_TRUE(fs::exists(r / "k2"));
  EXPECT_FALSE(fs::exists(r / "k3"));
}

}  // namespace
}  // namespace tervano
