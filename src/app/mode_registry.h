#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tervano::app {

class Application;
class Mode;

// One way the program can run, and everything the rest of the program knows of it. A new mode is
// one class, one screen file and one row of the standard registry.
struct ModeRow {
  std::string name;  // the command-line switch; "" for the main game
  std::function<std::unique_ptr<Mode>(Application&)> make;
  std::string toolButton;  // its button in the tools panel
  std::string caption;     // that button's caption
  int toolRow = 0;         // the button's place in the tools panel, from the top
  std::string picture;     // the button's picture, below the program folder
  std::string help;        // what it is for, in the message about an unsupported switch
  bool runsScripts = false;
  // The sound device opens at the first paint, so that the first cue does not wait for it.
  bool cuesAtOnce = false;
};

// Switches that another part of the program starts by name.
inline constexpr std::string_view kAutosaveManagerSwitch = "-SPAUTOSAVE";

class ModeRegistry {
 public:
  explicit ModeRegistry(std::vector<ModeRow> rows) : rows_(std::move(rows)) {}
  // The program's own modes.
  static const ModeRegistry& standard();

  // In the order of the unsupported-switch message.
  const std::vector<ModeRow>& rows() const { return rows_; }
  // The rows in the order of their buttons in the tools panel.
  std::vector<const ModeRow*> toolPanel() const;
  const ModeRow* find(std::string_view name) const;
  const ModeRow* byToolButton(std::string_view id) const;
  // The mode a command line names; an unknown switch gives the mode that reports it.
  std::unique_ptr<Mode> make(std::string_view name, Application& app) const;
  // The error text for a switch no row knows, with a line for each switch that has a help text.
  std::string unsupportedSwitchText() const;
  // Every picture of the tools panel once: the pictures are shown only when all exist.
  std::vector<std::string> pictureFiles() const;

 private:
  std::vector<ModeRow> rows_;
};

}  // namespace tervano::app
