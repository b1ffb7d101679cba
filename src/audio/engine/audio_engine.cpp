#include "audio/engine/audio_engine.h"

#include <algorithm>
#include <bitset>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "audio/engine/libraries.h"
#include "audio/engine/pcm_device.h"
#include "audio/engine/soundfont.h"
#include "audio/engine/wav.h"
#include "audio/midi_check.h"
#include "audio/session_bus.h"
#include "audio/sound_file.h"

namespace tervano::audio {
namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
// Small buffers: a cue returns one buffer after its last sample, and that should not be heard
// as a delay.
constexpr int kBufferFrames = 512;
// Covers the device's start-up and a late buffer or two; a stalled device must not hang the game.
constexpr auto kCueMargin = std::chrono::milliseconds(1000);
// A cue is a short signal; ten minutes converted to float stereo already take 200 MB.
constexpr auto kMaxCueLength = std::chrono::minutes(10);
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

// Without a sound card the player learns it in one line, not from the libraries' own reports.
void reportSilence() {
  static std::once_flag once;
  std::call_once(once, [] {
    std::fputs("Tervano: zvukové zařízení nelze otevřít, program hraje potichu.\n", stderr);
  });
}

// Keeps the device's thread out of the mixer's state; nothing to keep out when no device is open.
class DeviceLock {
 public:
  explicit DeviceLock(PcmDevice* device) {
    if (device) lock_ = std::unique_lock(device->mutex());
  }

