// A screen of a tool that is still to come: the mode's title, a note and the way back.
#include "ui/ids/window.h"
#include "ui/qt/screens.h"
#include "ui/qt/sizes.h"
#include "ui/qt/style.h"
#include "ui/qt/widgets.h"

namespace tervano::qt {

void placeholder(ScreenKit& kit, QWidget* t, const char* backButton) {
  auto* motif = new CrosswordMotif(t);
  motif->setGeometry(219, 60, 160, 160);
  auto* heading = kit.forms.caption(t, QRect(0, 240, size::kWidth, 34), "", style::kYellow, 16,
                                    Qt::AlignCenter);
  kit.binder.watch(id::kWindowTitle, [heading](const ui::Control& c) {
    heading->setText(QString::fromStdString(c.text));
  });
  kit.forms.caption(t, QRect(0, 282, size::kWidth, 20), "Tento nástroj bude doplněn v další verzi.",
                    style::kLime, 8, Qt::AlignCenter);
  kit.forms.button(backButton, t, QRect((size::kWidth - 170) / 2, 330, 170, 32));
}

}  // namespace tervano::qt
