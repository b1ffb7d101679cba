// The runner of the command scripts: its few commands, their limits, and what it refuses.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "data/textfile.h"
#include "set_rig.h"
#include "sets/command_script.h"
#include "sets/runner.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;
using sets::RunProgress;
using testing::snapshot;
using testing::Tree;

// A program folder (its path with blanks and Czech letters) holding one set "tervano33" and a
// few files of the program, and a script to run there with the set as its limit.
struct RunnerRig {
  testing::TempProgram dir;
  fs::path prog = dir.root() / "Program s mezerou ž";
  fs::path set = prog / "tervano33";
  RunProgress progress;

  RunnerRig() {
    testing::writeSet(set, "33");
    testing::put(prog / "sady.ini", "tervano33\r\n");
    testing::put(prog / "help/hkriz.hlp", "nápověda");
  }
  // Writes the script and runs it to its end.
  void run(const std::vector<std::string>& lines) {
    TextList script;
    for (const auto& l : lines)
      script.append(l);
    saveTextList(prog / "skript.bat", script);
    sets::runCommandScript(prog / "skript.bat", {prog, set}, progress);
    fs::remove(prog / "skript.bat");
  }
  static std::string q(const fs::path& p, bool slash = false) { return sets::quotedPath(p, slash); }
  // "<folder>/*.*" in quotes: every file of the folder.
  static std::string all(const fs::path& folder) {
    std::string text = q(folder, true);
    return text.insert(text.size() - 1, "*.*");
  }
};

TEST(Runner, AFailedCdLeavesNoCurrentFolderSoEraseAndRdDoNothing) {
  // The failed "cd" comes first, or after a "cd" into the set or into one of its folders had
  // succeeded: that earlier folder must not stay current.
  for (const char* earlier : {"", ".", "hdb"}) {
    RunnerRig rig;
    fs::create_directories(rig.set / "prázdná");
    fs::create_directories(rig.set / "hdb" / "prázdná");
    std::vector<std::string> lines;
    if (*earlier) lines.push_back("cd " + rig.q(rig.set / earlier, true));
    const Tree before = snapshot(rig.dir.root());
    for (std::string line : {"cd " + rig.q(rig.set / "chybí", true), std::string("erase *.*"),
                             std::string("rd prázdná"), std::string("cd .."),
                             std::string("erase *.*"), "rd " + rig.q(rig.set / "def")})
      lines.push_back(line);
    rig.run(lines);
    EXPECT_TRUE(rig.progress.succeeded()) << earlier << ": " << rig.progress.error();
    // The last "rd" names a folder that still holds files: nothing goes.
    EXPECT_EQ(snapshot(rig.dir.root()), before) << earlier;
  }
}

TEST(Runner, EraseAndRdActOnlyInsideTheSetFolder) {
  RunnerRig rig;
  fs::create_directories(rig.prog / "prázdná");
  const Tree programBefore = snapshot(rig.prog);
  rig.run({"cd " + rig.q(rig.prog, true), "erase *.*", "rd " + rig.q(rig.prog / "prázdná"),
           "cd " + rig.q(rig.set / "hdb", true), "cd ..", "cd ..", "erase *.*",
           "erase " + rig.q(rig.prog / "sady.ini"), "cd " + rig.q(rig.set / "def", true),
           "erase *.*", "rd " + rig.q(rig.set / "def"), "erase *.*", "cd ..",
           "rd " + rig.q(rig.set / "def")});
  EXPECT_TRUE(rig.progress.succeeded()) << rig.progress.error();
  Tree after = snapshot(rig.prog);
  // The emptied folder goes once it is no longer the current one, as in a console.
  EXPECT_FALSE(after.count("tervano33/def"));
  // Everything else stays, in the program folder and in the set.
  Tree expected = programBefore;
  for (auto it = expected.begin(); it != expected.end();)
    it = it->first.rfind("tervano33/def", 0) == 0 ? expected.erase(it) : std::next(it);
  EXPECT_EQ(after, expected);
}

