#pragma once

// Names of the controls of the set panel of set selection. The view binds one widget to each; the
// logic reads and writes the model under the same names.
namespace tervano::id {

inline constexpr const char* kSetPanel = "setPanel";
inline constexpr const char* kSetPanelTitle = "setPanelTitle";      // "Křížovková sada"
inline constexpr const char* kSetBox = "setBox";                    // the set list, "Sady:"
inline constexpr const char* kSetConfirm = "setConfirm";            // "Potvrdit"
inline constexpr const char* kSetCreate = "setCreate";              // "Založit novou"
inline constexpr const char* kSetRename = "setRename";              // "Přejmenovat"
inline constexpr const char* kSetDelete = "setDelete";              // "Smazat/odinstalovat"
inline constexpr const char* kSetInstall = "setInstall";            // "Instalovat"
inline constexpr const char* kSetPanelMainApp = "setPanelMainApp";  // "Hlavní aplikace"
// Which set is active, and how a running command script is getting on.
inline constexpr const char* kSetActive = "setActive";
inline constexpr const char* kSetProgress = "setProgress";  // files copied of files to copy
inline constexpr const char* kSetStatus = "setStatus";

// The name sub-panel of creation and renaming.
inline constexpr const char* kNamePanel = "namePanel";
inline constexpr const char* kNamePanelTitle = "namePanelTitle";  // "...", or the command
inline constexpr const char* kNamePanelClose = "namePanelClose";  // "X"
inline constexpr const char* kOldNameLabel = "oldNameLabel";      // "Staré jméno: tervano"
inline constexpr const char* kOldNumber = "oldNumber";
inline constexpr const char* kNewNameLabel = "newNameLabel";  // "Nové jméno: tervano"
inline constexpr const char* kNewNumber = "newNumber";
inline constexpr const char* kNameConfirm = "nameConfirm";  // "Potvrdit"

// Follows a running command script.
inline constexpr const char* kTimerScriptRun = "timer.scriptRun";

}  // namespace tervano::id
