#include "editor/crossword_editor.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <limits>

#include "data/concat.h"
#include "data/crossword.h"
#include "data/errors.h"
#include "data/events.h"
#include "data/file_ops.h"
#include "data/numbers.h"
#include "data/records.h"
#include "data/texts.h"
#include "data/transaction.h"
#include "ui/ids/editor.h"
#include "ui/ids/play.h"
#include "ui/recovery.h"

namespace tervano::editor {

namespace fs = std::filesystem;

namespace {

// One scoring value: its caption, the label showing it, its spin box and its line of "k.nk".
struct ScoreRow {
  const char* caption;
  const char* label;
  const char* spin;
  int konfLine;
};

constexpr std::array<ScoreRow, 4> kScores = {{
    {id::kScoreGoodCaption, id::kScoreGood, id::kScoreSpinGood, konf::kPointsPerGood},
    {id::kScoreBadCaption, id::kScoreBad, id::kScoreSpinBad, konf::kPointsPerBad},
    {id::kScoreGoodTajenkaCaption, id::kScoreGoodTajenka, id::kScoreSpinGoodTajenka,
     konf::kGoodTajenka},
    {id::kScoreBadTajenkaCaption, id::kScoreBadTajenka, id::kScoreSpinBadTajenka,
     konf::kBadTajenka},
}};

constexpr const char* kProgressCaption = " Pozice v hledání: ";

ui::Control captioned(std::string text, bool visible = true) {
  ui::Control c;
  c.text = std::move(text);
  c.visible = visible;
  return c;
}

ui::Control spinBox(int minimum, int maximum) {
  ui::Control c = captioned("", false);
  c.minimum = minimum;
  c.maximum = maximum;
  c.value = minimum;
  return c;
}

// points per word x words + points of the tajenka, or nothing while a value is not a number or
// the total does not fit.
std::string total(const std::string& perWord, const std::string& tajenka, int words) {
  const auto a = tryParseInt(perWord);
  const auto b = tryParseInt(tajenka);
  if (!a || !b) return "";
  const std::int64_t sum = std::int64_t{*a} * words + *b;
  if (sum < std::numeric_limits<std::int32_t>::min() ||
      sum > std::numeric_limits<std::int32_t>::max())
    return "";
  return toText(sum);
}

constexpr const char* kNotSaved = "Křížovka nebyla uložena, žádný soubor se nezměnil.";
constexpr const char* kNotDeleted = "Křížovka nebyla smazána, žádný soubor se nezměnil.";

// A folder whose entries the deletion changes: read-only, it is refused before anything changes
// (renaming or removing in it would fail half-way, and an entry set aside in it could never go).
void refuseReadOnlyFolder(const fs::path& folder) {
  struct stat st {};
  if (::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_IWUSR) == 0)
    throw FileError(concat({"Složka „", folder.string(), "“ je jen pro čtení."}));
}

// Every folder of a tree that is removed after the commit; links are not entered.
void refuseReadOnlyTree(const fs::path& top) {
  refuseReadOnlyFolder(top);
  std::error_code ec;
  if (!fs::is_directory(fs::symlink_status(top, ec))) return;
  for (fs::recursive_directory_iterator it(top, ec), end; !ec && it != end; it.increment(ec))
    if (it->symlink_status(ec).type() == fs::file_type::directory) refuseReadOnlyFolder(it->path());
}

}  // namespace

std::optional<int> gradeNumber(std::string_view text) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kGrades) return std::nullopt;
  return text[0] - '0';
}

std::optional<int> crosswordNumber(std::string_view text) {
  if (!isDigits(text) || text[0] == '0') return std::nullopt;
  const auto n = tryParseInt(text);
  if (!n || *n < 1) return std::nullopt;
  return *n;
}

CrosswordEditor::CrosswordEditor(ui::Controls& controls, ui::Host& host,
                                 const ProgramFolder& folder, Session& session)
    : controls_(controls), host_(host), folder_(folder), session_(session) {}

void CrosswordEditor::declare(ui::Controls& c) {
  ui::Control grade = spinBox(1, kGrades);
  c.declare(id::kGradeSpin, grade);
  c.declare(id::kLanguageBox, captioned("", false));
  for (const auto& row : kScores)
    c.declare(row.spin, spinBox(0, kMaxPoints));
  c.declare(id::kSavePoint, captioned("Bod uložení"));
  c.declare(id::kArrowPrev, captioned("Předchozí křížovka"));
  c.declare(id::kArrowNext, captioned("Další křížovka"));

  c.declare(id::kWordListWindow, captioned("Sestavit křížovku ze slov", false));
  c.declare(id::kWordListTajenka);
  c.declare(id::kWordListPairs);
  c.declare(id::kWordListLoad, captioned("Načíst ze souboru ..."));
  c.declare(id::kWordListBuild, captioned("Sestavit"));
  c.declare(id::kWordListBack, captioned("Zpět"));
}

