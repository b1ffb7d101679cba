#pragma once

#include "app/modes/editing.h"
#include "app/routes.h"
#include "editor/crossword_editor.h"
#include "editor/print_window.h"

namespace tervano::app {

// The crossword editor: crosswords written over the play screen's areas, loaded, saved
// and deleted through the chooser, stepped through with the arrows, or built from a word list;
// printed or saved as PDF or iPuz, one crossword, a grade or the whole set; loaded from iPuz.
class EditorMode : public EditingMode {
 public:
  explicit EditorMode(Application& app);

  void declare(ui::Controls& controls) override;
  void start() override;
  bool handle(const Event& event) override;
  void refresh() override;
  void chooserCreated() override;
  ChooserClient* chooserClient() override { return this; }

  void remove(const std::string& grade, const std::string& crossword) override;

 private:
  void newData() override;
  void loadChosen(const std::string& grade, const std::string& crossword) override;
  void saveChosen(const std::string& grade, const std::string& crossword) override;

  void openGradeSpin();
  void openLanguageBox();
  void closeBoxes();
  void pointerOverScoring(const Event& event);
  void chooseLanguage(const Event& event);
  void editLanguageBox(const Event& event);
  void editArea(const Event& event);
  void editScore(const Event& event);
  void editGrade(const Event& event);
  void toggleSavePoint(const Event& event);
  void nextCrossword();
  void previousCrossword();
  void follow(const editor::ArrowStep& step);
  void openWordList();
  void editWordListTajenka(const Event& event);
  void editWordListPairs(const Event& event);
  void buildFromWordList();
  void loadWordListFile();
  void closeWordList();
  void openPrint();
  void choosePrintScope(const Event& event);
  void togglePrintKeys(const Event& event);
  void print();
  void preview();
  void savePdf();
  void saveIpuz();
  void closePrint();
  void importIpuz();
  void chooseIpuz();

  editor::CrosswordEditor editor_;
  editor::PrintWindow print_;
  // Where the word-list dialog opens: the folder of the last file loaded.
  std::string vocabularyFolder_;
  Routes<EditorMode> routes_;
  // The pointer's doings: they never keep the menu's hover rules from applying.
  Routes<EditorMode> hovers_;
  // Where the last iPuz file was loaded from.
  std::string ipuzFolder_;
};

}  // namespace tervano::app
