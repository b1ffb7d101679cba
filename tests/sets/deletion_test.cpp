// Deleting the active set: two questions, the set renamed away at once, the deletion script run
// on that folder alone, and nothing else of the program folder touched.
#include <gtest/gtest.h>

#include "data/file_ops.h"
#include "data/textfile.h"
#include "interruptions.h"
#include "set_rig.h"
#include "sets/command_script.h"
#include "sets/runner.h"
#include "sets/work_folders.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;
using testing::SetRig;
using testing::snapshot;
using testing::Tree;
using V = std::vector<std::string>;

// Everything of the program folder but the active set, the registry files and the script.
Tree rest(const SetRig& rig) {
  Tree t = snapshot(rig.prog);
  for (auto it = t.begin(); it != t.end();) {
    const std::string& p = it->first;
    const bool skip = p == "tervano" || p.rfind("tervano/", 0) == 0 || p == "sady.ini" ||
                      p == "Tervano.ini" || p == "delsada.bat";
    it = skip ? t.erase(it) : std::next(it);
  }
  return t;
}

struct Variant {
  const char* name;
  void (*prepare)(SetRig&);
};

TEST(Deletion, RemovesTheWholeActiveSetAndNothingElse) {
  const std::vector<Variant> variants = {
      {"complete set", [](SetRig&) {}},
      {"hdb missing", [](SetRig& r) { fs::remove_all(r.at("tervano/hdb")); }},
      {"extra files, an unlisted crossword and a link out",
       [](SetRig& r) {
         testing::put(r.at("tervano/r1/k9/k.vk"), "navíc");
         testing::put(r.at("tervano/vlastní/poznámky.txt"), "navíc");
         testing::put(r.at("tervano/hdb/.skrytý"), "navíc");
         testing::put(r.dir.root() / "venku.txt", "venku");
         fs::create_symlink(r.dir.root() / "venku.txt", r.at("tervano/def/odkaz"));
         fs::create_directory_symlink(r.prog, r.at("tervano/script/program"));
       }},
  };
  for (const auto& v : variants) {
    SetRig rig;
    v.prepare(rig);
    const Tree others = rest(rig);
    rig.start();
    rig.host.ok().ok();
    rig.app->click(id::kSetDelete);
    EXPECT_EQ(rig.host.transcript(),
              (V{"warning: Chcete skutečně tuto sadu zrušit? -> OK",
                 "warning: Chcete skutečně smazat sadu od výrobce? -> OK",
                 "info: Nyní již jen šestkrát kliknete na \"a\" a \"enter\" a sada bude zrušena.",
                 "launch delsada.bat"}))
        << v.name;
    // The set left the name "tervano" before the script runs, and the script names its new one.
    EXPECT_FALSE(rig.exists("tervano")) << v.name;
    const TextList script = rig.read("delsada.bat");
    EXPECT_EQ(script.count(), 21);
    EXPECT_EQ(script.get(0), "cd \"" + rig.at("tervanoMazani").string() + "/hdb/\"");
    EXPECT_EQ(std::count(script.lines().begin(), script.lines().end(), "erase *.*"), 6);
    EXPECT_EQ(rig.read("sady.ini"), TextList{"tervano21"}) << v.name;
    EXPECT_EQ(rig.c().text(id::kSetBox), "") << v.name;
    EXPECT_EQ(rig.read("Tervano.ini"), (TextList{"", "další řádek"})) << v.name;

    rig.finishScripts();
    EXPECT_FALSE(rig.exists("tervanoMazani")) << v.name;
    EXPECT_FALSE(rig.exists("delsada.bat")) << v.name;
    EXPECT_EQ(rest(rig), others) << v.name;
    EXPECT_TRUE(rig.exists("help/hkriz.hlp")) << v.name;
    EXPECT_EQ(rig.c().text(id::kSetStatus), "Sada byla smazána.") << v.name;
    EXPECT_EQ(rig.c().text(id::kSetActive), "Žádná sada není aktivní. Vyberte ji v seznamu sad.");
  }
}

TEST(Deletion, EitherQuestionDeclinedDeletesNothing) {
  for (bool atSecond : {false, true}) {
    SetRig rig;
    const Tree before = snapshot(rig.prog);
    rig.start();
    if (atSecond) rig.host.ok();
    rig.host.cancel();
    rig.app->click(id::kSetDelete);
    EXPECT_EQ(rig.host.only({"info", "launch", "warning: Sadu"}),
              atSecond ? V{"warning: Sadu se nepodařilo z nějakého důvodu smazat."} : V{});
    EXPECT_EQ(snapshot(rig.prog), before);
  }
}

