#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/modes/set_selection_mode.h"
#include "fake_host.h"
#include "program_folder.h"
#include "sets/set_manager.h"
#include "ui/ids.h"

namespace tervano::testing {

using Tree = std::map<std::string, std::string>;

// Writes a file as it stands, making its folders.
void put(const std::filesystem::path& file, const std::string& bytes);

// Every entry below root: files with their bytes, folders as "<folder>", links as "-> target".
Tree snapshot(const std::filesystem::path& root);

// Writes a complete small set folder: descriptor (8 lines, set number in line 6), grade lists,
// one folder per crossword with its four files, the end marker, sounds, a script, and a file
// without a dot in "def".
void writeSet(const std::filesystem::path& folder, const std::string& number,
              std::array<int, 4> counts = {2, 1, 1, 1});

// The German medium delivered with the program, copied to `folder`.
void copyGermanMedium(const std::filesystem::path& folder);

// What the registry promises, "" when it holds: every listed set has a whole folder ("tervano"
// for the active one, whose number is listed, or "tervano" + N holding N) whose crossword lists
// match its folders; every set folder is listed or active; no work folder, command script or
// temporary is left.
std::string registryHolds(const std::filesystem::path& prog);

// A program folder whose path holds blanks and Czech letters, with the template set (30) in
// "tervanodef", the active set 20 in "tervano", inactive sets in "tervano" + N, the set list, the
// selection file, the help file and the program itself; and the set-selection mode started on it.
struct SetRig {
  TempProgram dir;
  FakeHost host;
  std::filesystem::path prog;
  std::unique_ptr<app::Application> app;

  explicit SetRig(std::vector<std::string> inactive = {"21"}, const std::string& below = "",
                  TempProgram::Where where = TempProgram::Where::Disk);

  std::filesystem::path at(const std::string& relative) const { return prog / relative; }
  void write(const std::string& relative, const std::vector<std::string>& lines) const;
  TextList read(const std::string& relative) const;
  std::string bytes(const std::string& relative) const;
  bool exists(const std::string& relative) const;

  // Starts "-SADA" and forgets what the start-up did.
  app::Application& start();
  sets::SetManager& sets();
  const ui::Controls& c() const { return app->controls(); }
  void choose(const std::string& name);
  // Lets the launched scripts run to their end on threads of their own, the panel's timer asking
  // their questions meanwhile (answered by the host), then the tick that notices the end.
  void finishScripts();
  // The whole commands as a user gives them; a creation also gets its completion ticks.
  void install(const std::filesystem::path& descriptor);
  void create(int number);
  void rename(int number);
  void remove();
  // The next start of "-SADA" in this program folder, as after a crash: recovery first. Returns
  // what it showed.
  std::vector<std::string> startAgain() const;
};

}  // namespace tervano::testing
