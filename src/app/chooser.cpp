// The crossword chooser as the main application uses it: starting a game at a chosen crossword.
#include "app/application.h"
#include "data/numbers.h"
#include "data/records.h"
#include "ui/ids.h"

namespace tervano::app {

namespace {
constexpr const char* kUnknown = "<Neznámo>";
}

void Application::chooserGradeChanged() {
  const std::string& g = controls_.text(id::kChooserGrade);
  if (g == "1" || g == "2" || g == "3" || g == "4")
    controls_.setLines(id::kChooserCrossword, folder_.load("tervano\\sur\\" + g + ".cbx"));
  controls_.setText(id::kChooserCrossword, kUnknown);
}

bool Application::chooserValid() {
  for (auto box : {id::kChooserGrade, id::kChooserCrossword}) {
    const std::string& t = controls_.text(box);
    const auto n = tryParseInt(t);
    if (t == kUnknown || !n || *n == -9) {
      ui::showInfo(host_, "Údaj o ročníku a křížovce musí být vyplněn.");
      return false;
    }
  }
  return true;
}

void Application::chooserStartGame() {
  if (!chooserValid()) return;
  game_->start();
  controls_.setEnabled(id::kKontrola, true);
  controls_.setEnabled(id::kMainWindow, true);
  controls_.setEnabled(id::kReturnToGame, true);
  controls_.setVisible(id::kMenuScreen, false);
  const std::string grade = controls_.text(id::kChooserGrade);
  const std::string crossword = controls_.text(id::kChooserCrossword);
  controls_.setText(id::kGrade, grade);
  controls_.setText(id::kCrossword, crossword);
  controls_.setValue(id::kGaugeGrades, parseInt(grade));
  controls_.setValue(id::kGaugeCrosswords, parseInt(crossword));
  for (auto c : {id::kPoints, id::kGood, id::kBad})
    controls_.setText(c, "0");
  for (auto area : {id::kAnswerArea, id::kMapArea, id::kLegendArea})
    controls_.setLines(area, {});
  TextList& r = session_.saveRecord;
  r.set(saverec::kMusic, "A");
  r.set(saverec::kPoints, "0");
  r.set(saverec::kGrade, grade);
  r.set(saverec::kCrossword, crossword);
  r.set(saverec::kGood, "0");
  r.set(saverec::kBad, "0");
  controls_.setEnabled(id::kNewGame, false);
  controls_.setEnabled(id::kNewGameSettings, false);
  controls_.setEnabled(id::kLoadGame, false);
  controls_.setEnabled(id::kQuit, false);
  controls_.setEnabled(id::kEndGame, true);
  controls_.setEnabled(id::kSaveGame, true);
  controls_.setVisible(id::kChooserWindow, false);
  game_->prvkr();
  controls_.startTimer(id::kTimerGauge);
  if (sound_->musicOn()) {
    host_.setCursor(ui::Cursor::Busy);
    sound_->medplay();
    host_.setCursor(ui::Cursor::Normal);
  }
}

void Application::chooserBack() {
  controls_.setEnabled(id::kMainWindow, true);
  controls_.setVisible(id::kChooserWindow, false);
  recount();
}

void Application::recount() {
  for (int g = 1; g <= 4; ++g) {
    const std::string grade = std::to_string(g);
    controls_.setText(id::kChooserGrade, grade);
    controls_.setLines(id::kChooserCrossword, folder_.load("tervano\\sur\\" + grade + ".cbx"));
    session_.zaklnast.set(desc::kGradeCountFirst + g - 1,
                          std::to_string(controls_.lines(id::kChooserCrossword).count()));
  }
  saveDescriptor();
}

void Application::saveDescriptor() {
  // An empty descriptor was never loaded (or could not be): writing it would wipe the set's.
  if (!session_.zaklnast.empty()) folder_.save(paths::kDescriptor, session_.zaklnast);
}

}  // namespace tervano::app
