#include "app/modes/editor_mode.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "app/application.h"
#include "app/chooser.h"
#include "app/screens.h"
#include "data/numbers.h"
#include "data/records.h"
#include "data/textfile.h"
#include "editor/ipuz.h"
#include "editor/word_list.h"
#include "editor/word_list_file.h"
#include "ui/ids.h"

namespace tervano::app {

namespace {

using Kind = Event::Kind;

constexpr const char* kScoreSpins[] = {id::kScoreSpinGood, id::kScoreSpinBad,
                                       id::kScoreSpinGoodTajenka, id::kScoreSpinBadTajenka};
constexpr const char* kScoreCaptions[] = {id::kScoreGoodCaption, id::kScoreBadCaption,
                                          id::kScoreGoodTajenkaCaption,
                                          id::kScoreBadTajenkaCaption};

constexpr const char* kReplaceListQuestion =
    "Načtená slova nahradí seznam slov v okně.\rChcete pokračovat?";

constexpr const char* kReplaceQuestion =
    "Sestavená křížovka nahradí neuložené řešení, mapu a legendu.\rChcete pokračovat?";

}  // namespace

EditorMode::EditorMode(Application& app)
    : EditingMode(app),
      editor_(app.controls(), app.host(), app.folder(), app.session()),
      print_(app.controls(), app.host(), app.folder(), app.session()) {
  routes_.on(Kind::Select, id::kLanguageBox, &EditorMode::chooseLanguage)
      .on(Kind::Edit, id::kLanguageBox, &EditorMode::editLanguageBox)
      .on(Kind::Edit, id::kAnswerArea, &EditorMode::editArea)
      .on(Kind::Edit, id::kMapArea, &EditorMode::editArea)
      .on(Kind::Edit, id::kLegendArea, &EditorMode::editArea)
      .on(Kind::Edit, id::kGradeSpin, &EditorMode::editGrade)
      .on(Kind::Toggle, id::kSavePoint, &EditorMode::toggleSavePoint)
      .click(id::kArrowNext, &EditorMode::nextCrossword)
      .click(id::kArrowPrev, &EditorMode::previousCrossword)
      .click(id::kDataFromWords, &EditorMode::openWordList)
      .on(Kind::Edit, id::kWordListTajenka, &EditorMode::editWordListTajenka)
      .on(Kind::Edit, id::kWordListPairs, &EditorMode::editWordListPairs)
      .click(id::kWordListBuild, &EditorMode::buildFromWordList)
      .click(id::kWordListLoad, &EditorMode::loadWordListFile)
      .click(id::kWordListBack, &EditorMode::closeWordList)
      .click(id::kDataPrint, &EditorMode::openPrint)
      .on(Kind::Toggle, id::kPrintScopeCrossword, &EditorMode::choosePrintScope)
      .on(Kind::Toggle, id::kPrintScopeGrade, &EditorMode::choosePrintScope)
      .on(Kind::Toggle, id::kPrintScopeSet, &EditorMode::choosePrintScope)
      .on(Kind::Toggle, id::kPrintKeys, &EditorMode::togglePrintKeys)
      .click(id::kPrintPrint, &EditorMode::print)
      .click(id::kPrintPreview, &EditorMode::preview)
      .click(id::kPrintPdf, &EditorMode::savePdf)
      .click(id::kPrintIpuz, &EditorMode::saveIpuz)
      .click(id::kPrintBack, &EditorMode::closePrint)
      .click(id::kDataIpuz, &EditorMode::importIpuz);
  for (auto spin : kScoreSpins) {
    routes_.on(Kind::Edit, spin, &EditorMode::editScore);
    hovers_.on(Kind::Hover, spin, &EditorMode::pointerOverScoring);
  }
  for (auto caption : kScoreCaptions)
    hovers_.on(Kind::Hover, caption, &EditorMode::pointerOverScoring);
  hovers_.on(Kind::Hover, id::kScoringGroup, &EditorMode::pointerOverScoring)
      .on(Kind::Hover, id::kGradeCaption, &EditorMode::openGradeSpin)
      .on(Kind::Hover, id::kLanguageCaption, &EditorMode::openLanguageBox)
      .on(Kind::Hover, id::kBackground, &EditorMode::closeBoxes);
}

void EditorMode::declare(ui::Controls& c) {
  editor::CrosswordEditor::declare(c);
  declareDataPanel(c, "Nová ...");
  c.declare(id::kDataFromWords, caption("Sestavit ze slov ..."));
  c.declare(id::kDataPrint, caption("Tisk a export ..."));
  c.declare(id::kDataIpuz, caption("Načíst iPuz ..."));
  editor::PrintWindow::declare(c);
}

bool EditorMode::handle(const Event& e) {
  hovers_.run(*this, e);
  return routes_.run(*this, e) || handleDataPanel(e);
}

void EditorMode::start() {
  ui::Controls& c = app_.controls();
  Session& session = app_.session();
  c.setEnabled(id::kToolEditor, false);
  app_.stopGameTimers();
  app_.keepOnlyMenuAndQuitShortcuts();
  // SETEDITOR starts the status timer, which only mirrors state: the status is refreshed after
  // every command (refresh) instead of on its ticks.
  c.startTimer(id::kTimerEditorStatus);
  editorLook("Editor křížovek 3.00", "Křížovka ...");
  session.zaklnast = app_.folder().load(paths::kDescriptor);
  c.setLines(id::kLanguageBox, app_.folder().load(paths::kLanguages));
  c.setText(id::kLanguageBox, session.zaklnast.get(desc::kLanguage));
  c.setText(id::kLanguage, session.zaklnast.get(desc::kLanguage));
  editor_.setUp();
  app_.setModeLook("Editor křížovek", "ikony\\editor.ico");
}

void EditorMode::chooserCreated() {
  ui::Controls& c = app_.controls();
  c.setText(id::kChooserTitle, kChooserTitleLoad);
  c.setVisible(id::kChooserConfirm, true);
  c.setVisible(id::kChooserDelete, true);
  c.setVisible(id::kChooserStart, true);
  app_.chooser().fillGrades();
}

void EditorMode::refresh() {
  EditingMode::refresh();
  editor_.refresh(status() == kStatusSaved);
}

void EditorMode::newData() {
  editor_.clear();
}

void EditorMode::loadChosen(const std::string& grade, const std::string& crossword) {
  editor_.load(grade, crossword);
  setStatus(kStatusSaved);
}

void EditorMode::saveChosen(const std::string& grade, const std::string& crossword) {
  editor_.save(grade, crossword);
  setStatus(kStatusNone);
}

void EditorMode::remove(const std::string& grade, const std::string& crossword) {
  if (editor_.remove(grade, crossword)) app_.chooser().recount();
}

void EditorMode::openGradeSpin() {
  app_.controls().setVisible(id::kGradeSpin, true);
}
void EditorMode::openLanguageBox() {
  app_.controls().setVisible(id::kLanguageBox, true);
}
void EditorMode::closeBoxes() {
  app_.controls().setVisible(id::kLanguageBox, false);
  app_.controls().setVisible(id::kGradeSpin, false);
}
void EditorMode::pointerOverScoring(const Event& e) {
  editor_.pointerOver(e.id);
}

void EditorMode::chooseLanguage(const Event& e) {
  // The language belongs to the set and is stored at once; it makes an open crossword unsaved.
  ui::Controls& c = app_.controls();
  Session& session = app_.session();
  if (status() != kStatusNone) setStatus(kStatusUnsaved);
  c.setText(id::kLanguageBox, e.text);
  c.setText(id::kLanguage, e.text);
  session.zaklnast.set(desc::kLanguage, e.text);
  saveDescriptor(app_.folder(), session.zaklnast);
}

void EditorMode::editLanguageBox(const Event& e) {
  // Only a language picked from the list is the set's language; a typed text is just the box's.
  app_.controls().setText(id::kLanguageBox, e.text);
}

void EditorMode::editArea(const Event& e) {
  if (editor_.setArea(e.id, TextList::fromText(e.text))) markUnsaved();
}

void EditorMode::editScore(const Event& e) {
  editor_.setScore(e.id, e.value);
  markUnsaved();
}

void EditorMode::editGrade(const Event& e) {
  app_.controls().setValue(id::kGradeSpin, e.value);
  app_.controls().setText(id::kGrade, toText(e.value));
  markUnsaved();
}

void EditorMode::toggleSavePoint(const Event& e) {
  app_.controls().setChecked(id::kSavePoint, e.value != 0);
  markUnsaved();
}

void EditorMode::nextCrossword() {
  follow(editor_.next());
}

void EditorMode::previousCrossword() {
  follow(editor_.previous());
}

// An arrow fills the chooser's boxes and confirms them as a load, as if the user had.
void EditorMode::follow(const editor::ArrowStep& step) {
  using Kind = editor::ArrowStep::Kind;
  if (step.kind == Kind::Stay) return;
  if (step.kind == Kind::End) ui::showInfo(app_.host(), editor::kNoMoreCrosswords);
  if (!step.to) return;
  ui::Controls& c = app_.controls();
  const std::string grade = toText(step.to->grade);
  app_.route({Event::Kind::Select, id::kChooserGrade, grade});
  c.setText(id::kChooserCrossword, toText(step.to->crossword));
  c.setText(id::kChooserTitle, kChooserTitleLoad);
  app_.route({Event::Kind::Click, id::kChooserConfirm});
}

void EditorMode::openWordList() {
  app_.controls().setVisible(id::kPanelEditorData, false);
  app_.controls().setEnabled(id::kMainWindow, false);
  app_.controls().setVisible(id::kWordListWindow, true);
}

void EditorMode::editWordListTajenka(const Event& e) {
  app_.controls().setText(id::kWordListTajenka, e.text);
}

void EditorMode::editWordListPairs(const Event& e) {
  app_.controls().setLines(id::kWordListPairs, TextList::fromText(e.text));
}

void EditorMode::buildFromWordList() {
  ui::Controls& c = app_.controls();
  const editor::CrosswordFiles files =
      editor::buildFromWordList(c.text(id::kWordListTajenka), c.lines(id::kWordListPairs));
  if (status() == kStatusUnsaved && !editor_.areasEmpty() &&
      !ui::confirm(app_.host(), kReplaceQuestion))
    return;
  // With nothing open the built crossword is a new one, with the scores of a new one.
  if (status() == kStatusNone) {
    editor_.clear();
    showOpenColumn();
  }
  editor_.fill(files);
  setStatus(kStatusUnsaved);
  closeWordList();
  returnToEditing();
}

void EditorMode::loadWordListFile() {
  ui::Host& host = app_.host();
  ui::Controls& c = app_.controls();
  if (vocabularyFolder_.empty()) {
    const char* home = std::getenv("HOME");
    vocabularyFolder_ = home && *home ? home : app_.folder().root().string();
  }
  const auto file = host.openFile(editor::vocabularyDialog(vocabularyFolder_));
  if (!file) return;
  vocabularyFolder_ = std::filesystem::path(*file).parent_path().string();
  const auto loaded = editor::loadWordListFile(*file, host);
  if (!loaded) return;
  const TextList& current = c.lines(id::kWordListPairs);
  const bool filled = std::any_of(
      current.lines().begin(), current.lines().end(),
      [](const std::string& l) { return l.find_first_not_of(" \t") != std::string::npos; });
  if (filled && !ui::confirm(host, kReplaceListQuestion)) return;
  c.setLines(id::kWordListPairs, loaded->lines);
  if (loaded->leftOut)
    ui::showWarning(host, loaded->report);
  else if (!loaded->report.empty())
    ui::showInfo(host, loaded->report);
}

void EditorMode::closeWordList() {
  app_.controls().setVisible(id::kWordListWindow, false);
  app_.controls().setEnabled(id::kMainWindow, true);
}

void EditorMode::openPrint() {
  std::optional<editor::OpenCrossword> open;
  if (status() != kStatusNone) {
    const ui::Controls& c = app_.controls();
    open = editor::OpenCrossword{
        editor_.files(), editor::gradeNumber(c.text(id::kGrade)).value_or(1),
        editor::crosswordNumber(c.text(id::kCrossword)).value_or(0), status() == kStatusUnsaved};
  }
  app_.controls().setVisible(id::kPanelEditorData, false);
  app_.controls().setEnabled(id::kMainWindow, false);
  print_.open(std::move(open));
}

void EditorMode::choosePrintScope(const Event& e) {
  // A radio button reports only its being chosen.
  if (e.value == 0) return;
  if (e.id == id::kPrintScopeCrossword) print_.choose(editor::Scope::Crossword);
  if (e.id == id::kPrintScopeGrade) print_.choose(editor::Scope::Grade);
  if (e.id == id::kPrintScopeSet) print_.choose(editor::Scope::Set);
}

void EditorMode::togglePrintKeys(const Event& e) {
  print_.setKeys(e.value != 0);
}

void EditorMode::print() {
  print_.print(app_.worksheetOutput());
}

void EditorMode::preview() {
  print_.preview(app_.worksheetOutput());
}

void EditorMode::savePdf() {
  print_.savePdf(app_.worksheetOutput());
}

void EditorMode::saveIpuz() {
  print_.saveIpuz();
}

void EditorMode::closePrint() {
  print_.close();
  app_.controls().setEnabled(id::kMainWindow, true);
}

// "Načíst iPuz ...": like "Načíst", unsaved data are offered to be saved first.
void EditorMode::importIpuz() {
  askToSaveThen([this] { chooseIpuz(); });
}

void EditorMode::chooseIpuz() {
  namespace fs = std::filesystem;
  ui::FileDialogOptions o;
  o.title = "Načíst iPuz";
  o.filters = {{"Křížovka iPuz", {"*.ipuz"}}, {"Všechny soubory", {"*"}}};
  o.mustExist = true;
  o.initialFolder = ipuzFolder_;
  if (o.initialFolder.empty()) {
    const char* home = std::getenv("HOME");
    std::error_code ec;
    o.initialFolder = home && fs::is_directory(home, ec) ? home : app_.folder().root().string();
  }
  const auto chosen = app_.host().openFile(o);
  if (!chosen) return;
  ipuzFolder_ = fs::path(*chosen).parent_path().string();
  const std::string name = fs::path(*chosen).filename().string();

  // The whole file is read and checked before the editor changes.
  editor::IpuzImport imported;
  try {
    imported = editor::readIpuz(readFileBytes(*chosen, editor::kMaxIpuzBytes));
  } catch (const UserError& e) {
    throw UserError("Křížovku ze souboru „" + name + "“ nelze načíst.\r" + e.what() +
                    "\rEditor zůstal beze změny.");
  }
  // A new crossword: grade 1, no number, scores 0, saved through "Uložit" where the user says.
  if (status() == kStatusNone) showOpenColumn();
  editor_.clear();
  editor_.fill(imported.files);
  setStatus(kStatusUnsaved);
  returnToEditing();

  std::vector<std::string> notes;
  if (imported.droppedClues > 0)
    notes.push_back(
        "Nápovědy svisle se nepřevádějí: křížovka má jen slova vodorovně a tajenku. "
        "Vynecháno nápověd: " +
        std::to_string(imported.droppedClues) + ".");
  int widest = 0;
  for (const auto& line : imported.files.map.lines())
    widest = std::max(widest, static_cast<int>(line.size()));
  if (widest > editor::kMaxLineWidth)
    notes.push_back("Řádky jsou širší než " + std::to_string(editor::kMaxCells) +
                    " políček: v ploše pro odpovědi se budou posouvat.");
  if (notes.empty()) return;
  std::string text = "Křížovka ze souboru „" + name + "“ je v editoru.";
  for (const auto& note : notes)
    text += "\r" + note;
  ui::showInfo(app_.host(), text);
}

}  // namespace tervano::app
