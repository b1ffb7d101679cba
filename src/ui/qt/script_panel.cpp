// The script editor's panel over the play screen.
#include <QFrame>

#include "ui/ids/script_panel.h"
#include "ui/qt/screens.h"
#include "ui/qt/sizes.h"

namespace tervano::qt {

void buildScriptPanel(ScreenKit& kit, QWidget* s) {
  if (!kit.model.has(id::kScriptPanel)) return;
  auto* panel = new QFrame(s);
  panel->setGeometry(0, 0, size::kWidth, size::kHeight);
  kit.binder.bind(id::kScriptPanel, panel, Aspects{});
}

}  // namespace tervano::qt