// A switch waits for the deletion, and then loses no file of the set it makes active.
TEST(Deletion, ASwitchRightAfterwardsLosesNothing) {
  SetRig rig;
  const Tree chosen = snapshot(rig.at("tervano21"));
  rig.start();
  rig.host.ok().ok();
  rig.app->click(id::kSetDelete);
  rig.host.clear();
  rig.choose("tervano21");
  EXPECT_EQ(rig.host.transcript(),
            V{"info: Program ještě pracuje se sadou.\rPočkejte prosím, až práci dokončí."});
  EXPECT_TRUE(rig.exists("tervano21"));
  rig.finishScripts();
  rig.host.clear();
  rig.choose("tervano21");
  EXPECT_EQ(rig.host.transcript(), V{"info: Sada byla úspěšně přehozena."});
  EXPECT_EQ(snapshot(rig.at("tervano")), chosen);
  EXPECT_EQ(rig.read("Tervano.ini").get(0), "tervano21");
}

// The folders the deletion script asks about, in the order of its six "erase *.*" lines: the
// second question about "def" comes because a console cannot remove its current folder.
const V kAsked = {"hdb", "script", "sur", "def", "def", ""};

std::string askedFolder(const SetRig& rig, const std::string& line) {
  const std::string start = "ask: „" + rig.at("tervanoMazani").string();
  const std::string end = "/*.*“\rOpravdu smazat všechny soubory v této složce? (A/N)";
  const auto at = line.find(end);
  if (line.rfind(start, 0) != 0 || at == std::string::npos) return "?" + line;
  std::string folder = line.substr(start.size(), at - start.size());
  return folder.empty() ? folder : folder.substr(1);
}

struct Answers {
  const char* name;
  std::vector<bool> yes;  // the six answers
  V kept;                 // the folders the set keeps files in, "" for its root
};

// Each "erase *.*" asks as a console does; "n" skips it and the script goes on. When the user kept
// files, the set stays listed where it was and active again, with what was kept; otherwise it is
// gone entirely.
TEST(Deletion, AsksBeforeEachEraseAndKeepsWhatTheUserDeclines) {
  const std::vector<Answers> cases = {
      {"all yes", {true, true, true, true, true, true}, {}},
      {"the first declined", {false, true, true, true, true, true}, {"hdb"}},
      {"one in the middle declined", {true, true, false, true, true, true}, {"sur"}},
      {"the last declined", {true, true, true, true, true, false}, {""}},
      {"only the empty folder's second question declined",
       {true, true, true, true, false, true},
       {}},
  };
  for (const auto& c : cases) {
    SetRig rig({"21"});
    rig.write("sady.ini", {"tervano21", "tervano20", "tervano22"});
    testing::writeSet(rig.at("tervano22"), "22");
    const Tree set = snapshot(rig.at("tervano"));
    const TextList descriptor = rig.read("tervano/Tervano.ini");
    rig.start();
    rig.host.ok().ok();
    for (bool yes : c.yes)
      rig.host.answer(yes ? ui::Answer::Ok : ui::Answer::Cancel);
    rig.remove();
    V asked;
    for (const auto& line : rig.host.only({"ask"}))
      asked.push_back(askedFolder(rig, line));
    EXPECT_EQ(asked, kAsked) << c.name;
    EXPECT_EQ(rig.host.pendingAnswers(), 0u) << c.name;
    EXPECT_EQ(testing::registryHolds(rig.prog).find("is left"), std::string::npos) << c.name;
    const auto infos = rig.host.only({"info"});
    if (c.kept.empty()) {
      EXPECT_FALSE(rig.exists("tervano")) << c.name;
      EXPECT_EQ(rig.read("sady.ini"), (TextList{"tervano21", "tervano22"})) << c.name;
      EXPECT_EQ(rig.c().text(id::kSetStatus), "Sada byla smazána.") << c.name;
      EXPECT_EQ(testing::registryHolds(rig.prog), "") << c.name;
      continue;
    }
    // Listed where it was, active again, the selection naming it.
    EXPECT_EQ(rig.read("sady.ini"), (TextList{"tervano21", "tervano20", "tervano22"})) << c.name;
    EXPECT_EQ(rig.read("Tervano.ini").get(0), "tervano20") << c.name;
    EXPECT_EQ(rig.c().text(id::kSetActive), "Aktivní sada: tervano20 (Sada 20)") << c.name;
    // What was kept is there as it was; the crosswords were never touched; the descriptor is
    // there, written anew when its folder was emptied.
    EXPECT_EQ(rig.read("tervano/Tervano.ini"), descriptor) << c.name;
    const Tree now = snapshot(rig.at("tervano"));
    for (const auto& [path, content] : set) {
      if (path == "Tervano.ini") continue;
      const std::string folder = path.substr(0, path.find('/'));
      const bool root = path.find('/') == std::string::npos && content != "<folder>";
      const bool kept = std::find(c.kept.begin(), c.kept.end(), root ? "" : folder) != c.kept.end();
      if (kept || folder[0] == 'r') {
        EXPECT_EQ(now.count(path) ? now.at(path) : "(none)", content) << c.name << ": " << path;
      } else if (content != "<folder>") {
        EXPECT_FALSE(now.count(path)) << c.name << ": " << path;
      }
    }
    ASSERT_FALSE(infos.empty()) << c.name;
    const std::string told = infos.back();
    EXPECT_NE(told.find("zůstaly"), std::string::npos) << told;
    EXPECT_NE(told.find(c.kept[0].empty() ? "hlavní složka sady" : c.kept[0]), std::string::npos)
        << told;
    EXPECT_NE(told.find("zůstává v seznamu sad"), std::string::npos) << told;
    // Still usable: it goes away in a switch and comes back whole.
    rig.host.clear();
    rig.choose("tervano21");
    rig.choose("tervano20");
    EXPECT_EQ(snapshot(rig.at("tervano")), now) << c.name;
  }
}

