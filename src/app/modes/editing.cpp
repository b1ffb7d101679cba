#include "app/modes/editing.h"

#include "app/application.h"
#include "audio/sound.h"
#include "ui/ids/menu.h"
#include "ui/texts.h"

namespace tervano::app {

void EditingMode::editorLook(std::string_view heading, std::string_view dataCaption) {
  ui::Controls& c = app_.controls();
  c.setText(id::kTitle, std::string(heading));
  c.setText(id::kCatEditorData, std::string(dataCaption));
  c.setVisible(id::kEditorBar, true);
  for (auto cat : {id::kCatGame, id::kCatHelp, id::kCatApp, id::kCatSettings}) {
    c.setVisible(cat, false);
    c.setEnabled(cat, false);
  }
}

void EditingMode::toolQuit() {
  if (editorStatus_ == "?") {
    app_.host().requestQuit();
    return;
  }
  app_.route({Event::Kind::CloseRequest});
}

bool EditingMode::closeQuery() {
  if (editorStatus_ != "Neuložená") return true;
  app_.sound().playCue("hlasen.wav");
  ui::showWarning(app_.host(), text::kDataUnsaved);
  return false;
}

}  // namespace tervano::app
