#include "audio/engine/audio_engine.h"

#include <SDL.h>
#include <fluidsynth.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "audio/midi_check.h"

namespace tervano::audio {
namespace {

namespace fs = std::filesystem;

constexpr int kRate = 44100;
constexpr int kChannels = 2;
// Small buffers: a cue returns one buffer after its last sample, and that should not be heard
// as a delay.
constexpr Uint16 kBufferFrames = 512;
// Covers the device's start-up and a late buffer or two; a stalled device must not hang the game.
constexpr auto kCueMargin = std::chrono::milliseconds(1000);
// A cue is a short signal; ten minutes converted to float stereo already take 200 MB.
constexpr auto kMaxCueLength = std::chrono::minutes(10);

constexpr const char* kSystemSoundfonts[] = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
};

void fluidToStderr(int level, const char* message, void*) {
  std::fprintf(stderr, "tervano: fluidsynth %s: %s\n", level == FLUID_WARN ? "warning" : "error",
               message);
}

// FluidSynth's logging is global; its chatter must not reach stdout.
void routeFluidSynthLog() {
  static std::once_flag once;
  std::call_once(once, [] {
    fluid_set_log_function(FLUID_PANIC, fluidToStderr, nullptr);
    fluid_set_log_function(FLUID_ERR, fluidToStderr, nullptr);
    fluid_set_log_function(FLUID_WARN, fluidToStderr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
  });
}

// A FIFO or device node would block the reader: only plain files are opened.
bool isPlainFile(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(path, ec);
}

class DeviceLock {
 public:
  explicit DeviceLock(SDL_AudioDeviceID device) : device_(device) {
    if (device_) SDL_LockAudioDevice(device_);
  }
  ~DeviceLock() {
    if (device_) SDL_UnlockAudioDevice(device_);
  }
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;

 private:
  SDL_AudioDeviceID device_;
};

struct Cue {
  std::vector<float> samples;  // interleaved stereo at the device's rate
  std::chrono::microseconds length{0};
};

// Converts to the mixer's float stereo. SDL_AudioCVT rather than SDL_AudioStream: this SDL's
// stream drops the resampler's last few hundred frames, cutting every resampled cue short.
std::optional<std::vector<float>> convertCue(const SDL_AudioSpec& spec, const Uint8* data,
                                             Uint32 bytes, int rate) {
  if (bytes == 0) return std::vector<float>();
  SDL_AudioCVT cvt{};
  if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_F32SYS, kChannels,
                        rate) < 0) {
    return std::nullopt;
  }
  std::vector<Uint8> buffer(static_cast<std::size_t>(bytes) * std::max(cvt.len_mult, 1));
  std::copy(data, data + bytes, buffer.begin());
  cvt.buf = buffer.data();
  cvt.len = static_cast<int>(bytes);
  if (cvt.needed) {
    if (SDL_ConvertAudio(&cvt) < 0) return std::nullopt;
  } else {
    cvt.len_cvt = cvt.len;
  }
  const std::size_t frames = static_cast<std::size_t>(cvt.len_cvt) / (sizeof(float) * kChannels);
  std::vector<float> samples(frames * kChannels);
  std::memcpy(samples.data(), buffer.data(), samples.size() * sizeof(float));
  return samples;
}

// Loads a WAV file; with a rate, also converts it for the mixer.
std::optional<Cue> loadCue(const std::string& path, int rate) {
  if (!isPlainFile(path)) return std::nullopt;
  SDL_AudioSpec spec{};
  Uint8* data = nullptr;
  Uint32 bytes = 0;
  if (!SDL_LoadWAV(path.c_str(), &spec, &data, &bytes)) return std::nullopt;

  std::optional<Cue> cue;
  const int frameBytes = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
  if (frameBytes > 0 && spec.freq > 0) {
    const std::int64_t frames = bytes / frameBytes;
    const auto length = std::chrono::microseconds(frames * 1'000'000 / spec.freq);
    if (length <= kMaxCueLength) {
      cue.emplace();
      cue->length = length;
      if (rate > 0) {
        auto samples = convertCue(spec, data, bytes, rate);
        if (samples) {
          cue->samples = std::move(*samples);
        } else {
          cue.reset();
        }
      }
    }
  }
  SDL_FreeWAV(data);
  return cue;
}

int ignoreEvent(void*, fluid_midi_event_t*) {
  return FLUID_OK;
}

