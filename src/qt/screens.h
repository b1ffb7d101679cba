#pragma once

#include <QFrame>
#include <QWidget>

#include "app/mode_registry.h"
#include "data/programfolder.h"
#include "qt/binder.h"
#include "qt/forms.h"
#include "qt/input.h"
#include "ui/controls.h"

// The screens of the main window, one file each. A screen builds only the controls that the
// model declares: which screens a mode has is the model's business, not the view's.
namespace tervano::qt {

struct ScreenKit {
  Forms& forms;
  Binder& binder;
  InputRouter& router;
  const ui::Controls& model;
  const ProgramFolder& folder;
  const app::ModeRegistry& modes;
};

// The play screen: counters, scoring, the answer, legend and map areas, "Kontrola".
QWidget* buildPlayScreen(ScreenKit& kit, QWidget* window);
// The menu screen with its category buttons, command panels, settings, record player, credits.
QWidget* buildMenuScreen(ScreenKit& kit, QWidget* window);
// The crossword editor's inputs over the play screen, and its data panel on the menu screen.
void buildEditorOnPlayScreen(ScreenKit& kit, QWidget* playScreen);
void buildEditorOnMenuScreen(ScreenKit& kit, QWidget* menuScreen);
// The script editor's panel over the play screen.
void buildScriptPanel(ScreenKit& kit, QWidget* playScreen);
// "Ozvučení" in the panel of "Sada ..." and the set's music panel over the menu screen (editors).
void buildSetMusic(ScreenKit& kit, QWidget* menuScreen, QFrame* entryPanel);
// The set panel of set selection and the autosave manager: each covers the whole window.
QWidget* buildSetPanel(ScreenKit& kit, QWidget* window);
QWidget* buildAutosaveScreen(ScreenKit& kit, QWidget* window);

}  // namespace tervano::qt
