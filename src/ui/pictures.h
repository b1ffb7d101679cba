#pragma once

#include "ui/ids/autosave_manager.h"
#include "ui/ids/menu.h"
#include "ui/ids/set_panel.h"

namespace tervano::ui {

// The pictures of the mode buttons, below the program folder. They are shown only when all five
// files exist.
inline constexpr const char* kButtonPictureFiles[] = {"Ikony\\editor.bmp", "Ikony\\sady.bmp",
                                                      "Ikony\\parametry.bmp", "Ikony\\kr1.bmp",
                                                      "Ikony\\havarie.bmp"};

struct ButtonPicture {
  const char* button;
  const char* file;
};
inline constexpr ButtonPicture kButtonPictures[] = {
    {id::kToolEditor, "Ikony\\editor.bmp"},          {id::kToolSets, "Ikony\\sady.bmp"},
    {id::kToolScriptEditor, "Ikony\\parametry.bmp"}, {id::kToolMainApp, "Ikony\\kr1.bmp"},
    {id::kSetPanelMainApp, "Ikony\\kr1.bmp"},        {id::kAutosavePanelMainApp, "Ikony\\kr1.bmp"},
    {id::kToolAutosave, "Ikony\\havarie.bmp"},       {id::kToolCrashLoad, "Ikony\\havarie.bmp"},
};

}  // namespace tervano::ui
