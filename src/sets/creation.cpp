// Creation of a set from the template, renaming of the active set, and its deletion.
#include <algorithm>

#include "audio/sound.h"
#include "data/concat.h"
#include "data/errors.h"
#include "data/numbers.h"
#include "data/records.h"
#include "data/textfile.h"
#include "data/texts.h"
#include "data/transaction.h"
#include "sets/command_script.h"
#include "sets/errors.h"
#include "sets/names.h"
#include "sets/set_manager.h"
#include "sets/texts.h"
#include "ui/ids/set_panel.h"
#include "ui/ids/timers.h"

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
  recoverFirst();
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
  try {
    // A work folder left by a creation that was cut short is cleared first.
    startCopy(Job::Create, place(kTemplateFolder), number);
  } catch (const UserError& e) {
    refuse(ui::MessageKind::Error, e.what());
    return;
  }
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
  const std::unique_ptr<Run> run = std::move(run_);
  setBusy(false, run->progress->error());
  novsad(*run);
}

void SetManager::novsad(Run& run) {
  folder_.remove(kCreateScript);
  if (!copiedWhole(run)) return;
  const std::string name = setName(run.number);
  TextList list = storedSetList();
  list.append(name);
  const TextList selection = selectionWith(controls_.text(id::kSetBox));
  try {
    if (exists(name)) throw SetError(text::kExists);
    // The copy carries its own number before it gets its name, so no folder of the new name
    // ever holds the template's number.
    const fs::path file = resolveCaseInsensitive(run.target / "Tervano.ini");
    TextList descriptor = loadTextList(file, limits::kDataFile);
    while (descriptor.count() <= desc::kSetNumber)
      descriptor.append("");
    descriptor.set(desc::kSetNumber, run.number);
    saveTextList(file, descriptor);
    // The name, the set list and the selection together, or none of them.
    Transaction tx(folder_, concat({"Vytvoření sady ", name}));
    tx.move(run.target, folder_.root() / name);
    tx.save(paths::kSetList, list);
    tx.save(paths::kSelection, selection);
    tx.commit();
  } catch (const UserError& e) {
    fileops::removeTree(run.target);
    run.lock = {};
    ui::showWarning(host_, concat({tervano::text::kFailed, "\r", e.what()}));
    return;
  }
  run.lock = {};
  showSetList(list);
  selection_ = selection;
  sound_.playCue("hlasen.wav");
  ui::showInfo(host_, text::kCreated);
  setCreated_ = true;
  end(true);
}

// --- renaming ---

void SetManager::rename(const std::string& number) {
  recoverFirst();
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
  // The descriptor, the list and the selection file name the set together: all or none.
  const std::string oldName = setName(old);
  const std::string newName = setName(number);
  TextList descriptor = descriptor_;
  descriptor.set(desc::kSetNumber, number);
  TextList list = storedSetList();
  for (auto& entry : list.lines())
    if (sameNameIgnoringCase(entry, oldName)) entry = newName;
  const bool selected = sameNameIgnoringCase(selection_.get(0), oldName);
  const TextList selection = selected ? selectionWith(newName) : selection_;
  try {
    Transaction tx(folder_, concat({"Přejmenování sady ", oldName, " na ", newName}));
    tx.save(paths::kDescriptor, descriptor);
    tx.save(paths::kSetList, list);
    if (selected) tx.save(paths::kSelection, selection);
    tx.commit();
  } catch (const UserError& e) {
    ui::showWarning(host_, concat({tervano::text::kFailed, "\r", e.what()}));
    closeNamePanel();
    return;
  }
  descriptor_ = descriptor;
  descriptorAsLoaded_ = descriptor_;
  selection_ = selection;
  showSetList(list);
  if (sameNameIgnoringCase(controls_.text(id::kSetBox), oldName))
    controls_.setText(id::kSetBox, newName);
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
      // The deletion stores the selection and the set list with its own change.
      delsad();
      return;
    }
    ui::showWarning(host_, text::kNotDeleted);
  }
  // Nothing deleted: the choice in the set box is remembered, the set list stays as it is.
  if (selection_.get(0) != controls_.text(id::kSetBox)) {
    setSelected(controls_.text(id::kSetBox));
    saveSelection();
  }
}

