// Where the program folder lies: beside the executable when a data tree is there (a build), else
// the user's own copy of the installed tree, filled so that nothing of the player's is ever
// replaced, and handed on unchanged to a new instance of the program.
#include <gtest/gtest.h>

#include <fstream>

#include "data/program_location.h"
#include "data/textfile.h"
#include "program_folder.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;
using testing::TempProgram;

// An installed layout below a temporary folder: prefix/bin with the executable alone and
// prefix/share/tervano with the delivered tree, and a home folder.
struct Installed {
  TempProgram dir;
  fs::path bin = dir.root() / "prefix/bin";
  fs::path tree = dir.root() / "prefix/share/tervano";
  fs::path home = dir.root() / "home";

  Installed() {
    fs::create_directories(bin);
    fs::create_directories(home);
    deliver("tervano/Tervano.ini", "4");
    deliver("tervano/r1/k1/k.mk", "x x x");
    deliver("Data/kriz/Nová hra.kr1", "N");
    deliver("help/hkriz.hlp", "pomoc");
    deliver("sady.ini", "tervano4");
  }
  void deliver(const std::string& relative, const std::string& text) const {
    fs::create_directories((tree / relative).parent_path());
    std::ofstream(tree / relative, std::ios::binary) << text;
  }
  LocationInputs inputs(const std::string& xdg = "", const std::string& handed = "") const {
    return {bin, bin / "../share/tervano", handed, xdg, home.string()};
  }
  fs::path user() const { return home / ".local/share/tervano"; }
  static std::string read(const fs::path& p) { return readFileBytes(p); }
};

TEST(ProgramLocation, BuildFolderInstalledProgramOrTheFolderHandedOver) {
  Installed in;
  const fs::path xdg = in.dir.root() / "xdg";
  // The build: the tree beside the executable, in any letter case.
  TempProgram build;
  build.writeBytes("TERVANO/Tervano.ini", "4");
  TempProgram buildWithSavesOnly;
  buildWithSavesOnly.writeBytes("data/KRIZ/hra.kr1", "N");

  struct Case {
    const char* what;
    LocationInputs inputs;
    fs::path folder;
    bool fill;
  };
  const Case cases[] = {
      {"installed, no XDG_DATA_HOME", in.inputs(), in.user(), true},
      {"installed, XDG_DATA_HOME", in.inputs(xdg.string()), xdg / "tervano", true},
      {"installed, relative XDG_DATA_HOME is ignored", in.inputs("rel/data"), in.user(), true},
      {"a build",
       {build.root(), build.root() / "../share/tervano", "", "", in.home.string()},
       build.root(),
       false},
      {"a build with only saved games left",
       {buildWithSavesOnly.root(), in.tree, "", "", in.home.string()},
       buildWithSavesOnly.root(),
       false},
      {"neither tree: the executable's folder, to fail there as before",
       {in.bin, in.bin / "../share/nothing", "", "", in.home.string()},
       in.bin,
       false},
      {"a mode switch hands its folder over", in.inputs("", xdg.string()), xdg, false},
      {"a folder handed over that is gone is not used", in.inputs("", (xdg / "gone").string()),
       in.user(), true},
  };
  fs::create_directories(xdg);
  for (const Case& c : cases) {
    const ProgramLocation got = locateProgramFolder(c.inputs);
    EXPECT_EQ(got.folder, c.folder) << c.what;
    EXPECT_EQ(!got.fillFrom.empty(), c.fill) << c.what;
    if (c.fill) {
      EXPECT_TRUE(fs::equivalent(got.fillFrom, in.tree)) << c.what;
    }
  }
}

TEST(ProgramLocation, TheFirstStartCopiesTheWholeTreeAndMarksIt) {
  Installed in;
  fs::permissions(in.tree / "sady.ini", fs::perms::owner_read | fs::perms::group_read);
  fillProgramFolder(in.tree, in.user());
  for (const char* f : {"tervano/Tervano.ini", "tervano/r1/k1/k.mk", "Data/kriz/Nová hra.kr1",
                        "help/hkriz.hlp", "sady.ini"})
    EXPECT_EQ(Installed::read(in.user() / f), Installed::read(in.tree / f)) << f;
  EXPECT_EQ(Installed::read(in.user() / kFilledFromFile), treeFingerprint(in.tree) + "\n");
  // Nothing is left of the temporary folder the copy was made in.
  int entries = 0;
  for (const auto& e : fs::directory_iterator(in.user().parent_path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
  // The copies are the player's to change, even where the delivered files are read-only.
  EXPECT_NE(fs::status(in.user() / "sady.ini").permissions() & fs::perms::owner_write,
            fs::perms::none);
}

TEST(ProgramLocation, LaterStartsAndUpdatesNeverReplaceOrRestoreThePlayersFiles) {
  Installed in;
  fillProgramFolder(in.tree, in.user());
  const fs::path u = in.user();
  // The player plays: a saved game, a changed delivered one, a deleted crossword and a deleted
  // help file, and a switch of sets that made the active set another one.
  writeFileAtomic(u / "Data/kriz/moje.kr1", "A");
  writeFileAtomic(u / "Data/kriz/Nová hra.kr1", "upraveno");
  fs::remove(u / "tervano/r1/k1/k.mk");
  fs::remove(u / "help/hkriz.hlp");
  fs::rename(u / "Data", u / "data");  // the player's own spelling of a folder

  // A start without an update changes nothing.
  fillProgramFolder(in.tree, u);
  EXPECT_FALSE(fs::exists(u / "help/hkriz.hlp"));

  // An update of the package: new and changed delivered files.
  in.deliver("help/hkriz.hlp", "nová pomoc");
  in.deliver("Data/kriz/Nová hra.kr1", "nová verze");
  in.deliver("Data/kriz/druhá.kr1", "N");
  in.deliver("tervano/r1/k2/k.mk", "x x");
  in.deliver("tervano7/Tervano.ini", "7");
  fillProgramFolder(in.tree, u);

  EXPECT_EQ(Installed::read(u / "data/kriz/moje.kr1"), "A");
  EXPECT_EQ(Installed::read(u / "data/kriz/Nová hra.kr1"), "upraveno");
  // Missing files outside the sets come in, under the player's spelling of their folders.
  EXPECT_EQ(Installed::read(u / "help/hkriz.hlp"), "nová pomoc");
  EXPECT_EQ(Installed::read(u / "data/kriz/druhá.kr1"), "N");
  EXPECT_FALSE(fs::exists(u / "Data"));
  // The sets are the player's: a deleted crossword stays deleted, no crossword of the delivered
  // set is mixed into whatever set is active now, no set folder appears.
  EXPECT_FALSE(fs::exists(u / "tervano/r1/k1/k.mk"));
  EXPECT_FALSE(fs::exists(u / "tervano/r1/k2"));
  EXPECT_FALSE(fs::exists(u / "tervano7"));
  EXPECT_EQ(Installed::read(u / kFilledFromFile), treeFingerprint(in.tree) + "\n");
}

TEST(ProgramLocation, AFolderThatCannotBeMadeIsACzechError) {
  Installed in;
  const fs::path blocked = in.dir.root() / "soubor";
  std::ofstream(blocked) << "not a folder";
  try {
    fillProgramFolder(in.tree, blocked / "tervano");
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("Složku s daty hry"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace tervano
