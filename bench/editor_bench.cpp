// The crossword editor's save: the four files of a crossword over an existing one, and a new
// crossword with its folder, the grade's list and the descriptor. The editor is started on a set
// of its own in a temporary program folder, as a user starts it.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "data/transaction.h"
#include "editor/crossword_editor.h"
#include "program_folder.h"
#include "ui/ids.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;

struct EditorOnASet {
  testing::Rig rig;
  std::unique_ptr<editor::CrosswordEditor> editor;

  EditorOnASet() {
    rig.dir.makeSet({3, 3, 3, 3});
    rig.start("-EDITOR");
    app::Application& a = *rig.app;
    editor =
        std::make_unique<editor::CrosswordEditor>(a.controls(), a.host(), a.folder(), a.session());
    editor->load("1", "2");
    // About a page of text in each area, as a crossword of twenty lines holds.
    std::string text;
    for (int i = 0; i < 20; ++i)
      text += "s l o v o   č í s l o " + std::to_string(i) + "\n";
    for (auto area : {id::kAnswerArea, id::kMapArea, id::kLegendArea})
      a.controls().setLines(area, TextList::fromText(text));
  }
};

void BM_CrosswordSaveOverExisting(benchmark::State& state) {
  EditorOnASet e;
  for (auto _ : state)
    e.editor->save("1", "2");
}
BENCHMARK(BM_CrosswordSaveOverExisting)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_CrosswordSaveAsNew(benchmark::State& state) {
  EditorOnASet e;
  const std::string list = e.rig.dir.readBytes("tervano/sur/1.cbx");
  const std::string descriptor = e.rig.dir.readBytes("tervano/Tervano.ini");
  const TextList zaklnast = e.rig.app->session().zaklnast;
  for (auto _ : state) {
    e.editor->save("1", "9");
    state.PauseTiming();
    fs::remove_all(e.rig.dir.root() / "tervano/r1/k4");
    e.rig.dir.writeBytes("tervano/sur/1.cbx", list);
    e.rig.dir.writeBytes("tervano/Tervano.ini", descriptor);
    e.rig.app->session().zaklnast = zaklnast;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_CrosswordSaveAsNew)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The whole "Uložit", grade 1, crossword 9, "Potvrď" of a user: the new crossword's save and the
// chooser's recount of the descriptor that follows it.
void BM_CrosswordSaveAsNewThroughTheChooser(benchmark::State& state) {
  EditorOnASet e;
  app::Application& a = *e.rig.app;
  const std::string list = e.rig.dir.readBytes("tervano/sur/1.cbx");
  const std::string descriptor = e.rig.dir.readBytes("tervano/Tervano.ini");
  const TextList zaklnast = a.session().zaklnast;
  for (auto _ : state) {
    state.PauseTiming();
    a.edit(id::kMapArea, "x x x\nx x");
    state.ResumeTiming();
    a.click(id::kDataSave);
    a.dispatch({app::Event::Kind::Select, id::kChooserGrade, "1"});
    a.dispatch({app::Event::Kind::Edit, id::kChooserCrossword, "9"});
    a.click(id::kChooserConfirm);
    state.PauseTiming();
    if (!e.rig.dir.exists("tervano/r1/k4")) state.SkipWithError("not saved");
    fs::remove_all(e.rig.dir.root() / "tervano/r1/k4");
    e.rig.dir.writeBytes("tervano/sur/1.cbx", list);
    e.rig.dir.writeBytes("tervano/Tervano.ini", descriptor);
    a.session().zaklnast = zaklnast;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_CrosswordSaveAsNewThroughTheChooser)->Unit(benchmark::kMicrosecond)->UseRealTime();

// What every start pays now: the recovery that looks for unfinished changes and leftover
// temporaries, on the delivered tree with five more copies of its set installed beside it.
void BM_RecoveryAtStartOfTheDeliveredTree(benchmark::State& state) {
  testing::TempProgram dir;
  fs::copy(TERVANO_DATA_TREE, dir.root(), fs::copy_options::recursive);
  for (int n = 21; n < 26; ++n)
    fs::copy(dir.root() / "tervano", dir.root() / ("tervano" + std::to_string(n)),
             fs::copy_options::recursive);
  for (auto _ : state)
    benchmark::DoNotOptimize(recoverAtStart(dir.root()));
}
BENCHMARK(BM_RecoveryAtStartOfTheDeliveredTree)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tervano
