#pragma once

#include "app/event.h"
#include "app/routes.h"
#include "data/programfolder.h"
#include "ui/controls.h"
#include "ui/host.h"

namespace tervano::app {

// The help window: the example page with its advice, the key list and licence pages, the topics
// and the link to the external help file.
class HelpWindow {
 public:
  HelpWindow(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder);

  static void declare(ui::Controls& controls);
  // Its creation at program start: the example filler starts counting.
  void create();

  void open();     // "Nápověda", F1
  void eula();     // "EULA"
  void keyList();  // "Klávesové zkratky"
  // The licence page in front, as the about window's "EULA ..." asks before it opens the help.
  void showLicencePage();

  bool handle(const Event& event);

 private:
  void fillExample();
  void showSamplePage();
  void openKeyListPage();
  void quit();
  void closedOtherwise();
  void hover(const Event& event);
  void linkHover();
  void linkReset();
  void linkClick();
  void showTopics();
  void toggleAdviceEnlarged();
  void toggleKeysEnlarged();

  ui::Controls& controls_;
  ui::Host& host_;
  const ProgramFolder& folder_;
  bool fillerDone_ = false;
  Routes<HelpWindow> routes_;
};

}  // namespace tervano::app
