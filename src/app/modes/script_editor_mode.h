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

}  // namespace tervano::app