// Lets FluidSynth itself read the piece on a scratch synthesizer. Its looping player retries a
// piece it cannot read, or one without length, endlessly inside the audio callback, which would
// hang the device: what it cannot read must never reach it.
bool synthCanRead(const std::vector<std::uint8_t>& bytes) {
  fluid_settings_t* settings = new_fluid_settings();
  if (!settings) return false;
  fluid_settings_setstr(settings, "player.timing-source", "sample");
  fluid_settings_setint(settings, "synth.polyphony", 16);
  fluid_settings_setint(settings, "synth.reverb.active", 0);
  fluid_settings_setint(settings, "synth.chorus.active", 0);
  fluid_settings_setint(settings, "synth.lock-memory", 0);
  bool readable = false;
  if (fluid_synth_t* synth = new_fluid_synth(settings)) {
    if (fluid_player_t* player = new_fluid_player(synth)) {
      fluid_player_set_playback_callback(player, ignoreEvent, nullptr);
      // Plays once: a piece it cannot read ends the player instead of being retried.
      if (fluid_player_set_loop(player, 1) == FLUID_OK &&
          fluid_player_add_mem(player, bytes.data(), bytes.size()) == FLUID_OK &&
          fluid_player_play(player) == FLUID_OK) {
        float left[64];
        float right[64];
        // The first block loads the piece.
        fluid_synth_write_float(synth, 64, left, 0, 1, right, 0, 1);
        readable = fluid_player_get_status(player) == FLUID_PLAYER_PLAYING &&
                   fluid_player_get_total_ticks(player) > 0;
      }
      delete_fluid_player(player);
    }
    delete_fluid_synth(synth);
  }
  delete_fluid_settings(settings);
  return readable;
}

std::optional<std::vector<std::uint8_t>> readMidi(const std::string& path) {
  if (!isPlainFile(path)) return std::nullopt;
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  if (ec || size > kMaxMidiBytes) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
    return std::nullopt;
  }
  if (!isPlayableMidi(bytes) || !synthCanRead(bytes)) return std::nullopt;
  return bytes;
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
  AudioEngine::State& engine_;
};

struct AudioEngine::State {
  enum class CuePhase { Idle, Playing, Draining };

  AudioEngineOptions options;
  bool sdlAudio = false;  // the audio subsystem is ours to quit
  SDL_AudioDeviceID device = 0;
  std::string driver;
  int rate = 0;

  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  // Changed by the caller's thread under the device lock, used by the callback.
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

  bool tryDriver(const char* forced);
  // With the lifecycle mutex held: opens the device when it is closed. False without one.
  bool ensureOpen();
  // With the lifecycle mutex held: notes the end of a sound for the idle thread.
  void becameQuiet();
  void idleLoop();
  bool openDevice();
  void createSynth();
  void mix(float* out, int frames);
  void finishCue(std::uint64_t serial);

  static void callback(void* userdata, Uint8* stream, int len) {
    static_cast<State*>(userdata)->mix(reinterpret_cast<float*>(stream),
                                       len / static_cast<int>(sizeof(float) * kChannels));
  }
};

bool AudioEngine::State::openDevice() {
  SDL_AudioSpec want{};
  want.freq = kRate;
  want.format = AUDIO_F32SYS;
  want.channels = kChannels;
  want.samples = kBufferFrames;
  want.callback = &State::callback;
  want.userdata = this;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts to whatever the hardware wants.
  device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device == 0) return false;
  rate = have.freq;
  return true;
}

// Starts SDL's audio with the driver it picks itself (nullptr) or a forced one, and opens the
// device. On failure everything is undone.
bool AudioEngine::State::tryDriver(const char* forced) {
  if (forced) SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, forced, SDL_HINT_OVERRIDE);
  const bool started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (forced) SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  if (!started) return false;
  if (openDevice()) {
    const char* name = SDL_GetCurrentAudioDriver();
    driver = name ? name : "";
    sdlAudio = true;
    return true;
  }
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return false;
}

void AudioEngine::State::createSynth() {
  std::string path = options.soundfont;
  if (path.empty()) {
    for (const char* candidate : kSystemSoundfonts) {
      if (isPlainFile(candidate)) {
        path = candidate;
        break;
      }
    }
  }
  if (!isPlainFile(path) || !fluid_is_soundfont(path.c_str())) return;

  settings = new_fluid_settings();
  if (!settings) return;
  fluid_settings_setnum(settings, "synth.sample-rate", rate);
  // The player advances with the rendered samples, so the music keeps pace with the device.
  fluid_settings_setstr(settings, "player.timing-source", "sample");
  fluid_settings_setint(settings, "synth.lock-memory", 0);
  synth = new_fluid_synth(settings);
  if (synth && fluid_synth_sfload(synth, path.c_str(), 1) != FLUID_FAILED) return;
  if (synth) delete_fluid_synth(synth);
  synth = nullptr;
  delete_fluid_settings(settings);
  settings = nullptr;
}

