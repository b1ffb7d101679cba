// Worksheets of the delivered crossword set: its 28 crosswords read and laid out with their keys
// as 56 PDF pages, and the same written to a file in one step.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "data/programfolder.h"
#include "data/records.h"
#include "editor/worksheet.h"
#include "qt/worksheet_printer.h"

namespace tervano {
namespace {

const ProgramFolder kTree{TERVANO_DATA_TREE};

editor::WorksheetJob setWithKeys() {
  editor::WorksheetJob job;
  job.title = editor::setTitle(kTree.load(paths::kDescriptor));
  job.sheets = editor::readSet(kTree).sheets;
  job.keys = true;
  return job;
}

// What "Uložit PDF ..." does after the dialog for "Celá sada" with "S řešením".
void BM_SetWithKeysAsPdf(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string path = (dir.path() + "/sada.pdf").toStdString();
  qt::WorksheetPrinter printer;
  for (auto _ : state) {
    const editor::WorksheetJob job = setWithKeys();
    if (printer.writePdf(job, path) != editor::WorksheetOutput::Result::Done)
      state.SkipWithError("cancelled");
    state.counters["pages"] = job.pageCount();
  }
}
BENCHMARK(BM_SetWithKeysAsPdf)->Unit(benchmark::kMillisecond);

// Only reading the set's 112 files into worksheets.
void BM_ReadSet(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(editor::readSet(kTree));
}
BENCHMARK(BM_ReadSet)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tervano

int main(int argc, char** argv) {
  // Fonts and painting need an application, not a screen.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
