// The autosave manager's screen, over the whole window.
#include <QFrame>

#include "ui/ids/autosave_manager.h"
#include "ui/qt/screens.h"
#include "ui/qt/sizes.h"

namespace tervano::qt {

QWidget* buildAutosaveScreen(ScreenKit& kit, QWidget* window) {
  auto* p = new QFrame(window);
  p->setObjectName("autosaveScreen");
  p->setGeometry(0, 0, size::kWidth, size::kHeight);
  p->setAutoFillBackground(true);
  kit.binder.bind(id::kAutosaveScreen, p, Aspects{});
  kit.router.addDragHandle(p);
  placeholder(kit, p, id::kAutosavePanelMainApp);
  return p;
}

}  // namespace tervano::qt
