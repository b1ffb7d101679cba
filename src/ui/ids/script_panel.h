#pragma once

// Names of the controls of the script editor's panel. The view binds one widget to each; the logic
// reads and writes the model under the same names.
namespace tervano::id {

inline constexpr const char* kScriptPanel = "scriptPanel";

}  // namespace tervano::id
