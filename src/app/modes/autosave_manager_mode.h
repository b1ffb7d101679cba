#pragma once

#include "app/mode.h"
#include "app/routes.h"
#include "autosave/manager.h"

namespace tervano::app {

// The autosave manager (-SPAUTOSAVE) and its load-only form (-LOADAUTOSAVE): the records of the
// autosave log listed, viewed, deleted, and one exported for the next start of the game.
class AutosaveManagerMode : public Mode {
 public:
  AutosaveManagerMode(Application& app, bool loadOnly);
  void declare(ui::Controls& controls) override;
  void start() override;
  bool handle(const Event& event) override;

  autosave::Manager& manager() { return manager_; }

 private:
  void select(const Event& event);
  void styleIcons();
  void styleList();
  void styleDetails();

  bool loadOnly_;
  autosave::Manager manager_;
  Routes<AutosaveManagerMode> routes_;
  Routes<autosave::Manager> managerRoutes_;
};

}  // namespace tervano::app
