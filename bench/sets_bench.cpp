// The set manager's runner: installing the German medium delivered with the program, the whole
// copy script from its first line to its last file.
#include <benchmark/benchmark.h>

#include "data/textfile.h"
#include "program_folder.h"
#include "sets/command_script.h"
#include "sets/runner.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;

void BM_InstallGermanMedium(benchmark::State& state) {
  const fs::path medium = fs::path(TERVANO_DATA_TREE) / "instalace-nemcina";
  const auto counts = sets::crosswordCounts(medium);
  int files = 0;
  for (auto _ : state) {
    state.PauseTiming();
    testing::TempProgram dir;
    const fs::path prog = dir.root() / "Hra křížovek";
    const fs::path target = prog / "tervano21";
    fs::create_directories(prog);
    saveTextList(prog / "install.bat", sets::copyScript("echo of", medium, target, counts));
    sets::makeSetFolders(target, counts);
    sets::RunProgress progress;
    state.ResumeTiming();
    sets::runCommandScript(prog / "install.bat", {prog, target}, progress);
    state.PauseTiming();
    if (!progress.succeeded()) state.SkipWithError(progress.error().c_str());
    files = progress.filesDone();
    state.ResumeTiming();
  }
  state.counters["files"] = files;
}
BENCHMARK(BM_InstallGermanMedium)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tervano
