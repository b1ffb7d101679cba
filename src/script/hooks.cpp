#include "script/hooks.h"

#include "data/records.h"

namespace tervano::script {

std::string programScriptPath(std::string_view eventName) {
  return std::string(paths::kScripts) + std::string(eventName) + ".lsc";
}

bool runScriptFile(const ProgramFolder& folder, Session& session, Interpreter& interpreter,
                   std::string_view relativePath) {
  if (!folder.isFile(relativePath)) return false;
  session.scriptBuffer = folder.load(relativePath);
  interpreter.run();
  return true;
}

}  // namespace tervano::script
