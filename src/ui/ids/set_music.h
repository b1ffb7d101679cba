#pragma once

// Names of the controls of the set's music: the entry "Ozvučení" in the panel of "Sada ..." and
// the sound panel "Ozvučení sady" it opens. The view binds one widget to each; the logic reads and
// writes the model under the same names.
namespace tervano::id {

inline constexpr const char* kSetMusicOpen = "setMusic.open";  // "Ozvučení"
inline constexpr const char* kMusicPanel = "setMusic.panel";   // "Ozvučení sady"
// "Tato sada nebude mít doprovodné skladby": never shown, changes nothing.
inline constexpr const char* kMusicNoMusic = "setMusic.noMusic";
inline constexpr const char* kMusicConfirm = "setMusic.confirm";  // "Potvrdit"
// The choose buttons of the five rows, in the order of the rows.
inline constexpr const char* kMusicChoose[] = {
    "setMusic.grade1", "setMusic.grade2", "setMusic.grade3", "setMusic.grade4", "setMusic.final"};

}  // namespace tervano::id
