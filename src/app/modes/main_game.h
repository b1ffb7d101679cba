#pragma once

#include <string>

#include "app/chooser.h"
#include "app/mode.h"
#include "app/routes.h"
#include "game/game.h"

namespace tervano::app {

// The game itself: start-up with a saved game, the play screen and the game panel, the game's
// timers, and a game started at a crossword chosen in the chooser.
class MainGame : public Mode, public ChooserClient {
 public:
  explicit MainGame(Application& app);

  void start() override;
  void startFailed(const UserError& error) override;
  bool handle(const Event& event) override;
  bool closeQuery() override;
  void closing() override;
  void chooserCreated() override;
  ChooserClient* chooserClient() override { return this; }

  void confirm(ChooserPurpose purpose, const std::string& grade,
               const std::string& crossword) override;

 private:
  void quit();
  void programEndScript();
  void editAccessCode(const Event& event);

  Routes<MainGame> routes_;
  Routes<game::Game> gameRoutes_;
};

}  // namespace tervano::app
