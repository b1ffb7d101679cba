#pragma once

#include <string_view>

#include "data/events.h"
#include "data/programfolder.h"
#include "data/session.h"
#include "script/interpreter.h"

namespace tervano::script {

// Loads the file into the script buffer and runs it when it exists; true when it existed.
bool runScriptFile(const ProgramFolder& folder, Session& session, Interpreter& interpreter,
                   std::string_view relativePath);

}  // namespace tervano::script
