#include "audio/deferred_output.h"

#include "audio/midi_check.h"
#include "audio/sound_file.h"

namespace tervano::audio {

namespace {

// What is left when the sound output could not be built: no cue and no music.
class NoOutput : public SoundOutput, public ui::MusicPlayer {
 public:
  bool playWavSync(const std::string&) override { return false; }
  ui::MusicPlayer& music() override { return *this; }
  bool open(const std::string&) override { return false; }
  void play() override {}
  void stop() override {}
  void close() override {}
  bool isOpen() const override { return false; }
};

// The player's own check of a piece, cheap enough for the caller's thread: a small plain file
// holding a well-formed Standard MIDI File of some length.
bool playablePiece(const std::string& path) {
  const auto bytes = readSoundFile(path, kMaxMidiBytes);
  return bytes && isPlayableMidi(*bytes);
}

}  // namespace

DeferredSoundOutput::DeferredSoundOutput(std::function<std::unique_ptr<SoundOutput>()> make)
    : make_(std::move(make)) {}

DeferredSoundOutput::~DeferredSoundOutput() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  workCv_.notify_all();
  // A build under way is finished first; the output is destroyed on this thread.
  if (worker_.joinable()) worker_.join();
  output_.reset();
}

void DeferredSoundOutput::wantOutput() {
  outputWanted_ = true;
  if (!worker_.joinable()) worker_ = std::thread([this] { work(); });
  workCv_.notify_all();
}

void DeferredSoundOutput::start() {
  std::lock_guard lock(mutex_);
  wantOutput();
}

bool DeferredSoundOutput::playWavSync(const std::string& path) {
  SoundOutput* output = nullptr;
  {
    std::unique_lock lock(mutex_);
    wantOutput();
    readyCv_.wait(lock, [this] { return built_; });
    output = output_.get();
  }
  // The worker may meanwhile change the music on the same output: cues and music are apart.
  return output->playWavSync(path);
}

ui::MusicPlayer& DeferredSoundOutput::music() {
  return player_;
}

bool DeferredSoundOutput::musicToDo() const {
  const bool newPiece = wish_.generation != done_.generation;
  if (newPiece && done_.opened) return true;  // the old piece must go
  if (!wish_.piece) return false;
  if (wish_.playing) return newPiece || !done_.opened || !done_.playing;
  return !newPiece && done_.playing;
}

void DeferredSoundOutput::work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    workCv_.wait(lock, [this] {
      return stopping_ || (outputWanted_ && !built_) || (built_ && musicToDo());
    });
    if (stopping_) return;
    if (!built_) {
      auto make = std::move(make_);
      lock.unlock();
      std::unique_ptr<SoundOutput> built;
      try {
        if (make) built = make();
      } catch (...) {
        built.reset();
      }
      if (!built) built = std::make_unique<NoOutput>();
      lock.lock();
      output_ = std::move(built);
      built_ = true;
      readyCv_.notify_all();
      continue;
    }
    const Wish wish = wish_;
    lock.unlock();
    const bool opened = carryOut(wish);
    lock.lock();
    // A piece the output could not open after all leaves the player closed, as an open that
    // failed at once would have.
    if (!opened && wish_.generation == wish.generation) {
      wish_.piece.reset();
      wish_.playing = false;
    }
  }
}

bool DeferredSoundOutput::carryOut(const Wish& wish) {
  ui::MusicPlayer& player = output_->music();
  if (wish.generation != done_.generation) {
    if (done_.opened) player.close();
    done_ = {wish.generation, false, false};
  }
  if (!wish.piece) return true;
  if (wish.playing) {
    if (!done_.opened) {
      if (!player.open(*wish.piece)) return false;
      done_.opened = true;
    }
    if (!done_.playing) player.play();
    done_.playing = true;
  } else if (done_.playing) {
    player.stop();
    done_.playing = false;
  }
  return true;
}

bool DeferredSoundOutput::Player::open(const std::string& path) {
  const bool playable = playablePiece(path);
  std::lock_guard lock(owner_.mutex_);
  Wish& wish = owner_.wish_;
  ++wish.generation;
  wish.playing = false;
  if (playable) {
    wish.piece = path;
  } else {
    wish.piece.reset();
  }
  owner_.workCv_.notify_all();
  return playable;
}

void DeferredSoundOutput::Player::play() {
  std::lock_guard lock(owner_.mutex_);
  Wish& wish = owner_.wish_;
  if (!wish.piece || wish.playing) return;
  wish.playing = true;
  owner_.wantOutput();
}

void DeferredSoundOutput::Player::stop() {
  std::lock_guard lock(owner_.mutex_);
  owner_.wish_.playing = false;
  owner_.workCv_.notify_all();
}

void DeferredSoundOutput::Player::close() {
  std::lock_guard lock(owner_.mutex_);
  Wish& wish = owner_.wish_;
  if (!wish.piece) return;
  ++wish.generation;
  wish.piece.reset();
  wish.playing = false;
  owner_.workCv_.notify_all();
}

bool DeferredSoundOutput::Player::isOpen() const {
  std::lock_guard lock(owner_.mutex_);
  return owner_.wish_.piece.has_value();
}

}  // namespace tervano::audio
