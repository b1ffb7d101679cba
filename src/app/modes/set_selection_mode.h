#pragma once

#include "app/mode.h"
#include "app/routes.h"

namespace tervano::app {

// Set selection (-SADA): the installed sets, the active one switched by renaming folders.
class SetSelectionMode : public Mode {
 public:
  using Mode::Mode;
  void declare(ui::Controls& controls) override;
  void start() override;
  bool handle(const Event&) override { return false; }
};

}  // namespace tervano::app
