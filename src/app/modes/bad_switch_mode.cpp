#include "app/modes/bad_switch_mode.h"

#include "app/application.h"
#include "app/chooser.h"
#include "app/screens.h"
#include "audio/sound.h"
#include "data/records.h"
#include "data/texts.h"
#include "ui/ids.h"

namespace tervano::app {

void BadSwitchMode::start() {
  app_.stopGameTimers();
  app_.sound().playCue("hlasen.wav");
  app_.setModeLook("Chyba parametru", "ikony\\parametry2.ico");
  ui::showError(app_.host(), app_.modes().unsupportedSwitchText());
  app_.host().requestQuit();
}

}  // namespace tervano::app