void CrosswordEditor::setUp() {
  for (auto shown : {id::kPoints, id::kGrade, id::kCrossword, id::kGood, id::kBad,
                     id::kGradeCaption, id::kKontrola})
    controls_.setVisible(shown, false);
  for (const auto& row : kScores)
    controls_.setCursor(row.caption, ui::Cursor::Hand);
  controls_.setCursor(id::kLanguageCaption, ui::Cursor::Hand);
  controls_.setVisible(id::kLanguageCaption, true);
  controls_.setVisible(id::kLanguage, true);
  controls_.setText(id::kProgressGroup, kProgressCaption);
  controls_.setVisible(id::kProgressGroup, true);
}

void CrosswordEditor::clear() {
  controls_.setValue(id::kGradeSpin, 1);
  controls_.setText(id::kGrade, "1");
  controls_.setText(id::kCrossword, "0");
  for (auto area : {id::kAnswerArea, id::kMapArea, id::kLegendArea})
    controls_.setLines(area, {});
  for (const auto& row : kScores) {
    controls_.setValue(row.spin, 0);
    controls_.setText(row.label, "0");
  }
  controls_.setChecked(id::kSavePoint, false);
}

void CrosswordEditor::load(const std::string& grade, const std::string& crossword) {
  const auto folder = crosswordFolder(grade, crossword);
  if (!folder) throw UserError(text::kPositionIncomplete);
  // All four files are read before the screen changes: a missing one leaves the crossword on
  // screen whole, never half replaced by another that a save could then mix into either.
  TextList k = folder_.load(*folder + "k.nk");
  TextList solution = folder_.load(*folder + "k.vk");
  TextList legend = folder_.load(*folder + "k.lk");
  TextList map = folder_.load(*folder + "k.mk");

  controls_.setText(id::kGrade, grade);
  controls_.setText(id::kCrossword, crossword);
  controls_.setValue(id::kGradeSpin, gradeNumber(grade).value_or(1));
  session_.konftaj = k;
  for (const auto& row : kScores) {
    const std::string& value = k.get(row.konfLine);
    controls_.setText(row.label, value);
    // The label keeps the text as stored; the spin box shows the nearest value it can hold.
    controls_.setValue(row.spin, std::clamp(tryParseInt(value).value_or(0), 0, kMaxPoints));
  }
  controls_.setText(id::kScoreWordCount, k.get(konf::kWordCount));
  controls_.setChecked(id::kSavePoint, k.get(konf::kSavePoint) == kYes);

  controls_.setLines(id::kAnswerArea, std::move(solution));
  controls_.setLines(id::kLegendArea, std::move(legend));
  controls_.setLines(id::kMapArea, std::move(map));
}

CrosswordFiles CrosswordEditor::files() const {
  CrosswordFiles f;
  f.map = controls_.lines(id::kMapArea);
  f.legend = controls_.lines(id::kLegendArea);
  f.solution = controls_.lines(id::kAnswerArea);
  for (const auto& row : kScores)
    f.konf.append(controls_.text(row.label));
  f.konf.append(yesNo(controls_.checked(id::kSavePoint)));
  f.konf.append(toText(f.solution.count()));
  return f;
}

void CrosswordEditor::save(const std::string& grade, const std::string& crossword) {
  const auto g = gradeNumber(grade);
  const auto n = crosswordNumber(crossword);
  if (!g || !n) throw UserError(text::kPositionIncomplete);
  // A change that another instance left half done is ended before this one reads the list.
  ui::recoverBeforeCommand(host_, folder_);
  const std::string listPath = crosswordListPath(grade);
  TextList list = folder_.load(listPath);
  const int count = list.count();
  const bool added = *n > count;
  const std::string number = toText(added ? count + 1 : *n);

  const CrosswordFiles f = files();
  // The four files change together, and a new crossword appears with its folder, its entry in
  // the grade's list and the descriptor's count at once, or nothing changes at all: also when the
  // program is killed half-way or a file cannot be written.
  const std::string folder = *crosswordFolder(grade, number);
  TextList descriptor = session_.zaklnast;
  try {
    Transaction tx(folder_, concat({"Uložení křížovky ", grade, "/", number}));
    const fs::path place = folder_.resolve(folder);
    if (fileops::entryId(place) == 0) tx.newFolder(place);
    tx.save(folder + "k.lk", f.legend);
    tx.save(folder + "k.mk", f.map);
    tx.save(folder + "k.vk", f.solution);
    tx.save(folder + "k.nk", f.konf);
    if (added) {
      list.append(number);
      tx.save(listPath, list);
      const int line = desc::kGradeCountFirst + *g - 1;
      if (descriptor.count() > line) {
        descriptor.set(line, toText(list.count()));
        tx.save(paths::kDescriptor, descriptor);
      }
    }
    tx.commit();
  } catch (const TransactionError& e) {
    throw FileError(concat({e.what(), "\r", e.undone() ? kNotSaved : "Křížovka nebyla uložena."}));
  } catch (const FileError& e) {
    throw FileError(concat({e.what(), "\r", kNotSaved}));
  }
  session_.zaklnast = std::move(descriptor);
}

