#pragma once

// Names of the timers of the main window. The view runs a real timer for each that runs.
namespace tervano::id {

inline constexpr const char* kTimerAccessCode = "timer.accessCode";
inline constexpr const char* kTimerKontrola = "timer.kontrola";
inline constexpr const char* kTimerGauge = "timer.gauge";
inline constexpr const char* kTimerMusic = "timer.music";
inline constexpr const char* kTimerFileName = "timer.fileName";
inline constexpr const char* kTimerCredits = "timer.credits";
inline constexpr const char* kTimerEditorStatus = "timer.editorStatus";
inline constexpr const char* kTimerCompletion = "timer.completion";
inline constexpr const char* kTimerHelpFiller = "timer.helpFiller";
inline constexpr const char* kTimerAbout = "timer.about";

}  // namespace tervano::id
