#pragma once

// Names of the controls of the crossword chooser window. The view binds one widget to each; the
// logic reads and writes the model under the same names.
namespace tervano::id {

inline constexpr const char* kChooserWindow = "chooserWindow";
inline constexpr const char* kChooserTitle = "chooser.title";
inline constexpr const char* kChooserGrade = "chooser.grade";
inline constexpr const char* kChooserCrossword = "chooser.crossword";
inline constexpr const char* kChooserStart = "chooser.start";      // "Potvrď nastavení"
inline constexpr const char* kChooserConfirm = "chooser.confirm";  // "Potvrď"
inline constexpr const char* kChooserBack = "chooser.back";
inline constexpr const char* kChooserDelete = "chooser.delete";

}  // namespace tervano::id
