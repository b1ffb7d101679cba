// The data spine: text lists of 100,000 lines and bringing a crossword into play.
#include <benchmark/benchmark.h>

#include "data/textfile.h"
#include "program_folder.h"
#include "ui/ids.h"

namespace tervano {
namespace {

TextList bigList() {
  TextList list;
  for (int i = 0; i < 100000; ++i)
    list.append("Řádek číslo " + std::to_string(i) + ": příliš žluťoučký kůň úpěl ďábelské ódy");
  return list;
}

void BM_TextListSave100k(benchmark::State& state) {
  testing::TempProgram dir;
  const TextList list = bigList();
  for (auto _ : state)
    saveTextList(dir.root() / "big.txt", list);
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(std::filesystem::file_size(dir.root() / "big.txt")));
}
BENCHMARK(BM_TextListSave100k)->Unit(benchmark::kMillisecond);

void BM_TextListLoad100k(benchmark::State& state) {
  testing::TempProgram dir;
  saveTextList(dir.root() / "big.txt", bigList());
  for (auto _ : state)
    benchmark::DoNotOptimize(loadTextList(dir.root() / "big.txt"));
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(std::filesystem::file_size(dir.root() / "big.txt")));
}
BENCHMARK(BM_TextListLoad100k)->Unit(benchmark::kMillisecond);

// A 30-line crossword in a folder spelled differently from the code's "tervano\r1\k1\".
void BM_Prvkr(benchmark::State& state) {
  testing::Rig rig;
  rig.dir.makeSet({1, 1, 1, 1});
  std::vector<std::string> solution;
  for (int i = 0; i < 30; ++i)
    solution.push_back(std::string(2 * (i % 5), ' ') + "w o r d s");
  rig.dir.addCrossword(1, 1, solution, {"10", "5", "20", "15", "N", "30"});
  rig.create("-EDITOR");
  for (auto _ : state)
    rig.app->game().prvkr();
}
BENCHMARK(BM_Prvkr)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tervano
