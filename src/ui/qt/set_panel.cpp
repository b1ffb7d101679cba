// The set panel of set selection, over the whole window.
#include <QFrame>

#include "ui/ids/set_panel.h"
#include "ui/qt/screens.h"
#include "ui/qt/sizes.h"

namespace tervano::qt {

QWidget* buildSetPanel(ScreenKit& kit, QWidget* window) {
  auto* p = new QFrame(window);
  p->setObjectName("setPanel");
  p->setGeometry(0, 0, size::kWidth, size::kHeight);
  p->setAutoFillBackground(true);
  kit.binder.bind(id::kSetPanel, p, Aspects{});
  kit.router.addDragHandle(p);
  placeholder(kit, p, id::kSetPanelMainApp);
  return p;
}

}  // namespace tervano::qt
