#pragma once

#include <string_view>
#include <vector>

namespace tervano::app {

// One row of the hover rules: when the pointer moves over `over`, the panels of `opens` are
// shown and those of `closes` hidden; everything else keeps its state.
struct HoverRule {
  std::string_view over;
  std::vector<std::string_view> opens;
  std::vector<std::string_view> closes;
  bool editorOnly = false;       // opens only in the crossword editor mode
  bool appliesAutosave = false;  // stores the autosave settings
};

const std::vector<HoverRule>& hoverRules();
const HoverRule* hoverRuleFor(std::string_view control);

// One keyboard shortcut of the hidden shortcut menu.
struct Shortcut {
  std::string_view key;   // "Ctrl+F1"
  std::string_view item;  // the menu item whose enabled state lets the key act
  std::string_view keyListName;
};

const std::vector<Shortcut>& shortcuts();

}  // namespace tervano::app
