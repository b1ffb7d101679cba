#pragma once

#include <string>
#include <vector>

#include "program_folder.h"
#include "ui/ids.h"

namespace tervano::testing {

// The main application started on a small set with a saved game chosen in the load dialog.
struct GameRig : Rig {
  // counts: crosswords of grades I to IV; the saved game starts at the given grade/crossword.
  explicit GameRig(std::array<int, 4> counts = {3, 2, 2, 2}) { dir.makeSet(counts); }

  app::Application& play(std::vector<std::string> rec = record()) {
    const std::string save = dir.makeSave("hra", rec);
    host.pick(save);
    start("");
    host.clear();
    return *app;
  }
  void answer(const std::string& text) { app->edit(id::kAnswerArea, text); }
  bool kontrola() { return app->click(id::kKontrola); }
  std::vector<std::string> boxesAndCues() const {
    return host.only({"cue", "error", "warning", "info", "ask", "plain"});
  }
};

}  // namespace tervano::testing
