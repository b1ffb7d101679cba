// The registry of sets: the panel, switching, "Potvrdit", the close request and the running of
// command scripts.
#include <algorithm>

#include "audio/sound.h"
#include "data/concat.h"
#include "data/errors.h"
#include "data/records.h"
#include "data/textfile.h"
#include "data/texts.h"
#include "data/transaction.h"
#include "sets/command_script.h"
#include "sets/names.h"
#include "sets/set_manager.h"
#include "sets/texts.h"
#include "ui/ids/set_panel.h"
#include "ui/ids/timers.h"
#include "ui/recovery.h"

namespace tervano::sets {

namespace fs = std::filesystem;

namespace {

ui::Control shown(std::string text, bool visible = true) {
  ui::Control c;
  c.text = std::move(text);
  c.visible = visible;
  return c;
}

ui::Control numberBox(bool visible) {
  ui::Control c = shown({}, visible);
  c.minimum = kFirstUserSet;
  c.maximum = kLastUserSet;
  c.value = kFirstUserSet;
  return c;
}

// The commands a running script locks.
constexpr const char* kCommands[] = {id::kSetBox,          id::kSetConfirm, id::kSetCreate,
                                     id::kSetRename,       id::kSetDelete,  id::kSetInstall,
                                     id::kSetPanelMainApp, id::kNamePanel};

constexpr const char* kNewNameRest = "Nové jméno: tervano";

}  // namespace

SetManager::SetManager(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder,
                       audio::Sound& sound)
    : controls_(controls), host_(host), folder_(folder), sound_(sound) {}

SetManager::~SetManager() {
  // A run still going when the program ends stops at its next file.
  if (run_) run_->progress->cancel();
}

void SetManager::declare(ui::Controls& c) {
  c.declare(id::kSetPanel, shown({}, false));
  c.declare(id::kSetPanelTitle, shown("Křížovková sada"));
  c.declare(id::kSetBox);
  c.declare(id::kSetConfirm, shown("Potvrdit"));
  c.declare(id::kSetCreate, shown("Založit novou"));
  c.declare(id::kSetRename, shown("Přejmenovat"));
  c.declare(id::kSetDelete, shown("Smazat/odinstalovat"));
  c.declare(id::kSetInstall, shown("Instalovat"));
  c.declare(id::kSetPanelMainApp, shown("Hlavní aplikace"));
  c.declare(id::kSetActive);
  ui::Control progress = shown({}, false);
  progress.maximum = 1;
  c.declare(id::kSetProgress, progress);
  c.declare(id::kSetStatus);
  c.declare(id::kNamePanel, shown({}, false));
  c.declare(id::kNamePanelTitle, shown("..."));
  c.declare(id::kNamePanelClose, shown("X"));
  c.declare(id::kOldNameLabel, shown("Staré jméno: tervano", false));
  c.declare(id::kOldNumber, numberBox(false));
  c.declare(id::kNewNameLabel, shown(kNewNameRest));
  c.declare(id::kNewNumber, numberBox(true));
  c.declare(id::kNameConfirm, shown("Potvrdit"));
  c.declareTimer(id::kTimerScriptRun, 100);
}

// --- files of the registry ---

TextList SetManager::setList() const {
  return controls_.lines(id::kSetBox);
}

TextList SetManager::storedSetList() const {
  return folder_.isFile(paths::kSetList) ? folder_.load(paths::kSetList) : TextList{};
}

void SetManager::showSetList(const TextList& list) {
  controls_.setLines(id::kSetBox, list);
}

void SetManager::saveSetList(const TextList& list) {
  folder_.save(paths::kSetList, list);
  showSetList(list);
}

TextList SetManager::selectionWith(const std::string& name) const {
  TextList s = selection_;
  if (s.empty())
    s.append(name);
  else
    s.set(0, name);
  return s;
}

void SetManager::recoverFirst() {
  ui::recoverBeforeCommand(host_, folder_);
  clearLeftoverWork(folder_.root());
}

void SetManager::saveSelection() {
  folder_.save(paths::kSelection, selection_);
}

void SetManager::setSelected(const std::string& name) {
  selection_ = selectionWith(name);
}

void SetManager::loadWorkingDescriptor() {
  descriptorFromActive_ = folder_.isFile(paths::kDescriptor);
  descriptor_ = descriptorFromActive_ ? folder_.load(paths::kDescriptor) : TextList{};
  descriptorAsLoaded_ = descriptor_;
}

void SetManager::writeWorkingDescriptor() {
  if (setCreated_ || !descriptorFromActive_ || descriptor_ == descriptorAsLoaded_) return;
  saveDescriptor(folder_, descriptor_);
  descriptorAsLoaded_ = descriptor_;
}

bool SetManager::exists(std::string_view name) const {
  std::error_code ec;
  return fs::exists(fs::symlink_status(place(name), ec));
}

std::optional<std::string> SetManager::activeNumber() const {
  std::error_code ec;
  if (fs::symlink_status(place(kActiveFolder), ec).type() != fs::file_type::directory ||
      !folder_.isFile(paths::kDescriptor))
    return std::nullopt;
  return folder_.load(paths::kDescriptor).get(desc::kSetNumber);
}

bool SetManager::isInactiveSet(const std::string& number) const {
  const fs::path set = place(setName(number));
  std::error_code ec;
  if (fs::symlink_status(set, ec).type() != fs::file_type::directory) return false;
  const fs::path descriptor = resolveCaseInsensitive(set / "Tervano.ini");
  if (!fs::is_regular_file(descriptor, ec)) return false;
  try {
    return loadTextList(descriptor).get(desc::kSetNumber) == number;
  } catch (const UserError&) {
    return false;  // an unreadable descriptor makes no set
  }
}

bool SetManager::taken(const std::string& number) const {
  const std::string name = setName(number);
  const TextList list = setList();
  const bool listed =
      std::any_of(list.lines().begin(), list.lines().end(),
                  [&](const std::string& e) { return sameNameIgnoringCase(e, name); });
  return listed || activeNumber() == number || exists(name);
}

void SetManager::showActive() {
  std::string line = text::kNoActiveSet;
  if (const auto number = activeNumber()) {
    line = "Aktivní sada: " + setName(*number);
    const std::string title = folder_.load(paths::kDescriptor).get(0);
    if (!title.empty()) line += " (" + title + ")";
  }
  controls_.setText(id::kSetActive, line);
}

void SetManager::refuse(ui::MessageKind kind, const std::string& message) {
  sound_.playCue("hlasen.wav");
  host_.message(kind, message, ui::Buttons::Ok);
  closeNamePanel();
}

bool SetManager::refuseWhileBusy() {
  if (!busy()) return false;
  ui::showInfo(host_, text::kBusy);
  return true;
}

// --- the commands ---

void SetManager::open() {
  selection_ = folder_.isFile(paths::kSelection) ? folder_.load(paths::kSelection) : TextList{};
  loadWorkingDescriptor();
  controls_.setLines(id::kSetBox,
                     folder_.isFile(paths::kSetList) ? folder_.load(paths::kSetList) : TextList{});
  // Only the text: no switch runs.
  controls_.setText(id::kSetBox, selection_.get(0));
  showActive();
}

void SetManager::editBox(const std::string& text) {
  controls_.setText(id::kSetBox, text);
}

void SetManager::choose(const std::string& name) {
  if (refuseWhileBusy()) return;
  controls_.setText(id::kSetBox, name);
  recoverFirst();
  const auto number = numberOfSetName(name);
  const auto active = activeSetDeleted_ ? std::nullopt : activeNumber();
  // Only a set name that names the active set or an installed one may be renamed: the list is a
  // text file anyone can edit.
  const bool isActive = number && active == number;
  if (!number || (!isActive && !isInactiveSet(*number))) {
    ui::showWarning(host_, tervano::text::kFailed);
    return;
  }
  if (isActive) {
    // Nothing to switch: only the choice is remembered, and no switch is claimed.
    if (selection_.get(0) != name) {
      setSelected(name);
      saveSelection();
    }
    controls_.setText(id::kSetStatus, concat({setName(*number), text::kAlreadyActive}));
    return;
  }
  const std::string chosen = setName(*number);
  // The active set goes back to its numbered folder, the chosen one becomes "tervano" and the
  // selection names it: all three, or (killed or failing half-way) none.
  std::string away;
  if (active) {
    // Linux would rename over an empty folder, and "Tervano21" is "tervano21" to this program.
    away = isSetNumber(*active) ? setName(*active) : std::string{};
    if (away.empty() || exists(away)) {
      ui::showWarning(host_, tervano::text::kFailed);
      return;
    }
  }
  const TextList selection = selectionWith(name);
  try {
    Transaction tx(folder_, concat({"Přehození sady na ", chosen}));
    if (active) tx.move(place(kActiveFolder), folder_.root() / away);
    tx.move(place(chosen), folder_.root() / kActiveFolder);
    tx.save(paths::kSelection, selection);
    tx.commit();
  } catch (const TransactionError& e) {
    ui::showWarning(host_, concat({tervano::text::kFailed, "\r", e.what()}));
    // Left to the next start's recovery: this run ends, as it did after a failed switch.
    if (!e.undone()) host_.requestQuit();
    showActive();
    return;
  } catch (const FileError& e) {
    ui::showWarning(host_, concat({tervano::text::kFailed, "\r", e.what()}));
    return;
  }
  selection_ = selection;
  activeSetDeleted_ = false;
  controls_.setText(id::kSetStatus, {});
  ui::showInfo(host_, tervano::text::kSetSwitched);
  loadWorkingDescriptor();
  showActive();
}

bool SetManager::confirm() {
  return end(true);
}

bool SetManager::end(bool writeDescriptor) {
  if (refuseWhileBusy()) return false;
  const bool noText = controls_.text(id::kSetBox).empty();
  if (noText && setList().empty()) {
    if (writeDescriptor) writeWorkingDescriptor();
    sound_.playCue("chyba.wav");
    ui::showError(host_, text::kNoSets);
    host_.requestQuit();
    return true;
  }
  if (!noText) {
    if (writeDescriptor) writeWorkingDescriptor();
    host_.requestQuit();
    return true;
  }
  sound_.playCue("chyba.wav");
  ui::showError(host_, text::kChooseSet);
  return false;
}

bool SetManager::closeQuery() {
  if (refuseWhileBusy()) return false;
  if (!controls_.text(id::kSetBox).empty()) {
    saveSelection();
    writeWorkingDescriptor();
    return true;
  }
  if (setList().empty()) return true;
  sound_.playCue("chyba.wav");
  ui::showError(host_, text::kChooseSet);
  return false;
}

void SetManager::closeNamePanel() {
  ui::Controls& c = controls_;
  c.setText(id::kNewNameLabel, kNewNameRest);
  c.setText(id::kNamePanelTitle, "...");
  for (auto b : {id::kSetDelete, id::kSetCreate, id::kSetRename, id::kSetInstall})
    c.setVisible(b, true);
  c.setVisible(id::kOldNameLabel, false);
  c.setVisible(id::kOldNumber, false);
  c.setVisible(id::kNamePanel, false);
}

// --- command scripts ---

void SetManager::launch(std::unique_ptr<Run> run, const fs::path& source) {
  auto progress = std::make_shared<RunProgress>();
  run->progress = progress;
  const fs::path script = place(run->script);
  RunLimits limits{folder_.root(), run->target, source, {}};
  const bool deleting = run->job == Job::Delete;
  // The deletion script's questions are asked on this thread: the runner waits for the answer.
  if (deleting) limits.confirmEraseAll = [progress](const fs::path& f) { return progress->ask(f); };
  run_ = std::move(run);
  host_.launchCommandScript(
      script.string(), [progress, script, limits] { runCommandScript(script, limits, *progress); });
  setBusy(true, deleting ? "Mazání sady ..." : "Kopírování sady ...");
  controls_.startTimer(id::kTimerScriptRun);
}

void SetManager::setBusy(bool on, const std::string& status) {
  for (auto control : kCommands)
    controls_.setEnabled(control, !on);
  controls_.setVisible(id::kSetProgress, on);
  if (on) {
    controls_.setRange(id::kSetProgress, 0, 1);
    controls_.setValue(id::kSetProgress, 0);
  }
  controls_.setText(id::kSetStatus, status);
}

void SetManager::askWaitingQuestion() {
  const auto folder = run_->progress->question();
  if (!folder) return;
  // Timers tick while the box is open: the run stays as it is until the answer.
  const std::shared_ptr<RunProgress> progress = run_->progress;
  asking_ = true;
  const bool yes =
      host_.consoleQuestion(concat({"„", folder->string(), "/*.*“", text::kEraseQuestion}));
  asking_ = false;
  progress->answer(yes);
}

void SetManager::scriptTick() {
  if (!run_) {
    controls_.stopTimer(id::kTimerScriptRun);
    return;
  }
  if (asking_) return;
  askWaitingQuestion();
  const RunProgress& p = *run_->progress;
  const int total = p.filesTotal();
  controls_.setRange(id::kSetProgress, 0, std::max(1, total));
  controls_.setValue(id::kSetProgress, p.finished() ? std::max(1, total) : p.filesDone());
  if (run_->job != Job::Delete)
    controls_.setText(id::kSetStatus, "Kopírování sady: " + std::to_string(p.filesDone()) + " z " +
                                          std::to_string(total) + " souborů");
  if (!p.finished()) return;
  controls_.stopTimer(id::kTimerScriptRun);
  // A creation ends on the completion timer.
  if (run_->job == Job::Create) return;
  const std::unique_ptr<Run> run = std::move(run_);
  setBusy(false, p.succeeded() ? std::string{} : p.error());
  if (run->job == Job::Install) finishInstall(*run);
  if (run->job == Job::Delete) finishDeletion(*run);
}

}  // namespace tervano::sets
