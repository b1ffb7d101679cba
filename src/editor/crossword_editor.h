#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "data/programfolder.h"
#include "data/session.h"
#include "editor/crossword_builder.h"
#include "ui/controls.h"
#include "ui/host.h"

namespace tervano::editor {

inline constexpr int kGrades = 4;

inline constexpr const char* kNoMoreCrosswords = "Na seznamu již nejsou žádné další křížovky.";
inline constexpr const char* kDeleteQuestion = "Opravdu si přejete smazat vybranou křížovku?";
inline constexpr const char* kDeleted = "Křížovka byla úspěšně odstraněna.";

// A grade the editor works in: exactly "1" to "4".
std::optional<int> gradeNumber(std::string_view text);
// A crossword number: decimal digits without a leading zero, from 1. "02" would name a folder
// that no list holds.
std::optional<int> crosswordNumber(std::string_view text);

struct Position {
  int grade = 0;
  int crossword = 0;
  bool operator==(const Position&) const = default;
};

// Where an arrow leads: a crossword to load, the end of the list (a message, then possibly a
// crossword to show), or nowhere.
struct ArrowStep {
  enum class Kind { Load, End, Stay };
  Kind kind = Kind::Stay;
  std::optional<Position> to;
};

// The crossword editor's work on the crossword in the play screen's controls: the answer area
// holds the solution, beside it the map and the legend; the scoring labels hold the values of
// "k.nk". Loading, saving and deleting crosswords of the active set, the arrows' way through
// the grades, and what the screen derives from the crossword.
class CrosswordEditor {
 public:
  CrosswordEditor(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder,
                  Session& session);

  // The editor's own controls over the play screen and the word-list window.
  static void declare(ui::Controls& controls);

  // The play screen as the editor uses it: play displays hidden, editing inputs shown.
  void setUp();
  // An empty crossword: grade 1, crossword 0, empty areas, all scores 0, no save point.
  void clear();
  // Nackr: the four files of the crossword into the controls; nothing changes when one of them
  // cannot be read.
  void load(const std::string& grade, const std::string& crossword);
  // Ulkr: the controls into the crossword's four files. A number past the grade's list adds the
  // next free crossword: its folder, its entry in the grade's list and the descriptor's count. All
  // of it changes in one transaction: a failure or a kill leaves the crossword all old or all new.
  void save(const std::string& grade, const std::string& crossword);
  // "Vymazat křížovku" after its checks and question: the grade's last crossword takes the
  // deleted one's number, with its scripts; the list and the descriptor's count shrink. All of it
  // changes in one transaction: a failure before its commit mark, or a kill then, changes nothing.
  // False when nothing was attempted (refused or cancelled).
  bool remove(const std::string& grade, const std::string& crossword);

  ArrowStep next() const;
  ArrowStep previous() const;
  // The number of crosswords in a grade's list.
  int countOf(int grade) const;

  // A scoring spin box changed: its label shows the value.
  void setScore(std::string_view spin, int value);
  // The pointer over a scoring caption, a spin box or the scoring group.
  void pointerOver(std::string_view control);
  // A text area's new content; false when it is what the area held already.
  bool setArea(std::string_view area, TextList lines);
  // The map, legend and solution of a built crossword into the areas.
  void fill(const CrosswordFiles& files);
  bool areasEmpty() const;
  // The crossword as the controls hold it, unsaved edits included, as its four files would be.
  CrosswordFiles files() const;

  // What only mirrors the crossword: the arrows (shown while the crossword is saved), the line
  // count, the points to win and lose, the position gauges. Never fails.
  void refresh(bool saved);

 private:
  bool exists(int grade, int crossword) const;

  ui::Controls& controls_;
  ui::Host& host_;
  const ProgramFolder& folder_;
  Session& session_;
};

}  // namespace tervano::editor
