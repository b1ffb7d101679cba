#pragma once

#include <memory>
#include <string_view>

#include "app/event.h"
#include "data/errors.h"
#include "ui/controls.h"

namespace tervano::app {

class Application;
class ChooserClient;

// One way the program runs: the main game or one of the tools. A mode switch restarts the
// program, so one process runs exactly one mode, chosen once at start-up.
class Mode {
 public:
  explicit Mode(Application& app) : app_(app) {}
  virtual ~Mode() = default;
  // Declares the controls of the mode's own screen.
  virtual void declare(ui::Controls&) {}
  // The mode's part of the start-up (SETEDITOR, SETSADA, ...).
  virtual void start() = 0;
  // An error that ended the start-up; the tools show it in an error box.
  virtual void startFailed(const UserError& error);
  // Handles an event of the mode's own; false leaves it to the common handling.
  virtual bool handle(const Event& event) = 0;
  // The close request; false refuses the close (unsaved editor data, no set chosen).
  virtual bool closeQuery() { return true; }
  // The closing of the main window, after the close was allowed and its cue has sounded.
  virtual void closing() {}
  // After every command: what only mirrors other state on screen.
  virtual void refresh() {}
  // The "Hlavní aplikace" buttons run this first; false stops the switch.
  virtual bool beforeReturnToMain() { return true; }
  // What the creation of the crossword chooser does in this mode.
  virtual void chooserCreated();
  // The chooser's user in this mode; null when the mode does not use it.
  virtual ChooserClient* chooserClient() { return nullptr; }

 protected:
  Application& app_;
};

}  // namespace tervano::app
