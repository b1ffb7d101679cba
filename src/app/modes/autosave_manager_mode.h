#pragma once

#include "app/mode.h"
#include "app/routes.h"

namespace tervano::app {

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

}  // namespace tervano::app