bool CrosswordEditor::remove(const std::string& grade, const std::string& crossword) {
  const auto g = gradeNumber(grade);
  const auto n = crosswordNumber(crossword);
  if (!g || !n) {
    ui::showInfo(host_, text::kPositionIncomplete);
    return false;
  }
  // A change that another instance left half done is ended before this one reads the list.
  ui::recoverBeforeCommand(host_, folder_);
  const std::string listPath = crosswordListPath(grade);
  TextList list = folder_.load(listPath);
  const int count = list.count();
  std::error_code ec;
  const fs::path victim = folder_.resolve(*crosswordFolder(grade, crossword));
  if (*n > count || !fs::exists(fs::symlink_status(victim, ec))) {
    ui::showInfo(host_, text::kPositionIncomplete);
    return false;
  }
  if (host_.message(ui::MessageKind::Warning, kDeleteQuestion, ui::Buttons::OkCancel) !=
      ui::Answer::Ok)
    return false;
  for (auto area : {id::kLegendArea, id::kMapArea, id::kAnswerArea})
    controls_.setLines(area, {});

  const std::string lastNumber = toText(count);
  const fs::path last = folder_.resolve(*crosswordFolder(grade, lastNumber));
  const bool moves = *n < count;
  // The last crossword cannot take the number: nothing is deleted.
  if (moves && fileops::entryId(last) == 0) {
    ui::showWarning(host_, text::kFailed);
    return true;
  }
  list.removeAt(count - 1);
  TextList descriptor = session_.zaklnast;
  // The deleted folder, the move of the last one into its place, the shorter list, the
  // descriptor's count and the scripts change together, or nothing does: an error undoes what
  // was done, and a kill is undone by the next start until the commit mark, finished after it.
  try {
    Transaction tx(folder_, concat({"Smazání křížovky ", grade, "/", crossword}));
    // Everything that is staged is checked before the first step: a read-only list or folder, a
    // full disk refuse the deletion while nothing has changed.
    refuseReadOnlyFolder(victim.parent_path());
    refuseReadOnlyTree(victim);
    tx.save(listPath, list);
    const int line = desc::kGradeCountFirst + *g - 1;
    if (descriptor.count() > line && descriptor.get(line) != toText(list.count())) {
      descriptor.set(line, toText(list.count()));
      tx.save(paths::kDescriptor, descriptor);
    }
    tx.moveAside(victim);
    if (moves) tx.move(last, victim);
    // The crossword's scripts go with it; the moved crossword's scripts follow it.
    for (auto event : {event::kCrosswordStart, event::kCrosswordEnd}) {
      const fs::path own = folder_.resolve(*crosswordScriptPath(grade, crossword, event));
      const fs::path moved = folder_.resolve(*crosswordScriptPath(grade, lastNumber, event));
      const bool ownThere = fileops::entryId(own) != 0;
      const bool movedThere = moves && fileops::entryId(moved) != 0;
      if (ownThere || movedThere) refuseReadOnlyFolder(own.parent_path());
      if (ownThere) tx.moveAside(own);
      if (movedThere) tx.move(moved, own);
    }
    tx.commit();
  } catch (const TransactionError& e) {
    throw FileError(
        concat({e.what(), "\r", e.undone() ? kNotDeleted : "Křížovka nebyla smazána."}));
  } catch (const FileError& e) {
    throw FileError(concat({e.what(), "\r", kNotDeleted}));
  }
  session_.zaklnast = std::move(descriptor);
  ui::showInfo(host_, kDeleted);
  return true;
}

bool CrosswordEditor::exists(int grade, int crossword) const {
  const auto folder = crosswordFolder(toText(grade), toText(crossword));
  return folder && folder_.isFile(*folder + "k.nk");
}

