// Installation of a set from a medium: the dialog, the three refusals, the copy by the runner,
// and the registration only after the copy has ended well.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "data/textfile.h"
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

}  // namespace
}  // namespace tervano
