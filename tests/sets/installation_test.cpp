// Installation of a set from a medium: the dialog, the three refusals, the copy by the runner,
// and the registration only after the copy has ended well.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "data/file_ops.h"
#include "data/textfile.h"
#include "interruptions.h"
#include "set_rig.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;
using testing::SetRig;
using testing::snapshot;
using testing::Tree;
using V = std::vector<std::string>;

// The German medium delivered with the program, copied to a folder with blanks and Czech letters.
struct InstallRig : SetRig {
  fs::path medium = dir.root() / "Média" / "instalace němčina";
  InstallRig() : SetRig({"22"}) {
    fs::create_directories(medium);
    fs::copy(fs::path(TERVANO_DATA_TREE) / "instalace-nemcina", medium,
             fs::copy_options::recursive);
  }
  void install(const fs::path& file) {
    host.pick(file.string());
    app->click(id::kSetInstall);
  }
};

TEST(Installation, CopiesTheGermanMediumAndRegistersItOnlyAfterTheCopy) {
  InstallRig rig;
  rig.start();
  const std::string selection = rig.bytes("Tervano.ini");
  const std::string descriptor = rig.bytes("tervano/Tervano.ini");
  const TextList list = rig.read("sady.ini");
  rig.install(rig.medium / "Tervano.ini");

  EXPECT_EQ(rig.host.transcript(),
            (V{"open: Instalace sady -> Tervano.ini", "launch install.bat"}));
  const auto& dialog = rig.host.dialogs().back();
  EXPECT_EQ(dialog.initialFolder, std::getenv("HOME") ? std::getenv("HOME") : "/");
  ASSERT_EQ(dialog.filters.size(), 1u);
  EXPECT_EQ(dialog.filters[0].label, "Soubor pro instalaci sady");
  EXPECT_TRUE(dialog.mustExist);
  // The script: 7 lines and one per crossword (3 in each grade), paths in quotes; the copy goes
  // into the work folder, which gets the set's name only once it is whole.
  const TextList script = rig.read("install.bat");
  EXPECT_EQ(script.count(), 7 + 12);
  EXPECT_EQ(script.get(0), "echo of");
  EXPECT_EQ(script.get(2), "copy \"" + rig.medium.string() + "/script/*.*\" \"" +
                               rig.at("tervanoTemp").string() + "/script\"");
  // Nothing is registered, and the panel waits, while the copy runs.
  EXPECT_EQ(rig.read("sady.ini"), list);
  EXPECT_TRUE(rig.sets().busy());
  EXPECT_FALSE(rig.c().enabled(id::kSetConfirm));
  EXPECT_TRUE(rig.c().visible(id::kSetProgress));
  rig.host.clear();
  rig.app->dispatch({app::Event::Kind::CloseRequest});
  rig.choose("tervano22");
  EXPECT_EQ(rig.host.only({"info", "quit"}),
            (V{"info: Program ještě pracuje se sadou.\rPočkejte prosím, až práci dokončí.",
               "info: Program ještě pracuje se sadou.\rPočkejte prosím, až práci dokončí."}));
  EXPECT_TRUE(rig.exists("tervano22"));

  rig.host.clear();
  rig.finishScripts();
  EXPECT_EQ(
      rig.host.transcript(),
      (V{"cue hlasen.wav", "info: Tato křížovková sada byla úspěšně nainstalována.",
         "info: Program bude pro jistotu ukončen. Pro kontrolu program znovu spusťte.", "quit"}));
  EXPECT_EQ(snapshot(rig.at("tervano21")), snapshot(rig.medium));
  TextList grown = list;
  grown.append("tervano21");
  EXPECT_EQ(rig.read("sady.ini"), grown);
  EXPECT_EQ(rig.bytes("Tervano.ini"), selection);
  EXPECT_EQ(rig.bytes("tervano/Tervano.ini"), descriptor);
  EXPECT_FALSE(rig.exists("install.bat"));
  int files = 0;
  for (const auto& [path, content] : snapshot(rig.medium))
    files += content != "<folder>";
  EXPECT_EQ(rig.c().value(id::kSetProgress), files);
  EXPECT_EQ(rig.c().text(id::kSetStatus), "");
}

