// Creation of a set from the template, renaming of the active set, and its deletion.
#include <algorithm>

#include "audio/sound.h"
#include "data/concat.h"
#include "data/errors.h"
#include "data/numbers.h"
#include "data/records.h"
#include "data/textfile.h"
#include "sets/command_script.h"
#include "sets/names.h"
#include "sets/set_manager.h"
#include "sets/texts.h"
#include "ui/ids/set_panel.h"
#include "ui/ids/timers.h"
#include "ui/texts.h"

namespace tervano::sets {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCreateMode = "Založit novou";
constexpr const char* kRenameMode = "Přejmenovat";
constexpr const char* kCommandButtons[] = {id::kSetDelete, id::kSetCreate, id::kSetRename,
                                           id::kSetInstall};

}  // namespace

// --- the name sub-panel ---

void SetManager::editNumber(const std::string& text, int value) {
  // Text that is no number becomes the lowest number.
  if (!text.empty()) value = tryParseInt(text).value_or(kFirstUserSet);
  controls_.setValue(id::kNewNumber, value);
}

int SetManager::newNumber() {
  const int value =
      std::clamp(controls_.value(id::kNewNumber), int{kFirstUserSet}, int{kLastUserSet});
  controls_.setValue(id::kNewNumber, value);
  return value;
}

void SetManager::openNamePanel(const char* mode) {
  for (auto b : kCommandButtons)
    controls_.setVisible(b, false);
  controls_.setText(id::kNamePanelTitle, mode);
  controls_.setVisible(id::kNamePanel, true);
}

void SetManager::openCreate() {
  if (refuseWhileBusy()) return;
  controls_.setText(id::kNewNameLabel, "Jméno sady: tervano");
  openNamePanel(kCreateMode);
}

void SetManager::openRename() {
  if (refuseWhileBusy()) return;
  openNamePanel(kRenameMode);
  controls_.setVisible(id::kOldNameLabel, true);
  controls_.setVisible(id::kOldNumber, true);
  loadWorkingDescriptor();
  if (!descriptorFromActive_) {
    refuse(ui::MessageKind::Error, text::kNoActiveSet);
    return;
  }
  const std::string number = descriptor_.get(desc::kSetNumber);
  const auto value = tryParseInt(number);
  if (value) controls_.setValue(id::kOldNumber, *value);
  if (!isSetNumber(number) || *value < kFirstUserSet || *value > kLastUserSet)
    refuse(ui::MessageKind::Error, text::kMakersSet);
}

void SetManager::leaveNumber(const std::string& text) {
  if (!text.empty()) editNumber(text, 0);
  newNumber();
}

void SetManager::confirmName() {
  if (refuseWhileBusy()) return;
  const std::string mode = controls_.text(id::kNamePanelTitle);
  const std::string number = std::to_string(newNumber());
  if (mode == kCreateMode) create(number);
  if (mode == kRenameMode) rename(number);
}

// --- creation ---

void SetManager::create(const std::string& number) {
  // A listed set, the active set or any folder of the name: an unlisted folder would be renamed
  // over, or make the new set's rename fail.
  if (taken(number)) {
    refuse(ui::MessageKind::Information, text::kExists);
    return;
  }
  if (scriptLaunched_) {
    ui::showInfo(host_, text::kOneScriptPerRun);
    closeNamePanel();
    return;
  }
  const fs::path source = place(kTemplateFolder);
  const auto counts = crosswordCounts(source);
  std::error_code ec;
  // A work folder left by a creation that was cut short is ours to clear.
  if (exists(kWorkFolder)) fs::remove_all(place(kWorkFolder), ec);
  const fs::path work = folder_.root() / kWorkFolder;
  folder_.save(kCreateScript, copyScript("echo off", source, work, counts));
  makeSetFolders(work, counts);
  scriptLaunched_ = true;
  launch(Run{Job::Create, nullptr, kCreateScript, work, true, number});
  completionTicks_ = 0;
  controls_.startTimer(id::kTimerCompletion);
  closeNamePanel();
}

void SetManager::completionTick() {
  if (!run_ || run_->job != Job::Create) {
    controls_.stopTimer(id::kTimerCompletion);
    completionTicks_ = 0;
    return;
  }
  // The second tick at the earliest, and only once the copy has ended.
  if (completionTicks_ < 2) ++completionTicks_;
  if (completionTicks_ < 2 || !run_->progress->finished()) return;
  controls_.stopTimer(id::kTimerCompletion);
  controls_.stopTimer(id::kTimerScriptRun);
  completionTicks_ = 0;
  const Run run = *run_;
  run_.reset();
  setBusy(false, run.progress->error());
  novsad(run);
}

void SetManager::novsad(const Run& run) {
  folder_.remove(kCreateScript);
  const std::string name = setName(run.number);
  std::error_code ec;
  const bool copied = run.progress->succeeded() &&
                      fs::is_regular_file(resolveCaseInsensitive(run.target / "Tervano.ini"), ec);
  if (!copied || !renameFolder(kWorkFolder, name)) {
    fs::remove_all(place(kWorkFolder), ec);
    ui::showWarning(host_, tervano::text::kFailed);
    return;
  }
  const fs::path file = resolveCaseInsensitive(place(name) / "Tervano.ini");
  TextList descriptor = loadTextList(file);
  while (descriptor.count() <= desc::kSetNumber)
    descriptor.append("");
  descriptor.set(desc::kSetNumber, run.number);
  saveTextList(file, descriptor);
  TextList list = setList();
  list.append(name);
  saveSetList(list);
  sound_.playCue("hlasen.wav");
  ui::showInfo(host_, text::kCreated);
  setCreated_ = true;
  end(true);
  setSelected(controls_.text(id::kSetBox));
  saveSelection();
}

