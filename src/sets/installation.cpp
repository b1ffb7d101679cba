// Installation of a set from a medium laid out like a set folder.
#include <algorithm>
#include <cstdlib>

#include "audio/sound.h"
#include "data/concat.h"
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

namespace tervano::sets {

namespace fs = std::filesystem;

namespace {

// A medium is any folder (a disc mounted under /media, say): the dialog starts at home.
std::string homeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? home : "/";
}

}  // namespace

void SetManager::install() {
  if (refuseWhileBusy()) return;
  if (scriptLaunched_) {
    ui::showInfo(host_, text::kOneScriptPerRun);
    return;
  }
  ui::FileDialogOptions options;
  options.title = text::kInstallTitle;
  options.filters = {{text::kInstallFilter, {"Tervano.ini", "tervano.ini", "TERVANO.INI"}}};
  options.initialFolder = homeFolder();
  options.mustExist = true;
  const auto chosen = host_.openFile(options);
  if (!chosen) return;
  recoverFirst();
  const fs::path file(*chosen);
  // The medium's descriptor stays apart from the working descriptor: it must never reach the
  // active set's.
  const TextList medium = loadTextList(file, limits::kDataFile);
  const std::string number = medium.get(desc::kSetNumber);

  const TextList list = setList();
  bool listed = false;
  for (const auto& entry : list.lines())
    listed = listed || sameNameIgnoringCase(entry, setName(number));
  if (listed || (isSetNumber(number) && taken(number))) {
    sound_.playCue("hlasen.wav");
    ui::showInfo(host_, std::string(text::kAlreadyInstalled) + number);
    closeNamePanel();
    return;
  }
  std::error_code ec;
  if (fs::equivalent(file, place(paths::kSelection), ec)) {
    refuse(ui::MessageKind::Error, text::kFileInUse);
    return;
  }
  // The number becomes a folder name: digits only, or an empty line 6 would make the new folder
  // "tervano" itself and "../x" would lead out of the program folder.
  if (medium.count() < 8 || !isSetNumber(number)) {
    refuse(ui::MessageKind::Error, text::kInsufficient);
    return;
  }
  // Copying never follows a link: a medium reached through one is someone else's folder.
  const fs::path source = file.parent_path();
  for (const fs::path& entry : {source, file})
    if (fs::symlink_status(entry, ec).type() == fs::file_type::symlink) {
      refuse(ui::MessageKind::Error, concat({"„", entry.string(), text::kMediumIsLink}));
      return;
    }
  try {
    startCopy(Job::Install, source, number);
  } catch (const UserError& e) {
    refuse(ui::MessageKind::Error, e.what());
  }
}

void SetManager::startCopy(Job job, const fs::path& source, const std::string& number) {
  // Everything that can refuse comes before the first change: absurd counts, a path the script
  // cannot hold, a work folder another instance uses.
  const auto counts = crosswordCounts(source);
  const fs::path work = folder_.root() / kWorkFolder;
  const bool installing = job == Job::Install;
  const TextList script = copyScript(installing ? "echo of" : "echo off", source, work, counts);
  checkScriptSize(script);
  auto run = std::make_unique<Run>();
  run->job = job;
  run->script = installing ? kInstallScript : kCreateScript;
  run->target = work;
  run->number = number;
  run->counts = counts;
  run->lock = makeWorkFolder(folder_.root(), kWorkFolder);
  try {
    makeSetFolders(work, counts);
    folder_.save(run->script, script);
  } catch (...) {
    fileops::removeTree(work);
    throw;
  }
  scriptLaunched_ = true;
  launch(std::move(run), source);
}

bool SetManager::copiedWhole(Run& run) {
  const RunProgress& p = *run.progress;
  std::string why = p.succeeded() ? std::string{} : p.error();
  if (why.empty()) {
    const auto missing = missingSetFiles(run.target, run.counts);
    if (!missing.empty()) {
      // A medium or template without all its crossword files makes no set.
      why = text::kIncompleteCopy;
      const std::size_t shown = std::min<std::size_t>(missing.size(), 8);
      for (std::size_t i = 0; i < shown; ++i)
        why += concat({i ? ", " : "", missing[i]});
      if (missing.size() > shown)
        why += concat({" a ", std::to_string(missing.size() - shown), " dalších"});
    }
  }
  if (why.empty()) return true;
  fileops::removeTree(run.target);
  run.lock = {};
  controls_.setText(id::kSetStatus, why);
  ui::showWarning(host_, concat({tervano::text::kFailed, "\r", why}));
  return false;
}

void SetManager::finishInstall(Run& run) {
  // Only now has the runner read the whole script.
  folder_.remove(kInstallScript);
  if (!copiedWhole(run)) {
    closeNamePanel();
    return;
  }
  // The copy gets its name and the set list its entry together, or neither does.
  const std::string name = setName(run.number);
  TextList list = storedSetList();
  list.append(name);
  try {
    if (exists(name)) throw SetError(std::string(text::kAlreadyInstalled) + run.number);
    Transaction tx(folder_, concat({"Instalace sady ", name}));
    tx.move(run.target, folder_.root() / name);
    tx.save(paths::kSetList, list);
    tx.commit();
  } catch (const UserError& e) {
    fileops::removeTree(run.target);
    run.lock = {};
    ui::showWarning(host_, concat({tervano::text::kFailed, "\r", e.what()}));
    closeNamePanel();
    return;
  }
  run.lock = {};
  showSetList(list);
  sound_.playCue("hlasen.wav");
  closeNamePanel();
  if (!run.progress->skipped().empty()) {
    std::string skipped = text::kSkipped;
    for (const std::string& entry : run.progress->skipped())
      skipped += concat({"\r", entry});
    ui::showInfo(host_, skipped);
  }
  ui::showInfo(host_, text::kInstalled);
  ui::showInfo(host_, text::kWillEnd);
  // The active set's descriptor stays as it is.
  end(false);
}

}  // namespace tervano::sets
