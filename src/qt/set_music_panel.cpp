// The set's music: "Ozvučení" in the panel of "Sada ..." on the editor bar, and the sound panel
// "Ozvučení sady" it opens over the menu screen, one row for each of the five pieces.
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "audio/music_slots.h"
#include "qt/screens.h"
#include "qt/sizes.h"
#include "qt/style.h"
#include "ui/ids/set_music.h"

namespace tervano::qt {

namespace {

QString q(std::string_view s) {
  return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

}  // namespace

void buildSetMusic(ScreenKit& kit, QWidget* menuScreen, QFrame* entryPanel) {
  if (!kit.model.has(id::kSetMusicOpen)) return;
  using namespace size;
  Forms& forms = kit.forms;
  forms.button(id::kSetMusicOpen, entryPanel, QRect(4, 4, kCategoryWidth - 8, kButtonHeight));

  const int rowHeight = 32;
  const int width = 330;
  const int height = 46 + 5 * rowHeight + 44;
  QFrame* panel =
      forms.panel(id::kMusicPanel, menuScreen, QRect((kWidth - width) / 2, 96, width, height));
  panel->setAccessibleName("Ozvučení sady");
  forms.caption(panel, QRect(14, 10, width - 28, 24), "Ozvučení sady", style::kYellow, 11);
  int top = 46;
  for (std::size_t i = 0; i < audio::kMusicSlots.size(); ++i) {
    const audio::MusicSlot& slot = audio::kMusicSlots[i];
    // The blanks inside the row labels line up the grade numbers: a fixed-width font keeps them.
    QLabel* label = forms.caption(panel, QRect(18, top, 150, 24), q(slot.label), style::kLime);
    label->setFont(style::mono());
    QPushButton* choose =
        forms.button(id::kMusicChoose[i], panel, QRect(176, top, 136, kButtonHeight));
    kit.binder.watch(id::kMusicChoose[i], [choose, name = q(slot.name)](const ui::Control& c) {
      choose->setAccessibleName(name + ": " + q(c.text));
    });
    top += rowHeight;
  }
  // Never shown: the option has no meaning for this program's sets.
  forms.check(id::kMusicNoMusic, panel, QRect(18, top, 280, 22), true)->hide();
  forms.button(id::kMusicConfirm, panel, QRect(width - 124, height - 38, 110, 28));
}

}  // namespace tervano::qt
