#pragma once

#include "app/modes/editing.h"
#include "app/routes.h"

namespace tervano::app {

// The crossword editor (-EDITOR): crosswords written over the play screen's areas.
class EditorMode : public EditingMode {
 public:
  explicit EditorMode(Application& app);

  void declare(ui::Controls& controls) override;
  void start() override;
  bool handle(const Event& event) override;
  void chooserCreated() override;

 private:
  void openGradeSpin();
  void openLanguageBox();
  void closeBoxes();
  void closeScoreSpins();
  void chooseLanguage(const Event& event);

  Routes<EditorMode> routes_;
  // The pointer's doings: they never keep the menu's hover rules from applying.
  Routes<EditorMode> hovers_;
};

}  // namespace tervano::app
