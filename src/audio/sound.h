#pragma once

#include <string>
#include <string_view>

#include "data/programfolder.h"
#include "data/session.h"
#include "ui/controls.h"
#include "ui/host.h"

namespace tervano::audio {

// Which switch lets a cue sound: most follow the sound switch, the two cues of a completed game
// follow the music switch.
enum class CueSwitch { Sound, Music };

// The sound and music switches, the cues and the choice of the grade's music (Medplay).
class Sound {
 public:
  Sound(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder, Session& session);

  bool soundOn() const;
  bool musicOn() const;

  // Plays "tervano\hdb\" + cue synchronously when its switch is on.
  void playCue(std::string_view cue, CueSwitch sw = CueSwitch::Sound);
  void beep() { playCue("hlasen.wav"); }

  // Chooses the music of the current grade and crossword; with the music on it plays the piece
  // from its start.
  void medplay();

  void soundOnAction();
  void soundOffAction();
  void toggleSound();  // Shift+F1

  void musicOnAction();
  void musicOffAction();
  void toggleMusic();  // Shift+F2

  // New game opens grade I's piece without testing that it exists.
  void openMusicFile(std::string_view relative);

  // The file-name timer's work: the record player shows the current file.
  void refreshRecordPlayer();

 private:
  bool currentFileExists() const;
  void setCurrentFile(const std::string& path);
  void open();
  void play();
  void stop();
  void close();
  // The music timer plays again what a stop interrupted; the real player loops by itself.
  void musicTimerTick();
  void musicOffSteps();
  void musicOnSteps();

  ui::Controls& controls_;
  ui::Host& host_;
  const ProgramFolder& folder_;
  Session& session_;
};

}  // namespace tervano::audio