 private:
  std::unique_lock<std::mutex> lock_;
};

struct Cue {
  std::vector<float> samples;  // interleaved stereo at the device's rate
  std::chrono::microseconds length{0};
};

// The largest cue file read: ten minutes of 48 kHz 16-bit stereo are 110 MB, and the decoded
// samples take twice as much again.
constexpr std::uintmax_t kMaxCueBytes = 128u << 20;

// Loads a WAV file; with a rate, also converts it for the mixer.
std::optional<Cue> loadCue(const std::string& path, int rate) {
  const auto bytes = readSoundFile(path, kMaxCueBytes);
  if (!bytes) return std::nullopt;
  std::optional<WavSound> sound = decodeWav(*bytes, kMaxCueLength);
  if (!sound) return std::nullopt;
  Cue cue;
  cue.length = sound->length();
  if (rate > 0) cue.samples = toStereo(*sound, rate);
  return cue;
}

struct Midi {
  std::vector<std::uint8_t> bytes;
  MidiPiece piece;
};

std::optional<Midi> readMidi(const std::string& path) {
  auto bytes = readSoundFile(path, kMaxMidiBytes);
  if (!bytes) return std::nullopt;
  Midi midi;
  midi.bytes = std::move(*bytes);
  const auto piece = readMidiPiece(midi.bytes);
  if (!piece || piece->seconds < kMinPieceSeconds) return std::nullopt;
  midi.piece = *piece;
  return midi;
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

class MusicOutput final : public ui::MusicPlayer {
 public:
  explicit MusicOutput(AudioEngine::State& engine) : engine_(engine) {}
  bool open(const std::string& path) override;
  void play() override;
  void stop() override;
  void close() override;
  bool isOpen() const override;

 private:
  bool openPiece(const std::string& path);
  AudioEngine::State& engine_;
};

struct AudioEngine::State {
  enum class CuePhase { Idle, Playing, Draining };

  AudioEngineOptions options;
  std::unique_ptr<PcmDevice> device;
  std::string driver;
  int rate = 0;

  // The music side, built by the first open. Only the thread that opens music uses these, but
  // for `synth` and `player`, which the callback reads under the device lock.
  const FluidLibrary* fluid = nullptr;
  bool synthFailed = false;
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  std::string soundfontPath;
  std::optional<Soundfont> soundfont;  // empty: the file is loaded whole
  int fontId = FLUID_FAILED;
  // What the loaded soundfont holds (everything, when it is the whole file).
  ChannelUse fontMelodic, fontDrums;
  fluid_player_t* player = nullptr;

  // The current cue, shared with the callback under the device lock.
  std::vector<float> cue;
  std::size_t cuePos = 0;
  CuePhase cuePhase = CuePhase::Idle;
  std::uint64_t cueSerial = 0;

  // Wakes the caller of playWavSync.
  std::mutex waitMutex;
  std::condition_variable waitCv;
  std::uint64_t doneSerial = 0;    // guarded by waitMutex
  std::uint64_t latestSerial = 0;  // guarded by waitMutex

  MusicOutput music{*this};

  // The device's life: opened on demand by the caller's thread, closed by the idle thread after
  // a quiet spell. Whoever uses `device` holds this mutex.
  mutable std::mutex lifecycle;
  std::condition_variable lifecycleCv;
  bool canOpen = false;       // a driver opened a device at start
  bool musicPlaying = false;  // guarded by lifecycle
  bool cueActive = false;     // guarded by lifecycle
  bool shuttingDown = false;  // guarded by lifecycle
  std::chrono::steady_clock::time_point quietSince;
  std::thread idleThread;

  bool tryDriver(const std::string& name);
  // With the lifecycle mutex held: opens the device when it is closed. False without one.
  bool ensureOpen();
  // With the lifecycle mutex held: notes the end of a sound for the idle thread.
  void becameQuiet();
  void idleLoop();
  bool openDevice();
  // The synthesizer with its soundfont (headers only, so far); false when there is none.
  bool ensureSynth();
  void freeSynth();
  // Loads the instruments of the piece, unless the loaded ones include them.
  bool loadInstruments(const MidiPiece& piece);
  // Lets FluidSynth itself read the piece, on a player of its own that plays once and passes no
  // event on. Its looping player retries a piece it cannot read, or one without length, endlessly
  // inside the audio callback, which would hang the device: what it cannot read must never reach
  // it. With the device lock held: it renders a block of the synthesizer, which is silent as no
  // piece is open.
  bool synthCanRead(const std::vector<std::uint8_t>& bytes);
  void mix(float* out, int frames);
  void finishCue(std::uint64_t serial);

  static void callback(void* user, float* out, int frames) {
    static_cast<State*>(user)->mix(out, frames);
  }
};

bool AudioEngine::State::openDevice() {
  device = PcmDevice::open(driver, kRate, kBufferFrames, &State::callback, this);
  return device != nullptr;
}

// Opens the device of a driver; remembered when it opens, so that it is opened again after a
// quiet spell.
bool AudioEngine::State::tryDriver(const std::string& name) {
  driver = name;
  if (openDevice()) {
    rate = device->rate();
    return true;
  }
  driver.clear();
  return false;
}

bool AudioEngine::State::ensureSynth() {
  if (synth) return true;
  if (synthFailed || !canOpen) return false;
  synthFailed = true;  // until it succeeds
  fluid = fluidLibrary();
  if (!fluid) return false;
  routeFluidSynthLog(*fluid);

  std::string path = options.soundfont;
  if (path.empty()) {
    for (const char* candidate : kSystemSoundfonts) {
      if (isPlainFile(candidate)) {
        path = candidate;
        break;
      }
    }
  }
  if (!isPlainFile(path)) return false;
  soundfontPath = path;
  // The headers, read once; each piece then loads a soundfont of its own instruments. One this
  // reader cannot take apart is loaded whole, and then only the samples of the instruments in
  // use are read.
  soundfont = Soundfont::read(path);

  fluid_settings_t* s = fluid->new_fluid_settings();
  if (!s) return false;
  fluid->fluid_settings_setnum(s, "synth.sample-rate", rate);
  // The player advances with the rendered samples, so the music keeps pace with the device.
  fluid->fluid_settings_setstr(s, "player.timing-source", "sample");
  fluid->fluid_settings_setint(s, "synth.lock-memory", 0);
  fluid->fluid_settings_setint(s, "synth.polyphony", kPolyphony);
  fluid->fluid_settings_setint(s, "synth.dynamic-sample-loading", soundfont ? 0 : 1);
  fluid_synth_t* made = fluid->new_fluid_synth(s);
  fluid_sfloader_t* loader = made ? fluid->new_fluid_defsfloader(s) : nullptr;
  if (!loader) {
    if (made) fluid->delete_fluid_synth(made);
    fluid->delete_fluid_settings(s);
    return false;
  }
  fluid->fluid_sfloader_set_callbacks(loader, loaderOpen, loaderRead, loaderSeek, loaderTell,
                                      loaderClose);
  fluid->fluid_synth_add_sfloader(made, loader);  // the synthesizer owns it now
  if (!soundfont) {
    fontId = fluid->fluid_synth_sfload(made, path.c_str(), 1);
    if (fontId == FLUID_FAILED) {
      fluid->delete_fluid_synth(made);
      fluid->delete_fluid_settings(s);
      return false;
    }
    fontMelodic = fontDrums = everything();
  }
  settings = s;
  std::lock_guard life(lifecycle);
  DeviceLock lock(device.get());
  synth = made;
  synthFailed = false;
  return true;
}

bool AudioEngine::State::loadInstruments(const MidiPiece& piece) {
  if (covers(fontMelodic, piece.melodic) && covers(fontDrums, piece.drums)) return true;
  // The old instruments go first, so that the two sets are never held at once. The channels are
  // reset to their first programs while the old ones are still there: the new soundfont has
  // those too, and no channel is left looking for an instrument that is gone.
  if (fontId != FLUID_FAILED) {
    fluid->fluid_synth_system_reset(synth);
    fluid->fluid_synth_sfunload(synth, fontId, 0);
  }
  fontId = FLUID_FAILED;
  fontMelodic = fontDrums = ChannelUse{};
  if (soundfont) {
    SoundfontImage image = soundfont->subset(piece.melodic, piece.drums);
    const std::string name = LoaderFiles::instance().add(image);
    fontId = fluid->fluid_synth_sfload(synth, name.c_str(), 1);
    LoaderFiles::instance().remove(name);
    if (fontId != FLUID_FAILED) {
      fontMelodic = piece.melodic;
      fontDrums = piece.drums;
      return true;
    }
    // What this reader took apart, the synthesizer would not take: it gets the whole file.
    soundfont.reset();
  }
  fontId = fluid->fluid_synth_sfload(synth, soundfontPath.c_str(), 1);
  if (fontId == FLUID_FAILED) return false;
  fontMelodic = fontDrums = everything();
  return true;
}

bool AudioEngine::State::synthCanRead(const std::vector<std::uint8_t>& bytes) {
  bool readable = false;
  if (fluid_player_t* check = fluid->new_fluid_player(synth)) {
    fluid->fluid_player_set_playback_callback(check, ignoreEvent, nullptr);
    // Plays once: a piece it cannot read ends the player instead of being retried.
    if (fluid->fluid_player_set_loop(check, 1) == FLUID_OK &&
        fluid->fluid_player_add_mem(check, bytes.data(), bytes.size()) == FLUID_OK &&
        fluid->fluid_player_play(check) == FLUID_OK) {
      float left[64];
      float right[64];
      // The first block loads the piece.
      fluid->fluid_synth_write_float(synth, 64, left, 0, 1, right, 0, 1);
      readable = fluid->fluid_player_get_status(check) == FLUID_PLAYER_PLAYING &&
                 fluid->fluid_player_get_total_ticks(check) > 0;
    }
    fluid->delete_fluid_player(check);
  }
  return readable;
}

void AudioEngine::State::freeSynth() {
  if (player) fluid->delete_fluid_player(player);
  if (synth) fluid->delete_fluid_synth(synth);
  if (settings) fluid->delete_fluid_settings(settings);
  player = nullptr;
  synth = nullptr;
  settings = nullptr;
}

void AudioEngine::State::mix(float* out, int frames) {
  const std::size_t n = static_cast<std::size_t>(frames) * kChannels;
  if (synth) {
    fluid->fluid_synth_write_float(synth, frames, out, 0, kChannels, out, 1, kChannels);
  } else {
    std::fill(out, out + n, 0.0f);
  }

  // The buffer holding the cue's last sample went to the device before this callback.
  if (cuePhase == CuePhase::Draining) {
    cuePhase = CuePhase::Idle;
    finishCue(cueSerial);
  }
  if (cuePhase == CuePhase::Playing) {
    const std::size_t take = std::min(n, cue.size() - cuePos);
    const float* src = cue.data() + cuePos;
    for (std::size_t i = 0; i < take; ++i)
      out[i] += src[i];
    cuePos += take;
    if (cuePos == cue.size()) cuePhase = CuePhase::Draining;
  }
  for (std::size_t i = 0; i < n; ++i)
    out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

void AudioEngine::State::finishCue(std::uint64_t serial) {
  {
    std::lock_guard lock(waitMutex);
    doneSerial = serial;
  }
  waitCv.notify_all();
}

bool AudioEngine::State::ensureOpen() {
  if (device) return true;
  return canOpen && openDevice();
}

void AudioEngine::State::becameQuiet() {
  if (musicPlaying || cueActive) return;
  quietSince = std::chrono::steady_clock::now();
  lifecycleCv.notify_all();
}

void AudioEngine::State::idleLoop() {
  std::unique_lock lock(lifecycle);
  while (!shuttingDown) {
    if (!device || musicPlaying || cueActive) {
      lifecycleCv.wait(lock);
      continue;
    }
    const auto deadline = quietSince + options.idleClose;
    if (std::chrono::steady_clock::now() < deadline) {
      lifecycleCv.wait_until(lock, deadline);
      continue;
    }
    device.reset();  // can be slow, and why it happens here
  }
}

AudioEngine::AudioEngine(AudioEngineOptions options) : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.options = std::move(options);
  // A sound server's client library connects to the D-Bus session bus, which would otherwise be
  // launched here.
  preventSessionBusAutolaunch();
  const char* forced = std::getenv("TERVANO_AUDIO_DRIVER");
  if (!s.tryDriver(forced && *forced ? forced : "alsa")) {
    reportSilence();
    if (!s.options.fallbackDriver.empty()) s.tryDriver(s.options.fallbackDriver);
  }
  if (!s.device) return;
  s.canOpen = true;
  s.quietSince = std::chrono::steady_clock::now();
  if (s.options.idleClose.count() > 0) s.idleThread = std::thread([&s] { s.idleLoop(); });
}

AudioEngine::~AudioEngine() {
  State& s = *state_;
  {
    std::lock_guard lock(s.lifecycle);
    s.shuttingDown = true;
  }
  s.lifecycleCv.notify_all();
  if (s.idleThread.joinable()) s.idleThread.join();
  s.device.reset();  // waits for the mixer to finish
  s.freeSynth();
}

bool AudioEngine::playWavSync(const std::string& path) {
  State& s = *state_;
  std::optional<Cue> cue = loadCue(path, s.rate);
  if (!cue) return false;
  std::unique_lock life(s.lifecycle);
  if (!s.ensureOpen()) {
    life.unlock();
    std::this_thread::sleep_for(cue->length);
    return true;
  }
  s.cueActive = true;

  std::uint64_t serial = 0;
  {
    DeviceLock lock(s.device.get());
    s.cue.swap(cue->samples);  // the previous cue is freed here, outside the callback
    s.cuePos = 0;
    s.cuePhase = State::CuePhase::Playing;
    serial = ++s.cueSerial;
  }
  // The device stays open while the cue plays: the idle thread waits for cueActive to clear.
  life.unlock();
  {
    std::lock_guard lock(s.waitMutex);
    s.latestSerial = serial;
  }
  s.waitCv.notify_all();

  std::unique_lock lock(s.waitMutex);
  s.waitCv.wait_for(lock, cue->length + kCueMargin,
                    [&] { return s.doneSerial >= serial || s.latestSerial > serial; });
  lock.unlock();
  life.lock();
  {
    // A device that stalled drops the cue rather than let it sound later. The samples are freed
    // here, outside the callback: a long cue in float stereo takes megabytes.
    DeviceLock deviceLock(s.device.get());
    if (s.cueSerial == serial) {
      s.cuePhase = State::CuePhase::Idle;
      s.cue.swap(cue->samples);
    }
  }
  s.cueActive = false;
  s.becameQuiet();
  life.unlock();
  cue.reset();
  return true;
}

ui::MusicPlayer& AudioEngine::music() {
  return state_->music;
}

bool AudioEngine::hasDevice() const {
  return state_->canOpen;
}
bool AudioEngine::deviceOpen() const {
  std::lock_guard lock(state_->lifecycle);
  return state_->device != nullptr;
}
std::string AudioEngine::driver() const {
  return state_->driver;
}
int AudioEngine::sampleRate() const {
  return state_->rate;
}
bool AudioEngine::hasSynth() const {
  return state_->synth != nullptr;
}
int AudioEngine::loadedPresets() const {
  const State& s = *state_;
  if (!s.synth || s.fontId == FLUID_FAILED) return 0;
  fluid_sfont_t* font = s.fluid->fluid_synth_get_sfont_by_id(s.synth, s.fontId);
  if (!font) return 0;
  int count = 0;
  s.fluid->fluid_sfont_iteration_start(font);
  while (s.fluid->fluid_sfont_iteration_next(font))
    ++count;
  return count;
}

bool MusicOutput::open(const std::string& path) {
  close();
  const bool opened = openPiece(path);
#ifdef __GLIBC__
  // Loading instruments leaves the synthesizer's scratch space free but mapped; hand it back.
  malloc_trim(0);
#endif
  return opened;
}

bool MusicOutput::openPiece(const std::string& path) {
  std::optional<Midi> midi = readMidi(path);
  if (!midi || !engine_.ensureSynth() || !engine_.loadInstruments(midi->piece)) {
    return false;
  }
  const FluidLibrary& fl = *engine_.fluid;
  std::lock_guard life(engine_.lifecycle);
  DeviceLock lock(engine_.device.get());
  if (!engine_.synthCanRead(midi->bytes)) return false;
  fluid_player_t* player = fl.new_fluid_player(engine_.synth);
  if (!player) return false;
  if (fl.fluid_player_set_loop(player, -1) != FLUID_OK ||
      fl.fluid_player_add_mem(player, midi->bytes.data(), midi->bytes.size()) != FLUID_OK ||
      fl.fluid_player_seek(player, 0) != FLUID_OK) {
    fl.delete_fluid_player(player);
    return false;
  }
  engine_.player = player;
  return true;
}

void MusicOutput::play() {
  if (!engine_.player) return;
  const FluidLibrary& fl = *engine_.fluid;
  std::lock_guard life(engine_.lifecycle);
  engine_.ensureOpen();
  DeviceLock lock(engine_.device.get());
  if (fl.fluid_player_get_status(engine_.player) != FLUID_PLAYER_PLAYING) {
    fl.fluid_player_play(engine_.player);
  }
  engine_.musicPlaying = true;
}

void MusicOutput::stop() {
  if (!engine_.player) return;
  const FluidLibrary& fl = *engine_.fluid;
  std::lock_guard life(engine_.lifecycle);
  {
    DeviceLock lock(engine_.device.get());
    fl.fluid_player_stop(engine_.player);  // keeps the position
    fl.fluid_synth_all_sounds_off(engine_.synth, -1);
  }
  engine_.musicPlaying = false;
  engine_.becameQuiet();
}

void MusicOutput::close() {
  if (!engine_.player) return;
  const FluidLibrary& fl = *engine_.fluid;
  std::lock_guard life(engine_.lifecycle);
  {
    DeviceLock lock(engine_.device.get());
    fl.delete_fluid_player(engine_.player);
    engine_.player = nullptr;
    fl.fluid_synth_all_sounds_off(engine_.synth, -1);
  }
  engine_.musicPlaying = false;
  engine_.becameQuiet();
}

bool MusicOutput::isOpen() const {
  return engine_.player != nullptr;
}

}  // namespace tervano::audio
