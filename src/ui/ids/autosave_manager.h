#pragma once

// Names of the controls of the autosave manager screen. The view binds one widget to each; the
// logic reads and writes the model under the same names.
namespace tervano::id {

inline constexpr const char* kAutosaveScreen = "autosaveScreen";
inline constexpr const char* kAutosavePanelMainApp = "autosavePanelMainApp";  // "Hlavní aplikace"

}  // namespace tervano::id
