#pragma once

#include <alsa/asoundlib.h>
#include <fluidsynth.h>

namespace tervano::sound {

// ALSA and FluidSynth are opened when the engine first needs them, not when the program starts:
// FluidSynth brings some thirty libraries (PulseAudio, JACK, codecs, GLib objects) whose loading
// costs start-up time and memory. A game without sound never maps them; one without music never
// maps the synthesizer, and its cues need ALSA alone.

#define TERVANO_ALSA_FUNCTIONS(X) \
  X(snd_lib_error_set_handler)    \
  X(snd_pcm_open)                 \
  X(snd_pcm_set_params)           \
  X(snd_pcm_writei)               \
  X(snd_pcm_wait)                 \
  X(snd_pcm_recover)              \
  X(snd_pcm_drop)                 \
  X(snd_pcm_close)

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
struct AlsaLibrary {
#define TERVANO_DECLARE(name) decltype(&::name) name = nullptr;
  TERVANO_ALSA_FUNCTIONS(TERVANO_DECLARE)
};
struct FluidLibrary {
  TERVANO_FLUID_FUNCTIONS(TERVANO_DECLARE)
#undef TERVANO_DECLARE
};

// Opened on the first call, once for the program's life; nullptr when the library or one of its
// functions is missing, and the program goes on without that part of the sound.
const AlsaLibrary* alsaLibrary();
const FluidLibrary* fluidLibrary();

// The file names opened: the SONAMEs of the libraries the build was configured with, which the
// Debian package's dependencies hold (cmake/sound_libraries.cmake).
const char* alsaLibraryName();
const char* fluidLibraryName();

}  // namespace tervano::sound
