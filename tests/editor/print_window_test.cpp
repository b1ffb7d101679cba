// The window "Tisk a export křížovek": which crosswords a scope covers (the open one with its
// unsaved edits, its grade, the whole set), "S řešením", what the window says about them, and
// the three outputs with their dialogs, cancellations and failures.
#include <gtest/gtest.h>

#include "data/errors.h"
#include "editor/worksheet.h"
#include "editor_rig.h"

namespace tervano {
namespace {

using editor::WorksheetJob;
using editor::WorksheetOutput;
using testing::EditorRig;

// Records what it was asked to put out and answers as told.
struct FakeOutput : WorksheetOutput {
  std::vector<std::string> calls;
  WorksheetJob last;
  Result answer = Result::Done;
  bool fail = false;

  Result take(const std::string& what, const WorksheetJob& job) {
    calls.push_back(what + " " + std::to_string(job.pageCount()));
    last = job;
    if (fail) throw FileError("Soubor nelze uložit: disk je plný.");
    return answer;
  }
  Result print(const WorksheetJob& job) override { return take("print", job); }
  Result preview(const WorksheetJob& job) override { return take("preview", job); }
  Result writePdf(const WorksheetJob& job, const std::string& path) override {
    return take("pdf " + path, job);
  }
};

struct PrintRig : EditorRig {
  FakeOutput output;
  explicit PrintRig(std::array<int, 4> counts = {3, 2, 1, 1}) : EditorRig(counts) {
    app->setWorksheetOutput(&output);
  }
  void open() { app->click(id::kDataPrint); }
  void toggle(const char* control, int on = 1) {
    app->dispatch({app::Event::Kind::Toggle, control, {}, on});
  }
  // What the window would print, by asking for a preview.
  const WorksheetJob& job() {
    app->click(id::kPrintPreview);
    return output.last;
  }
  std::vector<std::string> sheets() {
    std::vector<std::string> names;
    for (const auto& s : job().sheets)
      names.push_back(s.name());
    return names;
  }
  const TextList& warnings() const { return c().lines(id::kPrintWarnings); }
  bool warns(const std::string& start) const {
    for (const auto& w : warnings().lines())
      if (w.rfind(start, 0) == 0) return true;
    return false;
  }
};

TEST(PrintWindow, WithoutAnOpenCrosswordItOffersGradeOneAndTheSet) {
  PrintRig rig;
  rig.open();
  EXPECT_TRUE(rig.c().visible(id::kPrintWindow));
  EXPECT_FALSE(rig.c().enabled(id::kMainWindow));
  EXPECT_FALSE(rig.c().enabled(id::kPrintScopeCrossword));
  EXPECT_TRUE(rig.c().checked(id::kPrintScopeGrade));
  EXPECT_FALSE(rig.c().checked(id::kPrintKeys)) << "keys are asked for, not given away";
  EXPECT_EQ(rig.text(id::kPrintSummary), "Celkem 3 strany: 3 křížovky 1. ročníku.");
  // The rig's crosswords ("x x x" over "x x x") have three columns crossing both words.
  EXPECT_EQ(rig.warnings().count(), 1);
  EXPECT_TRUE(rig.warns("U 3 křížovek nelze z mapy určit jediný sloupec tajenky"));
  EXPECT_TRUE(rig.c().visible(id::kPrintWarnings));
  EXPECT_EQ(rig.sheets(),
            (std::vector<std::string>{"1. ročník, křížovka 1", "1. ročník, křížovka 2",
                                      "1. ročník, křížovka 3"}));
  // "Tato křížovka" cannot be chosen: nothing changes.
  rig.toggle(id::kPrintScopeCrossword);
  EXPECT_TRUE(rig.c().checked(id::kPrintScopeGrade));

  rig.toggle(id::kPrintScopeSet);
  EXPECT_FALSE(rig.c().checked(id::kPrintScopeGrade));
  EXPECT_EQ(rig.text(id::kPrintSummary), "Celkem 7 stran: 7 křížovek všech čtyř ročníků.");
  rig.toggle(id::kPrintKeys);
  EXPECT_EQ(rig.text(id::kPrintSummary),
            "Celkem 14 stran: 7 křížovek všech čtyř ročníků, každá se stranou řešení.");
  const WorksheetJob& job = rig.job();
  EXPECT_EQ(job.pageCount(), 14);
  EXPECT_EQ(job.title, "Tervano");
  EXPECT_EQ(job.sheets.back().name(), "4. ročník, křížovka 1");

  rig.a().click(id::kPrintBack);
  EXPECT_FALSE(rig.c().visible(id::kPrintWindow));
  EXPECT_TRUE(rig.c().enabled(id::kMainWindow));
}

TEST(PrintWindow, TheOpenCrosswordIsPrintedWithItsUnsavedEdits) {
  PrintRig rig;
  rig.load("2", "2");
  rig.type(id::kAnswerArea, "b a t\nř e ž");
  rig.type(id::kLegendArea, "Netopýr\nŘez");
  rig.open();
  EXPECT_TRUE(rig.c().enabled(id::kPrintScopeCrossword));
  EXPECT_TRUE(rig.c().checked(id::kPrintScopeCrossword));
  EXPECT_EQ(rig.text(id::kPrintSummary), "Celkem 1 strana: 2. ročník, křížovka 2.");
  rig.toggle(id::kPrintKeys);
  EXPECT_EQ(rig.text(id::kPrintSummary),
            "Celkem 2 strany: 2. ročník, křížovka 2 a strana s řešením.");
  const WorksheetJob& job = rig.job();
  ASSERT_EQ(job.sheets.size(), 1u);
  EXPECT_EQ(job.sheets[0].grid.rows[1].answer, "ŘEŽ");
  EXPECT_EQ(job.sheets[0].clues, (std::vector<std::string>{"1. Netopýr", "2. Řez"}));

  // Its grade and the set are read from the files, and the window says so.
  rig.toggle(id::kPrintScopeGrade);
  EXPECT_EQ(rig.sheets(),
            (std::vector<std::string>{"2. ročník, křížovka 1", "2. ročník, křížovka 2"}));
  EXPECT_EQ(rig.job().sheets[1].grid.rows[1].answer, "DOG");
  EXPECT_TRUE(rig.warns("Otevřená křížovka má neuložené změny"));
  EXPECT_TRUE(rig.c().visible(id::kPrintWarnings));
  rig.toggle(id::kPrintScopeSet);
  EXPECT_TRUE(rig.warns("Otevřená křížovka má neuložené změny"));
  rig.toggle(id::kPrintScopeCrossword);
  EXPECT_FALSE(rig.warns("Otevřená křížovka"));
}

TEST(PrintWindow, AChosenScopeStaysChosenWhileItIsOffered) {
  PrintRig rig;
  rig.load("3", "1");
  rig.open();
  rig.toggle(id::kPrintScopeSet);
  rig.a().click(id::kPrintBack);
  rig.open();
  EXPECT_TRUE(rig.c().checked(id::kPrintScopeSet));
  rig.toggle(id::kPrintScopeCrossword);
  rig.a().click(id::kPrintBack);
  // The crossword is closed: its grade is no more, grade 1 is offered.
  rig.a().click(id::kDataClose);
  rig.open();
  EXPECT_FALSE(rig.c().enabled(id::kPrintScopeCrossword));
  EXPECT_TRUE(rig.c().checked(id::kPrintScopeGrade));
  EXPECT_EQ(rig.sheets().front(), "1. ročník, křížovka 1");
}

TEST(PrintWindow, BadInputIsPrintedWhereItCanBeAndSaidInCzech) {
  PrintRig rig;
  // The open crossword's map has a line more than its solution: printed from the map.
  rig.load("1", "1");
  rig.type(id::kMapArea, "x x x\nx x x\nx x");
  rig.open();
  EXPECT_EQ(rig.warnings().get(0),
            "1. ročník, křížovka 1: mapa má 3 řádky, řešení 2 řádky; tiskne se podle mapy.");
  EXPECT_EQ(rig.job().sheets[0].grid.rows.size(), 3u);
  EXPECT_TRUE(rig.c().enabled(id::kPrintPdf));
  // A grade with a crossword whose file is gone: the others are printed, the window names it.
  rig.dir.remove("tervano/r1/k2/k.lk");
  rig.dir.writeBytes("tervano/r1/k3/k.nk", "10\r\n\xFF\r\n");
  rig.toggle(id::kPrintScopeGrade);
  EXPECT_EQ(rig.sheets(),
            (std::vector<std::string>{"1. ročník, křížovka 1", "1. ročník, křížovka 3"}));
  EXPECT_TRUE(rig.warns("1. ročník, křížovka 2 se nevytiskne: "));
  EXPECT_TRUE(rig.warns("1. ročník, křížovka 3: některá hodnota bodování"));
  EXPECT_TRUE(rig.host.only({"error"}).empty());
}

TEST(PrintWindow, NothingToPrintDisablesTheOutputs) {
  PrintRig rig({0, 0, 0, 0});
  rig.open();
  EXPECT_EQ(rig.text(id::kPrintSummary), "Není co tisknout: 1. ročník nemá žádnou křížovku.");
  EXPECT_FALSE(rig.c().visible(id::kPrintWarnings));
  for (auto b : {id::kPrintPrint, id::kPrintPreview, id::kPrintPdf})
    EXPECT_FALSE(rig.c().enabled(b)) << b;
  EXPECT_TRUE(rig.c().enabled(id::kPrintBack));
  rig.toggle(id::kPrintScopeSet);
  EXPECT_EQ(rig.text(id::kPrintSummary), "Není co tisknout: sada nemá žádnou křížovku.");
  // A grade whose every crossword is unreadable has nothing to print either, and says why.
  rig.dir.write("tervano/sur/1.cbx", {"1"});
  rig.toggle(id::kPrintScopeGrade);
  EXPECT_EQ(rig.text(id::kPrintSummary), "Není co tisknout, viz upozornění.");
  EXPECT_TRUE(rig.warns("1. ročník, křížovka 1 se nevytiskne: "));
  EXPECT_FALSE(rig.c().enabled(id::kPrintPdf));
  // Reached anyway (a script may click a disabled button): nothing is put out.
  rig.a().click(id::kPrintPdf);
  rig.a().click(id::kPrintPrint);
  EXPECT_TRUE(rig.output.calls.empty());
  EXPECT_TRUE(rig.host.dialogs().empty());
}

TEST(PrintWindow, PrintingAndPreviewReportHowTheyEnded) {
  PrintRig rig;
  rig.open();
  rig.a().click(id::kPrintPrint);
  EXPECT_EQ(rig.text(id::kPrintStatus), "Odesláno k tisku: 3 strany.");
  rig.output.answer = WorksheetOutput::Result::Cancelled;
  rig.a().click(id::kPrintPrint);
  EXPECT_EQ(rig.text(id::kPrintStatus), "Tisk byl zrušen.");
  rig.a().click(id::kPrintPreview);
  EXPECT_EQ(rig.text(id::kPrintStatus), "");
  EXPECT_EQ(rig.output.calls, (std::vector<std::string>{"print 3", "print 3", "preview 3"}));
  EXPECT_TRUE(rig.c().visible(id::kPrintWindow)) << "the window stays for the next output";
}

TEST(PrintWindow, SavingAPdfAsksForTheFileNamedAfterTheSetAndScope) {
  PrintRig rig;
  rig.dir.write("tervano/Tervano.ini", {"Angličtina: A1/B2", "3", "2", "1", "1", "4", "4"});
  rig.start("-EDITOR");
  rig.app->setWorksheetOutput(&rig.output);
  rig.host.clear();
  rig.open();
  rig.toggle(id::kPrintKeys);
  const std::string target = rig.dir.path("listy/sada");
  rig.host.pick(target);
  rig.a().click(id::kPrintPdf);
  ASSERT_EQ(rig.host.dialogs().size(), 1u);
  const ui::FileDialogOptions& o = rig.host.dialogs()[0];
  EXPECT_EQ(o.fileName, "Angličtina- A1-B2 - 1. ročník s řešením.pdf");
  ASSERT_EQ(o.filters.size(), 1u);
  EXPECT_EQ(o.filters[0].label, "PDF");
  EXPECT_EQ(o.filters[0].patterns, std::vector<std::string>{"*.pdf"});
  EXPECT_TRUE(o.overwritePrompt);
  EXPECT_EQ(o.defaultSuffix, "pdf");
  // A name typed without ".pdf" gets it.
  EXPECT_EQ(rig.output.calls, std::vector<std::string>{"pdf " + target + ".pdf 6"});
  EXPECT_EQ(rig.text(id::kPrintStatus), "Uloženo: " + target + ".pdf (6 stran).");

  // The next dialog opens in that folder; ".PDF" is a PDF already.
  rig.toggle(id::kPrintScopeSet);
  rig.host.pick(rig.dir.path("listy/Vše.PDF"));
  rig.a().click(id::kPrintPdf);
  EXPECT_EQ(rig.host.dialogs()[1].initialFolder, rig.dir.path("listy"));
  EXPECT_EQ(rig.host.dialogs()[1].fileName, "Angličtina- A1-B2 - celá sada s řešením.pdf");
  EXPECT_EQ(rig.output.calls.back(), "pdf " + rig.dir.path("listy/Vše.PDF") + " 14");

  // The dialog cancelled: nothing is written, the last report stays cleared.
  rig.a().click(id::kPrintPdf);
  EXPECT_EQ(rig.output.calls.size(), 2u);
  EXPECT_EQ(rig.text(id::kPrintStatus), "");
  // Cancelled while the pages were drawn.
  rig.output.answer = WorksheetOutput::Result::Cancelled;
  rig.host.pick(target + ".pdf");
  rig.a().click(id::kPrintPdf);
  EXPECT_EQ(rig.text(id::kPrintStatus), "Ukládání bylo zrušeno, soubor se nezměnil.");
}

TEST(PrintWindow, ANewCrosswordIsNamedSoAndAFailedOutputIsAnErrorBox) {
  PrintRig rig;
  rig.a().click(id::kDataNew);
  rig.type(id::kAnswerArea, "a b");
  rig.type(id::kMapArea, "x x");
  rig.open();
  EXPECT_EQ(rig.job().sheets[0].heading(), "1. ročník · Nová křížovka");
  rig.output.fail = true;
  rig.host.pick(rig.dir.path("nova.pdf"));
  rig.a().click(id::kPrintPdf);
  EXPECT_EQ(rig.host.dialogs().back().fileName, "Tervano - nová křížovka.pdf");
  EXPECT_EQ(rig.host.only({"error"}),
            std::vector<std::string>{"error: Soubor nelze uložit: disk je plný."});
  EXPECT_TRUE(rig.c().visible(id::kPrintWindow));

  // Without a view there is no printer: said, not crashed.
  rig.app->setWorksheetOutput(nullptr);
  rig.host.clear();
  rig.a().click(id::kPrintPrint);
  EXPECT_EQ(rig.host.only({"error"}).size(), 1u);
}

}  // namespace
}  // namespace tervano
