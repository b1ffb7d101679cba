// The set manager's runner: installing the German medium delivered with the program, the whole
// copy script from its first line to its last file; and the whole installation after the dialog:
// the copy into the work folder, the check that every crossword arrived, and the transaction that
// gives the set its name and its entry in the set list.
#include <benchmark/benchmark.h>

#include "data/records.h"
#include "data/textfile.h"
#include "data/transaction.h"
#include "program_folder.h"
#include "sets/command_script.h"
#include "sets/names.h"
#include "sets/runner.h"
#include "sets/work_folders.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;

struct Install {
  testing::TempProgram dir;
  fs::path medium = fs::path(TERVANO_DATA_TREE) / "instalace-nemcina";
  fs::path prog = dir.root() / "Hra křížovek";
  fs::path work = prog / sets::kWorkFolder;
  std::array<int, 4> counts = sets::crosswordCounts(medium);
  sets::FolderLock lock;

  Install() {
    fs::create_directories(prog);
    saveTextList(prog / paths::kSetList, TextList{"tervano20"});
    lock = sets::makeWorkFolder(prog, sets::kWorkFolder);
    saveTextList(prog / sets::kInstallScript, sets::copyScript("echo of", medium, work, counts));
    sets::makeSetFolders(work, counts);
  }
  int copy() const {
    sets::RunProgress progress;
    sets::runCommandScript(prog / sets::kInstallScript, {prog, work, medium, {}}, progress);
    if (!progress.succeeded()) throw std::runtime_error(progress.error());
    return progress.filesDone();
  }
  void complete() {
    if (!sets::missingSetFiles(work, counts).empty()) throw std::runtime_error("incomplete");
    const ProgramFolder folder(prog);
    Transaction tx(folder, "Instalace sady tervano21");
    tx.move(work, prog / "tervano21");
    tx.save(paths::kSetList, TextList{"tervano20", "tervano21"});
    tx.commit();
  }
};

void BM_InstallGermanMedium(benchmark::State& state) {
  int files = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Install install;
    state.ResumeTiming();
    files = install.copy();
  }
  state.counters["files"] = files;
}
BENCHMARK(BM_InstallGermanMedium)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_InstallGermanMediumWhole(benchmark::State& state) {
  int files = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Install install;
    state.ResumeTiming();
    files = install.copy();
    install.complete();
  }
  state.counters["files"] = files;
}
BENCHMARK(BM_InstallGermanMediumWhole)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tervano
