#pragma once

// Names of the controls of the menu screen and its command panels. The view binds one widget to
// each; the logic reads and writes the model under the same names.
namespace tervano::id {

inline constexpr const char* kMenuScreen = "menuScreen";
inline constexpr const char* kMenuLower = "menuLower";  // the band around the title and buttons
inline constexpr const char* kTitle = "title";
inline constexpr const char* kCatGame = "catGame";
inline constexpr const char* kCatHelp = "catHelp";
inline constexpr const char* kCatApp = "catApp";
inline constexpr const char* kCatSettings = "catSettings";
inline constexpr const char* kTools = "tools";  // "Nástroje"
inline constexpr const char* kEditorBar = "editorBar";
inline constexpr const char* kCatEditorData = "catEditorData";  // "Křížovka ..." / "Skript ..."
inline constexpr const char* kCatToolExit = "catToolExit";      // "Editor ..."
inline constexpr const char* kCatSetMusic = "catSetMusic";      // "Sada ..."

inline constexpr const char* kPanelGame = "panelGame";
inline constexpr const char* kPanelHelp = "panelHelp";
inline constexpr const char* kPanelApp = "panelApp";
inline constexpr const char* kPanelSettings = "panelSettings";
inline constexpr const char* kPanelTools = "panelTools";
inline constexpr const char* kPanelEditorData = "panelEditorData";
inline constexpr const char* kPanelToolExit = "panelToolExit";
inline constexpr const char* kPanelSetMusic = "panelSetMusic";
inline constexpr const char* kPanelAutosave = "panelAutosave";
inline constexpr const char* kPanelRecordPlayer = "panelRecordPlayer";
inline constexpr const char* kPanelCredits = "panelCredits";

// Game panel.
inline constexpr const char* kNewGame = "newGame";
inline constexpr const char* kNewGameSettings = "newGameSettings";
inline constexpr const char* kLoadGame = "loadGame";
inline constexpr const char* kSaveGame = "saveGame";
inline constexpr const char* kReturnToGame = "returnToGame";
inline constexpr const char* kEndGame = "endGame";
// Help panel.
inline constexpr const char* kHelp = "help";
inline constexpr const char* kAbout = "about";
inline constexpr const char* kCredits = "credits";
inline constexpr const char* kKeyList = "keyList";
inline constexpr const char* kEula = "eula";
// Application panel.
inline constexpr const char* kQuit = "quit";
// Settings panel.
inline constexpr const char* kSoundOnPic = "soundOnPic";
inline constexpr const char* kSoundOffPic = "soundOffPic";
inline constexpr const char* kMusicOnPic = "musicOnPic";
inline constexpr const char* kMusicOffPic = "musicOffPic";
inline constexpr const char* kSoundsAndMusic = "soundsAndMusic";
inline constexpr const char* kErrorPerLine = "errorPerLine";
inline constexpr const char* kErrorPerLineCaption = "errorPerLineCaption";
inline constexpr const char* kAskOverwrite = "askOverwrite";
inline constexpr const char* kAskOverwriteCaption = "askOverwriteCaption";
inline constexpr const char* kNoScripts = "noScripts";
inline constexpr const char* kNoScriptsCaption = "noScriptsCaption";
inline constexpr const char* kAutosaveButton = "autosaveButton";
// Tools panel.
inline constexpr const char* kToolEditor = "toolEditor";
inline constexpr const char* kToolScriptEditor = "toolScriptEditor";
inline constexpr const char* kToolSets = "toolSets";
inline constexpr const char* kToolMainApp = "toolMainApp";
inline constexpr const char* kToolAutosave = "toolAutosave";
inline constexpr const char* kToolCrashLoad = "toolCrashLoad";
// Tool exit panel.
inline constexpr const char* kToolQuit = "toolQuit";
// Autosave settings panel.
inline constexpr const char* kAutosaveOn = "autosaveOn";
inline constexpr const char* kAutosaveTrigger = "autosaveTrigger";
inline constexpr const char* kAutosaveQuota = "autosaveQuota";
inline constexpr const char* kAutosaveApply = "autosaveApply";
// Record player.
inline constexpr const char* kRecordFile = "recordFile";
inline constexpr const char* kRecordBack = "recordBack";
// Credits.
inline constexpr const char* kCreditsTitle = "creditsTitle";
inline constexpr const char* kCreditsCaption = "creditsCaption";
inline constexpr const char* kCreditsName = "creditsName";
inline constexpr const char* kCreditsClose = "creditsClose";

}  // namespace tervano::id
