#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/errors.h"
#include "data/programfolder.h"
#include "data/session.h"
#include "ui/controls.h"
#include "ui/host.h"

namespace tervano::script {

// The editor keeps what is typed with no event chosen in this file of the script folder; no hook
// reads it.
inline constexpr const char* kScratchScript = "BEZEJMENA.lsc";

inline constexpr const char* kSaveScriptQuestion =
    "Chcete uložit změny v současném aplikačním či herním skriptu?";

// A script file name the editor will not build, or a file it will not delete.
class ScriptFileError : public UserError {
 public:
  using UserError::UserError;
};

// "Obsah příkazů:": every command of the language, group by group in the order the editor offers
// them, an empty item between two groups.
std::vector<std::string> commandList();

// The four events with one script for the whole program. Anything else, an empty text included,
// is treated as a crossword event.
bool isProgramWideEvent(std::string_view event);

// True when the text can stand in a script's file name as it is: no folder separator, no "..",
// no control character.
bool fitsInFileName(std::string_view text);

// The script editor's work on its panel: the event box, the script text (the script buffer) and
// the command list; loading the script of an event, saving it for the whole program or under a
// crossword, and deleting script files. The data status and the data panel's buttons belong to
// the mode.
class ScriptEditor {
 public:
  ScriptEditor(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder,
               Session& session);

  static void declare(ui::Controls& controls);
  // The panel shown, with its lists.
  void setUp();

  const std::string& event() const;
  bool programWide() const { return isProgramWideEvent(event()); }
  int grade() const { return grade_; }
  int crossword() const { return crossword_; }

  // The user chose or typed an event: its script into the buffer, the event box disabled. A
  // crossword event takes the script of the crossword chosen with "Načíst" when there is one.
  void chooseEvent(const std::string& event);
  // The user changed the script text. With no event chosen the text is kept in the scratch file
  // at once.
  void edit(TextList lines);
  // A double click on the command list: the item as the script's new last line, unchanged.
  // False when the index names no item.
  bool appendCommand(int index);

  // "Ulož": the script of a program-wide event into its file. Any other event gets the warning
  // that it belongs to a crossword, and nothing is written; false then.
  bool saveProgramWide();
  // usc: the script under the grade and crossword, "tervano\script\" + grade + crossword +
  // event + ".lsc".
  void saveUnder(const std::string& grade, const std::string& crossword);
  // nacsc: the crossword whose scripts are edited next; the event box is emptied.
  void chooseCrossword(const std::string& grade, const std::string& crossword);
  // An empty script and an empty, enabled event box.
  void clear();

  // "Smazání skriptu": deletes the script file picked in the dialog, without a question. Only a
  // script of the active set's script folder is deleted.
  void deleteScript();

 private:
  void show(TextList lines);
  void saveScratch();
  // The script buffer into a script file, after the recovery every command begins with.
  void saveScript(const std::string& path);
  std::filesystem::path scriptFolder() const;

  ui::Controls& controls_;
  ui::Host& host_;
  const ProgramFolder& folder_;
  Session& session_;
  int grade_ = 0;
  int crossword_ = 0;
  // The scratch file could not be written: said once, not again at every key.
  bool scratchFailing_ = false;
};

}  // namespace tervano::script