// --- renaming ---

void SetManager::rename(const std::string& number) {
  loadWorkingDescriptor();
  if (!descriptorFromActive_) {
    refuse(ui::MessageKind::Error, text::kNoActiveSet);
    return;
  }
  const std::string old = descriptor_.get(desc::kSetNumber);
  if (number == old) {
    closeNamePanel();
    return;
  }
  if (taken(number)) {
    refuse(ui::MessageKind::Information, text::kExists);
    return;
  }
  // Saved games carry the set number as their version.
  const bool higher = parseInt(number) > tryParseInt(old).value_or(0);
  if (host_.message(ui::MessageKind::Warning, higher ? text::kRenameHigher : text::kRenameLower,
                    ui::Buttons::OkCancel) != ui::Answer::Ok) {
    closeNamePanel();
    return;
  }
  // The descriptor, the list and the selection file name the set together.
  const std::string oldName = setName(old);
  const std::string newName = setName(number);
  descriptor_.set(desc::kSetNumber, number);
  folder_.save(paths::kDescriptor, descriptor_);
  descriptorAsLoaded_ = descriptor_;
  TextList list = setList();
  for (auto& entry : list.lines())
    if (sameNameIgnoringCase(entry, oldName)) entry = newName;
  saveSetList(list);
  if (sameNameIgnoringCase(controls_.text(id::kSetBox), oldName))
    controls_.setText(id::kSetBox, newName);
  if (sameNameIgnoringCase(selection_.get(0), oldName)) {
    setSelected(newName);
    saveSelection();
  }
  closeNamePanel();
  showActive();
}

// --- deletion ---

void SetManager::remove() {
  if (refuseWhileBusy()) return;
  if (host_.message(ui::MessageKind::Warning, text::kDeleteQuestion, ui::Buttons::OkCancel) ==
      ui::Answer::Ok) {
    if (host_.message(ui::MessageKind::Warning, text::kDeleteMakersQuestion,
                      ui::Buttons::OkCancel) == ui::Answer::Ok) {
      descriptor_ = folder_.load(paths::kDescriptor);
      descriptorAsLoaded_ = descriptor_;
      delsad();
    } else {
      ui::showWarning(host_, text::kNotDeleted);
    }
  }
  setSelected(controls_.text(id::kSetBox));
  saveSelection();
  saveSetList(setList());
}

namespace {

// The crossword folders the lists name (from k0, one more than they name), then the grade
// folders; the script and the sweep after it do the rest.
void deleteCrosswords(const fs::path& set) {
  std::error_code ec;
  auto crossword = [&](const fs::path& folder) {
    for (const char* f : {"k.nk", "k.lk", "k.vk", "k.mk"})
      fs::remove(resolveCaseInsensitive(folder / f), ec);
    fs::remove(folder, ec);
  };
  for (int g = 1; g <= 4; ++g) {
    const fs::path list = resolveCaseInsensitive(set / "sur" / (std::to_string(g) + ".cbx"));
    const fs::path grade = resolveCaseInsensitive(set / concat({"r", std::to_string(g)}));
    int count = 0;
    if (fs::is_regular_file(list, ec)) {
      try {
        count = loadTextList(list).count();
      } catch (const UserError&) {
        count = 0;  // an unreadable list: the sweep after the script removes the crosswords
      }
    }
    for (int n = 0; n <= count; ++n)
      crossword(resolveCaseInsensitive(grade / concat({"k", std::to_string(n)})));
    fs::remove(grade, ec);
  }
  const fs::path end = resolveCaseInsensitive(set / "r5");
  for (int n = 0; n <= 2; ++n)
    crossword(resolveCaseInsensitive(end / concat({"k", std::to_string(n)})));
  fs::remove(end, ec);
}

}  // namespace

void SetManager::delsad() {
  const std::string number = descriptor_.get(desc::kSetNumber);
  if (busy()) return;
  // The set leaves the name "tervano" first: the deletion then finishes on this folder, whatever
  // set is made active later.
  std::error_code ec;
  if (exists(kDeletionFolder)) fs::remove_all(place(kDeletionFolder), ec);
  if (!renameFolder(kActiveFolder, kDeletionFolder)) {
    ui::showWarning(host_, tervano::text::kFailed);
    return;
  }
  activeSetDeleted_ = true;
  descriptorFromActive_ = false;
  showActive();
  const fs::path doomed = folder_.root() / kDeletionFolder;
  folder_.save(kDeleteScript, deletionScript(doomed, folder_.root()));
  deleteCrosswords(doomed);
  ui::showInfo(host_, text::kDeleteMessage);
  launch(Run{Job::Delete, nullptr, kDeleteScript, doomed, false, number});
  TextList list = setList();
  const std::string name = setName(number);
  for (int i = list.count() - 1; i >= 0; --i)
    if (sameNameIgnoringCase(list.get(i), name)) list.removeAt(i);
  controls_.setText(id::kSetBox, {});
  saveSetList(list);
}

void SetManager::finishDeletion(const Run& run) {
  folder_.remove(kDeleteScript);
  // What the script did not know (extra files, folders of unlisted crosswords) goes as well;
  // links are removed, never followed.
  std::error_code ec;
  fs::remove_all(run.target, ec);
  if (exists(kDeletionFolder)) {
    ui::showWarning(host_, tervano::text::kFailed);
    return;
  }
  controls_.setText(id::kSetStatus, "Sada byla smazána.");
}

}  // namespace tervano::sets
