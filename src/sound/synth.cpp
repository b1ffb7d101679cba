#include "sound/synth.h"

#include <cstdio>
#include <map>
#include <mutex>

#include "audio/sound_file.h"

namespace tervano::sound {
namespace {

using audio::ChannelUse;
using audio::isPlainFile;

// Voices sounding at once. The game's pieces peak at about 60 with notes still releasing; a
// voice costs 10 kB, and the synthesizer's default of 256 would be 2 MB.
constexpr int kPolyphony = 64;

constexpr const char* kSystemSoundfonts[] = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
};

void fluidToStderr(int level, const char* message, void*) {
  std::fprintf(stderr, "tervano: fluidsynth %s: %s\n", level == FLUID_WARN ? "warning" : "error",
               message);
}

// FluidSynth's logging is global; its chatter must not reach stdout.
void routeFluidSynthLog(const FluidLibrary& fl) {
  static std::once_flag once;
  std::call_once(once, [&fl] {
    fl.fluid_set_log_function(FLUID_PANIC, fluidToStderr, nullptr);
    fl.fluid_set_log_function(FLUID_ERR, fluidToStderr, nullptr);
    fl.fluid_set_log_function(FLUID_WARN, fluidToStderr, nullptr);
    fl.fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fl.fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
  });
}

ChannelUse everything() {
  ChannelUse all;
  all.programs.set();
  all.keys.set();
  return all;
}

bool covers(const ChannelUse& loaded, const ChannelUse& wanted) {
  return (wanted.programs & ~loaded.programs).none() && (wanted.keys & ~loaded.keys).none();
}

int ignoreEvent(void*, fluid_midi_event_t*) {
  return FLUID_OK;
}

// The soundfonts put together for a piece reach FluidSynth through its loader's file callbacks,
// found by the name given to sfload; any other name is a real file.
class LoaderFiles {
 public:
  static LoaderFiles& instance() {
    static LoaderFiles files;
    return files;
  }
  std::string add(SoundfontImage& image) {
    std::lock_guard lock(mutex_);
    std::string name = "tervano:soundfont-in-memory:" + std::to_string(++serial_);
    files_[name] = &image;
    return name;
  }
  void remove(const std::string& name) {
    std::lock_guard lock(mutex_);
    files_.erase(name);
  }
  SoundfontImage* find(const char* name) {
    std::lock_guard lock(mutex_);
    auto it = files_.find(name);
    return it == files_.end() ? nullptr : it->second;
  }

 private:
  std::mutex mutex_;
  std::map<std::string, SoundfontImage*> files_;
  std::uint64_t serial_ = 0;
};

struct LoaderFile {
  SoundfontImage* image = nullptr;
  std::FILE* file = nullptr;
  fluid_long_long_t pos = 0;
};

void* loaderOpen(const char* name) {
  if (SoundfontImage* image = LoaderFiles::instance().find(name)) return new LoaderFile{image};
  if (!isPlainFile(name)) return nullptr;
  std::FILE* f = std::fopen(name, "rb");
  return f ? new LoaderFile{nullptr, f} : nullptr;
}
int loaderRead(void* buffer, fluid_long_long_t count, void* handle) {
  auto* h = static_cast<LoaderFile*>(handle);
  if (count < 0) return FLUID_FAILED;
  const auto n = static_cast<std::uint64_t>(count);
  if (h->file) return std::fread(buffer, 1, n, h->file) == n ? FLUID_OK : FLUID_FAILED;
  if (!h->image->read(static_cast<std::uint64_t>(h->pos), buffer, n)) return FLUID_FAILED;
  h->pos += count;
  return FLUID_OK;
}
int loaderSeek(void* handle, fluid_long_long_t offset, int origin) {
  auto* h = static_cast<LoaderFile*>(handle);
  if (h->file) return std::fseek(h->file, offset, origin) == 0 ? FLUID_OK : FLUID_FAILED;
  const auto size = static_cast<fluid_long_long_t>(h->image->size());
  const fluid_long_long_t base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? h->pos : size;
  if (base + offset < 0 || base + offset > size) return FLUID_FAILED;
  h->pos = base + offset;
  return FLUID_OK;
}
fluid_long_long_t loaderTell(void* handle) {
  auto* h = static_cast<LoaderFile*>(handle);
  return h->file ? std::ftell(h->file) : h->pos;
}
int loaderClose(void* handle) {
  auto* h = static_cast<LoaderFile*>(handle);
  if (h->file) std::fclose(h->file);
  delete h;
  return FLUID_OK;
}

}  // namespace

std::unique_ptr<Synth> Synth::make(const std::string& soundfont, int rate) {
  const FluidLibrary* fluid = fluidLibrary();
  if (!fluid) return nullptr;
  routeFluidSynthLog(*fluid);
  std::string path = soundfont;
  if (path.empty()) {
    for (const char* candidate : kSystemSoundfonts) {
      if (isPlainFile(candidate)) {
        path = candidate;
        break;
      }
    }
  }
  if (!isPlainFile(path)) return nullptr;
  std::unique_ptr<Synth> made(new Synth(*fluid, path, rate));
  return made->synth_ ? std::move(made) : nullptr;
}

