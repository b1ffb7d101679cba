#pragma once

#include <string>
#include <string_view>

#include "data/records.h"

namespace tervano {

// The moments at which event scripts run. The name is also the stem of the script's file name:
// "tervano\script\" + name + ".lsc" for a program-wide event, "tervano\script\" + grade +
// crossword + name + ".lsc" for a crossword event.
namespace event {
inline constexpr const char* kProgramStart = "prispusteniprogramu";
inline constexpr const char* kProgramEnd = "priukonceniprogramu";
inline constexpr const char* kGameStart = "nazacatkuhry";
inline constexpr const char* kGameEnd = "nakoncihry";
inline constexpr const char* kCrosswordStart = "nazacatkukrizovky";
inline constexpr const char* kCrosswordEnd = "nakoncikrizovky";

// The order in which the script editor offers them.
inline constexpr const char* kAll[] = {kGameStart,    kGameEnd,      kCrosswordStart,
                                       kCrosswordEnd, kProgramStart, kProgramEnd};
}  // namespace event

// The moments at which the game may append an autosave record (AUTO1 to AUTO4); the player picks
// one of them in the settings.
enum class AutosaveTrigger {
  EveryCheck = 1,  // the end of every "Kontrola"
  Script = 2,      // an event script has run
  GradeStart = 3,  // the check of a grade's first crossword
  SavePoint = 4,   // the check of a crossword marked as a save point
};

inline std::string programScriptPath(std::string_view eventName) {
  return std::string(paths::kScripts) + std::string(eventName) + ".lsc";
}

}  // namespace tervano