// Killed while the k-th question is on the screen: the next start finishes the deletion the user
// confirmed, whatever the answers so far.
TEST(Deletion, AKillWhileAQuestionIsShowingFinishesTheConfirmedDeletion) {
  for (int k = 1; k <= 6; ++k) {
    for (bool declinedBefore : {false, true}) {
      if (k == 1 && declinedBefore) continue;
      SetRig rig({"21"}, "", testing::TempProgram::Where::Memory);
      rig.start();
      rig.host.ok().ok();
      if (declinedBefore) rig.host.cancel();
      // The two warnings, the message, the questions before the k-th.
      for (int box = 0; box < 3 + k - 1; ++box)
        rig.host.whileBoxOpen([] {});
      rig.host.whileBoxOpen([] { fileops::seam::die(); });
      const auto end = testing::runKilledAfter(0, [&] { rig.remove(); });
      const std::string when = "question " + std::to_string(k) + (declinedBefore ? ", n" : "");
      EXPECT_TRUE(end.killed) << when;
      rig.startAgain();
      EXPECT_FALSE(rig.exists("tervano")) << when;
      EXPECT_EQ(rig.read("sady.ini"), TextList{"tervano21"}) << when;
      EXPECT_EQ(testing::registryHolds(rig.prog), "") << when;
    }
  }
}

struct LinkCase {
  const char* name;
  const char* linked;  // what in the active set is a link to a folder outside
  bool refused;
};

// Deleting never follows a symbolic link: a crossword folder or a grade folder linked elsewhere
// goes as a link, the outside untouched; a set folder that is itself a link is refused.
TEST(Deletion, NeverFollowsALinkOutOfTheProgramFolder) {
  const std::vector<LinkCase> cases = {
      {"crossword folder", "tervano/r1/k1", false},
      {"grade folder", "tervano/r2", false},
      {"sound folder", "tervano/hdb", false},
      {"set folder", "tervano", true},
  };
  for (const auto& c : cases) {
    SetRig rig;
    const fs::path outside = rig.dir.root() / "Cizí složka";
    fs::rename(rig.at(c.linked), outside);
    fs::create_directory_symlink(outside, rig.at(c.linked));
    const Tree outsideBefore = snapshot(outside);
    ASSERT_FALSE(outsideBefore.empty()) << c.name;
    const Tree before = snapshot(rig.prog);
    rig.start();
    rig.host.ok().ok();
    rig.remove();
    EXPECT_EQ(snapshot(outside), outsideBefore) << c.name;
    if (c.refused) {
      EXPECT_EQ(snapshot(rig.prog), before) << c.name;
      const auto errors = rig.host.only({"error"});
      ASSERT_EQ(errors.size(), 1u) << c.name;
      EXPECT_NE(errors[0].find("je jen odkazem na jinou složku"), std::string::npos) << errors[0];
      continue;
    }
    EXPECT_FALSE(rig.exists("tervano")) << c.name;
    EXPECT_FALSE(rig.exists("tervanoMazani")) << c.name;
    EXPECT_EQ(rig.read("sady.ini"), TextList{"tervano21"}) << c.name;
  }
}