// The headers are read once; each piece then loads a soundfont of its own instruments. One this
// reader cannot take apart is loaded whole, and then only the samples of the instruments in use
// are read.
Synth::Synth(const FluidLibrary& fluid, std::string path, int rate)
    : fl_(fluid), path_(std::move(path)), soundfont_(Soundfont::read(path_)) {
  fluid_settings_t* s = fl_.new_fluid_settings();
  if (!s) return;
  settings_ = s;
  fl_.fluid_settings_setnum(s, "synth.sample-rate", rate);
  // The player advances with the rendered samples, so the music keeps pace with the device.
  fl_.fluid_settings_setstr(s, "player.timing-source", "sample");
  fl_.fluid_settings_setint(s, "synth.lock-memory", 0);
  fl_.fluid_settings_setint(s, "synth.polyphony", kPolyphony);
  fl_.fluid_settings_setint(s, "synth.dynamic-sample-loading", soundfont_ ? 0 : 1);
  fluid_synth_t* made = fl_.new_fluid_synth(s);
  fluid_sfloader_t* loader = made ? fl_.new_fluid_defsfloader(s) : nullptr;
  if (!loader) {
    if (made) fl_.delete_fluid_synth(made);
    return;
  }
  fl_.fluid_sfloader_set_callbacks(loader, loaderOpen, loaderRead, loaderSeek, loaderTell,
                                   loaderClose);
  fl_.fluid_synth_add_sfloader(made, loader);  // the synthesizer owns it now
  if (!soundfont_) {
    fontId_ = fl_.fluid_synth_sfload(made, path_.c_str(), 1);
    if (fontId_ == FLUID_FAILED) {
      fl_.delete_fluid_synth(made);
      return;
    }
    fontMelodic_ = fontDrums_ = everything();
  }
  synth_ = made;
}

Synth::~Synth() {
  if (player_) fl_.delete_fluid_player(player_);
  if (synth_) fl_.delete_fluid_synth(synth_);
  if (settings_) fl_.delete_fluid_settings(settings_);
}

bool Synth::loadInstruments(const audio::MidiPiece& piece) {
  if (covers(fontMelodic_, piece.melodic) && covers(fontDrums_, piece.drums)) return true;
  // The old instruments go first, so that the two sets are never held at once. The channels are
  // reset to their first programs while the old ones are still there: the new soundfont has
  // those too, and no channel is left looking for an instrument that is gone.
  if (fontId_ != FLUID_FAILED) {
    fl_.fluid_synth_system_reset(synth_);
    fl_.fluid_synth_sfunload(synth_, fontId_, 0);
  }
  fontId_ = FLUID_FAILED;
  fontMelodic_ = fontDrums_ = ChannelUse{};
  if (soundfont_) {
    SoundfontImage image = soundfont_->subset(piece.melodic, piece.drums);
    const std::string name = LoaderFiles::instance().add(image);
    fontId_ = fl_.fluid_synth_sfload(synth_, name.c_str(), 1);
    LoaderFiles::instance().remove(name);
    if (fontId_ != FLUID_FAILED) {
      fontMelodic_ = piece.melodic;
      fontDrums_ = piece.drums;
      return true;
    }
    // What this reader took apart, the synthesizer would not take: it gets the whole file.
    soundfont_.reset();
  }
  fontId_ = fl_.fluid_synth_sfload(synth_, path_.c_str(), 1);
  if (fontId_ == FLUID_FAILED) return false;
  fontMelodic_ = fontDrums_ = everything();
  return true;
}

bool Synth::canRead(const std::vector<std::uint8_t>& midi) {
  bool readable = false;
  if (fluid_player_t* check = fl_.new_fluid_player(synth_)) {
    fl_.fluid_player_set_playback_callback(check, ignoreEvent, nullptr);
    // Plays once: a piece it cannot read ends the player instead of being retried.
    if (fl_.fluid_player_set_loop(check, 1) == FLUID_OK &&
        fl_.fluid_player_add_mem(check, midi.data(), midi.size()) == FLUID_OK &&
        fl_.fluid_player_play(check) == FLUID_OK) {
      float left[64];
      float right[64];
      // The first block loads the piece.
      fl_.fluid_synth_write_float(synth_, 64, left, 0, 1, right, 0, 1);
      readable = fl_.fluid_player_get_status(check) == FLUID_PLAYER_PLAYING &&
                 fl_.fluid_player_get_total_ticks(check) > 0;
    }
    fl_.delete_fluid_player(check);
  }
  return readable;
}

bool Synth::open(const std::vector<std::uint8_t>& midi) {
  close();
  if (!canRead(midi)) return false;
  fluid_player_t* player = fl_.new_fluid_player(synth_);
  if (!player) return false;
  if (fl_.fluid_player_set_loop(player, -1) != FLUID_OK ||
      fl_.fluid_player_add_mem(player, midi.data(), midi.size()) != FLUID_OK ||
      fl_.fluid_player_seek(player, 0) != FLUID_OK) {
    fl_.delete_fluid_player(player);
    return false;
  }
  player_ = player;
  return true;
}

void Synth::play() {
  if (player_ && fl_.fluid_player_get_status(player_) != FLUID_PLAYER_PLAYING) {
    fl_.fluid_player_play(player_);
  }
}

void Synth::stop() {
  if (!player_) return;
  fl_.fluid_player_stop(player_);  // keeps the position
  fl_.fluid_synth_all_sounds_off(synth_, -1);
}

void Synth::close() {
  if (!player_) return;
  fl_.delete_fluid_player(player_);
  player_ = nullptr;
  fl_.fluid_synth_all_sounds_off(synth_, -1);
}

void Synth::render(float* out, int frames) {
  fl_.fluid_synth_write_float(synth_, frames, out, 0, 2, out, 1, 2);
}

int Synth::loadedPresets() const {
  if (fontId_ == FLUID_FAILED) return 0;
  fluid_sfont_t* font = fl_.fluid_synth_get_sfont_by_id(synth_, fontId_);
  if (!font) return 0;
  int count = 0;
  fl_.fluid_sfont_iteration_start(font);
  while (fl_.fluid_sfont_iteration_next(font))
    ++count;
  return count;
}

}  // namespace tervano::sound
