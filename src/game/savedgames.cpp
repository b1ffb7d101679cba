// Saved games: the ".kr1" record and its ".kn1" answer area, the two dialogs, loading with the
// version check and the repair of an old record.
#include <filesystem>

#include "data/numbers.h"
#include "data/records.h"
#include "data/textfile.h"
#include "game/game.h"
#include "ui/ids.h"

namespace tervano::game {

namespace {

const char* kNoVersionInSet =
    "Konfigurační soubor neobsahuje informaci o verzi vašich křížovek, spusťte prosím instalátor "
    "tohoto produktu.";
const char* kNothingToSave =
    "Hru nelze uložit: nová hra se nespustila celá, a tak ještě nemá co uložit.\rSpusťte "
    "novou hru znovu nebo načtěte uloženou hru.";
const char* kRepairWarning =
    " Varování!!!: Dojde k přepsání souboru s poslední nedoluštěnou křížovkou(soubor s příponou "
    "kn1).";

}  // namespace

std::string Game::changeExtension(const std::string& path, std::string_view extension) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return path + std::string(extension);
  return path.substr(0, dot) + std::string(extension);
}

ui::FileDialogOptions Game::loadDialogOptions() const {
  ui::FileDialogOptions o;
  o.title = "Načti hru hry křížovky";
  o.filters = {{"Save hry křížovky", {"*.kr1"}},
               {"Záznam automatického uložení", {"automatické uložení.kra"}}};
  o.initialFolder = folder_.resolve(paths::kSavedGames).string();
  o.fileName = session_.loadFileName;
  o.mustExist = true;
  return o;
}

ui::FileDialogOptions Game::saveDialogOptions() const {
  ui::FileDialogOptions o;
  o.title = "Ulož hru hry křížovky";
  o.filters = {{"Save hry křížovky", {"*.kr1"}}};
  o.initialFolder = folder_.resolve(paths::kSavedGames).string();
  o.fileName = session_.saveFileName;
  o.overwritePrompt = session_.saveDialogAsksOverwrite;
  o.defaultSuffix = "kr1";
  return o;
}

bool Game::isAutosaveLog(const std::string& path) const {
  std::error_code ec;
  const auto log = folder_.resolve(paths::kAutosaveLog);
  return std::filesystem::equivalent(folder_.resolve(path), log, ec) && !ec;
}

bool Game::refuseEmptyRecord() {
  if (!session_.saveRecord.empty()) return false;
  ui::showError(host_, kNothingToSave);
  return true;
}

void Game::save() {
  if (refuseEmptyRecord()) return;
  auto chosen = host_.saveFile(saveDialogOptions());
  if (!chosen) return;
  session_.saveFileName = *chosen;
  sk();
}

void Game::sk() {
  // Between the steps of a new game the record is empty; written out it would be a saved game
  // that nothing can load.
  if (refuseEmptyRecord()) return;
  TextList& r = session_.saveRecord;
  r.set(saverec::kMusic, yesNo(sound_.musicOn()));
  r.set(saverec::kSound, yesNo(sound_.soundOn()));
  r.set(saverec::kPoints, counter(id::kPoints));
  r.set(saverec::kGrade, counter(id::kGrade));
  r.set(saverec::kCrossword, counter(id::kCrossword));
  r.set(saverec::kGood, counter(id::kGood));
  r.set(saverec::kBad, counter(id::kBad));
  r.set(saverec::kAnswerMarker, "S");
  r.set(saverec::kVersion, session_.zaklnast.get(desc::kSetNumber));
  r.set(saverec::kErrorPerLine, yesNo(controls_.checked(id::kErrorPerLine)));
  r.set(saverec::kShowAnswers, yesNo(session_.showAnswersInErrors));
  r.set(saverec::kScriptsDisabled, yesNo(controls_.checked(id::kNoScripts)));
  // Closing the window below may save the game under another name: this save keeps its own.
  const std::string target = session_.saveFileName;
  if (session_.saveRepairPending) {
    r.set(saverec::kAnswerMarker, kNo);
    // Announced and closed once: the close offers to save the game, and that save comes back
    // here; announcing and closing again would ask the same question without end.
    if (!session_.repairAnnounced) {
      session_.repairAnnounced = true;
      sound_.playCue("hlasen.wav");
      ui::showInfo(host_,
                   "Váš save byl opraven, ale to vyžaduje opětovné spuštění\raplikace, proto "
                   "bude nyní ukončena. Aplikaci spusťte znovu.");
      host_.requestQuit();
      hooks_.closeMainWindow();
    }
  }
  folder_.save(changeExtension(target, ".kr1"), r);
  folder_.save(changeExtension(target, ".kn1"), controls_.lines(id::kAnswerArea));
}

void Game::loadGameCommand() {
  auto chosen = host_.openFile(loadDialogOptions());
  if (!chosen) return;
  session_.loadFileName = *chosen;
  // The autosave log has no ".kr1" companion: hand it to LK at once, which switches to the
  // autosave manager, instead of failing on a file that cannot exist.
  if (isAutosaveLog(*chosen)) {
    lk();
    return;
  }
  session_.saveRecord = folder_.load(changeExtension(*chosen, ".kr1"), limits::kSavedGame);
  load();
  setGameRunningColumn();
  prvkr();
  if (session_.saveRecord.get(saverec::kAnswerMarker) == "S")
    controls_.setLines(id::kAnswerArea,
                       folder_.load(changeExtension(*chosen, ".kn1"), limits::kAnswers));
  // An exported autosave record is used once: gone once a game loaded in full.
  discardExportedRecord();
}

