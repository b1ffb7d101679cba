// The answer check "Kontrola": scoring, error reports and the advance through the grades. The
// order of the steps is behaviour: scripts, autosave records and saved games see the state
// between them.
#include "data/cp1250.h"
#include "data/crossword.h"
#include "data/events.h"
#include "data/numbers.h"
#include "data/records.h"
#include "data/texts.h"
#include "game/game.h"
#include "ui/ids.h"

namespace tervano::game {

namespace {
constexpr int kLastGrade = 4;
}

void Game::showMenuForCompletion() {
  controls_.setHeight(id::kMenuScreen, 541);
  controls_.setVisible(id::kMenuScreen, true);
}

void Game::kontrola() {
  if (session_.konftaj.get(konf::kSavePoint) == kYes)
    hooks_.autosaveTrigger(AutosaveTrigger::SavePoint);
  if (counter(id::kCrossword) == "1") hooks_.autosaveTrigger(AutosaveTrigger::GradeStart);
  controls_.setText(id::kScoreWordCount, session_.konftaj.get(konf::kWordCount));
  controls_.setText(id::kWordCountBig, session_.konftaj.get(konf::kWordCount));

  std::int32_t good = 0;
  std::int32_t bad = 0;
  const int lineCount = session_.vyslt.count();
  for (int i = 0; i < lineCount; ++i) {
    std::string answer;
    if (i < controls_.lines(id::kAnswerArea).count()) {
      answer = cp1250::toLower(controls_.lines(id::kAnswerArea).get(i));
      controls_.setLine(id::kAnswerArea, i, answer);
    }
    const std::string solution = cp1250::toLower(session_.vyslt.get(i));
    session_.vyslt.set(i, solution);
    if (answer == solution) {
      ++good;
      continue;
    }
    ++bad;
    if (!controls_.checked(id::kErrorPerLine)) continue;
    const std::string where = "Chyba:\rŘádek:" + toText(i + 1);
    if (session_.showAnswersInErrors) {
      sound_.playCue("hlasen.wav");
      ui::showError(host_, where + "\rVaše odpověď: ( " + answer + " ) není správná.\r" +
                               "Správná odpověď zní: ( " + solution + " ).");
    } else {
      sound_.playCue("chyba.wav");
      ui::showError(host_, where);
    }
  }

  auto addPoints = [&](std::int64_t delta) {
    setCounter(id::kPoints, toText(checkedInt(std::int64_t{number(id::kPoints)} + delta)));
  };
  addPoints(checkedMul(parseInt(controls_.text(id::kScoreGood)), good));
  addPoints(-std::int64_t{checkedMul(parseInt(controls_.text(id::kScoreBad)), bad)});
  if (bad == 0) {
    addPoints(parseInt(controls_.text(id::kScoreGoodTajenka)));
    sound_.playCue("dobre.wav");
    ui::showInfo(host_, text::kAllRight);
  } else {
    addPoints(-std::int64_t{parseInt(controls_.text(id::kScoreBadTajenka))});
    if (!controls_.checked(id::kErrorPerLine)) {
      sound_.playCue("chyba.wav");
      ui::showError(host_, text::kSomewhereWrong);
    }
  }

  // Each test reads the counters as the one before left them, so a finished grade goes on at
  // once with crossword 1 of the next (and a grade without crosswords is passed through).
  const std::string checkedGrade = counter(id::kGrade);
  const std::string checkedCrossword = counter(id::kCrossword);
  for (int g = 1; g <= kLastGrade; ++g) {
    if (number(id::kGrade) != g) continue;
    if (number(id::kCrossword) == parseInt(session_.zaklnast.get(desc::kGradeCountFirst + g - 1))) {
      sound_.playCue("vyhrar.wav");
      setCounter(id::kCrossword, "0");
      setCounter(id::kGrade, toText(g + 1));
    } else {
      setCounter(id::kCrossword, toText(checkedAdd(number(id::kCrossword), 1)));
    }
  }
  if (number(id::kGrade) == kLastGrade &&
      number(id::kCrossword) == parseInt(session_.zaklnast.get(desc::kGradeCountFirst + 3))) {
    sound_.playCue("hlasen.wav");
    ui::showWarning(host_, "Toto kolo je poslední.");
    if (sound_.musicOn()) sound_.medplay();
  }

  if (auto script = crosswordScriptPath(checkedGrade, checkedCrossword, event::kCrosswordEnd))
    hooks_.eventScript(*script, true);

  if (!session_.gameFinished) prvkr();

  if (number(id::kGrade) == kLastGrade + 1) {
    session_.gameFinished = true;
    controls_.setEnabled(id::kKontrola, false);
    controls_.setLines(id::kAnswerArea, {});
    controls_.setLines(id::kMapArea, {});
    controls_.setLines(id::kLegendArea, {});
    sound_.playCue("hlasen.wav", audio::CueSwitch::Music);
    hooks_.eventScript(programScriptPath(event::kGameEnd), true);
    ui::showInfo(host_, text::kCompleted + counter(id::kPoints) + text::kCompletedEnd);
    sound_.playCue("vyhraco.wav", audio::CueSwitch::Music);
    showMenuForCompletion();
    if (ui::confirm(host_, text::kSaveQuestion)) save();
    setNoGameColumn();
    controls_.setEnabled(id::kKontrola, true);
  }

  setCounter(id::kGood, toText(checkedAdd(number(id::kGood), good)));
  setCounter(id::kBad, toText(checkedAdd(number(id::kBad), bad)));
  if (sound_.musicOn()) sound_.medplay();
  hooks_.autosaveTrigger(AutosaveTrigger::EveryCheck);
}

void Game::endAsCompleted() {
  if (!gameRunning()) return;
  showMenu();
  setCounter(id::kGrade, "5");
  controls_.setEnabled(id::kKontrola, false);
  controls_.setLines(id::kAnswerArea, {});
  controls_.setLines(id::kMapArea, {});
  controls_.setLines(id::kLegendArea, {});
  setCounter(id::kCrossword, "0");
  sound_.playCue("hlasen.wav", audio::CueSwitch::Music);
  hooks_.eventScript(programScriptPath(event::kGameEnd), false);
  // This text has a blank after the full stop, unlike the one at the end of a check.
  ui::showInfo(host_, text::kCompleted + counter(id::kPoints) + " bodů. Za Vaši hru Vám děkuji.");
  sound_.playCue("vyhraco.wav", audio::CueSwitch::Music);
  showMenuForCompletion();
  if (ui::confirm(host_, text::kSaveQuestion)) save();
  setNoGameColumn();
  controls_.setEnabled(id::kKontrola, true);
}

}  // namespace tervano::game