void AudioEngine::State::mix(float* out, int frames) {
  const std::size_t n = static_cast<std::size_t>(frames) * kChannels;
  if (synth) {
    fluid_synth_write_float(synth, frames, out, 0, kChannels, out, 1, kChannels);
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
  if (!canOpen || !openDevice()) return false;
  SDL_PauseAudioDevice(device, 0);
  return true;
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
    SDL_CloseAudioDevice(device);  // slow, and why it happens here
    device = 0;
  }
}

AudioEngine::AudioEngine(AudioEngineOptions options) : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.options = std::move(options);
  routeFluidSynthLog();
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Tervano");
  SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE, "game");

  if (!s.tryDriver(nullptr) && !s.options.fallbackDriver.empty()) {
    s.tryDriver(s.options.fallbackDriver.c_str());
  }
  if (!s.device) return;
  s.canOpen = true;
  s.createSynth();
  SDL_PauseAudioDevice(s.device, 0);
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
  if (s.device) SDL_CloseAudioDevice(s.device);  // waits for the callback to finish
  if (s.player) delete_fluid_player(s.player);
  if (s.synth) delete_fluid_synth(s.synth);
  if (s.settings) delete_fluid_settings(s.settings);
  if (s.sdlAudio) SDL_QuitSubSystem(SDL_INIT_AUDIO);
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
    DeviceLock lock(s.device);
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
  const bool finished = s.waitCv.wait_for(lock, cue->length + kCueMargin, [&] {
    return s.doneSerial >= serial || s.latestSerial > serial;
  });
  lock.unlock();
  life.lock();
  if (!finished) {
    // The device stalled: drop the cue rather than let it sound later.
    DeviceLock deviceLock(s.device);
    if (s.cueSerial == serial) s.cuePhase = State::CuePhase::Idle;
  }
  s.cueActive = false;
  s.becameQuiet();
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
  return state_->device != 0;
}
std::string AudioEngine::driver() const {
  return state_->driver;
}
int AudioEngine::sampleRate() const {
  return state_->rate;
}
bool AudioEngine::hasSoundfont() const {
  return state_->synth != nullptr;
}

bool MusicOutput::open(const std::string& path) {
  close();
  if (!engine_.synth) return false;
  std::optional<std::vector<std::uint8_t>> bytes = readMidi(path);
  if (!bytes) return false;

  std::lock_guard life(engine_.lifecycle);
  DeviceLock lock(engine_.device);
  fluid_player_t* player = new_fluid_player(engine_.synth);
  if (!player) return false;
  if (fluid_player_set_loop(player, -1) != FLUID_OK ||
      fluid_player_add_mem(player, bytes->data(), bytes->size()) != FLUID_OK ||
      fluid_player_seek(player, 0) != FLUID_OK) {
    delete_fluid_player(player);
    return false;
  }
  engine_.player = player;
  return true;
}

void MusicOutput::play() {
  if (!engine_.player) return;
  std::lock_guard life(engine_.lifecycle);
  engine_.ensureOpen();
  DeviceLock lock(engine_.device);
  if (fluid_player_get_status(engine_.player) != FLUID_PLAYER_PLAYING) {
    fluid_player_play(engine_.player);
  }
  engine_.musicPlaying = true;
}

void MusicOutput::stop() {
  if (!engine_.player) return;
  std::lock_guard life(engine_.lifecycle);
  {
    DeviceLock lock(engine_.device);
    fluid_player_stop(engine_.player);  // keeps the position
    fluid_synth_all_sounds_off(engine_.synth, -1);
  }
  engine_.musicPlaying = false;
  engine_.becameQuiet();
}

void MusicOutput::close() {
  if (!engine_.player) return;
  std::lock_guard life(engine_.lifecycle);
  {
    DeviceLock lock(engine_.device);
    delete_fluid_player(engine_.player);
    engine_.player = nullptr;
    fluid_synth_all_sounds_off(engine_.synth, -1);
  }
  engine_.musicPlaying = false;
  engine_.becameQuiet();
}

bool MusicOutput::isOpen() const {
  return engine_.player != nullptr;
}

}  // namespace tervano::audio
