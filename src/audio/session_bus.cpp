#include "audio/session_bus.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace tervano::audio {
namespace {

// An address of a kind libdbus (and GLib) do not know: connecting fails at once, with no daemon.
constexpr const char* kNoBus = "disabled:";

bool prevented = false;

// libdbus's own second choice after the variable: a socket of ours at $XDG_RUNTIME_DIR/bus.
bool userBusExists() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (!runtime || !*runtime) return false;
  const std::string path = std::string(runtime) + "/bus";
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_uid == getuid();
}

}  // namespace

bool preventSessionBusAutolaunch() {
  if (std::getenv(kSessionBusVariable) || userBusExists()) return false;
  prevented = setenv(kSessionBusVariable, kNoBus, 0) == 0;
  return prevented;
}

bool sessionBusAutolaunchPrevented() {
  const char* value = std::getenv(kSessionBusVariable);
  return prevented && value && std::strcmp(value, kNoBus) == 0;
}

}  // namespace tervano::audio
