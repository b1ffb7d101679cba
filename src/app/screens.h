#pragma once

#include <string>

#include "ui/controls.h"

namespace tervano::app {
class ModeRegistry;
}

namespace tervano::app {

// Declares the controls and timers every mode has, with their state when the windows are
// created: the main window, the play screen, the menu screen with its panels, the shortcut menu.
void declareCommonScreens(ui::Controls& controls, const ModeRegistry& modes);

// A control with a caption, shown and enabled unless said otherwise.
ui::Control caption(std::string text, bool visible = true, bool enabled = true);
ui::Control hidden(std::string text = {});

}  // namespace tervano::app
