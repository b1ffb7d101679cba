#pragma once

#include <SDL.h>
#include <fluidsynth.h>

namespace tervano::audio {

// SDL and FluidSynth are opened when the engine first needs them, not when the program starts:
// together they bring some forty libraries (PulseAudio, ALSA, JACK, codecs, GLib objects) whose
// loading costs start-up time and memory. A game without sound never maps them; one without music
// never maps the synthesizer.

#define TERVANO_SDL_FUNCTIONS(X) \
  X(SDL_SetHint)                 \
  X(SDL_SetHintWithPriority)     \
  X(SDL_ResetHint)               \
  X(SDL_InitSubSystem)           \
  X(SDL_QuitSubSystem)           \
  X(SDL_OpenAudioDevice)         \
  X(SDL_CloseAudioDevice)        \
  X(SDL_PauseAudioDevice)        \
  X(SDL_LockAudioDevice)         \
  X(SDL_UnlockAudioDevice)       \
  X(SDL_GetCurrentAudioDriver)   \
  X(SDL_RWFromFile)              \
  X(SDL_LoadWAV_RW)              \
  X(SDL_FreeWAV)                 \
  X(SDL_BuildAudioCVT)           \
  X(SDL_ConvertAudio)

#define TERVANO_FLUID_FUNCTIONS(X) \
  X(fluid_set_log_function)        \
  X(new_fluid_settings)            \
  X(delete_fluid_settings)         \
  X(fluid_settings_setstr)         \
  X(fluid_settings_setint)         \
  X(fluid_settings_setnum)         \
  X(new_fluid_synth)               \
  X(delete_fluid_synth)            \
  X(fluid_synth_sfload)            \
  X(fluid_synth_sfunload)          \
  X(fluid_synth_write_float)       \
  X(fluid_synth_all_sounds_off)    \
  X(fluid_synth_system_reset)      \
  X(fluid_synth_add_sfloader)      \
  X(fluid_synth_get_sfont_by_id)   \
  X(fluid_sfont_iteration_start)   \
  X(fluid_sfont_iteration_next)    \
  X(new_fluid_defsfloader)         \
  X(fluid_sfloader_set_callbacks)  \
  X(new_fluid_player)              \
  X(delete_fluid_player)           \
  X(fluid_player_set_loop)         \
  X(fluid_player_add_mem)          \
  X(fluid_player_seek)             \
  X(fluid_player_play)             \
  X(fluid_player_stop)             \
  X(fluid_player_get_status)       \
  X(fluid_player_get_total_ticks)  \
  X(fluid_player_set_playback_callback)

// The functions of a library opened at run time, under their own names.
struct SdlLibrary {
#define TERVANO_DECLARE(name) decltype(&::name) name = nullptr;
  TERVANO_SDL_FUNCTIONS(TERVANO_DECLARE)
};
struct FluidLibrary {
  TERVANO_FLUID_FUNCTIONS(TERVANO_DECLARE)
#undef TERVANO_DECLARE
};

// Opened on the first call, once for the program's life; nullptr when the library or one of its
// functions is missing, and the program goes on without that part of the sound.
const SdlLibrary* sdlLibrary();
const FluidLibrary* fluidLibrary();

}  // namespace tervano::audio
