#include "app/menu.h"

#include <algorithm>

#include "ui/ids/menu.h"
#include "ui/ids/play.h"
#include "ui/ids/shortcuts.h"
#include "ui/ids/window.h"

namespace tervano::app {

namespace {

using namespace id;
using Kind = Event::Kind;

// The nine panels the title label and the lower band close.
const std::vector<std::string_view> kNinePanels = {kPanelAutosave, kPanelTools,    kPanelEditorData,
                                                   kPanelSetMusic, kPanelToolExit, kPanelGame,
                                                   kPanelHelp,     kPanelSettings, kPanelApp};

}  // namespace

const std::vector<HoverRule>& hoverRules() {
  static const std::vector<HoverRule> rules = {
      {kCatGame, {kPanelGame}, {kPanelTools, kPanelHelp, kPanelSettings, kPanelApp}},
      {kCatHelp,
       {kPanelHelp},
       {kPanelAutosave, kPanelTools, kPanelGame, kPanelSettings, kPanelApp}},
      {kCatApp, {kPanelApp}, {kPanelAutosave, kPanelTools, kPanelGame, kPanelHelp, kPanelSettings}},
      {kCatSettings, {kPanelSettings}, {kPanelTools, kPanelGame, kPanelHelp, kPanelApp}},
      {kTitle, {}, kNinePanels},
      {kMenuLower, {}, kNinePanels},
      {kMenuScreen,
       {},
       {kPanelTools, kPanelEditorData, kPanelSetMusic, kPanelToolExit, kPanelGame, kPanelHelp,
        kPanelSettings, kPanelApp}},
      {kPanelRecordPlayer,
       {},
       {kPanelEditorData, kPanelSetMusic, kPanelToolExit, kPanelGame, kPanelHelp, kPanelSettings,
        kPanelApp}},
      {kTools, {kPanelTools}, {}},
      {kPanelApp, {}, {kPanelAutosave, kPanelTools}},
      {kQuit, {}, {kPanelTools}},
      {kAutosaveButton, {kPanelAutosave}, {}},
      {kPanelSettings, {}, {kPanelAutosave}},
      {kPanelAutosave, {}, {}, true},
      {kEditorBar, {}, {kPanelEditorData, kPanelToolExit}},
      {kCatEditorData, {kPanelEditorData}, {kPanelSetMusic, kPanelToolExit}},
      {kCatToolExit, {kPanelToolExit}, {kPanelSetMusic, kPanelEditorData}},
      {kCatSetMusic, {kPanelSetMusic}, {kPanelEditorData, kPanelToolExit}},
      {kPanelEditorData, {}, {kPanelSetMusic, kPanelToolExit}},
      {kPanelToolExit, {}, {kPanelSetMusic, kPanelEditorData}},
      {kPanelSetMusic, {}, {kPanelToolExit, kPanelEditorData}},
  };
  return rules;
}

const HoverRule* hoverRuleFor(std::string_view control) {
  const auto& rules = hoverRules();
  auto it = std::find_if(rules.begin(), rules.end(),
                         [&](const HoverRule& r) { return r.over == control; });
  return it == rules.end() ? nullptr : &*it;
}

const std::vector<Shortcut>& shortcuts() {
  static const std::vector<Shortcut> list = {
      {"Shift+F1", kScSound, "Zvuk"},
      {"Shift+F2", kScMusic, "Hudba"},
      {"F1", kScHelp, "Nápověda", kHelp},
      {"F2", kScAbout, "O aplikaci", kAbout},
      {"F3", kScCredits, "Credits", kCredits},
      {"Ctrl+F1", kScNewGame, "Nová hra", kNewGame, true},
      {"Ctrl+F2", kScNewGameSettings, "Nová hra s nastavením", kNewGameSettings, true},
      {"Ctrl+F3", kScLoad, "Načti", kLoadGame, true},
      {"Ctrl+F4", kScSave, "Ulož", kSaveGame, true},
      {"Ctrl+F5", kScReturn, "Návrat", kReturnToGame, true},
      {"Ctrl+F6", kScEndGame, "Ukončení hry", kEndGame, true},
      {"F7", kScMainMenu, "Hlavní nabídka"},
      {"F12", kScQuit, "Ukončení programu", kQuit, true},
  };
  return list;
}

MenuScreen::MenuScreen(ui::Controls& controls, Session& session, audio::Sound& sound,
                       game::Game& game, autosave::Autosave& autosave,
                       std::function<void(const Event&)> route)
    : controls_(controls),
      session_(session),
      sound_(sound),
      game_(game),
      autosave_(autosave),
      route_(std::move(route)) {
  routes_.click(kSoundsAndMusic, &MenuScreen::showRecordPlayer)
      .click(kRecordBack, &MenuScreen::hideRecordPlayer)
      .click(kNoScriptsCaption, &MenuScreen::clickNoScriptsCaption)
      .on(Kind::Toggle, kErrorPerLine, &MenuScreen::toggleErrorPerLine)
      .on(Kind::Toggle, kNoScripts, &MenuScreen::toggleNoScripts)
      .on(Kind::Toggle, kAutosaveOn, &MenuScreen::toggleAutosave)
      .on(Kind::Edit, kAutosaveTrigger, &MenuScreen::editTrigger)
      .on(Kind::Select, kAutosaveTrigger, &MenuScreen::editTrigger)
      .on(Kind::Edit, kAutosaveQuota, &MenuScreen::editQuota);
  for (const auto& s : shortcuts())
    if (s.button) keys_.on(Kind::Key, s.key, &MenuScreen::pressButtonOfKey);
  keys_.on(Kind::Key, "Shift+F1", &MenuScreen::keySound)
      .on(Kind::Key, "Shift+F2", &MenuScreen::keyMusic)
      .on(Kind::Key, "Ctrl+F6", &MenuScreen::keyEndGame)
      .on(Kind::Key, "F7", &MenuScreen::keyMainMenu);
  soundRoutes_.click(kSoundOnPic, &audio::Sound::soundOffAction)
      .click(kSoundOffPic, &audio::Sound::soundOnAction)
      .click(kMusicOnPic, &audio::Sound::musicOffAction)
      .click(kMusicOffPic, &audio::Sound::musicOnAction);
  gameRoutes_.click(kShowMenu, &game::Game::showMenu)
      .click(kErrorPerLineCaption, &game::Game::toggleErrorPerLine)
      .on(Kind::DoubleClick, kErrorPerLineCaption, &game::Game::toggleErrorPerLine);
  autosaveRoutes_.click(kAutosaveApply, &autosave::Autosave::applySettings)
      .on(Kind::Focus, kAutosaveTrigger, &autosave::Autosave::normaliseTrigger);
}

bool MenuScreen::handle(const Event& e) {
  if (e.kind == Kind::Hover || e.kind == Kind::Press) {
    applyRule(e.id, e.kind == Kind::Press);
    return false;  // a pointer movement may matter to others too
  }
  if (e.kind == Kind::Key) {
    key(e);
    return true;
  }
  return routes_.run(*this, e) || soundRoutes_.run(sound_, e) || gameRoutes_.run(game_, e) ||
         autosaveRoutes_.run(autosave_, e);
}

void MenuScreen::applyRule(std::string_view over, bool pressed) {
  const HoverRule* rule = hoverRuleFor(over);
  if (!rule) return;
  for (auto p : rule->opens)
    controls_.setVisible(p, true);
  // A press on a category button never closes the autosave settings.
  for (auto p : rule->closes)
    if (!(pressed && p == kPanelAutosave)) controls_.setVisible(p, false);
  if (rule->appliesAutosave) autosave_.applySettings();
}

void MenuScreen::key(const Event& e) {
  if (!controls_.enabled(kMainWindow)) return;
  const auto& list = shortcuts();
  auto it =
      std::find_if(list.begin(), list.end(), [&](const Shortcut& s) { return s.key == e.id; });
  if (it == list.end() || !controls_.enabled(it->item)) return;
  keys_.run(*this, e);
}

void MenuScreen::pressButtonOfKey(const Event& e) {
  const auto& list = shortcuts();
  auto it =
      std::find_if(list.begin(), list.end(), [&](const Shortcut& s) { return s.key == e.id; });
  if (it->whileEnabled && !controls_.enabled(it->button)) return;
  route_({Kind::Click, it->button});
}

void MenuScreen::keySound() {
  sound_.toggleSound();
}
void MenuScreen::keyMusic() {
  sound_.toggleMusic();
}
void MenuScreen::keyEndGame() {
  game_.showMenu();
  if (controls_.enabled(kEndGame)) route_({Kind::Click, kEndGame});
}
void MenuScreen::keyMainMenu() {
  if (controls_.enabled(kReturnToGame)) game_.showMenu();
}

void MenuScreen::toggleErrorPerLine(const Event& e) {
  game_.setErrorPerLine(e.value != 0);
}
void MenuScreen::toggleNoScripts(const Event& e) {
  controls_.setChecked(kNoScripts, e.value != 0);
  session_.scriptsDisabled = e.value != 0;
}
void MenuScreen::clickNoScriptsCaption() {
  toggleNoScripts({Kind::Toggle, kNoScripts, {}, controls_.checked(kNoScripts) ? 0 : 1});
}
void MenuScreen::toggleAutosave(const Event& e) {
  controls_.setChecked(kAutosaveOn, e.value != 0);
}
void MenuScreen::editTrigger(const Event& e) {
  controls_.setText(kAutosaveTrigger, e.text);
  autosave_.normaliseTrigger();
}
void MenuScreen::editQuota(const Event& e) {
  controls_.setValue(kAutosaveQuota, e.value);
}
void MenuScreen::showRecordPlayer() {
  controls_.setVisible(kPanelRecordPlayer, true);
}
void MenuScreen::hideRecordPlayer() {
  controls_.setVisible(kPanelRecordPlayer, false);
}

}  // namespace tervano::app
