#include "app/mode_registry.h"

#include <algorithm>

#include "app/modes/autosave_manager_mode.h"
#include "app/modes/bad_switch_mode.h"
#include "app/modes/editor_mode.h"
#include "app/modes/main_game.h"
#include "app/modes/script_editor_mode.h"
#include "app/modes/set_selection_mode.h"
#include "ui/ids/menu.h"

namespace tervano::app {

namespace {

template <class M, class... Args>
std::function<std::unique_ptr<Mode>(Application&)> factory(Args... args) {
  return [=](Application& app) { return std::make_unique<M>(app, args...); };
}

ModeRow row(std::string name, std::function<std::unique_ptr<Mode>(Application&)> make,
            std::string button, std::string caption, int toolRow, std::string picture,
            std::string help, bool runsScripts = false) {
  ModeRow r;
  r.name = std::move(name);
  r.make = std::move(make);
  r.toolButton = std::move(button);
  r.caption = std::move(caption);
  r.toolRow = toolRow;
  r.picture = std::move(picture);
  r.help = std::move(help);
  r.runsScripts = runsScripts;
  r.cuesAtOnce = runsScripts;
  return r;
}

// The switches line up in a column of this width in the unsupported-switch message.
constexpr std::size_t kSwitchColumn = 15;

}  // namespace

const ModeRegistry& ModeRegistry::standard() {
  static const ModeRegistry registry({
      row("", factory<MainGame>(), id::kToolMainApp, "Hlavní aplikace", 3, "Ikony\\kr1.bmp", "",
          true),
      row("-EDITOR", factory<EditorMode>(), id::kToolEditor, "Editor křížovek", 0,
          "Ikony\\editor.bmp", "pro editaci vlastních křížovek"),
      row("-SADA", factory<SetSelectionMode>(), id::kToolSets, "Výběr křížovkové sady", 2,
          "Ikony\\sady.bmp", "pro výběr křížovkové sady"),
      row("-SCRIPTEDITOR", factory<ScriptEditorMode>(), id::kToolScriptEditor,
          "Editor skriptů ke křížovkám", 1, "Ikony\\parametry.bmp",
          "pro editaci skriptů ke křížovkám"),
      row(std::string(kAutosaveManagerSwitch), factory<AutosaveManagerMode>(false),
          id::kToolAutosave, "Správa automatic. uložení", 4, "Ikony\\havarie.bmp",
          "pro správu záznamů automatického uložení"),
      row("-LOADAUTOSAVE", factory<AutosaveManagerMode>(true), id::kToolCrashLoad,
          "Načtení savu po havárii", 5, "Ikony\\havarie.bmp",
          "pro načtení záznamu automatického uložení"),
  });
  return registry;
}

std::vector<const ModeRow*> ModeRegistry::toolPanel() const {
  std::vector<const ModeRow*> panel;
  for (const auto& r : rows_)
    if (!r.toolButton.empty()) panel.push_back(&r);
  std::stable_sort(panel.begin(), panel.end(),
                   [](const ModeRow* a, const ModeRow* b) { return a->toolRow < b->toolRow; });
  return panel;
}

const ModeRow* ModeRegistry::find(std::string_view name) const {
  for (const auto& r : rows_)
    if (r.name == name) return &r;
  return nullptr;
}

const ModeRow* ModeRegistry::byToolButton(std::string_view id) const {
  for (const auto& r : rows_)
    if (!r.toolButton.empty() && r.toolButton == id) return &r;
  return nullptr;
}

std::unique_ptr<Mode> ModeRegistry::make(std::string_view name, Application& app) const {
  if (const ModeRow* r = find(name)) return r->make(app);
  return std::make_unique<BadSwitchMode>(app);
}

std::string ModeRegistry::unsupportedSwitchText() const {
  std::string text = "Vámi zadaný parametr není podporován.\rPodporované parametry:";
  for (const auto& r : rows_) {
    if (r.help.empty()) continue;
    std::string name = r.name;
    name.resize(std::max(kSwitchColumn, name.size() + 1), ' ');
    text += "\r" + name + "{" + r.help + "}";
  }
  return text;
}

std::vector<std::string> ModeRegistry::pictureFiles() const {
  std::vector<std::string> files;
  for (const auto* r : toolPanel())
    if (!r->picture.empty() && std::find(files.begin(), files.end(), r->picture) == files.end())
      files.push_back(r->picture);
  return files;
}

}  // namespace tervano::app
