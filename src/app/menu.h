#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "app/event.h"
#include "app/routes.h"
#include "audio/sound.h"
#include "autosave/autosave.h"
#include "data/session.h"
#include "game/game.h"
#include "ui/controls.h"

namespace tervano::app {

// One row of the hover rules: when the pointer moves over `over`, the panels of `opens` are
// shown and those of `closes` hidden; everything else keeps its state.
struct HoverRule {
  std::string_view over;
  std::vector<std::string_view> opens;
  std::vector<std::string_view> closes;
  bool appliesAutosave = false;  // stores the autosave settings
};

const std::vector<HoverRule>& hoverRules();
const HoverRule* hoverRuleFor(std::string_view control);

// One keyboard shortcut of the hidden shortcut menu.
struct Shortcut {
  std::string_view key;   // "Ctrl+F1"
  std::string_view item;  // the menu item whose enabled state lets the key act
  std::string_view keyListName;
  // The button the key presses, and whether only while that button is enabled.
  const char* button = nullptr;
  bool whileEnabled = false;
};

const std::vector<Shortcut>& shortcuts();

// The menu screen shared by every mode: the hover rules of its panels, the keyboard shortcuts,
// the settings panel with the autosave settings, and the record player.
class MenuScreen {
 public:
  // `route` handles an event as if the user had caused it: a shortcut presses its button.
  MenuScreen(ui::Controls& controls, Session& session, audio::Sound& sound, game::Game& game,
             autosave::Autosave& autosave, std::function<void(const Event&)> route);

  bool handle(const Event& event);

 private:
  void hover(const Event& event);
  void press(const Event& event);
  void applyRule(std::string_view over, bool pressed);
  void key(const Event& event);
  void pressButtonOfKey(const Event& event);
  void keySound();
  void keyMusic();
  void keyEndGame();
  void keyMainMenu();
  void toggleErrorPerLine(const Event& event);
  void toggleNoScripts(const Event& event);
  void clickNoScriptsCaption();
  void toggleAutosave(const Event& event);
  void editTrigger(const Event& event);
  void editQuota(const Event& event);
  void showRecordPlayer();
  void hideRecordPlayer();

  ui::Controls& controls_;
  Session& session_;
  audio::Sound& sound_;
  game::Game& game_;
  autosave::Autosave& autosave_;
  std::function<void(const Event&)> route_;
  Routes<MenuScreen> routes_;
  Routes<MenuScreen> keys_;
  Routes<audio::Sound> soundRoutes_;
  Routes<game::Game> gameRoutes_;
  Routes<autosave::Autosave> autosaveRoutes_;
};

}  // namespace tervano::app
