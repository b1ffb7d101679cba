#include "sound/libraries.h"

#include <dlfcn.h>

#include <cstdio>

namespace tervano::sound {
namespace {

// Looks up every function; the library stays loaded for the program's life (its threads and
// handlers may outlive any one engine).
template <typename Library, typename Fill>
const Library* open(const char* soname, Fill fill) {
  void* handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    std::fprintf(stderr, "tervano: %s\n", dlerror());
    return nullptr;
  }
  static Library library;
  if (!fill(handle, library)) {
    std::fprintf(stderr, "tervano: %s lacks a function the sound needs\n", soname);
    return nullptr;
  }
  return &library;
}

template <typename F>
bool find(void* handle, const char* name, F& slot) {
  slot = reinterpret_cast<F>(dlsym(handle, name));
  return slot != nullptr;
}

void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

const char* alsaLibraryName() {
  return TERVANO_ALSA_SONAME;
}
const char* fluidLibraryName() {
  return TERVANO_FLUIDSYNTH_SONAME;
}

const AlsaLibrary* alsaLibrary() {
  static const AlsaLibrary* const library =
      open<AlsaLibrary>(alsaLibraryName(), [](void* handle, AlsaLibrary& l) {
        bool all = true;
#define TERVANO_FIND(name) all = find(handle, #name, l.name) && all;
        TERVANO_ALSA_FUNCTIONS(TERVANO_FIND)
        // ALSA reports every failed look-up of a sound card on stderr: a screen of lines on a
        // machine without one. The engine says in one line what that means instead.
        if (all) l.snd_lib_error_set_handler(quietAlsa);
        return all;
      });
  return library;
}

const FluidLibrary* fluidLibrary() {
  static const FluidLibrary* const library =
      open<FluidLibrary>(fluidLibraryName(), [](void* handle, FluidLibrary& l) {
        bool all = true;
        TERVANO_FLUID_FUNCTIONS(TERVANO_FIND)
#undef TERVANO_FIND
        return all;
      });
  return library;
}

}  // namespace tervano::sound
