// The crossword editor's parts: the inputs that the pointer opens over the play screen, and its
// data panel on the menu screen.
#include <QGroupBox>

#include "ui/ids/editor.h"
#include "ui/ids/play.h"
#include "ui/qt/screens.h"

namespace tervano::qt {

void buildEditorOnPlayScreen(ScreenKit& kit, QWidget* s) {
  if (!kit.model.has(id::kGradeSpin)) return;
  kit.forms.spin(id::kGradeSpin, s, QRect(150, 52, 64, 22), 1);
  kit.forms.combo(id::kLanguageBox, s, QRect(90, 182, 160, 22));
  // Beside their values in the scoring group, one row each.
  QWidget* scoring = kit.binder.widget(id::kScoringGroup);
  int top = 24;
  for (auto spin : {id::kScoreSpinGood, id::kScoreSpinBad, id::kScoreSpinGoodTajenka,
                    id::kScoreSpinBadTajenka}) {
    kit.forms.spin(spin, scoring, QRect(206, top - 2, 70, 22), 1);
    top += 22;
  }
}

void buildEditorOnMenuScreen(ScreenKit&, QWidget*) {}

}  // namespace tervano::qt
