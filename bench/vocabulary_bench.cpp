// The word-list readers on files at their size limit: a spreadsheet of ordinary rows, one of
// the shortest rows possible, and a KDE vocabulary, each read and turned into pairs.
#include <benchmark/benchmark.h>

#include "editor/vocabulary.h"

namespace tervano::editor {
namespace {

std::string filled(const std::string& head, const std::string& row, const std::string& tail) {
  std::string text = head;
  while (text.size() + row.size() + tail.size() <= kMaxVocabularyBytes)
    text += row;
  return text + tail;
}

void readAll(benchmark::State& state, const std::string& bytes) {
  std::size_t pairs = 0;
  for (auto _ : state) {
    const Vocabulary v = readVocabulary(bytes);
    pairs = vocabularyPairs(v, 0, 1).pairs.size();
  }
  state.counters["pairs"] = static_cast<double>(pairs);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_CsvRows4MB(benchmark::State& state) {
  readAll(state, filled("Angličtina;Čeština\r\n", "yellow;\"žlutá, barva slunce\"\r\n", ""));
}
BENCHMARK(BM_CsvRows4MB)->Unit(benchmark::kMillisecond);

void BM_CsvShortestRows4MB(benchmark::State& state) {
  readAll(state, filled("", "a;b\n", ""));
}
BENCHMARK(BM_CsvShortestRows4MB)->Unit(benchmark::kMillisecond);

void BM_Kvtml4MB(benchmark::State& state) {
  readAll(state, filled("<?xml version=\"1.0\"?><kvtml version=\"2.0\"><identifiers>"
                        "<identifier id=\"0\"><locale>en</locale></identifier>"
                        "<identifier id=\"1\"><locale>cs</locale></identifier></identifiers>"
                        "<entries>\n",
                        "<entry id=\"1\"><translation id=\"0\"><text>yellow</text></translation>"
                        "<translation id=\"1\"><text>žlutá</text><comment>barva</comment>"
                        "</translation></entry>\n",
                        "</entries></kvtml>\n"));
}
BENCHMARK(BM_Kvtml4MB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tervano::editor
