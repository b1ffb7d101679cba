#pragma once

#include <string>
#include <string_view>

#include "app/event.h"
#include "app/routes.h"
#include "data/programfolder.h"
#include "data/session.h"
#include "data/texts.h"
#include "ui/controls.h"
#include "ui/host.h"

namespace tervano::app {

// What the chooser's confirmation asks for: "Potvrď nastavení" starts a game, "Potvrď" loads or
// saves by the chooser's title.
enum class ChooserPurpose { StartGame, Load, Save };

inline constexpr const char* kChooserTitleGame = "Nastavení hry";
inline constexpr const char* kChooserTitleLoad = "Načíst křížovku";
inline constexpr const char* kChooserTitleSave = "Uložit křížovku";
inline constexpr const char* kUnknown = "<Neznámo>";
inline constexpr const char* kChooserIncomplete = text::kPositionIncomplete;

// The mode that uses the chooser: the main game starts a game, the editors load and save.
class ChooserClient {
 public:
  virtual ~ChooserClient() = default;
  // A confirmation whose grade and crossword passed the chooser's check (texts as typed).
  virtual void confirm(ChooserPurpose purpose, const std::string& grade,
                       const std::string& crossword) = 0;
  // "Vymazat křížovku" for the texts of the two boxes (not checked by the chooser).
  virtual void remove(const std::string& grade, const std::string& crossword) {
    (void)grade;
    (void)crossword;
  }
  // "Zpět na hlavní nabídku": the chooser was left without a choice.
  virtual void back() {}
};

// The crossword chooser window: a grade and a crossword, chosen for whoever opened it.
class Chooser {
 public:
  Chooser(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder, Session& session);

  static void declare(ui::Controls& controls);
  void setClient(ChooserClient* client) { client_ = client; }

  // Fills the grade box from the set's grade list.
  void fillGrades();
  // Shows the window with the title and disables the main window until it is left.
  void open(std::string_view title);
  // Hides the window and enables the main window.
  void close();
  // rel: the crossword counts of the grade lists into the descriptor, which is saved.
  void recount();
  // The check shared by both confirmations; shows its message when it fails.
  bool valid();
  // The stricter check of "Potvrď" for loading and saving: a grade 1 to 4 and a crossword
  // number from 1, both as plain digits, so that no stray folder or list can come of them.
  bool validForEditing();

  const std::string& grade() const;
  const std::string& crossword() const;

  bool handle(const Event& event);

 private:
  void gradeChanged();
  void chooseGrade(const Event& event);
  void chooseCrossword(const Event& event);
  void startGame();
  void confirmClick();
  void back();
  void removeClick();

  ui::Controls& controls_;
  ui::Host& host_;
  const ProgramFolder& folder_;
  Session& session_;
  ChooserClient* client_ = nullptr;
  Routes<Chooser> routes_;
};

}  // namespace tervano::app
