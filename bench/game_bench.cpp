// One answer check, with the next crossword loaded, and with a full-size autosave log.
#include <benchmark/benchmark.h>

#include "autosave/autosave.h"
#include "data/textfile.h"
#include "game_rig.h"

namespace tervano {
namespace {

std::vector<std::string> thirtyLines() {
  std::vector<std::string> solution;
  for (int i = 0; i < 30; ++i)
    solution.push_back(std::string(2 * (i % 5), ' ') + "w o r d s");
  return solution;
}

void BM_Kontrola30Lines(benchmark::State& state) {
  testing::GameRig rig({3, 1, 1, 1});
  for (int n = 1; n <= 3; ++n)
    rig.dir.addCrossword(1, n, thirtyLines(), {"10", "5", "20", "15", "N", "30"});
  rig.play();
  std::string answers;
  for (const auto& l : thirtyLines())
    answers += l + "\n";
  for (auto _ : state) {
    rig.app->game().setCounter(id::kCrossword, "1");
    rig.answer(answers);
    rig.kontrola();  // scores 30 lines, loads crossword 2 with prvkr
    rig.host.clear();
  }
}
BENCHMARK(BM_Kontrola30Lines)->Unit(benchmark::kMicrosecond);

constexpr int kRecords = autosave::kQuotaMax;

TextList logWith(int records) {
  TextList log{"A", std::to_string(kRecords), std::to_string(records), "kontrole každé křížovky"};
  for (int r = 0; r < records; ++r) {
    const TextList rec =
        autosave::recordLines({"20", "1", std::to_string(r % 9 + 1), TextList(testing::record()),
                               "kontrole každé křížovky"});
    for (const auto& l : rec.lines())
      log.append(l);
  }
  return log;
}

// The check that writes the 5,000th record: the log is read again and saved whole.
void BM_KontrolaWithFullSizeLog(benchmark::State& state) {
  testing::GameRig rig;
  rig.play();
  const TextList before = logWith(kRecords - 1);
  const auto logFile = rig.dir.root() / "Data/kriz/automatické uložení.kra";
  for (auto _ : state) {
    state.PauseTiming();
    saveTextList(logFile, before);
    rig.app->game().setCounter(id::kCrossword, "2");
    rig.host.clear();
    state.ResumeTiming();
    rig.kontrola();
  }
}
BENCHMARK(BM_KontrolaWithFullSizeLog)->Unit(benchmark::kMillisecond);

// The same log written once, for comparison.
void BM_WriteFullSizeLog(benchmark::State& state) {
  testing::TempProgram dir;
  const TextList log = logWith(kRecords);
  for (auto _ : state)
    saveTextList(dir.root() / "log.kra", log);
}
BENCHMARK(BM_WriteFullSizeLog)->Unit(benchmark::kMillisecond);

// And read once: what the check pays for taking the log from the file again.
void BM_ReadFullSizeLog(benchmark::State& state) {
  testing::TempProgram dir;
  saveTextList(dir.root() / "log.kra", logWith(kRecords));
  for (auto _ : state)
    benchmark::DoNotOptimize(loadTextList(dir.root() / "log.kra").count());
}
BENCHMARK(BM_ReadFullSizeLog)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tervano
