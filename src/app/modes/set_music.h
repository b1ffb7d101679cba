#pragma once

#include "app/event.h"
#include "app/routes.h"
#include "ui/controls.h"

namespace tervano::app {

class Application;

// The sound panel "Ozvučení sady" of both editors: opened by "Ozvučení" in the panel of
// "Sada ...", it replaces the active set's five pieces of music, one row each.
class SetMusicPanel {
 public:
  explicit SetMusicPanel(Application& app);

  static void declare(ui::Controls& controls);
  bool handle(const Event& event);

 private:
  void open();
  void choose(const Event& event);
  void confirm();
  void noMusic(const Event& event);

  Application& app_;
  Routes<SetMusicPanel> routes_;
};

}  // namespace tervano::app