// Every file of the folder, names without a dot too, no subfolder; the source found in any
// letter case; each file replaced in the spelling it has, never written through a link.
TEST(Runner, CopiesTheFilesOfAFolderAtomicallyAndNeverThroughALink) {
  RunnerRig rig;
  const fs::path from = rig.dir.root() / "Médium s mezerou" / "Sada ř" / "def";
  for (const auto& [name, text] : {std::pair{"popis.txt", "popis"},
                                   {"PRECTIME", "bez tečky"},
                                   {"Tervano.ini", "nový"},
                                   {"k.vk", "řešení"},
                                   {"pod/skrytý", "ne"}})
    testing::put(from / name, text);
  const fs::path to = rig.set / "r1/k1";
  testing::put(to / "TERVANO.INI", "starý");
  const fs::path outside = rig.dir.root() / "cizí.txt";
  testing::put(outside, "cizí");
  fs::remove(to / "k.vk");
  fs::create_symlink(outside, to / "k.vk");
  rig.run({"echo off", "copy " + rig.all(rig.dir.root() / "MÉDIUM S MEZEROU" / "sada Ř" / "DEF") +
                           " " + rig.q(to)});
  ASSERT_TRUE(rig.progress.succeeded()) << rig.progress.error();
  EXPECT_EQ(readFileBytes(to / "popis.txt"), "popis");
  EXPECT_EQ(readFileBytes(to / "PRECTIME"), "bez tečky");
  EXPECT_EQ(readFileBytes(to / "TERVANO.INI"), "nový");
  EXPECT_EQ(readFileBytes(outside), "cizí");
  EXPECT_FALSE(fs::is_symlink(to / "k.vk"));
  EXPECT_EQ(readFileBytes(to / "k.vk"), "řešení");
  // The four crossword files, the replaced descriptor and two new files: no second descriptor,
  // no subfolder, no temporary file.
  EXPECT_EQ(std::distance(fs::directory_iterator(to), fs::directory_iterator()), 7);
  EXPECT_EQ(rig.progress.filesDone(), 4);
  EXPECT_EQ(rig.progress.filesTotal(), 4);
}

TEST(Runner, ACopyOfAFolderOntoItselfKeepsEveryFile) {
  RunnerRig rig;
  const Tree before = snapshot(rig.prog);
  const std::string sur = rig.all(rig.set / "sur");
  rig.run({"copy " + sur + " " + rig.q(rig.set / "sur"),
           "copy " + sur + " " + rig.q(rig.set / "SUR", true)});
  EXPECT_TRUE(rig.progress.succeeded()) << rig.progress.error();
  EXPECT_EQ(snapshot(rig.prog), before);
}

struct Refused {
  const char* name;
  std::function<std::vector<std::string>(const RunnerRig&)> lines;
  const char* reason;  // a piece of the reported text
};

// A script that cannot run as written fails with its reason. Every line is checked before the
// first one runs, and a copy that cannot be made writes nothing.
TEST(Runner, RefusesWhatItDoesNotKnowAndWritesNothingOutside) {
  using R = const RunnerRig&;
  const std::vector<Refused> cases = {
      {"unknown command",
       [](R r) {
         return std::vector<std::string>{"erase " + r.q(r.set / "Tervano.ini"), "xcopy a b"};
       },
       "Řádek 2 skriptu: neznámý příkaz „xcopy“"},
      {"unclosed quote",
       [](R r) {
         return std::vector<std::string>{"erase " + r.q(r.set / "Tervano.ini"), "cd \"/tmp"};
       },
       "Řádek 2 skriptu: chybí uzavírací uvozovky"},
      {"one parameter",
       [](R r) { return std::vector<std::string>{"copy " + r.all(r.set / "def")}; },
       "má mít dva parametry"},
      {"outside the program folder",
       [](R r) {
         return std::vector<std::string>{"copy " + r.all(r.set / "def") + " " + r.q(r.dir.root())};
       },
       "mimo složku programu"},
      {"missing source",
       [](R r) {
         return std::vector<std::string>{"copy " + r.all(r.set / "chybí") + " " + r.q(r.set)};
       },
       "neexistuje"},
      {"missing target",
       [](R r) {
         return std::vector<std::string>{"copy " + r.all(r.set / "def") + " " +
                                         r.q(r.set / "chybí")};
       },
       "neexistuje"},
  };
  for (const auto& c : cases) {
    RunnerRig rig;
    const Tree before = snapshot(rig.dir.root());
    rig.run(c.lines(rig));
    EXPECT_TRUE(rig.progress.finished()) << c.name;
    EXPECT_FALSE(rig.progress.succeeded()) << c.name;
    EXPECT_NE(rig.progress.error().find(c.reason), std::string::npos)
        << c.name << ": " << rig.progress.error();
    EXPECT_EQ(snapshot(rig.dir.root()), before) << c.name;
  }
}

