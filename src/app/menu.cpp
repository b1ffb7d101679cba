// The menu screen: hover rules, category buttons and keyboard shortcuts.
#include "app/menu.h"

#include <algorithm>

#include "app/application.h"
#include "ui/ids.h"

namespace tervano::app {

namespace {

using namespace id;

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
      {kPanelAutosave, {}, {}, false, true},
      {kEditorBar, {}, {kPanelEditorData, kPanelToolExit}},
      {kCatEditorData, {kPanelEditorData}, {kPanelSetMusic, kPanelToolExit}},
      {kCatToolExit, {kPanelToolExit}, {kPanelSetMusic, kPanelEditorData}},
      {kCatSetMusic, {kPanelSetMusic}, {kPanelEditorData, kPanelToolExit}},
      {kPanelEditorData, {}, {kPanelSetMusic, kPanelToolExit}},
      {kPanelToolExit, {}, {kPanelSetMusic, kPanelEditorData}},
      {kPanelSetMusic, {}, {kPanelToolExit, kPanelEditorData}},
      {kGradeCaption, {"gradeSpin"}, {}, true},
      {kLanguageCaption, {"languageBox"}, {}, true},
      {kBackground, {}, {"languageBox", "gradeSpin"}},
      {kScoringGroup,
       {},
       {"scoreSpinGood", "scoreSpinBad", "scoreSpinGoodTajenka", "scoreSpinBadTajenka"}},
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
      {"F1", kScHelp, "Nápověda"},
      {"F2", kScAbout, "O aplikaci"},
      {"F3", kScCredits, "Credits"},
      {"Ctrl+F1", kScNewGame, "Nová hra"},
      {"Ctrl+F2", kScNewGameSettings, "Nová hra s nastavením"},
      {"Ctrl+F3", kScLoad, "Načti"},
      {"Ctrl+F4", kScSave, "Ulož"},
      {"Ctrl+F5", kScReturn, "Návrat"},
      {"Ctrl+F6", kScEndGame, "Ukončení hry"},
      {"F7", kScMainMenu, "Hlavní nabídka"},
      {"F12", kScQuit, "Ukončení programu"},
  };
  return list;
}

void Application::handleHover(const std::string& over, bool pressed) {
  // Help window elements first: they are not part of the menu screen.
  if (over == id::kHelpTopics) {
    controls_.setVisible(id::kHelpTopicsPanel, true);
    controls_.setEnabled(id::kHelpTopicKeys, true);
    return;
  }
  if (over == id::kHelpLink) {
    if (pressed)
      helpLinkReset();
    else
      helpLinkHover();
    return;
  }
  for (auto resetter : {id::kHelpBackground, id::kHelpSample, id::kHelpKeys, id::kHelpMap,
                        id::kHelpAdvice, id::kHelpKeyList, id::kHelpSampleCaption,
                        id::kHelpMapCaption, id::kHelpPageTitle, id::kHelpTopicKeys, id::kHelpQuit})
    if (over == resetter) helpLinkReset();
  for (auto closer : {id::kHelpKeyList, id::kHelpLicence, id::kHelpSample, id::kHelpSampleCaption,
                      id::kHelpMapCaption})
    if (over == closer) controls_.setVisible(id::kHelpTopicsPanel, false);

  const HoverRule* rule = hoverRuleFor(over);
  if (!rule) return;
  if (rule->editorOnly && mode_ != Mode::Editor) return;
  for (auto p : rule->opens)
    controls_.setVisible(p, true);
  for (auto p : rule->closes)
    if (!(pressed && p == id::kPanelAutosave)) controls_.setVisible(p, false);
  if (rule->appliesAutosave) autosave_->applySettings();
}

void Application::handleKey(const std::string& key) {
  if (!controls_.enabled(id::kMainWindow)) return;
  const auto& list = shortcuts();
  auto it = std::find_if(list.begin(), list.end(), [&](const Shortcut& s) { return s.key == key; });
  if (it == list.end() || !controls_.enabled(it->item)) return;
  const std::string_view item = it->item;
  auto ifEnabled = [&](const char* button, auto action) {
    if (controls_.enabled(button)) action();
  };
  if (item == id::kScSound) return sound_->toggleSound();
  if (item == id::kScMusic) return sound_->toggleMusic();
  if (item == id::kScHelp) return help();
  if (item == id::kScAbout) return about();
  if (item == id::kScCredits) return credits();
  if (item == id::kScNewGame) return ifEnabled(id::kNewGame, [&] { newGame(); });
  if (item == id::kScNewGameSettings)
    return ifEnabled(id::kNewGameSettings, [&] { newGameWithSettings(); });
  if (item == id::kScLoad) return ifEnabled(id::kLoadGame, [&] { loadGame(); });
  if (item == id::kScSave) return ifEnabled(id::kSaveGame, [&] { saveGame(); });
  if (item == id::kScReturn) return ifEnabled(id::kReturnToGame, [&] { returnToGame(); });
  if (item == id::kScEndGame) {
    showMenu();
    return ifEnabled(id::kEndGame, [&] { endGame(); });
  }
  if (item == id::kScMainMenu) return ifEnabled(id::kReturnToGame, [&] { showMenu(); });
  if (item == id::kScQuit) return ifEnabled(id::kQuit, [&] { quitFromMenu(); });
}

}  // namespace tervano::app
