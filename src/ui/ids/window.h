#pragma once

// Names of the controls of the main window itself. The view binds one widget to each; the logic
// reads and writes the model under the same names.
namespace tervano::id {

inline constexpr const char* kMainWindow = "mainWindow";  // enabled: accepts input
inline constexpr const char* kWindowTitle = "windowTitle";
inline constexpr const char* kWindowIcon = "windowIcon";  // text: the icon file, "" built-in
// Visible when all five mode-button pictures exist, and the buttons show them.
inline constexpr const char* kModeButtonPictures = "modeButtonPictures";

}  // namespace tervano::id