TEST(CommandScripts, CopyScriptHasItsDocumentedLinesWithQuotedPaths) {
  const TextList s =
      sets::copyScript("echo of", "/media/cd ROM", "/opt/Hra ř/tervano31", {2, 0, 1, 0});
  EXPECT_EQ(s, (TextList{"echo of", "copy \"/media/cd ROM/*.*\" \"/opt/Hra ř/tervano31/\"",
                         "copy \"/media/cd ROM/script/*.*\" \"/opt/Hra ř/tervano31/script\"",
                         "copy \"/media/cd ROM/hdb/*.*\" \"/opt/Hra ř/tervano31/hdb\"",
                         "copy \"/media/cd ROM/def/*.*\" \"/opt/Hra ř/tervano31/def\"",
                         "copy \"/media/cd ROM/sur/*.*\" \"/opt/Hra ř/tervano31/sur\"",
                         "copy \"/media/cd ROM/r1/k1/*.*\" \"/opt/Hra ř/tervano31/r1/k1\"",
                         "copy \"/media/cd ROM/r1/k2/*.*\" \"/opt/Hra ř/tervano31/r1/k2\"",
                         "copy \"/media/cd ROM/r3/k1/*.*\" \"/opt/Hra ř/tervano31/r3/k1\"",
                         "copy \"/media/cd ROM/r5/k0/*.*\" \"/opt/Hra ř/tervano31/r5/k0\""}));
}

struct OddName {
  const char* name;
  std::string folder;
  const char* written;  // how the name reads inside the script's quotes
};

// Any name a Linux folder may have reaches the runner exactly: a script line read back names the
// very folder it was written for. Czech letters and blanks stay as they are, the rest is "%XX".
TEST(CommandScripts, EveryFolderNameRoundTripsThroughAScript) {
  const std::vector<OddName> cases = {
      {"quotes, blank, Czech", "Hra \"křížovek\" ž", "Hra %22křížovek%22 ž"},
      {"per cent", "100% a %41", "100%25 a %2541"},
      {"line end and tab", "řádek\nzalomený\tx", "řádek%0Azalomený%09x"},
      {"outside code page 1250", "日本", "%E6%97%A5%E6%9C%AC"},
      {"no UTF-8 at all", "\xff\xfe-\xc3", "%FF%FE-%C3"},
      {"a C1 control", "a\xc2\x85z", "a%C2%85z"},
      {"in code page 1250", "€ ß Ł", "€ ß Ł"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sets::escapeForScript(c.folder), c.written) << c.name;
    RunnerRig rig;
    const fs::path from = rig.prog / c.folder / "zdroj";
    testing::put(from / "a.txt", c.folder);
    rig.run({"copy " + rig.all(from) + " " + rig.q(rig.set / "def")});
    EXPECT_TRUE(rig.progress.succeeded()) << c.name << ": " << rig.progress.error();
    EXPECT_EQ(readFileBytes(rig.set / "def" / "a.txt"), c.folder) << c.name;
  }
  // Any bytes at all, read back.
  std::mt19937 random(2024);
  for (int i = 0; i < 2000; ++i) {
    std::string bytes(random() % 12, '\0');
    for (char& b : bytes)
      b = static_cast<char>(random() % 255 + 1);
    const auto back = sets::unescapeFromScript(sets::escapeForScript(bytes));
    ASSERT_TRUE(back.has_value()) << i;
    ASSERT_EQ(*back, bytes) << i;
  }
}

// A "%" not followed by two hexadecimal digits (upper case, as written) is no path: the run fails
// before its first line; a path longer than the system takes cannot be written at all.
TEST(CommandScripts, RefusesWhatCannotBeAPath) {
  for (const char* word : {"\"a%\"", "\"a%4\"", "\"a%G1\"", "\"a%4f\""}) {
    RunnerRig rig;
    const Tree before = snapshot(rig.dir.root());
    rig.run({"erase " + rig.q(rig.set / "Tervano.ini"), std::string("cd ") + word});
    EXPECT_NE(rig.progress.error().find("Řádek 2 skriptu: za znakem %"), std::string::npos)
        << word << ": " << rig.progress.error();
    EXPECT_EQ(snapshot(rig.dir.root()), before) << word;
  }
  const std::string longest(sets::kLongestPath - 1, 'a');
  EXPECT_NO_THROW(sets::quotedPath("/" + longest, false));
  EXPECT_THROW(sets::quotedPath("/" + longest + "a", false), UserError);
}

}  // namespace
}  // namespace tervano
