// The autosave manager listing a log of up to 5,000 records: the work from the file to the
// model's list (reading, decoding, finding the records, captions and pictures), and the heap it
// takes, against the size of the log.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "app/modes/autosave_manager_mode.h"
#include "autosave/autosave.h"
#include "data/textfile.h"
#include "program_folder.h"
#include "ui/ids.h"

// Live heap bytes of this program, and their peak since the last reset: every allocation of the
// benchmark executable goes through here.
namespace {
std::atomic<long long> liveBytes{0};
std::atomic<long long> peakBytes{0};

void* counted(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  const long long now = liveBytes.fetch_add(static_cast<long long>(malloc_usable_size(p)),
                                            std::memory_order_relaxed) +
                        static_cast<long long>(malloc_usable_size(p));
  long long peak = peakBytes.load(std::memory_order_relaxed);
  while (now > peak && !peakBytes.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
  }
  return p;
}
void uncounted(void* p) noexcept {
  if (!p) return;
  liveBytes.fetch_sub(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed);
  std::free(p);
}
}  // namespace

void* operator new(std::size_t size) {
  return counted(size);
}
void* operator new[](std::size_t size) {
  return counted(size);
}
void operator delete(void* p) noexcept {
  uncounted(p);
}
void operator delete[](void* p) noexcept {
  uncounted(p);
}
void operator delete(void* p, std::size_t) noexcept {
  uncounted(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  uncounted(p);
}

namespace tervano {
namespace {

const char* kLog = "Data/kriz/automatické uložení.kra";

// A log as the game writes it: records of every trigger, spread over the grades.
TextList logOf(int records) {
  TextList log{"A", "5000", std::to_string(records), "kontrole každé křížovky"};
  const std::string_view triggers[] = {"kontrole každé křížovky", "začátku ročníku",
                                       "provedení zadaného skriptu", "zadaném bodu uložení", " "};
  for (int r = 0; r < records; ++r) {
    const std::string grade = std::to_string(1 + r % 4), number = std::to_string(1 + r % 30);
    const TextList rec =
        autosave::recordLines({"20", grade, number,
                               TextList{"A", std::to_string(r * 10), grade, number,
                                        std::to_string(r % 50), "3", "A", "S", "20", "N", "N", "N"},
                               std::string(triggers[r % 5])});
    for (const auto& line : rec.lines())
      log.append(line);
  }
  return log;
}

struct Listing {
  testing::Rig rig;
  autosave::Manager* manager = nullptr;
  std::uintmax_t fileBytes = 0;

  explicit Listing(int records) {
    rig.dir.makeSet({2, 2, 2, 2});
    saveTextList(rig.dir.root() / kLog, logOf(records));
    fileBytes = std::filesystem::file_size(rig.dir.root() / kLog);
    rig.start("-SPAUTOSAVE");
    manager = &dynamic_cast<app::AutosaveManagerMode&>(rig.app->mode()).manager();
  }
  // No log and no entries, as before the first listing, and the freed heap handed back to the
  // system: each listing pays for its memory as in a freshly started manager.
  void forget() {
    rig.app->session().autosf = TextList{"Autosf"};
    rig.app->controls().setItems(id::kManagerList, {}, {});
    malloc_trim(0);
  }
};

// SEARCHAUTOSAVE on a log of the given number of records, from the file to the list's items.
void BM_ListAutosaveLog(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  Listing l(records);
  for (auto _ : state) {
    state.PauseTiming();
    l.forget();
    state.ResumeTiming();
    l.manager->search();
    benchmark::DoNotOptimize(l.rig.app->controls().lines(id::kManagerList).count());
  }
  if (static_cast<int>(l.manager->records().size()) != records) state.SkipWithError("not listed");

  // One more listing to weigh the heap: the peak during it, and what it keeps afterwards.
  l.forget();
  const long long before = liveBytes.load();
  peakBytes.store(before);
  l.manager->search();
  const double log = static_cast<double>(l.fileBytes);
  const double peak = static_cast<double>(peakBytes.load() - before);
  const double kept = static_cast<double>(liveBytes.load() - before);
  state.counters["log_kB"] = log / 1024;
  state.counters["lines"] = l.rig.app->session().autosf.count();
  state.counters["peak_heap_kB"] = peak / 1024;
  state.counters["kept_heap_kB"] = kept / 1024;
  state.counters["peak_per_log_byte"] = peak / log;
}
BENCHMARK(BM_ListAutosaveLog)
    ->Arg(1000)
    ->Arg(2500)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Deleting one record of a 5,000-record log: the file is read, the record cut out and the log
// written back whole, then listed again.
void BM_DeleteOneOf5000(benchmark::State& state) {
  Listing l(5000);
  const TextList full = logOf(5000);
  l.manager->search();
  for (auto _ : state) {
    state.PauseTiming();
    saveTextList(l.rig.dir.root() / kLog, full);
    l.manager->search();
    l.rig.app->dispatch({app::Event::Kind::Select, id::kManagerList, "", 2500});
    l.rig.host.ok();
    l.rig.host.clear();
    state.ResumeTiming();
    l.rig.app->click(id::kManagerDelete);
  }
  if (l.manager->records().size() != 4999) state.SkipWithError("not deleted");
}
BENCHMARK(BM_DeleteOneOf5000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tervano
