#pragma once

#include <string>
#include <string_view>

#include "app/mode.h"

namespace tervano::app {

// What the crossword editor and the script editor share: the editor bar in place of the menu's
// categories, the data status, the tool-mode "Konec" and the refused close while data are unsaved.
class EditingMode : public Mode {
 public:
  using Mode::Mode;

  bool closeQuery() override;

 protected:
  // The menu screen of an editor: its heading and the editor bar, the categories hidden.
  void editorLook(std::string_view heading, std::string_view dataCaption);
  // "Konec" of the tool-mode panel.
  void toolQuit();

  std::string editorStatus_ = "?";
};

}  // namespace tervano::app