int CrosswordEditor::countOf(int grade) const {
  return folder_.load(crosswordListPath(toText(grade))).count();
}

ArrowStep CrosswordEditor::next() const {
  const auto g = tryParseInt(controls_.text(id::kGrade));
  const auto n = tryParseInt(controls_.text(id::kCrossword));
  if (!g || !n || *n == std::numeric_limits<std::int32_t>::max()) return {};
  int grade = *g;
  int crossword = *n + 1;
  // Through the following grades, each from its first crossword; grade 5 holds no crosswords.
  while (!exists(grade, crossword)) {
    if (grade > kGrades) {
      const int last = countOf(kGrades);
      ArrowStep end{ArrowStep::Kind::End, std::nullopt};
      if (last > 0) end.to = Position{kGrades, last};
      return end;
    }
    ++grade;
    crossword = 1;
  }
  return {ArrowStep::Kind::Load, Position{grade, crossword}};
}

ArrowStep CrosswordEditor::previous() const {
  const auto g = tryParseInt(controls_.text(id::kGrade));
  const auto n = tryParseInt(controls_.text(id::kCrossword));
  if (!g || !n || *n == std::numeric_limits<std::int32_t>::min()) return {};
  int grade = *g;
  int crossword = *n - 1;
  while (!exists(grade, crossword)) {
    // A gap in the numbering: the arrow does nothing.
    if (crossword != 0) return {};
    if (grade <= 1) return {ArrowStep::Kind::End, std::nullopt};
    // The last crossword of the grade before (grades without crosswords are passed over).
    --grade;
    crossword = countOf(grade);
  }
  return {ArrowStep::Kind::Load, Position{grade, crossword}};
}

void CrosswordEditor::setScore(std::string_view spin, int value) {
  for (const auto& row : kScores)
    if (spin == row.spin) {
      controls_.setValue(row.spin, value);
      controls_.setText(row.label, toText(value));
    }
}

void CrosswordEditor::pointerOver(std::string_view control) {
  for (const auto& own : kScores) {
    const bool caption = control == own.caption;
    if (!caption && control != own.spin) continue;
    for (const auto& row : kScores)
      if (row.spin != own.spin) controls_.setVisible(row.spin, false);
    if (caption) controls_.setVisible(own.spin, true);
    return;
  }
  if (control == id::kScoringGroup)
    for (const auto& row : kScores)
      controls_.setVisible(row.spin, false);
}

bool CrosswordEditor::setArea(std::string_view area, TextList lines) {
  if (controls_.lines(area) == lines) return false;
  controls_.setLines(area, std::move(lines));
  return true;
}

void CrosswordEditor::fill(const CrosswordFiles& files) {
  controls_.setLines(id::kAnswerArea, files.solution);
  controls_.setLines(id::kMapArea, files.map);
  controls_.setLines(id::kLegendArea, files.legend);
}

bool CrosswordEditor::areasEmpty() const {
  for (auto area : {id::kAnswerArea, id::kMapArea, id::kLegendArea})
    for (const auto& line : controls_.lines(area).lines())
      if (!line.empty()) return false;
  return true;
}

void CrosswordEditor::refresh(bool saved) {
  controls_.setVisible(id::kArrowPrev, saved);
  controls_.setVisible(id::kArrowNext, saved);
  const int words = controls_.lines(id::kAnswerArea).count();
  controls_.setText(id::kScoreWordCount, toText(words));
  controls_.setText(id::kWordCountBig, toText(words));
  controls_.setText(id::kCanGain, total(controls_.text(id::kScoreGood),
                                        controls_.text(id::kScoreGoodTajenka), words));
  controls_.setText(id::kCanLose, total(controls_.text(id::kScoreBad),
                                        controls_.text(id::kScoreBadTajenka), words));

  // The gauges show the editor's position; a descriptor line that is not a number leaves them.
  const TextList& d = session_.zaklnast;
  const auto grades = tryParseInt(d.get(desc::kGrades));
  const auto grade = tryParseInt(controls_.text(id::kGrade));
  const auto crossword = tryParseInt(controls_.text(id::kCrossword));
  if (grades && grade) {
    controls_.setRange(id::kGaugeGrades, 0, *grades);
    controls_.setValue(id::kGaugeGrades, *grade);
  }
  if (grade && crossword && *grade >= 1 && *grade <= kGrades) {
    if (const auto count = tryParseInt(d.get(desc::kGradeCountFirst + *grade - 1))) {
      controls_.setRange(id::kGaugeCrosswords, 0, *count);
      controls_.setValue(id::kGaugeCrosswords, *crossword);
    }
  }
}

}  // namespace tervano::editor
