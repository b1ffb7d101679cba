// Files below the program folder: case-insensitive resolution, code page 1250 on disk and
// atomic replacement.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "data/errors.h"
#include "data/file_ops.h"
#include "data/programfolder.h"
#include "data/textfile.h"
#include "program_folder.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;
using testing::TempProgram;

TEST(ProgramFolderPaths, DifferentSpellingsReachOneEntry) {
  TempProgram dir;
  dir.writeBytes("tervano/hdb/Final.mid", "x");
  dir.writeBytes("Ikony/editor.bmp", "b");
  dir.write("Data/kriz/automatické uložení.kra", {"N"});
  ProgramFolder folder(dir.root());
  EXPECT_EQ(folder.resolve("Tervano\\hdb\\FINAL.mid"), dir.root() / "tervano/hdb/Final.mid");
  EXPECT_EQ(folder.resolve("tervano/HDB/final.MID"), dir.root() / "tervano/hdb/Final.mid");
  EXPECT_TRUE(folder.isFile("ikony\\EDITOR.BMP"));
  // Czech letters fold too.
  EXPECT_EQ(folder.resolve("data\\kriz\\Automatické Uložení.KRA"),
            dir.root() / "Data/kriz/automatické uložení.kra");
  EXPECT_TRUE(folder.isFile("DATA\\KRIZ\\AUTOMATICKÉ ULOŽENÍ.KRA"));
}

TEST(ProgramFolderPaths, NewFilesKeepTheGivenNameUnderTheResolvedFolder) {
  TempProgram dir;
  fs::create_directories(dir.root() / "Data/kriz");
  ProgramFolder folder(dir.root());
  folder.save("data\\KRIZ\\Moje Hra.kr1", TextList{"N"});
  EXPECT_TRUE(fs::exists(dir.root() / "Data/kriz/Moje Hra.kr1"));
  EXPECT_FALSE(fs::exists(dir.root() / "data"));
}

TEST(ProgramFolderPaths, RelativePathsCannotLeaveTheFolder) {
  TempProgram dir;
  ProgramFolder folder(dir.root());
  EXPECT_THROW(folder.resolve("tervano\\..\\..\\etc\\passwd"), FileError);
}

TEST(ProgramFolderPaths, TheExecutableFolderIsNotTheWorkingFolder) {
  const fs::path before = fs::current_path();
  fs::current_path("/");
  const fs::path exeFolder = ProgramFolder::executableFolder();
  fs::current_path(before);
  EXPECT_NE(exeFolder, fs::path("/"));
  EXPECT_TRUE(fs::exists(exeFolder / ProgramFolder::executablePath().filename()));
}

TEST(TextFiles, WrittenInCodePage1250WithCrLfAfterEveryLine) {
  TempProgram dir;
  ProgramFolder folder(dir.root());
  folder.save("a.txt", TextList{"Příliš", "", "žluťoučký"});
  EXPECT_EQ(dir.readBytes("a.txt"), "P\xF8\xEDli\x9A\r\n\r\n\x9Elu\x9Dou\xE8k\xFD\r\n");
  EXPECT_EQ(folder.load("a.txt"), (TextList{"Příliš", "", "žluťoučký"}));
}

TEST(TextFiles, ReadingAcceptsEveryLineEndingAndALastLineWithoutOne) {
  TempProgram dir;
  dir.writeBytes("mixed.txt", "jedna\rdva\nt\xF8i\r\n\xE8ty\xF8i");
  EXPECT_EQ(loadTextList(dir.root() / "mixed.txt"), (TextList{"jedna", "dva", "tři", "čtyři"}));
}

TEST(TextFiles, AnUnwritableCharacterIsRefusedAndTheOldFileStays) {
  TempProgram dir;
  dir.write("save.kn1", {"old"});
  EXPECT_THROW(saveTextList(dir.root() / "save.kn1", TextList{"Ñandú"}), FileError);
  EXPECT_EQ(dir.read("save.kn1"), TextList{"old"});
}

