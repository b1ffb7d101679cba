#pragma once

#include "app/modes/editing.h"
#include "app/routes.h"

namespace tervano::app {

// The script editor (-SCRIPTEDITOR): event scripts written and saved.
class ScriptEditorMode : public EditingMode {
 public:
  explicit ScriptEditorMode(Application& app);
  void declare(ui::Controls& controls) override;
  void start() override;
  bool handle(const Event& event) override;
  void chooserCreated() override;

 private:
  Routes<ScriptEditorMode> routes_;
};

// Set selection (-SADA): the installed sets, the active one switched by renaming folders.
class SetSelectionMode : public Mode {
 public:
  using Mode::Mode;
  void declare(ui::Controls& controls) override;
  void start() override;
  bool handle(const Event&) override { return false; }
};

// The autosave manager (-SPAUTOSAVE) and its load-only form (-LOADAUTOSAVE).
class AutosaveManagerMode : public Mode {
 public:
  AutosaveManagerMode(Application& app, bool loadOnly) : Mode(app), loadOnly_(loadOnly) {}
  void declare(ui::Controls& controls) override;
  void start() override;
  bool handle(const Event&) override { return false; }

 private:
  bool loadOnly_;
};

// An unknown switch: the supported ones are named and the program ends.
class BadSwitchMode : public Mode {
 public:
  using Mode::Mode;
  void start() override;
  bool handle(const Event&) override { return false; }
  void chooserCreated() override {}
};

}  // namespace tervano::app
