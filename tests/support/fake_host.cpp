#include "fake_host.h"

#include <filesystem>
#include <stdexcept>

namespace tervano::testing {

namespace {

std::string baseName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

const char* answerName(ui::Answer a) {
  switch (a) {
    case ui::Answer::Ok:
      return "OK";
    case ui::Answer::Cancel:
      return "Cancel";
    case ui::Answer::Retry:
      return "Retry";
  }
  return "?";
}

}  // namespace

void FakeHost::guard() {
  // A program that keeps asking (a dialog shown again after every cancel) must not hang a test.
  if (++calls_ > 20000) throw std::runtime_error("FakeHost: too many calls, the program loops");
}

void FakeHost::record(std::string line) {
  transcript_.push_back(std::move(line));
}

FakeHost& FakeHost::whileBoxOpen(std::function<void()> action) {
  duringBox_.push_back(std::move(action));
  return *this;
}

ui::Answer FakeHost::message(ui::MessageKind kind, std::string_view text, ui::Buttons buttons,
                             std::string_view caption) {
  guard();
  ui::Answer a = buttons == ui::Buttons::RetryCancel ? ui::Answer::Cancel : ui::Answer::Ok;
  // A box with only OK offers no choice and takes no scripted answer.
  if (buttons != ui::Buttons::Ok && !answers_.empty()) {
    a = answers_.front();
    answers_.pop_front();
  } else if (buttons != ui::Buttons::Ok && randomMode_) {
    const bool first = random_() % 2 == 0;
    a = buttons == ui::Buttons::RetryCancel ? (first ? ui::Answer::Retry : ui::Answer::Cancel)
                                            : (first ? ui::Answer::Ok : ui::Answer::Cancel);
  }
  std::string prefix;
  switch (kind) {
    case ui::MessageKind::Error:
      prefix = "error";
      break;
    case ui::MessageKind::Warning:
      prefix = "warning";
      break;
    case ui::MessageKind::Information:
      prefix = "info";
      break;
    case ui::MessageKind::Confirmation:
      prefix = "ask";
      break;
    case ui::MessageKind::Plain:
      prefix = "plain";
      break;
  }
  if (!caption.empty()) prefix += "[" + std::string(caption) + "]";
  std::string line = prefix + ": " + std::string(text);
  if (buttons != ui::Buttons::Ok) line += std::string(" -> ") + answerName(a);
  record(std::move(line));
  if (!duringBox_.empty()) {
    auto action = std::move(duringBox_.front());
    duringBox_.pop_front();
    action();
  }
  return buttons == ui::Buttons::Ok ? ui::Answer::Ok : a;
}

std::optional<std::size_t> FakeHost::choose(std::string_view question,
                                            const std::vector<std::string>& options,
                                            std::size_t preselected) {
  guard();
  std::optional<std::size_t> chosen = preselected;
  if (!choices_.empty()) {
    chosen = choices_.front();
    choices_.pop_front();
  } else if (randomMode_) {
    const std::size_t n = random_() % (options.size() + 1);
    chosen = n < options.size() ? std::optional<std::size_t>(n) : std::nullopt;
  }
  std::string line = "choose: " + std::string(question) + " [";
  for (std::size_t i = 0; i < options.size(); ++i)
    line += (i ? " | " : "") + options[i];
  line += "] -> ";
  line += chosen && *chosen < options.size() ? options[*chosen] : std::string("cancel");
  record(std::move(line));
  return chosen;
}

std::optional<std::string> FakeHost::randomFile() {
  if (!randomMode_ || randomFiles_.empty() || random_() % 2 == 0) return std::nullopt;
  return randomFiles_[random_() % randomFiles_.size()];
}

std::optional<std::string> FakeHost::dialog(const char* kind,
                                            const ui::FileDialogOptions& options) {
  guard();
  dialogs_.push_back(options);
  std::optional<std::string> chosen = randomFile();
  if (!files_.empty()) {
    chosen = files_.front();
    files_.pop_front();
  }
  record(std::string(kind) + ": " + options.title + " -> " +
         (chosen ? baseName(*chosen) : "cancel"));
  return chosen;
}

std::optional<std::string> FakeHost::openFile(const ui::FileDialogOptions& options) {
  return dialog("open", options);
}

std::optional<std::string> FakeHost::saveFile(const ui::FileDialogOptions& options) {
  return dialog("save", options);
}

std::optional<std::string> FakeHost::chooseFolder(const ui::FileDialogOptions& options) {
  return dialog("folder", options);
}

void FakeHost::playWavSync(const std::string& path) {
  guard();
  record("cue " + baseName(path));
}

void FakeHost::startInstance(std::string_view argument, const std::string& workingFolder) {
  record("start instance '" + std::string(argument) + "' in " + baseName(workingFolder));
}

void FakeHost::launchCommandScript(const std::string& path, std::function<void()> runner) {
  record("launch " + baseName(path));
  scripts_.push_back(std::move(runner));
}

bool FakeHost::runScripts() {
  if (scripts_.empty()) return false;
  while (!scripts_.empty()) {
    auto run = std::move(scripts_.front());
    scripts_.pop_front();
    run();
  }
  return true;
}

void FakeHost::openDocument(const std::string& path, const std::string&) {
  record("document " + baseName(path));
}

void FakeHost::requestQuit() {
  quit_ = true;
  record("quit");
}

void FakeHost::startScriptThreads() {
  while (!scripts_.empty()) {
    scriptThreads_.emplace_back(std::move(scripts_.front()));
    scripts_.pop_front();
  }
}

void FakeHost::joinScripts() {
  for (auto& t : scriptThreads_)
    if (t.joinable()) t.join();
  scriptThreads_.clear();
}

std::vector<std::string> FakeHost::only(std::initializer_list<std::string_view> prefixes) const {
  std::vector<std::string> out;
  for (const auto& line : transcript_)
    for (auto p : prefixes)
      if (line.rfind(p, 0) == 0) {
        out.push_back(line);
        break;
      }
  return out;
}

bool FakeHost::Music::open(const std::string& path) {
  host_.record("music open " + baseName(path));
  open_ = std::filesystem::is_regular_file(path);
  playing_ = false;
  file_ = path;
  return open_;
}

void FakeHost::Music::play() {
  if (!open_ || playing_) return;
  playing_ = true;
  host_.record("music play");
}

void FakeHost::Music::stop() {
  if (!open_ || !playing_) return;
  playing_ = false;
  host_.record("music stop");
}

void FakeHost::Music::close() {
  if (!open_) return;
  open_ = false;
  playing_ = false;
  host_.record("music close");
}

}  // namespace tervano::testing
