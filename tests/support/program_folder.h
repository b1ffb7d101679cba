#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/about_window.h"
#include "app/application.h"
#include "app/chooser.h"
#include "app/credits.h"
#include "app/help_window.h"
#include "audio/sound.h"
#include "autosave/autosave.h"
#include "data/textlist.h"
#include "fake_host.h"
#include "game/game.h"
#include "script/interpreter.h"

namespace tervano {
// Readable failure messages for lists.
inline void PrintTo(const TextList& list, std::ostream* os) {
  *os << "{";
  for (int i = 0; i < list.count(); ++i)
    *os << (i ? ", \"" : "\"") << list.get(i) << "\"";
  *os << "}";
}
}  // namespace tervano

namespace tervano::testing {

// A program folder of its own in a temporary directory, removed afterwards. Tests never touch
// a real installation.
class TempProgram {
 public:
  // Where the temporary directory lies. The kill and failure loops build hundreds of short-lived
  // program folders; on a disk file system every rename over a file also writes the file out,
  // which makes them crawl, so they use the memory file system where there is one.
  enum class Where { Disk, Memory };
  // `below`: a path of folders inside the temporary directory that holds the program folder,
  // for program folders with odd names (quotes, blanks, Czech letters, line ends).
  explicit TempProgram(const std::string& below = "", Where where = Where::Disk);
  ~TempProgram();
  TempProgram(const TempProgram&) = delete;
  TempProgram& operator=(const TempProgram&) = delete;

  const std::filesystem::path& root() const { return root_; }
  std::string path(const std::string& relative) const { return (root_ / relative).string(); }

  // Writes lines in code page 1250 with CR LF.
  void write(const std::string& relative, const std::vector<std::string>& lines) const;
  void writeBytes(const std::string& relative, const std::string& bytes) const;
  TextList read(const std::string& relative) const;
  std::string readBytes(const std::string& relative) const;
  bool exists(const std::string& relative) const;
  void remove(const std::string& relative) const;

  // A complete small set: descriptor (set number `version`), grade lists, every crossword with
  // the two-line solution "c a t" / "d o g" and the scoring 10 / 5 / 20 / 15, the end marker,
  // the autosave log (off) and the saved-games folder.
  void makeSet(std::array<int, 4> counts, const std::string& version = "4");
  void addCrossword(int grade, int number, const std::vector<std::string>& solution,
                    const std::vector<std::string>& konf, const std::vector<std::string>& map = {});
  // A saved game "name.kr1" in Data/kriz with an optional ".kn1".
  std::string makeSave(const std::string& name, const std::vector<std::string>& record,
                       const std::vector<std::string>& answers = {}) const;
  void writeScript(const std::string& name, const std::vector<std::string>& lines) const;
  void makeMusic() const;  // the five music files, so the music steps have files to open

 private:
  std::filesystem::path top_;
  std::filesystem::path root_;
};

// A program folder path holding a double quote, blanks, Czech letters and, in the folder above
// it, a line end: every character a Linux user can give a folder, nearly.
inline constexpr const char* kOddFolder = "nad\nřádkem/Hra \"křížovek\" ž";

// A saved-game record: the default one with the given grade, crossword and version.
std::vector<std::string> record(const std::string& grade = "1", const std::string& crossword = "1",
                                const std::string& version = "4");

// An output iterator that collects strings into one text, each after a blank.
struct Joiner {
  std::string& text;
  Joiner& operator*() { return *this; }
  Joiner& operator++() { return *this; }
  Joiner operator++(int) { return *this; }
  Joiner& operator=(const std::string& s) {
    text += " " + s;
    return *this;
  }
};

// A program folder, a fake host and an application started on them.
struct Rig {
  Rig() = default;
  explicit Rig(const std::string& below, TempProgram::Where where = TempProgram::Where::Disk)
      : dir(below, where) {}
  TempProgram dir;
  FakeHost host;
  std::unique_ptr<app::Application> app;

  // Creates the application with the given first switch ("" for the main application).
  app::Application& create(const std::string& firstSwitch = "", std::uint32_t seed = 1);
  // Creates it and runs the whole program start.
  app::Application& start(const std::string& firstSwitch = "", std::uint32_t seed = 1);
  // Records file writes in the transcript as "write <relative path>".
  void recordWrites();

  const ui::Controls& c() const { return app->controls(); }
  const std::string& text(std::string_view id) const { return app->controls().text(id); }
};

}  // namespace tervano::testing
