// The set's music: the sound panel "Ozvučení sady" of both editors replaces one of the five
// pieces of the active set with a MIDI file the player can play, in one step, and nothing else.
#include "audio/music_slots.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <optional>

#include "audio_files.h"
#include "program_folder.h"
#include "ui/ids.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;
using V = std::vector<std::string>;

const char* const kSlotFiles[] = {"tervano/hdb/1r.mid", "tervano/hdb/2r.mid", "tervano/hdb/3r.mid",
                                  "tervano/hdb/4r.mid", "tervano/hdb/Final.mid"};

// An editor on a set whose five pieces are there, each with bytes of its own.
struct MusicRig : testing::Rig {
  explicit MusicRig(const std::string& mode = "-SCRIPTEDITOR") {
    dir.makeSet({1, 1, 1, 1});
    for (const char* f : kSlotFiles)
      dir.writeBytes(f, std::string("old ") + f);
    start(mode);
    host.clear();
  }
  app::Application& a() { return *app; }
  std::map<std::string, std::string> slots() const {
    std::map<std::string, std::string> bytes;
    for (const char* f : kSlotFiles)
      bytes[f] = dir.readBytes(f);
    return bytes;
  }
  // "Ozvučení", then the choose button of a row with the file picked in the dialog.
  void choose(int row, std::optional<std::string> file) {
    app->click(id::kSetMusicOpen);
    host.pick(std::move(file));
    app->click(id::kMusicChoose[row]);
  }
};

std::string piece() {
  return testing::organPiece(0, 400, 800);
}

TEST(SetMusic, KonecnyReplacesOnlyTheFinalPiece) {
  MusicRig rig;
  const std::string midi = piece();
  rig.dir.writeBytes("moje/finale.mid", midi);
  auto expected = rig.slots();
  expected["tervano/hdb/Final.mid"] = midi;
  const auto finalFile = rig.dir.root() / "tervano/hdb/Final.mid";
  struct stat old {};
  ASSERT_EQ(::stat(finalFile.c_str(), &old), 0);
  rig.choose(4, rig.dir.path("moje/finale.mid"));
  EXPECT_EQ(rig.slots(), expected);
  // Replaced in one step: a new file renamed over the old one, never the old one rewritten.
  struct stat now {};
  ASSERT_EQ(::stat(finalFile.c_str(), &now), 0);
  EXPECT_NE(now.st_ino, old.st_ino);
  EXPECT_TRUE(rig.host.only({"error", "warning", "info"}).empty());
  // The dialog is a MIDI dialog, not the script dialog.
  const ui::FileDialogOptions& dialog = rig.host.dialogs().back();
  EXPECT_EQ(dialog.title, "Ozvučení sady: Konečná skladba");
  ASSERT_EQ(dialog.filters.size(), 1u);
  EXPECT_EQ(dialog.filters[0].patterns, (V{"*.mid", "*.midi"}));
  EXPECT_TRUE(dialog.mustExist);
}

TEST(SetMusic, WhatThePlayerCannotPlayIsRefusedAndTheSlotKept) {
  MusicRig rig;
  rig.dir.writeScript("nakoncihry.lsc", {"kont"});
  rig.dir.writeBytes("moje/text.mid", "Toto není hudba.\r\n");
  rig.dir.writeBytes("moje/prazdny.mid", "");
  const std::string midi = piece();
  rig.dir.writeBytes("moje/useknuty.mid", midi.substr(0, midi.size() - 6));
  rig.dir.writeBytes("moje/jen-hlavicka.mid", "MThd");
  fs::create_directories(rig.dir.root() / "moje/slozka.mid");
  const std::string refused[] = {
      rig.dir.path("tervano/script/nakoncihry.lsc"),
      rig.dir.path("moje/text.mid"),
      rig.dir.path("moje/prazdny.mid"),
      rig.dir.path("moje/useknuty.mid"),
      rig.dir.path("moje/jen-hlavicka.mid"),
      rig.dir.path("moje/slozka.mid"),
      rig.dir.path("moje/chybi.mid"),
  };
  const auto before = rig.slots();
  for (const auto& file : refused) {
    rig.host.clear();
    rig.choose(4, file);
    const auto errors = rig.host.only({"error"});
    ASSERT_EQ(errors.size(), 1u) << file;
    EXPECT_NE(errors[0].find("Skladba „Konečná skladba“ zůstala beze změny."), std::string::npos)
        << errors[0];
  }
  EXPECT_EQ(rig.slots(), before);
}

TEST(SetMusic, AFailedCopyLeavesTheSlotAsItWasAndSaysSo) {
  MusicRig rig;
  rig.dir.writeBytes("moje/skladba.mid", piece());
  rig.dir.remove("tervano/hdb");
  rig.choose(0, rig.dir.path("moje/skladba.mid"));
  EXPECT_EQ(rig.host.only({"error"}).size(), 1u);
  EXPECT_FALSE(rig.dir.exists("tervano/hdb"));
}

// The option "Tato sada nebude mít doprovodné skladby" stays hidden; a change of it writes
// nothing, and no "Hravix" folder appears. A chosen file unticks it, a cancelled dialog does not.
TEST(SetMusic, TheNoMusicOptionIsHiddenWritesNothingAndIsUntickedByAChoice) {
  MusicRig rig;
  EXPECT_FALSE(rig.c().visible(id::kMusicNoMusic));
  const auto before = rig.slots();
  for (int on : {1, 0, 1})
    rig.a().dispatch({app::Event::Kind::Toggle, id::kMusicNoMusic, {}, on});
  EXPECT_FALSE(fs::exists(rig.dir.root() / "Hravix"));
  rig.choose(2, std::nullopt);
  EXPECT_EQ(rig.slots(), before);
  EXPECT_TRUE(rig.c().checked(id::kMusicNoMusic));
  rig.dir.writeBytes("moje/text.mid", "text");
  rig.choose(2, rig.dir.path("moje/text.mid"));
  EXPECT_FALSE(rig.c().checked(id::kMusicNoMusic));
  EXPECT_EQ(rig.slots(), before);
}

TEST(SetMusic, TheEditorBarOffersItInBothEditorsAndPotvrditOnlyHidesIt) {
  for (const char* mode : {"-SCRIPTEDITOR", "-EDITOR"}) {
    MusicRig rig(mode);
    EXPECT_TRUE(rig.c().visible(id::kCatSetMusic)) << mode;
    rig.a().hover(id::kCatSetMusic);
    EXPECT_TRUE(rig.c().visible(id::kPanelSetMusic));
    rig.a().click(id::kSetMusicOpen);
    EXPECT_TRUE(rig.c().visible(id::kMusicPanel));
    EXPECT_EQ(rig.text(id::kMusicPanel), "Ozvučení sady");
    const auto before = rig.slots();
    rig.a().click(id::kMusicConfirm);
    EXPECT_FALSE(rig.c().visible(id::kMusicPanel));
    EXPECT_TRUE(rig.host.transcript().empty());
    EXPECT_EQ(rig.slots(), before);
  }
  // Elsewhere the entry is hidden and the panel not there at all.
  testing::Rig game;
  game.dir.makeSet({1, 1, 1, 1});
  game.host.pick(game.dir.makeSave("hra", testing::record()));
  game.start("");
  EXPECT_FALSE(game.c().visible(id::kCatSetMusic));
  EXPECT_FALSE(game.c().has(id::kMusicPanel));
}

}  // namespace
}  // namespace tervano
