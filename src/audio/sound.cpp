#include "audio/sound.h"

#include <filesystem>

#include "data/records.h"
#include "ui/ids.h"

namespace tervano::audio {

Sound::Sound(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder, Session& session)
    : controls_(controls), host_(host), folder_(folder), session_(session) {}

bool Sound::soundOn() const {
  return controls_.visible(id::kSoundOnPic);
}
bool Sound::musicOn() const {
  return controls_.visible(id::kMusicOnPic);
}

void Sound::playCue(std::string_view cue, CueSwitch sw) {
  const bool on = sw == CueSwitch::Sound ? soundOn() : musicOn();
  if (!on) return;
  host_.playWavSync(folder_.resolve(std::string(paths::kCues) + std::string(cue)).string());
}

bool Sound::currentFileExists() const {
  if (session_.musicFile.empty()) return false;
  std::error_code ec;
  return std::filesystem::is_regular_file(session_.musicFile, ec);
}

void Sound::setCurrentFile(const std::string& path) {
  session_.musicFile = path;
}
void Sound::open() {
  host_.music().open(session_.musicFile);
}
void Sound::play() {
  host_.music().play();
}
void Sound::stop() {
  host_.music().stop();
}
void Sound::close() {
  host_.music().close();
}

void Sound::musicTimerTick() {
  if (controls_.timerRunning(id::kTimerMusic)) play();
}

void Sound::openMusicFile(std::string_view relative) {
  setCurrentFile(folder_.resolve(relative).string());
  open();
}

void Sound::medplay() {
  const std::string& g = controls_.text(id::kGrade);
  const bool music = musicOn();
  bool busy = false;
  auto beginChange = [&] {
    if (!busy) host_.setCursor(ui::Cursor::Busy);
    busy = true;
  };

  if (g == "1" || g == "2" || g == "3") {
    const std::string rel = std::string(paths::kMusic) + g + "r.mid";
    if (folder_.isFile(rel)) {
      beginChange();
      if (currentFileExists()) stop();
      if (music) close();
      setCurrentFile(folder_.resolve(rel).string());
      open();
      if (music) play();
    }
  }
  if (g == "4") {
    const std::string rel = std::string(paths::kMusic) + "4r.mid";
    if (folder_.isFile(rel)) {
      beginChange();
      stop();
      if (music) close();
      setCurrentFile(folder_.resolve(rel).string());
      open();
      if (music) play();
    }
    // A text comparison, as the descriptor writes the count: "08" never matches "8".
    const std::string finalRel = std::string(paths::kMusic) + "FINAL.mid";
    if (folder_.isFile(finalRel) &&
        controls_.text(id::kCrossword) == session_.zaklnast.get(desc::kGradeCountFirst + 3)) {
      beginChange();
      if (music) stop();
      close();
      setCurrentFile(folder_.resolve(std::string(paths::kMusic) + "Final.mid").string());
      open();
      if (music) play();
    }
  }
  if (music && !session_.musicFile.empty()) {
    beginChange();
    stop();
    play();
  }
  if (!session_.musicFile.empty()) {
    beginChange();
    stop();
    controls_.startTimer(id::kTimerFileName);
    refreshRecordPlayer();
    // The music timer's next tick plays on: the piece restarts from the position set above.
    musicTimerTick();
  }
  if (busy) host_.setCursor(ui::Cursor::Normal);
}

void Sound::soundOnAction() {
  controls_.setVisible(id::kSoundOffPic, false);
  controls_.setVisible(id::kSoundOnPic, true);
}

void Sound::soundOffAction() {
  controls_.setVisible(id::kSoundOnPic, false);
  controls_.setVisible(id::kSoundOffPic, true);
}

void Sound::toggleSound() {
  if (soundOn())
    soundOffAction();
  else
    soundOnAction();
}

void Sound::musicOffSteps() {
  host_.setCursor(ui::Cursor::Busy);
  controls_.setVisible(id::kMusicOnPic, false);
  controls_.setVisible(id::kMusicOffPic, true);
  medplay();
  host_.setCursor(ui::Cursor::Busy);
  controls_.setEnabled(id::kSoundsAndMusic, false);
  controls_.stopTimer(id::kTimerMusic);
}

void Sound::musicOnSteps() {
  controls_.setVisible(id::kMusicOffPic, false);
  controls_.setVisible(id::kMusicOnPic, true);
  medplay();
  host_.setCursor(ui::Cursor::Busy);
  controls_.setEnabled(id::kSoundsAndMusic, true);
  if (currentFileExists()) {
    controls_.startTimer(id::kTimerMusic);
    play();
  }
  host_.setCursor(ui::Cursor::Normal);
}

void Sound::musicOffAction() {
  musicOffSteps();
  if (currentFileExists()) {
    stop();
    close();
  }
  host_.setCursor(ui::Cursor::Normal);
}

void Sound::musicOnAction() {
  host_.setCursor(ui::Cursor::Busy);
  if (currentFileExists()) open();
  musicOnSteps();
}

void Sound::toggleMusic() {
  if (musicOn()) {
    musicOffSteps();
    stop();
    host_.setCursor(ui::Cursor::Normal);
  } else {
    musicOnSteps();
  }
}

void Sound::refreshRecordPlayer() {
  if (controls_.timerRunning(id::kTimerFileName))
    controls_.setText(id::kRecordFile, session_.musicFile);
}

}  // namespace tervano::audio