TEST(TextFiles, MissingAndUnreadableFilesGiveACzechError) {
  TempProgram dir;
  try {
    loadTextList(dir.root() / "nic.txt");
    FAIL();
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("neexistuje"), std::string::npos) << e.what();
  }
  fs::create_directories(dir.root() / "slozka");
  EXPECT_THROW(loadTextList(dir.root() / "slozka"), FileError);
}

TEST(TextFiles, AFileLargerThanItsKindAllowsIsRefusedWithItsSize) {
  TempProgram dir;
  dir.writeBytes("velka.mk", std::string(limits::kCrosswordFile + 1, 'x'));
  try {
    loadTextList(dir.root() / "velka.mk", limits::kCrosswordFile);
    FAIL();
  } catch (const FileError& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find("je příliš velký (257 kB)"), std::string::npos) << text;
    EXPECT_NE(text.find("nejvýše 256 kB"), std::string::npos) << text;
  }
  EXPECT_EQ(loadTextList(dir.root() / "velka.mk", limits::kDataFile).count(), 1);
  EXPECT_EQ(loadTextList(dir.root() / "velka.mk", limits::kCrosswordFile - 1 + 2).count(), 1);
}

TEST(TextFiles, AReplaceThatFailsAtAnyOfItsStepsLeavesTheOldFileAndNoTemporary) {
  // Each mutation of the replacement in turn (making the temporary file, flushing it, renaming
  // it) fails as on a full disk; past the last one the replacement succeeds.
  long n = 1;
  for (;; ++n) {
    TempProgram dir;
    dir.writeBytes("log.kra", "old content");
    fileops::seam::failAt(n, ENOSPC);
    std::string error;
    try {
      writeFileAtomic(dir.root() / "log.kra", "new content");
    } catch (const FileError& e) {
      error = e.what();
    }
    const bool reached = fileops::seam::fired();
    fileops::seam::reset();
    const auto entries =
        std::distance(fs::directory_iterator(dir.root()), fs::directory_iterator{});
    EXPECT_EQ(entries, 1) << "failed at " << n;
    if (!reached) {
      EXPECT_EQ(error, "");
      EXPECT_EQ(dir.readBytes("log.kra"), "new content");
      break;
    }
    EXPECT_NE(error.find("na disku není místo"), std::string::npos) << error;
    EXPECT_EQ(dir.readBytes("log.kra"), "old content") << "failed at " << n;
  }
  EXPECT_EQ(n, 4);  // three steps failed in turn, the fourth run had none to fail
}

TEST(TextFiles, ASuccessfulReplaceKeepsPermissionsAndRefusesReadOnlyFiles) {
  TempProgram dir;
  dir.writeBytes("hra.kr1", "x");
  ::chmod((dir.root() / "hra.kr1").c_str(), 0640);
  writeFileAtomic(dir.root() / "hra.kr1", "y");
  struct stat st {};
  ::stat((dir.root() / "hra.kr1").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  ::chmod((dir.root() / "hra.kr1").c_str(), 0444);
  EXPECT_THROW(writeFileAtomic(dir.root() / "hra.kr1", "z"), FileError);
  EXPECT_EQ(dir.readBytes("hra.kr1"), "y");
}

TEST(TextFiles, SavingOverASymbolicLinkReplacesTheLinkAndLeavesWhatItNamesAlone) {
  TempProgram dir;
  dir.writeBytes("outside/real.txt", "a");
  fs::create_symlink(dir.root() / "outside/real.txt", dir.root() / "link.txt");
  writeFileAtomic(dir.root() / "link.txt", "b");
  EXPECT_FALSE(fs::is_symlink(dir.root() / "link.txt"));
  EXPECT_EQ(dir.readBytes("link.txt"), "b");
  EXPECT_EQ(dir.readBytes("outside/real.txt"), "a");
}

}  // namespace
}  // namespace tervano
