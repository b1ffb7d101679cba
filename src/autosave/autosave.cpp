#include "autosave/autosave.h"

#include <algorithm>

#include "autosave/log_lock.h"

#include "data/errors.h"
#include "data/numbers.h"
#include "data/records.h"
#include "data/textfile.h"
#include "ui/ids.h"

namespace tervano::autosave {

namespace {

std::string quotaMessage(const std::string& limit) {
  return "Kvóta " + limit +
         " záznamů byla naplněna.\rMůžete kvótu navýšit nebo hru spustit přes správce záznamů\r"
         "automatického uložení a některé záznamy smazat. Do té doby\rfunkce nebude aktivní.";
}

}  // namespace

Autosave::Autosave(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder,
                   Session& session, audio::Sound& sound)
    : controls_(controls), host_(host), folder_(folder), session_(session), sound_(sound) {}

void Autosave::saveLog() {
  folder_.save(paths::kAutosaveLog, session_.autosf);
}

void Autosave::reread() {
  // The autosave manager, or another running game, may have changed the log since it was read:
  // work on the file as it is now, so a whole-file write never brings back deleted records.
  // A log deleted meanwhile is written anew from what this run holds.
  if (folder_.isFile(paths::kAutosaveLog))
    session_.autosf = folder_.load(paths::kAutosaveLog, limits::kAutosaveLog);
}

void Autosave::autoszav() {
  session_.autosf = folder_.load(paths::kAutosaveLog, limits::kAutosaveLog);
  const TextList& log = session_.autosf;
  if (log.get(header::kEnabled) == kYes) controls_.setChecked(id::kAutosaveOn, true);
  controls_.setValue(id::kAutosaveQuota,
                     std::clamp(parseInt(log.get(header::kLimit)), kQuotaMin, kQuotaMax));
  controls_.setText(id::kAutosaveTrigger, log.get(header::kTrigger));
  if (log.get(header::kEnabled) == kYes &&
      parseInt(log.get(header::kCount)) >= parseInt(log.get(header::kLimit))) {
    sound_.playCue("hlasen.wav");
    ui::showError(host_, quotaMessage(log.get(header::kLimit)));
  }
}

TextList Autosave::currentGameState() const {
  return TextList{yesNo(sound_.musicOn()),
                  controls_.text(id::kPoints),
                  controls_.text(id::kGrade),
                  controls_.text(id::kCrossword),
                  controls_.text(id::kGood),
                  controls_.text(id::kBad),
                  yesNo(sound_.soundOn()),
                  "S",
                  session_.zaklnast.get(desc::kSetNumber),
                  yesNo(controls_.checked(id::kErrorPerLine)),
                  yesNo(session_.showAnswersInErrors),
                  yesNo(controls_.checked(id::kNoScripts))};
}

void Autosave::autosave() {
  const LogLock lock(folder_);
  reread();
  append();
}

void Autosave::append() {
  TextList& log = session_.autosf;
  const std::int32_t count = parseInt(log.get(header::kCount));
  const std::int32_t limit = parseInt(log.get(header::kLimit));
  if (!(count < limit && log.get(header::kEnabled) == kYes)) return;
  log.set(header::kCount, toText(std::int64_t{count} + 1));
  const TextList record =
      recordLines({session_.zaklnast.get(desc::kSetNumber), controls_.text(id::kGrade),
                   controls_.text(id::kCrossword), currentGameState(),
                   session_.closingRecord ? " " : controls_.text(id::kAutosaveTrigger)});
  for (const auto& line : record.lines())
    log.append(line);
  saveLog();
}

void Autosave::trigger(AutosaveTrigger moment) {
  const auto number = static_cast<std::size_t>(moment);
  if (number < 1 || number > kTriggerOf.size()) return;
  if (controls_.text(id::kAutosaveTrigger) != kTriggerOf[number - 1]) return;
  TextList& log = session_.autosf;
  {
    const LogLock lock(folder_);
    reread();
    if (log.get(header::kEnabled) != kYes) return;
    if (parseInt(log.get(header::kCount)) < parseInt(log.get(header::kLimit))) {
      append();
      return;
    }
  }
  // The lock is not held while the message waits for the user.
  sound_.playCue("hlasen.wav");
  ui::showError(host_,
                quotaMessage(log.get(header::kLimit)) + " Zaktivovat ji budete muset opět vy.");
  const LogLock lock(folder_);
  reread();
  log.set(header::kEnabled, kNo);
  controls_.setChecked(id::kAutosaveOn, false);
  saveLog();
}

void Autosave::applySettings() {
  TextList& log = session_.autosf;
  const std::string enabled = yesNo(controls_.checked(id::kAutosaveOn));
  const std::string limit = toText(controls_.value(id::kAutosaveQuota));
  const std::string& trigger = controls_.text(id::kAutosaveTrigger);
  // Every pointer movement over the panel lands here: rewrite the log only when a setting
  // really changed.
  if (log.count() >= header::kLines && log.get(header::kEnabled) == enabled &&
      log.get(header::kLimit) == limit && log.get(header::kTrigger) == trigger)
    return;
  const LogLock lock(folder_);
  reread();
  log.set(header::kEnabled, enabled);
  log.set(header::kLimit, limit);
  log.set(header::kTrigger, trigger);
  saveLog();
  session_.autosf = folder_.load(paths::kAutosaveLog, limits::kAutosaveLog);
}

void Autosave::normaliseTrigger() {
  if (controls_.text(id::kAutosaveTrigger) == kRecommended)
    controls_.setText(id::kAutosaveTrigger, std::string(kTriggerOf[0]));
}

void Autosave::writeClosingRecord() {
  session_.closingRecord = true;
  try {
    autosave();
  } catch (const std::exception&) {
    // The close goes on whatever happened to the record.
  }
}

}  // namespace tervano::autosave
