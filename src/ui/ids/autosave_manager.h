#pragma once

// Names of the controls of the autosave manager screen. The view binds one widget to each; the
// logic reads and writes the model under the same names.
namespace tervano::id {

inline constexpr const char* kAutosaveScreen = "autosaveScreen";
inline constexpr const char* kAutosavePanelMainApp = "autosavePanelMainApp";  // "Hlavní aplikace"

// The record list: its items are the captions with a picture each (icons), its value the index of
// the selected entry (-1 for none).
inline constexpr const char* kManagerList = "managerList";
// The sub-panel holding "Smazat" and "Nahlédnout do obsahu".
inline constexpr const char* kManagerEditPanel = "managerEditPanel";
inline constexpr const char* kManagerDelete = "managerDelete";        // "Smazat"
inline constexpr const char* kManagerView = "managerView";            // "Nahlédnout do obsahu"
inline constexpr const char* kManagerLoad = "managerLoad";            // "Načíst"
inline constexpr const char* kManagerQuit = "managerQuit";            // "Konec"
inline constexpr const char* kManagerDeleteAll = "managerDeleteAll";  // "Smazat veškeré záznamy"
inline constexpr const char* kManagerCount = "managerCount";          // "Počet záznamů: ..."
// The three display styles of the list; the checked one is in use.
inline constexpr const char* kManagerStyleIcons = "managerStyleIcons";
inline constexpr const char* kManagerStyleList = "managerStyleList";
inline constexpr const char* kManagerStyleDetails = "managerStyleDetails";
// Shown while the list is filled: the bar (value of maximum) and the find-folder animation
// (checked while it plays).
inline constexpr const char* kManagerProgress = "managerProgress";
inline constexpr const char* kManagerAnimation = "managerAnimation";

}  // namespace tervano::id
