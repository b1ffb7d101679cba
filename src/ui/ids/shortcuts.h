#pragma once

// Names of the controls of the hidden shortcut menu (only their enabled state matters). The view
// binds one widget to each; the logic reads and writes the model under the same names.
namespace tervano::id {

// Shortcut menu items (enabled state only).
inline constexpr const char* kScSound = "sc.sound";
inline constexpr const char* kScMusic = "sc.music";
inline constexpr const char* kScHelp = "sc.help";
inline constexpr const char* kScAbout = "sc.about";
inline constexpr const char* kScCredits = "sc.credits";
inline constexpr const char* kScNewGame = "sc.newGame";
inline constexpr const char* kScNewGameSettings = "sc.newGameSettings";
inline constexpr const char* kScLoad = "sc.load";
inline constexpr const char* kScSave = "sc.save";
inline constexpr const char* kScReturn = "sc.return";
inline constexpr const char* kScEndGame = "sc.endGame";
inline constexpr const char* kScMainMenu = "sc.mainMenu";
inline constexpr const char* kScQuit = "sc.quit";

}  // namespace tervano::id