void SetManager::delsad() {
  recoverFirst();
  // Deleting never follows a link: a set folder that is one is refused before anything changes.
  const fs::path active = place(kActiveFolder);
  std::error_code ec;
  const auto type = fs::symlink_status(active, ec).type();
  if (type == fs::file_type::symlink) {
    refuse(ui::MessageKind::Error, concat({"„", active.string(), text::kSetFolderIsLink}));
    return;
  }
  if (type != fs::file_type::directory || !folder_.isFile(paths::kDescriptor)) {
    refuse(ui::MessageKind::Error, text::kNoActiveSet);
    return;
  }
  descriptor_ = folder_.load(paths::kDescriptor);
  descriptorAsLoaded_ = descriptor_;
  const std::string number = descriptor_.get(desc::kSetNumber);
  const std::string name = setName(number);
  const fs::path doomed = folder_.root() / kDeletionFolder;
  auto run = std::make_unique<Run>();
  TextList list = storedSetList();
  try {
    // Written before anything changes: a path the script cannot hold is refused here.
    const TextList script = deletionScript(doomed, folder_.root());
    checkScriptSize(script);
    if (workState(resolveCaseInsensitive(doomed)) != WorkState::Missing)
      throw SetError(
          concat({"Složku „", doomed.string(), "“ nyní nelze použít; nic se nezměnilo."}));
    // The lock follows the set into the work folder: no other instance clears it meanwhile.
    run->lock = FolderLock::take(active);
    if (!run->lock.held())
      throw SetError("Se sadou právě pracuje jiné spuštění programu; nic se nezměnilo.");
    run->listIndex = list.count();
    for (int i = list.count() - 1; i >= 0; --i)
      if (sameNameIgnoringCase(list.get(i), name)) {
        list.removeAt(i);
        run->listIndex = i;
      }
    // Confirmed: from here the deletion is finished whatever happens. The set leaves the list,
    // the selection and its name "tervano" at once; the next start clears its folder if this run
    // is cut short.
    Transaction tx(folder_, concat({"Smazání sady ", name}));
    tx.move(active, doomed);
    tx.save(paths::kSetList, list);
    tx.save(paths::kSelection, selectionWith(""));
    tx.save(kDeleteScript, script);
    tx.commit(Transaction::Policy::FinishOnceStarted);
  } catch (const TransactionError& e) {
    ui::showWarning(host_, concat({tervano::text::kFailed, "\r", e.what()}));
    if (!e.undone()) host_.requestQuit();
    return;
  } catch (const UserError& e) {
    refuse(ui::MessageKind::Error, e.what());
    return;
  }
  activeSetDeleted_ = true;
  descriptorFromActive_ = false;
  selection_ = selectionWith("");
  showSetList(list);
  controls_.setText(id::kSetBox, {});
  showActive();
  ui::showInfo(host_, text::kDeleteMessage);
  run->job = Job::Delete;
  run->script = kDeleteScript;
  run->target = doomed;
  run->number = number;
  run->descriptor = descriptor_;
  launch(std::move(run), {});
}

namespace {

// The folders the user answered "n" for that still hold a file: what they chose to keep.
std::vector<fs::path> keptFolders(const std::vector<fs::path>& declined) {
  std::vector<fs::path> kept;
  for (const fs::path& folder : declined) {
    std::error_code ec;
    if (std::find(kept.begin(), kept.end(), folder) != kept.end() ||
        fs::symlink_status(folder, ec).type() != fs::file_type::directory)
      continue;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
      if (it->symlink_status(ec).type() != fs::file_type::directory) {
        kept.push_back(folder);
        break;
      }
  }
  return kept;
}

}  // namespace

void SetManager::finishDeletion(Run& run) {
  folder_.remove(kDeleteScript);
  if (!keptFolders(run.progress->declined()).empty()) {
    keepDeclined(run);
    return;
  }
  // The user let every folder go: the rest goes too (the crosswords, whatever the script did not
  // know); links are removed as links, never followed.
  const int err = fileops::removeTree(run.target);
  run.lock = {};
  if (err != 0) {
    // The deletion is confirmed: the next start finishes it.
    ui::showWarning(host_, concat({tervano::text::kFailed, "\r",
                                   fileErrorText("Složku nelze smazat", run.target, err)}));
    return;
  }
  controls_.setText(id::kSetStatus, text::kDeleted);
}

void SetManager::keepDeclined(Run& run) {
  const std::string name = setName(run.number);
  const std::vector<fs::path> kept = keptFolders(run.progress->declined());
  TextList list = storedSetList();
  bool listed = false;
  for (const std::string& entry : list.lines())
    listed = listed || sameNameIgnoringCase(entry, name);
  if (!listed)
    list.lines().insert(list.lines().begin() + std::min(run.listIndex, list.count()), name);
  const TextList selection = selectionWith(name);
  try {
    // A set needs its descriptor to be one; erased with the set's root, it comes back.
    const fs::path descriptor = resolveCaseInsensitive(run.target / "Tervano.ini");
    std::error_code ec;
    if (fs::symlink_status(descriptor, ec).type() != fs::file_type::regular)
      saveTextList(run.target / "Tervano.ini", run.descriptor);
    // Once begun, the set comes back whole: what the user kept is never lost to a kill now.
    Transaction tx(folder_, concat({"Ponechání sady ", name}));
    tx.move(run.target, folder_.root() / kActiveFolder);
    tx.save(paths::kSetList, list);
    tx.save(paths::kSelection, selection);
    tx.commit(Transaction::Policy::FinishOnceStarted);
  } catch (const UserError& e) {
    ui::showWarning(host_, concat({tervano::text::kFailed, "\r", e.what()}));
    return;
  }
  run.lock = {};
  activeSetDeleted_ = false;
  selection_ = selection;
  showSetList(list);
  controls_.setText(id::kSetBox, name);
  loadWorkingDescriptor();
  showActive();
  std::string message = text::kKeptFolders;
  for (const fs::path& folder : kept) {
    const fs::path inside = folder.lexically_relative(run.target);
    message +=
        concat({"\r", inside.empty() || inside == "." ? text::kSetRoot : inside.generic_string()});
  }
  message += text::kKeptSet;
  controls_.setText(id::kSetStatus, {});
  ui::showInfo(host_, message);
}

}  // namespace tervano::sets
