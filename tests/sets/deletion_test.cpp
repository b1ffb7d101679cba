// Deleting the active set: two questions, the set renamed away at once, the deletion script run
// on that folder alone, and nothing else of the program folder touched.
#include <gtest/gtest.h>

#include "set_rig.h"

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

}  // namespace
}  // namespace tervano
