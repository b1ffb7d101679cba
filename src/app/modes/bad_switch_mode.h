#pragma once

#include "app/mode.h"
#include "app/routes.h"

namespace tervano::app {

// An unknown switch: the supported ones are named and the program ends.
class BadSwitchMode : public Mode {
 public:
  using Mode::Mode;
  void start() override;
  bool handle(const Event&) override { return false; }
  void chooserCreated() override {}
};

}  // namespace tervano::app
