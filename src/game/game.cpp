#include "game/game.h"

#include "data/crossword.h"
#include "data/errors.h"
#include "data/events.h"
#include "data/numbers.h"
#include "data/records.h"
#include "data/textfile.h"
#include "data/texts.h"
#include "ui/ids.h"

namespace tervano::game {

Game::Game(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder, Session& session,
           audio::Sound& sound, GameHooks& hooks)
    : controls_(controls),
      host_(host),
      folder_(folder),
      session_(session),
      sound_(sound),
      hooks_(hooks) {}

const std::string& Game::counter(std::string_view id) const {
  return controls_.text(id);
}
void Game::setCounter(std::string_view id, std::string text) {
  controls_.setText(id, std::move(text));
}
std::int32_t Game::number(std::string_view id) const {
  return parseInt(controls_.text(id));
}

bool Game::gameRunning() const {
  return controls_.enabled(id::kEndGame);
}

void Game::prvkr() {
  const std::string g = counter(id::kGrade);
  const std::string n = counter(id::kCrossword);
  const auto folder = crosswordFolder(g, n);
  if (!folder)
    throw FileError("Křížovku ročníku „" + g + "“ s číslem „" + n +
                    "“ nelze otevřít: ročník i číslo musí být kladná celá čísla.");
  session_.konftaj = folder_.load(*folder + "k.nk", limits::kCrosswordFile);
  session_.vyslt = folder_.load(*folder + "k.vk", limits::kCrosswordFile);
  controls_.setLines(id::kLegendArea, folder_.load(*folder + "k.lk", limits::kCrosswordFile));
  controls_.setLines(id::kMapArea, folder_.load(*folder + "k.mk", limits::kCrosswordFile));

  const TextList& k = session_.konftaj;
  controls_.setText(id::kScoreGood, k.get(konf::kPointsPerGood));
  controls_.setText(id::kScoreBad, k.get(konf::kPointsPerBad));
  controls_.setText(id::kScoreGoodTajenka, k.get(konf::kGoodTajenka));
  controls_.setText(id::kScoreBadTajenka, k.get(konf::kBadTajenka));
  controls_.setText(id::kScoreWordCount, k.get(konf::kWordCount));
  controls_.setText(id::kWordCountBig, k.get(konf::kWordCount));

  controls_.setLines(id::kAnswerArea, controls_.lines(id::kMapArea));

  const std::int32_t words = parseInt(controls_.text(id::kScoreWordCount));
  controls_.setText(id::kCanGain,
                    toText(checkedAdd(checkedMul(parseInt(controls_.text(id::kScoreGood)), words),
                                      parseInt(controls_.text(id::kScoreGoodTajenka)))));
  controls_.setText(id::kCanLose,
                    toText(checkedAdd(checkedMul(parseInt(controls_.text(id::kScoreBad)), words),
                                      parseInt(controls_.text(id::kScoreBadTajenka)))));

  if (auto script = crosswordScriptPath(g, n, event::kCrosswordStart))
    hooks_.eventScript(*script, true);
}

void Game::setNoGameColumn() {
  controls_.setEnabled(id::kNewGame, true);
  controls_.setEnabled(id::kNewGameSettings, true);
  controls_.setEnabled(id::kReturnToGame, false);
  controls_.setEnabled(id::kSaveGame, false);
  controls_.setEnabled(id::kEndGame, false);
  controls_.setEnabled(id::kLoadGame, true);
  controls_.setEnabled(id::kQuit, true);
}

void Game::setGameRunningColumn() {
  controls_.setEnabled(id::kNewGame, false);
  controls_.setEnabled(id::kNewGameSettings, false);
  controls_.setEnabled(id::kReturnToGame, true);
  controls_.setEnabled(id::kSaveGame, true);
  controls_.setEnabled(id::kEndGame, true);
  controls_.setEnabled(id::kLoadGame, false);
  controls_.setEnabled(id::kQuit, false);
}

void Game::newGame() {
  session_.gameFinished = false;
  controls_.setVisible(id::kMenuScreen, false);
  controls_.setEnabled(id::kReturnToGame, true);

  setCounter(id::kPoints, "0");
  setCounter(id::kGrade, "1");
  setCounter(id::kCrossword, "1");
  setCounter(id::kGood, "0");
  setCounter(id::kBad, "0");
  controls_.setLines(id::kAnswerArea, {});
  controls_.setValue(id::kGaugeGrades, 1);
  controls_.setValue(id::kGaugeCrosswords, 1);

  controls_.setLines(id::kMapArea, {});
  controls_.setLines(id::kLegendArea, {});
  session_.saveRecord.clear();

  controls_.setEnabled(id::kNewGame, false);
  controls_.setEnabled(id::kNewGameSettings, false);
  controls_.setEnabled(id::kQuit, false);
  controls_.setEnabled(id::kEndGame, true);
  controls_.setEnabled(id::kLoadGame, false);
  controls_.setEnabled(id::kSaveGame, true);

  hooks_.eventScript(programScriptPath(event::kGameStart), true);
  prvkr();
  sound_.openMusicFile(std::string(paths::kMusic) + "1r.mid");
  session_.saveRecord = defaultSaveRecord();
  controls_.setEnabled(id::kKontrola, true);
  if (sound_.musicOn()) {
    host_.setCursor(ui::Cursor::Busy);
    sound_.medplay();
    host_.setCursor(ui::Cursor::Normal);
  }
  controls_.startTimer(id::kTimerGauge);
}

void Game::newGameWithSettings() {
  controls_.setVisible(id::kAccessCode, true);
  controls_.startTimer(id::kTimerAccessCode);
}

void Game::accessCodeTimerFired() {
  const bool granted = controls_.text(id::kAccessCode) == kAccessCode;
  controls_.setVisible(id::kAccessCode, false);
  controls_.setText(id::kAccessCode, "");
  controls_.stopTimer(id::kTimerAccessCode);
  if (granted) {
    controls_.setEnabled(id::kMainWindow, false);
    hooks_.openChooser();
  }
}

void Game::endGame() {
  if (!ui::confirm(host_, "Chcete současnou hru skutečně ukončit?")) return;
  setNoGameColumn();
  sound_.musicOnAction();
  if (ui::confirm(host_, text::kSaveQuestion)) save();
}

void Game::showMenu() {
  controls_.setVisible(id::kMenuScreen, true);
}
void Game::returnToGame() {
  controls_.setVisible(id::kMenuScreen, false);
}
void Game::start() {
  session_.gameFinished = false;
}

// The two timers below run every second or half second: a counter that a script or a damaged
// saved game left as text would raise the same error box at every tick, one over the other. They
// wait instead until the numbers are numbers again.
void Game::kontrolaTimerTick() {
  const auto last = tryParseInt(session_.zaklnast.get(desc::kGradeCountFirst + 3));
  const auto crossword = tryParseInt(counter(id::kCrossword));
  if (last && crossword && *last > *crossword) controls_.setEnabled(id::kKontrola, true);
  session_.gameFinished = false;
}

void Game::gaugeTimerTick() {
  const auto grades = tryParseInt(session_.zaklnast.get(desc::kGrades));
  const auto g = tryParseInt(counter(id::kGrade));
  if (!grades || !g) return;
  controls_.setRange(id::kGaugeGrades, 0, *grades);
  controls_.setValue(id::kGaugeGrades, *g);
  if (*g < 1 || *g > 4) return;
  const auto count = tryParseInt(session_.zaklnast.get(desc::kGradeCountFirst + *g - 1));
  const auto n = tryParseInt(counter(id::kCrossword));
  if (!count || !n) return;
  controls_.setRange(id::kGaugeCrosswords, 0, *count);
  controls_.setValue(id::kGaugeCrosswords, *n);
}

void Game::toggleErrorPerLine() {
  setErrorPerLine(!controls_.checked(id::kErrorPerLine));
}

void Game::setErrorPerLine(bool ticked) {
  if (controls_.checked(id::kErrorPerLine) == ticked) return;
  controls_.setChecked(id::kErrorPerLine, ticked);
  if (!session_.suppressDetailPrompt) errorPerLineReaction();
}

void Game::errorPerLineReaction() {
  if (!controls_.checked(id::kErrorPerLine)) return;
  sound_.playCue("hlasen.wav");
  session_.showAnswersInErrors = ui::confirm(host_, text::kShowAnswersQuestion);
}

void Game::scriptTicksErrorPerLine(std::string_view answers) {
  // Ticked without its question; the line after the command answers it instead, and anything
  // but "ano" or "ne" there leaves the question to the player.
  session_.suppressDetailPrompt = true;
  setErrorPerLine(true);
  if (answers == "ano") {
    session_.showAnswersInErrors = true;
  } else if (answers == "ne") {
    session_.showAnswersInErrors = false;
  } else {
    session_.suppressDetailPrompt = false;
    errorPerLineReaction();
  }
  session_.suppressDetailPrompt = false;
}

}  // namespace tervano::game
