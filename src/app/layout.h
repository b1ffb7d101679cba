#pragma once

#include "ui/controls.h"

namespace tervano::app {

// Declares every control and timer with its state when the windows are created.
void declareControls(ui::Controls& controls);

}  // namespace tervano::app
