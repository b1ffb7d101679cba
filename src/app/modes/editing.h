#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/chooser.h"
#include "app/mode.h"
#include "app/modes/set_music.h"
#include "app/routes.h"

namespace tervano::app {

// The data status beside "Data:".
inline constexpr const char* kStatusNone = "?";  // nothing open
inline constexpr const char* kStatusSaved = "Uložená";
inline constexpr const char* kStatusUnsaved = "Neuložená";

// What the crossword editor and the script editor share: the editor bar in place of the menu's
// categories, the data panel ("Nová ...", "Načíst", "Uložit", "Návrat k editaci", "Ukončit režim
// editace" and the status "Data:"), the chooser's "Potvrď" rows for loading and saving, the
// tool-mode "Konec", the refused close while data are unsaved, and the set's music behind
// "Sada ...".
//
// An editor declares the panel with declareDataPanel, routes its events through handleDataPanel,
// returns itself as chooserClient() and fills in what is its own: newData, loadChosen and
// saveChosen (the chooser's grade and crossword have passed its checks by then), and where it
// differs, saveCommand and closeCommand.
class EditingMode : public Mode, public ChooserClient {
 public:
  explicit EditingMode(Application& app);

  bool closeQuery() override;
  // The status colour: red while unsaved.
  void refresh() override;

  // The chooser's "Potvrď" for "Načíst křížovku" and "Uložit křížovku".
  void confirm(ChooserPurpose purpose, const std::string& grade,
               const std::string& crossword) override;
  // "Zpět" of the chooser: a load that waited for a save does not follow.
  void back() override;

 protected:
  // The data panel with "Nová ..." under the given caption ("Nový ..." in the script editor), and
  // the set's music panel.
  static void declareDataPanel(ui::Controls& controls, std::string newCaption);
  // The menu screen of an editor: its heading and the editor bar with "Sada ...", the categories
  // hidden.
  void editorLook(std::string_view heading, std::string_view dataCaption);
  // The data panel's buttons, the tool-mode "Konec" and the music panel; false when the event is
  // none of them.
  bool handleDataPanel(const Event& event);

  // "?" as well for an editor that has not declared the data panel.
  const std::string& status() const;
  void setStatus(const char* status);
  // A change by the user. Something edited with nothing open becomes the open data, so that
  // "Uložit" can save it.
  void markUnsaved();
  // The data panel's two columns: nothing open ("Nová ...", "Načíst") and data open.
  void showClosedColumn();
  void showOpenColumn();

  // "Nová ...": what the new data are.
  virtual void newData() {}
  // After the chooser: load and save the data of the grade and crossword.
  virtual void loadChosen(const std::string& grade, const std::string& crossword) {
    (void)grade;
    (void)crossword;
  }
  virtual void saveChosen(const std::string& grade, const std::string& crossword) {
    (void)grade;
    (void)crossword;
  }

  // With unsaved data, asks whether to save them first; OK saves through the chooser and `next`
  // follows once that save has completed, Cancel goes on without saving. "Načíst" works so.
  void askToSaveThen(std::function<void()> next);

  // The data panel's commands.
  void newCommand();
  void loadCommand();
  virtual void saveCommand();
  virtual void closeCommand();
  void returnToEditing();
  // "Konec" of the tool-mode panel.
  void toolQuit();

 private:
  Routes<EditingMode> dataRoutes_;
  SetMusicPanel music_;
  // What waits for a save to complete ("Načíst" with unsaved data: the load chooser).
  std::function<void()> afterSave_;
};

}  // namespace tervano::app