// The deletion script's own work, without the program's clean-up after it: its lines empty and
// remove the set's folders hdb, script, sur and def and the files of its root, and the set folder
// itself once nothing else is in it; nothing else is touched, and it asks six times.
TEST(Deletion, TheScriptAloneEmptiesAndRemovesExactlyTheSetsFolders) {
  for (bool crosswordsLeft : {true, false}) {
    testing::TempProgram dir;
    const fs::path prog = dir.root() / "Hra \"křížovek\" ž";
    const fs::path set = prog / "tervanoMazani";
    testing::writeSet(set, "20");
    testing::writeSet(prog / "tervano21", "21");
    testing::put(prog / "sady.ini", "tervano21\r\n");
    if (!crosswordsLeft)
      for (const char* grade : {"r1", "r2", "r3", "r4", "r5"})
        fs::remove_all(set / grade);
    saveTextList(prog / "delsada.bat", sets::deletionScript(set, prog));
    const Tree before = snapshot(prog);
    int asked = 0;
    sets::RunProgress progress;
    sets::runCommandScript(prog / "delsada.bat",
                           {prog, set, {}, [&](const fs::path&) { return ++asked > 0; }}, progress);
    EXPECT_TRUE(progress.succeeded()) << progress.error();
    EXPECT_EQ(asked, 6);
    Tree expected = before;
    for (auto it = expected.begin(); it != expected.end();) {
      const std::string& p = it->first;
      const bool inSet = p.rfind("tervanoMazani/", 0) == 0;
      const std::string inside = inSet ? p.substr(14) : "";
      const bool stays = inSet && inside[0] == 'r' && inside[1] >= '1' && inside[1] <= '5';
      it = inSet && !stays ? expected.erase(it) : std::next(it);
    }
    if (!crosswordsLeft) expected.erase("tervanoMazani");
    EXPECT_EQ(snapshot(prog), expected) << crosswordsLeft;
  }
}

struct Leftover {
  const char* name;
  const char* entry;  // made before the command
  bool isLink;
  bool cleared;  // by the command and by the next start
};

// A work folder an earlier run left is cleared before creation or deletion, with its script; what
// only looks like one, or is no folder of ours, is not.
TEST(WorkFolders, LeftoversAreClearedBeforeCreationAndDeletionAndNothingElse) {
  const std::vector<Leftover> cases = {
      {"tervanoTemp", "tervanoTemp", false, true},
      {"tervanoMazani", "tervanoMazani", false, true},
      {"another letter case", "TERVANOMAZANI", false, true},
      {"a longer name", "tervanoTemp2", false, false},
      {"an unlisted set", "tervano77", false, false},
      {"a link named tervanoTemp", "tervanoTemp", true, false},
  };
  for (bool deleting : {false, true}) {
    for (const auto& c : cases) {
      const std::string when = std::string(c.name) + (deleting ? ", deleting" : ", creating");
      SetRig rig;
      const fs::path outside = rig.dir.root() / "venku";
      testing::put(outside / "soubor.txt", "venku");
      if (c.isLink)
        fs::create_directory_symlink(outside, rig.at(c.entry));
      else
        testing::put(rig.at(c.entry) / "r1/k1/k.vk", "zbytek");
      testing::put(rig.at(deleting ? "delsada.bat" : "create.bat"), "zbytek");
      rig.start();
      if (deleting) {
        rig.host.ok().ok();
        rig.remove();
      } else {
        rig.create(35);
      }
      EXPECT_EQ(rig.exists(c.entry), !c.cleared) << when;
      EXPECT_TRUE(fs::exists(outside / "soubor.txt")) << when;
      if (!c.isLink) {
        EXPECT_EQ(rig.host.only({"error", "warning: Došlo"}), V{}) << when;
        EXPECT_EQ(deleting ? !rig.exists("tervano") : rig.exists("tervano35"), true) << when;
      } else if (!deleting) {
        // Its name is taken by something that is not ours: nothing is made.
        EXPECT_EQ(rig.host.only({"error"}).size(), 1u) << when;
        EXPECT_FALSE(rig.exists("tervano35")) << when;
      }
    }
  }
}

// A work folder another running instance holds (its lock, taken here) is left alone, by a start
// as by a command, which is refused.
TEST(WorkFolders, AFolderInUseByAnotherInstanceIsLeftAlone) {
  SetRig rig;
  testing::put(rig.at("tervanoTemp/r1/k1/k.vk"), "rozpracováno");
  testing::put(rig.at("create.bat"), "rozpracováno");
  const sets::FolderLock held = sets::FolderLock::take(rig.at("tervanoTemp"));
  ASSERT_TRUE(held.held());
  const Tree before = snapshot(rig.prog);
  rig.startAgain();
  EXPECT_EQ(snapshot(rig.prog), before);
  rig.start();
  rig.create(35);
  EXPECT_EQ(snapshot(rig.prog), before);
  const auto errors = rig.host.only({"error"});
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("právě pracuje jiné spuštění programu"), std::string::npos) << errors[0];
}

}  // namespace
}  // namespace tervano