// As in the real program: the runner copies on a thread of its own while the panel goes on
// answering, and the timer notices its end.
TEST(Installation, ThePanelAnswersWhileTheRunnerCopiesOnItsOwnThread) {
  InstallRig rig;
  rig.start();
  rig.install(rig.medium / "Tervano.ini");
  rig.host.startScriptThreads();
  // Ticks until the copy is done; the limit (a minute at least) only keeps a runner that never
  // ends from hanging the test.
  int ticks = 0;
  for (; rig.sets().busy() && ticks < 12000; ++ticks) {
    rig.app->tick(id::kTimerScriptRun);
    rig.app->edit(id::kSetBox, "tervano22");
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  rig.host.joinScripts();
  EXPECT_FALSE(rig.sets().busy());
  EXPECT_EQ(rig.read("sady.ini").lines().back(), "tervano21");
  EXPECT_EQ(snapshot(rig.at("tervano21")), snapshot(rig.medium));
  EXPECT_TRUE(rig.host.quitRequested());
}

struct Refusal {
  const char* name;
  std::function<fs::path(InstallRig&)> file;  // prepares the medium, gives the chosen file
  V transcript;
};

const char* kInsufficient =
    "error: Tento soubor je nedostatečný\rpro zahájení instalačního procesu.";

void descriptorLines(InstallRig& r, const V& lines) {
  r.dir.write(fs::relative(r.medium / "Tervano.ini", r.dir.root()).string(), lines);
}

TEST(Installation, RefusesInOrderAndCreatesNothing) {
  const std::vector<Refusal> cases = {
      {"already listed",
       [](InstallRig& r) {
         descriptorLines(r, {"a", "3", "3", "3", "3", "4", "22", "Němčina"});
         return r.medium / "Tervano.ini";
       },
       {"cue hlasen.wav",
        "info: Tato křížovková sada byla již nainstalována.\r\rJedná se o sadu:\r\rTervano22"}},
      {"the program's own selection file by another path",
       [](InstallRig& r) {
         fs::create_directory_symlink(r.prog, r.dir.root() / "odkaz");
         return r.dir.root() / "odkaz" / "Tervano.ini";
       },
       {"cue hlasen.wav", "error: Tento soubor je již aplikací používán."}},
      {"seven lines",
       [](InstallRig& r) {
         descriptorLines(r, {"a", "3", "3", "3", "3", "4", "21"});
         return r.medium / "Tervano.ini";
       },
       {"cue hlasen.wav", kInsufficient}},
      {"an empty set number",
       [](InstallRig& r) {
         descriptorLines(r, {"a", "3", "3", "3", "3", "4", "", "Němčina"});
         return r.medium / "Tervano.ini";
       },
       {"cue hlasen.wav", kInsufficient}},
      {"a set number leading out",
       [](InstallRig& r) {
         descriptorLines(r, {"a", "3", "3", "3", "3", "4", "/../../x", "Němčina"});
         return r.medium / "Tervano.ini";
       },
       {"cue hlasen.wav", kInsufficient}},
  };
  for (const auto& c : cases) {
    InstallRig rig;
    const fs::path file = c.file(rig);
    const Tree before = snapshot(rig.dir.root());
    rig.start();
    rig.install(file);
    EXPECT_EQ(rig.host.only({"cue", "info", "error", "launch"}), c.transcript) << c.name;
    EXPECT_EQ(snapshot(rig.dir.root()), before) << c.name;
    // "Potvrdit" afterwards leaves the active set's descriptor as it was.
    rig.app->click(id::kSetConfirm);
    EXPECT_TRUE(rig.host.quitRequested()) << c.name;
    EXPECT_EQ(snapshot(rig.dir.root()), before) << c.name;
  }
}

TEST(Installation, AFailedCopyRegistersNothingAndRemovesTheNewFolder) {
  InstallRig rig;
  fs::remove_all(rig.medium / "r2" / "k3");
  const Tree before = snapshot(rig.prog);
  rig.start();
  rig.install(rig.medium / "Tervano.ini");
  rig.host.clear();
  rig.finishScripts();
  ASSERT_EQ(rig.host.transcript().size(), 1u);
  EXPECT_EQ(rig.host.transcript()[0].rfind("warning: Došlo k chybě a funkce selhala.\r", 0), 0u);
  EXPECT_EQ(snapshot(rig.prog), before);
  EXPECT_NE(rig.c().text(id::kSetStatus).find("r2/k3"), std::string::npos)
      << rig.c().text(id::kSetStatus);
  EXPECT_FALSE(rig.sets().busy());
  EXPECT_TRUE(rig.c().enabled(id::kSetConfirm));
  // One script per run: a second installation is refused before its dialog.
  rig.host.clear();
  rig.app->click(id::kSetInstall);
  EXPECT_EQ(rig.host.only({"info", "open"}).size(), 1u);
  EXPECT_EQ(rig.host.only({"open"}).size(), 0u);
}

struct Counts {
  const char* name;
  int grade;  // whose list gets `lines` lines
  int lines;
  bool refused;
};

// An absurd crossword count is refused before any folder is made; the most a grade may have is
// accepted (the copy then fails on the crosswords the medium lacks, and nothing stays).
TEST(Installation, RefusesMoreThan999CrosswordsInAGradeBeforeMakingAnything) {
  const std::vector<Counts> cases = {
      {"first grade, one too many", 1, 1000, true},
      {"last grade, far too many", 4, 100000, true},
      {"middle grade, exactly the most", 2, 999, false},
  };
  for (const auto& c : cases) {
    InstallRig rig;
    std::string list;
    for (int n = 1; n <= c.lines; ++n)
      list += std::to_string(n) + "\r\n";
    testing::put(rig.medium / "sur" / (std::to_string(c.grade) + ".cbx"), list);
    const Tree before = snapshot(rig.prog);
    rig.start();
    rig.SetRig::install(rig.medium / "Tervano.ini");
    const auto errors = rig.host.only({"error"});
    if (c.refused) {
      ASSERT_EQ(errors.size(), 1u) << c.name;
      EXPECT_NE(errors[0].find("nejvýš 999"), std::string::npos) << errors[0];
      EXPECT_EQ(rig.host.only({"launch"}), V{}) << c.name;
      EXPECT_EQ(snapshot(rig.prog), before) << c.name;
      continue;
    }
    EXPECT_EQ(errors, V{}) << c.name;
    EXPECT_EQ(rig.host.only({"launch"}), V{"launch install.bat"}) << c.name;
    EXPECT_EQ(snapshot(rig.prog), before) << c.name;
  }
}

struct MediumLinks {
  const char* name;
  std::function<void(InstallRig&, const fs::path& outside)> prepare;
  V skipped;       // reported, relative to the medium
  bool installed;  // the crosswords are whole without what was skipped
};

// Copying takes only the medium's own regular files and folders, and says what it passed over; a
// set that lacks crossword files for it is not installed, and nothing of it stays.
TEST(Installation, TakesOnlyTheMediumsOwnFilesAndSaysWhatItSkipped) {
  const std::vector<MediumLinks> cases = {
      {"a link among the sounds",
       [](InstallRig& r, const fs::path& out) {
         fs::create_symlink(out / "tajné.txt", r.medium / "hdb" / "odkaz.wav");
       },
       {"hdb/odkaz.wav"},
       true},
      {"a crossword folder linked elsewhere",
       [](InstallRig& r, const fs::path& out) {
         fs::rename(r.medium / "r2" / "k2", out / "k2");
         fs::create_directory_symlink(out / "k2", r.medium / "r2" / "k2");
       },
       {"r2/k2"},
       false},
      {"a crossword file linked elsewhere",
       [](InstallRig& r, const fs::path& out) {
         fs::remove(r.medium / "r4" / "k3" / "k.vk");
         fs::create_symlink(out / "tajné.txt", r.medium / "r4" / "k3" / "k.vk");
       },
       {"r4/k3/k.vk"},
       false},
  };
  for (const auto& c : cases) {
    InstallRig rig;
    const fs::path outside = rig.dir.root() / "venku";
    testing::put(outside / "tajné.txt", "tajné");
    c.prepare(rig, outside);
    const Tree before = snapshot(rig.prog);
    rig.start();
    rig.SetRig::install(rig.medium / "Tervano.ini");
    // Nothing from outside in the program folder, whatever the outcome.
    for (const auto& [path, content] : snapshot(rig.prog))
      EXPECT_NE(content, "tajné") << c.name << ": " << path;
    if (!c.installed) {
      EXPECT_EQ(snapshot(rig.prog), before) << c.name;
      const auto warnings = rig.host.only({"warning"});
      ASSERT_EQ(warnings.size(), 1u) << c.name;
      EXPECT_NE(warnings[0].find("Kopie sady není úplná"), std::string::npos) << warnings[0];
      EXPECT_NE(warnings[0].find(c.skipped[0]), std::string::npos) << warnings[0];
      EXPECT_EQ(rig.host.only({"info: Tato"}), V{}) << c.name;
      continue;
    }
    EXPECT_EQ(rig.read("sady.ini").lines().back(), "tervano21") << c.name;
    const auto infos = rig.host.only({"info"});
    ASSERT_GE(infos.size(), 2u) << c.name;
    EXPECT_NE(infos[0].find("nebyly zkopírovány"), std::string::npos) << infos[0];
    for (const std::string& entry : c.skipped)
      EXPECT_NE(infos[0].find("\r" + entry), std::string::npos) << infos[0];
    EXPECT_EQ(infos[1], "info: Tato křížovková sada byla úspěšně nainstalována.");
  }
}

// A medium folder (or its descriptor) that is itself a link is refused before anything changes.
TEST(Installation, RefusesAMediumThatIsALink) {
  for (bool folderLinked : {true, false}) {
    InstallRig rig;
    fs::path chosen = rig.medium / "Tervano.ini";
    if (folderLinked) {
      fs::create_directory_symlink(rig.medium, rig.dir.root() / "odkaz na médium");
      chosen = rig.dir.root() / "odkaz na médium" / "Tervano.ini";
    } else {
      fs::rename(chosen, rig.dir.root() / "popis.ini");
      fs::create_symlink(rig.dir.root() / "popis.ini", chosen);
    }
    const Tree before = snapshot(rig.dir.root());
    rig.start();
    rig.SetRig::install(chosen);
    const auto errors = rig.host.only({"error"});
    ASSERT_EQ(errors.size(), 1u) << folderLinked;
    EXPECT_NE(errors[0].find("je jen odkazem na jinou složku"), std::string::npos) << errors[0];
    EXPECT_EQ(rig.host.only({"launch"}), V{});
    EXPECT_EQ(snapshot(rig.dir.root()), before) << folderLinked;
  }
}

// The rollback of an installation whose copy fails (a full disk at one of its files, forced
// through the file module's seam): at once, before any later start, nothing of it is left and
// nothing is registered; installing again then works.
TEST(Installation, ACopyFailingHalfWayLeavesNothingAndTheNextTryWorks) {
  InstallRig rig;
  const Tree before = snapshot(rig.prog);
  rig.start();
  fileops::seam::failAt(120, ENOSPC);
  rig.SetRig::install(rig.medium / "Tervano.ini");
  const bool failed = fileops::seam::fired();
  fileops::seam::reset();
  ASSERT_TRUE(failed);
  EXPECT_EQ(snapshot(rig.prog), before);
  EXPECT_EQ(testing::temporariesIn(rig.prog), V{});
  const auto warnings = rig.host.only({"warning"});
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find(systemErrorText(ENOSPC)), std::string::npos) << warnings[0];
  rig.start();
  rig.SetRig::install(rig.medium / "Tervano.ini");
  EXPECT_EQ(rig.read("sady.ini").lines().back(), "tervano21");
  EXPECT_EQ(snapshot(rig.at("tervano21")), snapshot(rig.medium));
}

}  // namespace
}  // namespace tervano
