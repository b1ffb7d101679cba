#pragma once

#include "qt/side_windows.h"

namespace tervano::qt {

// The crossword editor's window "Tisk a export křížovek": the scope, "S řešením", what that
// prints and what is odd about it, and the outputs. Its button row keeps room for one more.
class PrintWindow : public SideWindow {
 public:
  PrintWindow(Forms& forms, QWidget* anchor);

 protected:
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace tervano::qt
