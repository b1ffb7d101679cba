#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ui/host.h"

namespace tervano::testing {

// Records what the program did to the user, in order, and answers from a queue. Unscripted
// boxes are answered OK (Cancel for Retry/Cancel boxes), unscripted dialogs are cancelled.
class FakeHost : public ui::Host {
 public:
  class Music : public ui::MusicPlayer {
   public:
    explicit Music(FakeHost& host) : host_(host) {}
    bool open(const std::string& path) override;
    void play() override;
    void stop() override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool playing() const { return playing_; }
    const std::string& file() const { return file_; }

   private:
    FakeHost& host_;
    bool open_ = false;
    bool playing_ = false;
    std::string file_;
  };

  FakeHost() : music_(*this) {}
  ~FakeHost() override { joinScripts(); }

  // Queues the answers of the next boxes that offer a choice, and of the next dialogs.
  FakeHost& answer(ui::Answer a) {
    answers_.push_back(a);
    return *this;
  }
  FakeHost& ok() { return answer(ui::Answer::Ok); }
  FakeHost& cancel() { return answer(ui::Answer::Cancel); }
  FakeHost& retry() { return answer(ui::Answer::Retry); }
  // Queues the answer of the next question with options: an option's index, nullopt to cancel.
  // Unscripted questions take the preselected option.
  FakeHost& choice(std::optional<std::size_t> index) {
    choices_.push_back(index);
    return *this;
  }
  FakeHost& pick(std::optional<std::string> path) {
    files_.push_back(std::move(path));
    return *this;
  }
  // From now on unscripted boxes and dialogs are answered by the generator: any allowed button,
  // and a dialog either cancelled or given one of the files.
  FakeHost& randomAnswers(std::uint32_t seed, std::vector<std::string> files) {
    random_.seed(seed);
    randomMode_ = true;
    randomFiles_ = std::move(files);
    return *this;
  }
  // Something to do while the next box is open (a timer tick, say).
  FakeHost& whileBoxOpen(std::function<void()> action);

  ui::Answer message(ui::MessageKind kind, std::string_view text, ui::Buttons buttons,
                     std::string_view caption) override;
  std::optional<std::size_t> choose(std::string_view question,
                                    const std::vector<std::string>& options,
                                    std::size_t preselected) override;
  std::optional<std::string> openFile(const ui::FileDialogOptions& options) override;
  std::optional<std::string> saveFile(const ui::FileDialogOptions& options) override;
  std::optional<std::string> chooseFolder(const ui::FileDialogOptions& options) override;
  void playWavSync(const std::string& path) override;
  ui::MusicPlayer& music() override { return music_; }
  void startInstance(std::string_view argument, const std::string& workingFolder) override;
  // Records "launch <file>" and keeps the runner until runScripts().
  void launchCommandScript(const std::string& path, std::function<void()> runner) override;
  // Runs the command scripts launched so far, in order, on this thread; false when there were none.
  bool runScripts();
  std::size_t pendingScripts() const { return scripts_.size(); }
  // Starts the scripts launched so far each on a thread of its own, as the real host does.
  void startScriptThreads();
  void joinScripts();
  void openDocument(const std::string& path, const std::string& workingFolder) override;
  void setCursor(ui::Cursor cursor) override { cursor_ = cursor; }
  void requestQuit() override;

  void record(std::string line);
  const std::vector<std::string>& transcript() const { return transcript_; }
  // The lines that start with one of the prefixes, in order.
  std::vector<std::string> only(std::initializer_list<std::string_view> prefixes) const;
  void clear() { transcript_.clear(); }

  bool quitRequested() const override { return quit_; }
  ui::Cursor cursor() const { return cursor_; }
  const std::vector<ui::FileDialogOptions>& dialogs() const { return dialogs_; }
  std::size_t pendingAnswers() const { return answers_.size() + files_.size() + choices_.size(); }
  Music& fakeMusic() { return music_; }

 private:
  void guard();

  Music music_;
  std::deque<ui::Answer> answers_;
  std::deque<std::optional<std::string>> files_;
  std::deque<std::optional<std::size_t>> choices_;
  std::deque<std::function<void()>> duringBox_;
  std::deque<std::function<void()>> scripts_;
  std::vector<std::thread> scriptThreads_;
  std::vector<std::string> transcript_;
  std::vector<ui::FileDialogOptions> dialogs_;
  std::optional<std::string> randomFile();
  std::optional<std::string> dialog(const char* kind, const ui::FileDialogOptions& options);

  std::mt19937 random_;
  bool randomMode_ = false;
  std::vector<std::string> randomFiles_;
  ui::Cursor cursor_ = ui::Cursor::Normal;
  bool quit_ = false;
  int calls_ = 0;
};

}  // namespace tervano::testing
