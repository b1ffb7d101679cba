#include "script/hooks.h"

namespace tervano::script {

bool runScriptFile(const ProgramFolder& folder, Session& session, Interpreter& interpreter,
                   std::string_view relativePath) {
  if (!folder.isFile(relativePath)) return false;
  session.scriptBuffer = folder.load(relativePath);
  interpreter.run();
  return true;
}

}  // namespace tervano::script
