// Installation of a set from a medium laid out like a set folder.
#include <cstdlib>

#include "audio/sound.h"
#include "data/records.h"
#include "data/textfile.h"
#include "sets/command_script.h"
#include "sets/names.h"
#include "sets/set_manager.h"
#include "sets/texts.h"
#include "ui/texts.h"

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
  const fs::path file(*chosen);
  // The medium's descriptor stays apart from the working descriptor: it must never reach the
  // active set's.
  const TextList medium = loadTextList(file);
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

  const fs::path source = file.parent_path();
  const auto counts = crosswordCounts(source);
  const std::string name = setName(number);
  const fs::path target = folder_.root() / name;
  folder_.save(kInstallScript, copyScript("echo of", source, target, counts));
  makeSetFolders(target, counts);
  scriptLaunched_ = true;
  launch(Run{Job::Install, nullptr, kInstallScript, target, true, number});
}

void SetManager::finishInstall(const Run& run) {
  // Only now has the runner read the whole script.
  folder_.remove(kInstallScript);
  if (!run.progress->succeeded()) {
    std::error_code ec;
    if (run.targetIsNew) fs::remove_all(run.target, ec);
    ui::showWarning(host_, tervano::text::kFailed);
    closeNamePanel();
    return;
  }
  sound_.playCue("hlasen.wav");
  TextList list = setList();
  list.append(setName(run.number));
  saveSetList(list);
  closeNamePanel();
  ui::showInfo(host_, text::kInstalled);
  ui::showInfo(host_, text::kWillEnd);
  // The active set's descriptor stays as it is.
  end(false);
}

}  // namespace tervano::sets
