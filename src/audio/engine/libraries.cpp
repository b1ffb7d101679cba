#include "audio/engine/libraries.h"

#include <dlfcn.h>

#include <cstdio>

namespace tervano::audio {
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

// ALSA, which SDL brings along, reports every failed look-up of a sound card on stderr: a screen
// of lines on a machine without one. The engine says in one line what that means instead.
void silenceAlsa() {
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
  if (!alsa) return;
  if (auto set = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler")))
    set(quietAlsa);
  dlclose(alsa);  // only the reference taken here: SDL holds the library
}

}  // namespace

const SdlLibrary* sdlLibrary() {
  static const SdlLibrary* const library =
      open<SdlLibrary>("libSDL2-2.0.so.0", [](void* handle, SdlLibrary& l) {
        bool all = true;
#define TERVANO_FIND(name) all = find(handle, #name, l.name) && all;
        TERVANO_SDL_FUNCTIONS(TERVANO_FIND)
        if (all) silenceAlsa();
        return all;
      });
  return library;
}

const FluidLibrary* fluidLibrary() {
  static const FluidLibrary* const library =
      open<FluidLibrary>("libfluidsynth.so.3", [](void* handle, FluidLibrary& l) {
        bool all = true;
        TERVANO_FLUID_FUNCTIONS(TERVANO_FIND)
#undef TERVANO_FIND
        return all;
      });
  return library;
}

}  // namespace tervano::audio
