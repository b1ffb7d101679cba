#include "editor/print_window.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "data/cp1250.h"
#include "data/errors.h"
#include "data/textfile.h"
#include "editor/crossword_editor.h"
#include "editor/ipuz.h"
#include "ui/ids/print.h"

namespace tervano::editor {

namespace fs = std::filesystem;

namespace {

constexpr const char* kNoOutput =
    "Tisk a ukládání PDF nejsou v tomto spuštění programu k dispozici.";
constexpr const char* kUnsavedNotice =
    "Otevřená křížovka má neuložené změny: v ročníku a v sadě se tiskne její uložená podoba. "
    "Se změnami ji vytiskne „Tato křížovka“.";

struct ScopeRadio {
  Scope scope;
  const char* id;
  const char* caption;
};
constexpr ScopeRadio kScopes[] = {
    {Scope::Crossword, id::kPrintScopeCrossword, "Tato křížovka"},
    {Scope::Grade, id::kPrintScopeGrade, "Celý ročník"},
    {Scope::Set, id::kPrintScopeSet, "Celá sada"},
};

constexpr const char* kOutputs[] = {id::kPrintPrint, id::kPrintPreview, id::kPrintPdf,
                                    id::kPrintIpuz};
constexpr const char* kNoTajenka = "z mapy nelze určit jediný sloupec tajenky";

ui::Control captioned(std::string text, bool visible = true) {
  ui::Control c;
  c.text = std::move(text);
  c.visible = visible;
  return c;
}

std::string pages(int n) {
  return czechCount(n, "strana", "strany", "stran");
}

bool endsWith(const std::string& path, const std::string& suffix) {
  const std::string name = fs::path(path).filename().string();
  return name.size() > suffix.size() &&
         cp1250::toLower(name.substr(name.size() - suffix.size())) == suffix;
}

std::string files(int n) {
  return czechCount(n, "soubor", "soubory", "souborů");
}

}  // namespace

PrintWindow::PrintWindow(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder,
                         const Session& session)
    : controls_(controls), host_(host), folder_(folder), session_(session) {}

void PrintWindow::declare(ui::Controls& c) {
  c.declare(id::kPrintWindow, captioned("Tisk a export křížovek", false));
  for (const auto& radio : kScopes)
    c.declare(radio.id, captioned(radio.caption));
  c.declare(id::kPrintKeys, captioned("S řešením"));
  c.declare(id::kPrintSummary);
  c.declare(id::kPrintWarnings, captioned("", false));
  c.declare(id::kPrintStatus);
  c.declare(id::kPrintPrint, captioned("Tisknout ..."));
  c.declare(id::kPrintPreview, captioned("Náhled ..."));
  c.declare(id::kPrintPdf, captioned("Uložit PDF ..."));
  c.declare(id::kPrintIpuz, captioned("Uložit iPuz ..."));
  c.declare(id::kPrintBack, captioned("Zpět"));
  c.setChecked(id::kPrintScopeGrade, true);
}

void PrintWindow::open(std::optional<OpenCrossword> current) {
  current_ = std::move(current);
  controls_.setEnabled(id::kPrintScopeCrossword, current_.has_value());
  Scope chosen = current_ ? Scope::Crossword : Scope::Grade;
  if (userChoice_ && (current_ || *userChoice_ != Scope::Crossword)) chosen = *userChoice_;
  controls_.setText(id::kPrintStatus, "");
  controls_.setVisible(id::kPrintWindow, true);
  select(chosen);
}

void PrintWindow::close() {
  controls_.setVisible(id::kPrintWindow, false);
  // The crossword's text is not kept once the window is gone.
  current_.reset();
  job_ = {};
}

Scope PrintWindow::scope() const {
  for (const auto& radio : kScopes)
    if (controls_.checked(radio.id)) return radio.scope;
  return Scope::Grade;
}

void PrintWindow::choose(Scope scope) {
  if (scope == Scope::Crossword && !current_) return;
  userChoice_ = scope;
  select(scope);
}

void PrintWindow::select(Scope scope) {
  for (const auto& radio : kScopes)
    controls_.setChecked(radio.id, radio.scope == scope);
  collect();
}

void PrintWindow::setKeys(bool keys) {
  controls_.setChecked(id::kPrintKeys, keys);
  collect();
}

int PrintWindow::grade() const {
  return current_ ? current_->grade : 1;
}

void PrintWindow::collect() {
  Collected found;
  const Scope chosen = scope();
  std::string what;
  if (chosen == Scope::Crossword && current_) {
    try {
      found.sheets.push_back(
          makeWorksheet(current_->files, current_->grade, current_->number, found.warnings));
    } catch (const UserError& e) {
      found.warnings.push_back(e.what());
    }
    what = found.sheets.empty() ? "" : found.sheets.front().name();
  } else if (chosen == Scope::Grade) {
    found = readGrade(folder_, grade());
    what = czechCount(static_cast<int>(found.sheets.size()), "křížovka", "křížovky", "křížovek") +
           " " + std::to_string(grade()) + ". ročníku";
  } else {
    found = readSet(folder_);
    what = czechCount(static_cast<int>(found.sheets.size()), "křížovka", "křížovky", "křížovek") +
           " všech čtyř ročníků";
  }
  if (chosen != Scope::Crossword && current_ && current_->unsaved && current_->number > 0 &&
      (chosen == Scope::Set || current_->grade == grade()))
    found.warnings.push_back(kUnsavedNotice);
  if (const std::string notice = tajenkaNotice(found.sheets); !notice.empty())
    found.warnings.push_back(notice);

  job_.title = setTitle(session_.zaklnast);
  job_.keys = controls_.checked(id::kPrintKeys);
  job_.sheets = std::move(found.sheets);
  const int count = job_.pageCount();

  std::string summary;
  if (count > 0) {
    summary = "Celkem " + pages(count) + ": " + what;
    if (!job_.keys)
      summary += ".";
    else
      summary += job_.sheets.size() == 1 ? " a strana s řešením." : ", každá se stranou řešení.";
  } else if (!found.warnings.empty()) {
    summary = "Není co tisknout, viz upozornění.";
  } else if (chosen == Scope::Set) {
    summary = "Není co tisknout: sada nemá žádnou křížovku.";
  } else {
    summary = "Není co tisknout: " + std::to_string(grade()) + ". ročník nemá žádnou křížovku.";
  }
  controls_.setText(id::kPrintSummary, summary);
  controls_.setLines(id::kPrintWarnings, TextList(found.warnings));
  controls_.setVisible(id::kPrintWarnings, !found.warnings.empty());
  for (const char* output : kOutputs)
    controls_.setEnabled(output, count > 0);
}

WorksheetOutput& PrintWindow::usable(WorksheetOutput* output) const {
  if (!output) throw UserError(kNoOutput);
  return *output;
}

void PrintWindow::print(WorksheetOutput* output) {
  WorksheetOutput& out = usable(output);
  if (job_.pageCount() == 0) return;
  controls_.setText(id::kPrintStatus, "");
  const bool done = out.print(job_) == WorksheetOutput::Result::Done;
  controls_.setText(id::kPrintStatus, done ? "Odesláno k tisku: " + pages(job_.pageCount()) + "."
                                           : "Tisk byl zrušen.");
}

void PrintWindow::preview(WorksheetOutput* output) {
  WorksheetOutput& out = usable(output);
  if (job_.pageCount() == 0) return;
  controls_.setText(id::kPrintStatus, "");
  out.preview(job_);
}

std::string PrintWindow::defaultFileName() const {
  std::string scopeName;
  switch (scope()) {
    case Scope::Crossword:
      scopeName = current_ && current_->number > 0
                      ? std::to_string(current_->grade) + ". ročník, křížovka " +
                            std::to_string(current_->number)
                      : "nová křížovka";
      break;
    case Scope::Grade:
      scopeName = std::to_string(grade()) + ". ročník";
      break;
    case Scope::Set:
      scopeName = "celá sada";
      break;
  }
  if (job_.keys) scopeName += " s řešením";
  return safeFileName(setTitle(session_.zaklnast) + " - " + scopeName) + ".pdf";
}

void PrintWindow::savePdf(WorksheetOutput* output) {
  WorksheetOutput& out = usable(output);
  if (job_.pageCount() == 0) return;
  controls_.setText(id::kPrintStatus, "");
  ui::FileDialogOptions o;
  o.title = "Uložit PDF";
  o.filters = {{"PDF", {"*.pdf"}}};
  o.initialFolder = startFolder();
  o.fileName = defaultFileName();
  o.overwritePrompt = true;
  o.defaultSuffix = "pdf";
  auto chosen = host_.saveFile(o);
  if (!chosen) return;
  std::string path = *chosen;
  if (!endsWith(path, ".pdf")) path += ".pdf";
  lastFolder_ = fs::path(path).parent_path().string();
  const bool done = out.writePdf(job_, path) == WorksheetOutput::Result::Done;
  controls_.setText(id::kPrintStatus,
                    done ? "Uloženo: " + path + " (" + pages(job_.pageCount()) + ")."
                         : "Ukládání bylo zrušeno, soubor se nezměnil.");
}

std::string PrintWindow::startFolder() const {
  if (!lastFolder_.empty()) return lastFolder_;
  const char* home = std::getenv("HOME");
  std::error_code ec;
  return home && fs::is_directory(home, ec) ? home : folder_.root().string();
}

void PrintWindow::saveIpuz() {
  if (job_.sheets.empty()) return;
  controls_.setText(id::kPrintStatus, "");
  if (scope() == Scope::Crossword)
    saveIpuzFile();
  else
    saveIpuzFolder();
}

void PrintWindow::saveIpuzFile() {
  const Worksheet& sheet = job_.sheets.front();
  ui::FileDialogOptions o;
  o.title = "Uložit iPuz";
  o.filters = {{"Křížovka iPuz", {"*.ipuz"}}};
  o.initialFolder = startFolder();
  o.fileName = sheet.number > 0 ? ipuzFileName(sheet.grade, sheet.number) : "nová křížovka.ipuz";
  o.overwritePrompt = true;
  o.defaultSuffix = "ipuz";
  const auto chosen = host_.saveFile(o);
  if (!chosen) return;
  std::string path = *chosen;
  if (!endsWith(path, ".ipuz")) path += ".ipuz";
  lastFolder_ = fs::path(path).parent_path().string();
  try {
    writeFileAtomic(path, writeIpuz(sheet, setTitle(session_.zaklnast)));
  } catch (const UserError&) {
    controls_.setText(id::kPrintStatus, "Soubor iPuz nebyl uložen.");
    throw;
  }
  std::string status = "Uloženo: " + path + ".";
  if (!sheet.grid.tajenkaColumn) status += " Bez tajenky: " + std::string(kNoTajenka) + ".";
  controls_.setText(id::kPrintStatus, status);
}

void PrintWindow::saveIpuzFolder() {
  ui::FileDialogOptions o;
  o.title = "Uložit iPuz do složky";
  o.initialFolder = startFolder();
  const auto chosen = host_.chooseFolder(o);
  if (!chosen) return;
  const fs::path folder = *chosen;
  lastFolder_ = folder.string();

  std::vector<std::string> existing;
  std::error_code ec;
  for (const auto& sheet : job_.sheets) {
    const std::string name = ipuzFileName(sheet.grade, sheet.number);
    if (fs::exists(fs::symlink_status(folder / name, ec))) existing.push_back(name);
  }
  if (!existing.empty()) {
    std::string which = existing.front();
    if (existing.size() > 1) which += " a další, celkem " + std::to_string(existing.size());
    const std::string question =
        "Ve složce „" + folder.string() + "“ už " +
        (existing.size() > 1 ? "jsou soubory " : "je soubor ") + which +
        (existing.size() > 1 ? ".\rChcete je nahradit?" : ".\rChcete ho nahradit?");
    if (!ui::confirm(host_, question)) {
      controls_.setText(id::kPrintStatus, "Nic nebylo uloženo.");
      return;
    }
  }

  int written = 0;
  int withoutTajenka = 0;
  std::vector<std::string> skipped;
  for (const auto& sheet : job_.sheets) {
    std::string json;
    try {
      json = writeIpuz(sheet, setTitle(session_.zaklnast));
    } catch (const UserError& e) {
      skipped.push_back(e.what());
      continue;
    }
    const std::string name = ipuzFileName(sheet.grade, sheet.number);
    try {
      writeFileAtomic(folder / name, json);
    } catch (const UserError&) {
      const auto total = job_.sheets.size();
      controls_.setText(id::kPrintStatus,
                        "Uloženo " + std::to_string(written) + " z " + std::to_string(total) +
                            (total == 1 ? " souboru, " : " souborů, ") + name + " se už neuložil.");
      throw;
    }
    ++written;
    if (!sheet.grid.tajenkaColumn) ++withoutTajenka;
  }
  std::string status = "Uloženo " + files(written) + " iPuz do „" + folder.string() + "“.";
  if (withoutTajenka > 0)
    status += " Bez tajenky (" + std::string(kNoTajenka) +
              "): " + czechCount(withoutTajenka, "křížovka", "křížovky", "křížovek") + ".";
  if (!skipped.empty()) {
    status += " Vynecháno: " +
              czechCount(static_cast<int>(skipped.size()), "křížovka", "křížovky", "křížovek") +
              ", viz upozornění.";
    TextList warnings = controls_.lines(id::kPrintWarnings);
    for (auto& s : skipped)
      if (std::find(warnings.lines().begin(), warnings.lines().end(), s) == warnings.lines().end())
        warnings.append(std::move(s));
    controls_.setLines(id::kPrintWarnings, std::move(warnings));
    controls_.setVisible(id::kPrintWarnings, true);
  }
  controls_.setText(id::kPrintStatus, status);
}

}  // namespace tervano::editor
