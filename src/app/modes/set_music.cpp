#include "app/modes/set_music.h"

#include <algorithm>
#include <iterator>

#include "app/application.h"
#include "app/screens.h"
#include "audio/music_slots.h"
#include "ui/ids/menu.h"
#include "ui/ids/set_music.h"
#include "ui/recovery.h"

namespace tervano::app {

SetMusicPanel::SetMusicPanel(Application& app) : app_(app) {
  routes_.click(id::kSetMusicOpen, &SetMusicPanel::open)
      .click(id::kMusicConfirm, &SetMusicPanel::confirm)
      .on(Event::Kind::Toggle, id::kMusicNoMusic, &SetMusicPanel::noMusic);
  for (const char* row : id::kMusicChoose)
    routes_.on(Event::Kind::Click, row, &SetMusicPanel::choose);
}

void SetMusicPanel::declare(ui::Controls& c) {
  c.declare(id::kSetMusicOpen, caption("Ozvučení"));
  c.declare(id::kMusicPanel, hidden("Ozvučení sady"));
  for (const char* row : id::kMusicChoose)
    c.declare(row, caption("Vybrat ..."));
  c.declare(id::kMusicNoMusic, hidden("Tato sada nebude mít doprovodné skladby"));
  c.declare(id::kMusicConfirm, caption("Potvrdit"));
}

bool SetMusicPanel::handle(const Event& e) {
  return routes_.run(*this, e);
}

void SetMusicPanel::open() {
  app_.controls().setVisible(id::kPanelSetMusic, false);
  app_.controls().setVisible(id::kMusicPanel, true);
}

void SetMusicPanel::confirm() {
  app_.controls().setVisible(id::kMusicPanel, false);
}

void SetMusicPanel::choose(const Event& e) {
  const auto row = std::find_if(std::begin(id::kMusicChoose), std::end(id::kMusicChoose),
                                [&](const char* r) { return e.id == r; });
  const audio::MusicSlot& slot =
      audio::kMusicSlots[static_cast<std::size_t>(row - std::begin(id::kMusicChoose))];
  const auto chosen = app_.host().openFile(audio::musicDialog(app_.folder(), slot));
  if (!chosen) return;
  app_.controls().setChecked(id::kMusicNoMusic, false);
  // A change that another instance left half done is ended before this one.
  ui::recoverBeforeCommand(app_.host(), app_.folder());
  audio::replaceMusicSlot(app_.folder(), slot, *chosen);
}

// The option has no meaning for this program's sets: it stays hidden, and a change of it writes
// nothing anywhere.
void SetMusicPanel::noMusic(const Event& e) {
  app_.controls().setChecked(id::kMusicNoMusic, e.value != 0);
}

}  // namespace tervano::app
