#pragma once

// Names of the controls of the script editor's panel. The view binds one widget to each; the logic
// reads and writes the model under the same names.
namespace tervano::id {

inline constexpr const char* kScriptPanel = "scriptPanel";
inline constexpr const char* kScriptEvent = "scriptPanel.event";        // "Událost:"
inline constexpr const char* kScriptText = "scriptPanel.text";          // "Příkazy:"
inline constexpr const char* kScriptCommands = "scriptPanel.commands";  // "Obsah příkazů:"
inline constexpr const char* kScriptDelete = "scriptPanel.delete";      // "Smazání skriptu"
// "Ulož": saves a program-wide script; never shown, pressed by "Uložit" and the closing question.
inline constexpr const char* kScriptSave = "scriptPanel.save";

}  // namespace tervano::id
