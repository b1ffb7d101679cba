#pragma once

// Names of the controls of the crossword editor: its inputs over the play screen and its data
// panel. The view binds one widget to each; the logic reads and writes the model under the same
// names.
namespace tervano::id {

// Over the play screen, opened by the pointer.
inline constexpr const char* kGradeSpin = "editor.gradeSpin";
inline constexpr const char* kLanguageBox = "editor.languageBox";
inline constexpr const char* kScoreSpinGood = "editor.scoreSpinGood";
inline constexpr const char* kScoreSpinBad = "editor.scoreSpinBad";
inline constexpr const char* kScoreSpinGoodTajenka = "editor.scoreSpinGoodTajenka";
inline constexpr const char* kScoreSpinBadTajenka = "editor.scoreSpinBadTajenka";

}  // namespace tervano::id
