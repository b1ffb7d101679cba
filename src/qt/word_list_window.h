#pragma once

#include "qt/side_windows.h"

namespace tervano::qt {

// The crossword editor's word-list window: the tajenka and one pair per line, the foreign answer
// and its Czech clue, from which the editor builds the crossword.
class WordListWindow : public SideWindow {
 public:
  WordListWindow(Forms& forms, QWidget* anchor);

 protected:
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace tervano::qt
