#pragma once

// Names of the controls of the set panel of set selection. The view binds one widget to each; the
// logic reads and writes the model under the same names.
namespace tervano::id {

inline constexpr const char* kSetPanel = "setPanel";
inline constexpr const char* kSetPanelMainApp = "setPanelMainApp";  // "Hlavní aplikace"

}  // namespace tervano::id
