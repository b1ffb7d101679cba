#pragma once

#include "ui/ids/autosave_manager.h"
#include "ui/ids/set_panel.h"

namespace tervano::ui {

// Buttons outside the tools panel that return to the main game: they wear its tool's picture.
inline constexpr const char* kMainAppButtons[] = {id::kSetPanelMainApp, id::kAutosavePanelMainApp};

}  // namespace tervano::ui
