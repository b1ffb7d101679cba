#pragma once

#include "app/modes/editing.h"
#include "app/routes.h"
#include "script/script_editor.h"

namespace tervano::app {

// The script editor (-SCRIPTEDITOR): the script of an event written with the help of the command
// list, saved for the whole program or under a crossword chosen in the chooser, loaded and
// deleted.
class ScriptEditorMode : public EditingMode {
 public:
  explicit ScriptEditorMode(Application& app);
  void declare(ui::Controls& controls) override;
  void start() override;
  bool handle(const Event& event) override;
  void chooserCreated() override;
  ChooserClient* chooserClient() override { return this; }

 private:
  void newData() override;
  // nacsc and usc after the chooser's "Potvrď".
  void loadChosen(const std::string& grade, const std::string& crossword) override;
  void saveChosen(const std::string& grade, const std::string& crossword) override;
  void saveCommand() override;
  void closeCommand() override;

  void chooseEvent(const Event& event);
  void editText(const Event& event);
  void insertCommand(const Event& event);
  void saveProgramWide();  // "Ulož"
  void deleteScript();
  void pointerOverDelete();
  void unsaved();
  void reset();

  script::ScriptEditor editor_;
  Routes<ScriptEditorMode> routes_;
  // The pointer's doings: they never keep the menu's hover rules from applying.
  Routes<ScriptEditorMode> hovers_;
};

}  // namespace tervano::app
