// Sound cues and their switches, and the choice of the grade's music.
#include <gtest/gtest.h>

#include "game_rig.h"

namespace tervano {
namespace {

using testing::GameRig;
using V = std::vector<std::string>;

std::vector<std::string> withMusic(std::vector<std::string> rec, bool music, bool sound) {
  rec[0] = music ? "A" : "N";
  rec[6] = sound ? "A" : "N";
  return rec;
}

TEST(Cues, TheClosingCuesOfAGameFollowTheMusicSwitch) {
  {
    GameRig rig({1, 1, 1, 1});
    rig.dir.makeMusic();
    rig.play(withMusic(testing::record("4", "1"), true, false));
    rig.answer("c a t\r\nd o g");
    rig.host.cancel();
    rig.kontrola();
    EXPECT_EQ(rig.host.only({"cue"}), (V{"cue hlasen.wav", "cue vyhraco.wav"}));
  }
  {
    GameRig rig({1, 1, 1, 1});
    rig.play(withMusic(testing::record("4", "1"), false, true));
    rig.answer("c a t\r\nd o g");
    rig.host.cancel();
    rig.kontrola();
    EXPECT_EQ(rig.host.only({"cue"}), (V{"cue dobre.wav", "cue vyhrar.wav"}));
  }
}

TEST(Cues, TheSoundSwitchAndItsShortcut) {
  GameRig rig;
  rig.play();
  EXPECT_TRUE(rig.app->sound().soundOn());
  rig.app->key("Shift+F1");
  EXPECT_FALSE(rig.app->sound().soundOn());
  EXPECT_TRUE(rig.c().visible(id::kSoundOffPic));
  EXPECT_FALSE(rig.c().visible(id::kSoundOnPic));
  rig.app->click(id::kErrorPerLineCaption);
  EXPECT_TRUE(rig.host.only({"cue"}).empty());
  rig.app->key("Shift+F1");
  EXPECT_TRUE(rig.app->sound().soundOn());
}

TEST(Music, EveryCheckRestartsTheGradesPieceAndAFinishedGradeSwitchesIt) {
  GameRig rig({1, 2, 1, 1});
  rig.dir.makeMusic();
  rig.play(withMusic(testing::record("1", "1"), true, true));
  EXPECT_TRUE(rig.host.fakeMusic().playing());
  EXPECT_EQ(std::filesystem::path(rig.host.fakeMusic().file()).filename(), "1r.mid");
  rig.host.clear();
  rig.kontrola();  // finishes grade I
  EXPECT_EQ(std::filesystem::path(rig.host.fakeMusic().file()).filename(), "2r.mid");
  EXPECT_TRUE(rig.host.fakeMusic().playing());
  const auto music = rig.host.only({"music"});
  // Opened at its start, and nothing of grade I's piece plays on.
  EXPECT_NE(std::find(music.begin(), music.end(), "music open 2r.mid"), music.end());
  EXPECT_EQ(rig.text(id::kRecordFile), rig.dir.path("tervano/hdb/2r.mid"));
  rig.host.clear();
  rig.kontrola();  // inside grade II: the same piece from its start
  EXPECT_EQ(rig.host.only({"music"}),
            (V{"music stop", "music close", "music open 2r.mid", "music play", "music stop",
               "music play", "music stop", "music play"}));
}

TEST(Music, TheLastCrosswordOfGradeFourSwitchesToTheFinal) {
  GameRig rig({1, 1, 1, 3});
  rig.dir.makeMusic();
  rig.play(withMusic(testing::record("4", "2"), true, true));
  rig.kontrola();
  EXPECT_EQ(std::filesystem::path(rig.host.fakeMusic().file()).filename(), "Final.mid");
}

TEST(Music, WithoutAFinalPieceGradeFourPlaysOn) {
  GameRig rig({1, 1, 1, 3});
  rig.dir.makeMusic();
  rig.dir.remove("tervano/hdb/Final.mid");
  rig.play(withMusic(testing::record("4", "2"), true, true));
  rig.kontrola();
  EXPECT_EQ(std::filesystem::path(rig.host.fakeMusic().file()).filename(), "4r.mid");
}

TEST(Music, TheFinalTestComparesTexts) {
  GameRig rig({1, 1, 1, 8});
  rig.dir.makeMusic();
  TextList desc = rig.dir.read("tervano/Tervano.ini");
  desc.set(4, "08");
  rig.dir.write("tervano/Tervano.ini", desc.lines());
  rig.play(withMusic(testing::record("4", "7"), true, true));
  rig.kontrola();
  // The check compares numbers and announces the last round ...
  EXPECT_EQ(rig.host.only({"warning"}), (V{"warning: Toto kolo je poslední."}));
  // ... the music compares "8" with "08" and keeps grade IV's piece.
  EXPECT_EQ(std::filesystem::path(rig.host.fakeMusic().file()).filename(), "4r.mid");
}

TEST(Music, ShiftF2SwitchesTheMusicAndItsPlayerPanelButton) {
  GameRig rig;
  rig.dir.makeMusic();
  rig.play();
  EXPECT_FALSE(rig.c().enabled(id::kSoundsAndMusic));
  rig.app->key("Shift+F2");
  EXPECT_TRUE(rig.app->sound().musicOn());
  EXPECT_TRUE(rig.c().enabled(id::kSoundsAndMusic));
  EXPECT_TRUE(rig.host.fakeMusic().playing());
  EXPECT_TRUE(rig.c().timerRunning(id::kTimerMusic));
  rig.app->click(id::kSoundsAndMusic);
  EXPECT_TRUE(rig.c().visible(id::kPanelRecordPlayer));
  rig.app->key("Shift+F2");
  EXPECT_FALSE(rig.app->sound().musicOn());
  EXPECT_FALSE(rig.c().enabled(id::kSoundsAndMusic));
  EXPECT_FALSE(rig.host.fakeMusic().playing());
  EXPECT_TRUE(rig.host.fakeMusic().isOpen());  // the shortcut stops without closing
}

TEST(Music, NoMusicFilesMeansSilenceWithoutErrors) {
  GameRig rig;
  rig.play(withMusic(testing::record(), true, true));
  rig.host.ok().cancel();
  rig.app->click(id::kEndGame);
  rig.app->click(id::kNewGame);
  EXPECT_TRUE(rig.host.only({"error"}).empty());
  EXPECT_FALSE(rig.host.fakeMusic().playing());
}

}  // namespace
}  // namespace tervano
