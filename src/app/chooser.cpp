#include "app/chooser.h"

#include "data/numbers.h"
#include "data/records.h"
#include "editor/crossword_editor.h"
#include "ui/ids/chooser.h"
#include "ui/ids/window.h"

namespace tervano::app {

using Kind = Event::Kind;

Chooser::Chooser(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder,
                 Session& session)
    : controls_(controls), host_(host), folder_(folder), session_(session) {
  routes_.click(id::kChooserStart, &Chooser::startGame)
      .click(id::kChooserConfirm, &Chooser::confirmClick)
      .click(id::kChooserBack, &Chooser::back)
      .click(id::kChooserDelete, &Chooser::removeClick)
      .on(Kind::Edit, id::kChooserGrade, &Chooser::chooseGrade)
      .on(Kind::Select, id::kChooserGrade, &Chooser::chooseGrade)
      .on(Kind::Edit, id::kChooserCrossword, &Chooser::chooseCrossword)
      .on(Kind::Select, id::kChooserCrossword, &Chooser::chooseCrossword);
}

void Chooser::declare(ui::Controls& c) {
  auto hidden = [](std::string text) {
    ui::Control control;
    control.text = std::move(text);
    control.visible = false;
    return control;
  };
  c.declare(id::kChooserWindow, hidden(""));
  c.declare(id::kChooserTitle).text = kChooserTitleGame;
  c.declare(id::kChooserGrade).text = kUnknown;
  c.declare(id::kChooserCrossword).text = kUnknown;
  c.declare(id::kChooserStart).text = "Potvrď nastavení";
  c.declare(id::kChooserConfirm, hidden("Potvrď"));
  c.declare(id::kChooserBack).text = "Zpět na hlavní nabídku";
  c.declare(id::kChooserDelete, hidden("Vymazat křížovku"));
}

bool Chooser::handle(const Event& e) {
  return routes_.run(*this, e);
}

const std::string& Chooser::grade() const {
  return controls_.text(id::kChooserGrade);
}
const std::string& Chooser::crossword() const {
  return controls_.text(id::kChooserCrossword);
}

void Chooser::fillGrades() {
  controls_.setLines(id::kChooserGrade, folder_.load(paths::kGradeList));
}

void Chooser::open(std::string_view title) {
  controls_.setText(id::kChooserTitle, std::string(title));
  controls_.setEnabled(id::kMainWindow, false);
  controls_.setVisible(id::kChooserWindow, true);
}

void Chooser::close() {
  controls_.setEnabled(id::kMainWindow, true);
  controls_.setVisible(id::kChooserWindow, false);
}

void Chooser::chooseGrade(const Event& e) {
  controls_.setText(id::kChooserGrade, e.text);
  gradeChanged();
}

void Chooser::chooseCrossword(const Event& e) {
  controls_.setText(id::kChooserCrossword, e.text);
}

void Chooser::gradeChanged() {
  const std::string& g = grade();
  if (g == "1" || g == "2" || g == "3" || g == "4")
    controls_.setLines(id::kChooserCrossword, folder_.load(crosswordListPath(g)));
  controls_.setText(id::kChooserCrossword, kUnknown);
}

bool Chooser::valid() {
  for (const std::string* t : {&grade(), &crossword()}) {
    const auto n = tryParseInt(*t);
    if (*t == kUnknown || !n || *n == -9) {
      ui::showInfo(host_, kChooserIncomplete);
      return false;
    }
  }
  return true;
}

bool Chooser::validForEditing() {
  if (!valid()) return false;
  if (editor::gradeNumber(grade()) && editor::crosswordNumber(crossword())) return true;
  ui::showInfo(host_, kChooserIncomplete);
  return false;
}

void Chooser::startGame() {
  if (!valid()) return;
  if (client_) client_->confirm(ChooserPurpose::StartGame, grade(), crossword());
}

void Chooser::confirmClick() {
  const std::string title = controls_.text(id::kChooserTitle);
  const bool editing = title == kChooserTitleLoad || title == kChooserTitleSave;
  if (!(editing ? validForEditing() : valid())) return;
  // Copies: the row's recount rewrites both boxes.
  const std::string g = grade();
  const std::string n = crossword();
  if (client_ && editing)
    client_->confirm(title == kChooserTitleLoad ? ChooserPurpose::Load : ChooserPurpose::Save, g,
                     n);
  recount();
}

void Chooser::back() {
  close();
  recount();
  if (client_) client_->back();
}

void Chooser::removeClick() {
  const std::string g = grade();
  const std::string n = crossword();
  if (client_) client_->remove(g, n);
}

void Chooser::recount() {
  for (int g = 1; g <= 4; ++g) {
    const std::string gradeText = std::to_string(g);
    controls_.setText(id::kChooserGrade, gradeText);
    controls_.setLines(id::kChooserCrossword, folder_.load(crosswordListPath(gradeText)));
    session_.zaklnast.set(desc::kGradeCountFirst + g - 1,
                          std::to_string(controls_.lines(id::kChooserCrossword).count()));
  }
  saveDescriptor(folder_, session_.zaklnast);
}

}  // namespace tervano::app
