#pragma once

#include "app/event.h"
#include "app/routes.h"
#include "data/session.h"
#include "ui/controls.h"

namespace tervano::app {

class HelpWindow;
class Credits;

// The about window: the versions of the program and of the crossword package, the author, and
// the way on to the licence and the credits.
class AboutWindow {
 public:
  AboutWindow(ui::Controls& controls, const Session& session, HelpWindow& help, Credits& credits);

  static void declare(ui::Controls& controls);
  // Its creation at program start: only the main game shows the package version.
  void create(bool showsPackageVersion);
  void open();  // "O aplikaci", F2
  // The package version line, kept up to date while the about timer runs.
  void refresh();
  bool handle(const Event& event);

 private:
  void back();
  void credits();
  void eula();

  ui::Controls& controls_;
  const Session& session_;
  HelpWindow& help_;
  Credits& credits_;
  Routes<AboutWindow> routes_;
};

}  // namespace tervano::app
