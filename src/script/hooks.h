#pragma once

#include <string_view>

#include "data/programfolder.h"
#include "data/session.h"
#include "script/interpreter.h"

namespace tervano::script {

// Event names; a program-wide event's file is "tervano\script\" + name + ".lsc", a crossword
// event's is "tervano\script\" + grade + crossword + name + ".lsc".
namespace event {
inline constexpr const char* kProgramStart = "prispusteniprogramu";
inline constexpr const char* kProgramEnd = "priukonceniprogramu";
inline constexpr const char* kGameStart = "nazacatkuhry";
inline constexpr const char* kGameEnd = "nakoncihry";
inline constexpr const char* kCrosswordStart = "nazacatkukrizovky";
inline constexpr const char* kCrosswordEnd = "nakoncikrizovky";
}  // namespace event

std::string programScriptPath(std::string_view eventName);

// Loads the file into the script buffer and runs it when it exists; true when it existed.
bool runScriptFile(const ProgramFolder& folder, Session& session, Interpreter& interpreter,
                   std::string_view relativePath);

}  // namespace tervano::script