void Game::applySwitches() {
  const TextList& r = session_.saveRecord;
  if (r.get(saverec::kMusic) == kYes)
    sound_.musicOnAction();
  else if (r.get(saverec::kMusic) == kNo)
    sound_.musicOffAction();
  if (r.get(saverec::kSound) == kYes)
    sound_.soundOnAction();
  else if (r.get(saverec::kSound) == kNo)
    sound_.soundOffAction();
  if (r.get(saverec::kErrorPerLine) == kYes) {
    session_.suppressDetailPrompt = true;
    setErrorPerLine(true);
    session_.suppressDetailPrompt = false;
  } else if (r.get(saverec::kErrorPerLine) == kNo) {
    // The writer stores "N" for an unticked box; apply it the same way, without a question.
    setErrorPerLine(false);
  }
  session_.showAnswersInErrors = r.get(saverec::kShowAnswers) == kYes;
  const bool noScripts = r.get(saverec::kScriptsDisabled) != kNo;
  controls_.setChecked(id::kNoScripts, noScripts);
  session_.scriptsDisabled = noScripts;
}

void Game::lk() {
  if (isAutosaveLog(session_.loadFileName)) {
    hooks_.restartInAutosaveManager();
    discardExportedRecord();
    return;
  }
  session_.saveRecord = folder_.load(session_.loadFileName, limits::kSavedGame);
  const TextList& r = session_.saveRecord;
  if (r.get(saverec::kAnswerMarker) == "S")
    controls_.setLines(id::kAnswerArea, folder_.load(changeExtension(session_.loadFileName, ".kn1"),
                                                     limits::kAnswers));
  setCounter(id::kPoints, r.get(saverec::kPoints));
  setCounter(id::kGrade, r.get(saverec::kGrade));
  setCounter(id::kCrossword, r.get(saverec::kCrossword));
  setCounter(id::kGood, r.get(saverec::kGood));
  setCounter(id::kBad, r.get(saverec::kBad));
  sound_.medplay();
  applySwitches();
  ovv();
  // Only a record that passed its checks feeds the gauges. The exported autosave record is
  // deleted by whoever loaded it, once the whole load has succeeded.
  if (!host_.quitRequested()) controls_.startTimer(id::kTimerGauge);
}

void Game::discardExportedRecord() {
  folder_.remove(paths::kExportedRecord);
}

void Game::ovv() {
  const std::string& setVersion = session_.zaklnast.get(desc::kSetNumber);
  if (setVersion.empty()) {
    for (const auto& [timerId, t] : controls_.timers())
      controls_.stopTimer(timerId);
    sound_.playCue("hlasen.wav");
    ui::showError(host_, kNoVersionInSet);
    host_.requestQuit();
  }
  // The repair writes the set's version into the record: without one there is nothing to
  // repair to, and a repair would wipe the answers, find no version again and loop.
  if (session_.saveRecord.get(saverec::kVersion).empty() && !setVersion.empty()) {
    sound_.playCue("hlasen.wav");
    ui::showError(host_, "Váš save neobsahuje informaci o verzi ze které pochází.");
    sound_.playCue("hlasen.wav");
    if (ui::confirm(host_, std::string("Má se váš save opravit?") + kRepairWarning))
      repair();
    else
      host_.requestQuit();
  }
  // Versions compare as numbers; with either side still empty there is nothing to compare
  // (the boxes above have already told the player).
  const std::string& saved = session_.saveRecord.get(saverec::kVersion);
  if (saved.empty() || setVersion.empty()) return;
  if (parseInt(saved) < parseInt(setVersion)) {
    sound_.playCue("hlasen.wav");
    ui::showError(host_, "Váš save není plně kompatibilní se současnou verzí.");
    sound_.playCue("hlasen.wav");
    if (ui::confirm(host_,
                    std::string("Má se váš save opravit na současnou verzi?") + kRepairWarning)) {
      setCounter(id::kGrade, "1");
      setCounter(id::kCrossword, "1");
      repair();
    } else {
      host_.requestQuit();
    }
  }
  if (parseInt(setVersion) < parseInt(session_.saveRecord.get(saverec::kVersion))) {
    sound_.playCue("hlasen.wav");
    ui::showError(host_,
                  "Váš save není možné pod touto verzí spustit.Důvod: Je z vyšší verze než je "
                  "současná.");
    host_.requestQuit();
  }
}

void Game::repair() {
  // A record too short to hold its version is completed from the default record first, or the
  // repair would change nothing and the same question would come back. The counters it left
  // empty take the default's values too, so the repaired game can be played on.
  TextList& r = session_.saveRecord;
  const TextList defaults = defaultSaveRecord();
  const int given = r.count();
  while (r.count() < saverec::kLines)
    r.append(defaults.get(r.count()));
  const std::pair<int, const char*> counters[] = {{saverec::kPoints, id::kPoints},
                                                  {saverec::kGrade, id::kGrade},
                                                  {saverec::kCrossword, id::kCrossword},
                                                  {saverec::kGood, id::kGood},
                                                  {saverec::kBad, id::kBad}};
  for (const auto& [line, counterId] : counters)
    if (line >= given) setCounter(counterId, r.get(line));
  r.set(saverec::kVersion, session_.zaklnast.get(desc::kSetNumber));
  controls_.setLines(id::kAnswerArea, {});
  session_.saveRecord.set(saverec::kAnswerMarker, kNo);
  session_.saveFileName = session_.loadFileName;
  session_.saveRepairPending = true;
  sk();
  // Sk wrote the ".kr1" of the name; a save chosen under another name would be found as old as
  // before and repaired again without end.
  session_.loadFileName = changeExtension(session_.loadFileName, ".kr1");
  lk();
}

}  // namespace tervano::game
