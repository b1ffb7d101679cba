// The menu screen: hover rules and keyboard shortcuts per mode.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/menu.h"
#include "program_folder.h"
#include "ui/ids.h"

namespace tervano {
namespace {

using testing::Rig;

struct MenuRig : Rig {
  explicit MenuRig(const std::string& sw = "-SADA") {
    dir.makeSet({1, 1, 1, 1});
    if (sw.empty()) host.pick(dir.makeSave("hra", testing::record()));
    start(sw);
    host.clear();
  }
  bool open(std::string_view panel) const { return c().visible(panel); }
  void openAll() {
    for (auto p :
         {id::kPanelGame, id::kPanelHelp, id::kPanelApp, id::kPanelSettings, id::kPanelTools,
          id::kPanelEditorData, id::kPanelToolExit, id::kPanelSetMusic, id::kPanelAutosave})
      app->controls().setVisible(p, true);
  }
};

TEST(HoverRules, MovingBetweenCategoriesKeepsOnePanelOpen) {
  MenuRig rig;
  rig.app->hover(id::kTools);
  rig.app->hover(id::kCatGame);
  EXPECT_TRUE(rig.open(id::kPanelGame));
  EXPECT_FALSE(rig.open(id::kPanelTools));
  rig.app->hover(id::kCatHelp);
  EXPECT_TRUE(rig.open(id::kPanelHelp));
  EXPECT_FALSE(rig.open(id::kPanelGame));
  rig.app->hover(id::kCatApp);
  rig.app->hover(id::kCatSettings);
  int open = 0;
  for (auto p : {id::kPanelGame, id::kPanelHelp, id::kPanelApp, id::kPanelSettings})
    open += rig.open(p);
  EXPECT_EQ(open, 1);
  EXPECT_TRUE(rig.open(id::kPanelSettings));
}

// The rule table written out as the menu's design states it, independently of the program's own
// table: (pointer over, panels it opens, panels it closes). Everything else keeps its state.
struct HoverRow {
  std::string_view over;
  std::vector<std::string_view> opens;
  std::vector<std::string_view> closes;
};

const std::vector<std::string_view> kPanels = {
    id::kPanelGame,     id::kPanelHelp,     id::kPanelApp,
    id::kPanelSettings, id::kPanelTools,    id::kPanelEditorData,
    id::kPanelToolExit, id::kPanelSetMusic, id::kPanelAutosave};

const std::vector<HoverRow> kHoverRows = {
    {id::kCatGame, {id::kPanelGame}, {"tools", "help", "settings", "application"}},
    {id::kCatHelp, {id::kPanelHelp}, {"autosave", "tools", "game", "settings", "application"}},
    {id::kCatApp, {id::kPanelApp}, {"autosave", "tools", "game", "help", "settings"}},
    {id::kCatSettings, {id::kPanelSettings}, {"tools", "game", "help", "application"}},
    {id::kTitle,
     {},
     {"autosave", "tools", "editor data", "set music", "tool exit", "game", "help", "settings",
      "application"}},
    {id::kMenuLower,
     {},
     {"autosave", "tools", "editor data", "set music", "tool exit", "game", "help", "settings",
      "application"}},
    {id::kMenuScreen,
     {},
     {"tools", "editor data", "set music", "tool exit", "game", "help", "settings", "application"}},
    {id::kPanelRecordPlayer,
     {},
     {"editor data", "set music", "tool exit", "game", "help", "settings", "application"}},
    {id::kTools, {id::kPanelTools}, {}},
    {id::kPanelApp, {}, {"autosave", "tools"}},
    {id::kQuit, {}, {"tools"}},
    {id::kAutosaveButton, {id::kPanelAutosave}, {}},
    {id::kPanelSettings, {}, {"autosave"}},
    {id::kEditorBar, {}, {"editor data", "tool exit"}},
    {id::kCatEditorData, {id::kPanelEditorData}, {"set music", "tool exit"}},
    {id::kCatToolExit, {id::kPanelToolExit}, {"set music", "editor data"}},
    {id::kCatSetMusic, {id::kPanelSetMusic}, {"editor data", "tool exit"}},
    {id::kPanelEditorData, {}, {"set music", "tool exit"}},
    {id::kPanelToolExit, {}, {"set music", "editor data"}},
    {id::kPanelSetMusic, {}, {"tool exit", "editor data"}},
};

// The rows name panels as people do; this maps them to controls.
std::string_view panelNamed(std::string_view name) {
  static const std::map<std::string_view, std::string_view> names = {
      {"game", id::kPanelGame},          {"help", id::kPanelHelp},
      {"application", id::kPanelApp},    {"settings", id::kPanelSettings},
      {"tools", id::kPanelTools},        {"editor data", id::kPanelEditorData},
      {"tool exit", id::kPanelToolExit}, {"set music", id::kPanelSetMusic},
      {"autosave", id::kPanelAutosave}};
  return names.at(name);
}

TEST(HoverRules, EveryRowOpensAndClosesExactlyItsPanels) {
  for (const HoverRow& row : kHoverRows) {
    std::set<std::string_view> closes;
    for (auto name : row.closes)
      closes.insert(panelNamed(name));
    MenuRig rig;
    rig.openAll();
    rig.app->hover(row.over);
    for (auto p : kPanels) {
      const bool opened = std::find(row.opens.begin(), row.opens.end(), p) != row.opens.end();
      EXPECT_EQ(rig.open(p), opened || !closes.count(p)) << row.over << " / " << p;
    }
    MenuRig fresh;  // every panel closed
    fresh.app->hover(row.over);
    for (auto p : kPanels) {
      const bool opens = std::find(row.opens.begin(), row.opens.end(), p) != row.opens.end();
      EXPECT_EQ(fresh.open(p), opens) << row.over << " / " << p;
    }
  }
}

TEST(HoverRules, ThePointerOverTheAutosavePanelStoresTheSettings) {
  MenuRig rig("");
  rig.app->hover(id::kCatSettings);
  rig.app->hover(id::kAutosaveButton);
  EXPECT_TRUE(rig.open(id::kPanelAutosave));
  rig.app->dispatch({app::Event::Kind::Toggle, id::kAutosaveOn, "", 1});
  rig.app->dispatch({app::Event::Kind::Edit, id::kAutosaveQuota, "", 200});
  rig.app->hover(id::kPanelAutosave);  // no click
  EXPECT_EQ(rig.dir.read("Data/kriz/automatické uložení.kra"),
            (TextList{"A", "200", "0", "kontrole každé křížovky"}));
}

TEST(HoverRules, APressOnACategoryNeverClosesTheAutosavePanel) {
  MenuRig rig;
  rig.app->controls().setVisible(id::kPanelAutosave, true);
  rig.app->dispatch({app::Event::Kind::Press, id::kCatHelp});
  EXPECT_TRUE(rig.open(id::kPanelAutosave));
  EXPECT_TRUE(rig.open(id::kPanelHelp));
  rig.app->hover(id::kCatHelp);
  EXPECT_FALSE(rig.open(id::kPanelAutosave));
}

TEST(HoverRules, TheEditorsLabelsOpenTheirBoxesOnlyInTheEditor) {
  MenuRig game("");
  game.app->hover(id::kGradeCaption);
  game.app->hover(id::kLanguageCaption);
  EXPECT_FALSE(game.c().has(id::kGradeSpin));
  EXPECT_FALSE(game.c().has(id::kLanguageBox));
  MenuRig editor("-EDITOR");
  editor.app->hover(id::kGradeCaption);
  editor.app->hover(id::kLanguageCaption);
  EXPECT_TRUE(editor.c().visible(id::kGradeSpin));
  EXPECT_TRUE(editor.c().visible(id::kLanguageBox));
  editor.app->hover(id::kBackground);
  EXPECT_FALSE(editor.c().visible(id::kGradeSpin));
  EXPECT_FALSE(editor.c().visible(id::kLanguageBox));
}

TEST(Shortcuts, AllThirteenActInTheMainApplication) {
  MenuRig rig("");
  rig.app->key("F1");
  EXPECT_TRUE(rig.c().visible(id::kHelpWindow));
  rig.app->click(id::kHelpQuit);
  rig.app->key("F2");
  EXPECT_TRUE(rig.c().visible(id::kAboutWindow));
  rig.app->key("F3");
  EXPECT_TRUE(rig.c().visible(id::kPanelCredits));
  rig.app->key("Shift+F1");
  EXPECT_FALSE(rig.app->sound().soundOn());
  rig.app->key("F7");
  EXPECT_TRUE(rig.c().visible(id::kMenuScreen));
  rig.app->key("Ctrl+F5");
  EXPECT_FALSE(rig.c().visible(id::kMenuScreen));
  rig.host.pick(std::nullopt);
  rig.app->key("Ctrl+F4");
  EXPECT_EQ(rig.host.only({"save"}).size(), 1u);
}

TEST(Shortcuts, TheEditorKeepsOnlyF7AndF12) {
  MenuRig rig("-EDITOR");
  for (auto k : {"F1", "F2", "F3", "Shift+F1", "Shift+F2", "Ctrl+F1", "Ctrl+F2", "Ctrl+F3",
                 "Ctrl+F4", "Ctrl+F5", "Ctrl+F6"})
    rig.app->key(k);
  EXPECT_FALSE(rig.c().visible(id::kHelpWindow));
  EXPECT_FALSE(rig.c().visible(id::kAboutWindow));
  EXPECT_FALSE(rig.c().visible(id::kPanelCredits));
  EXPECT_TRUE(rig.app->sound().soundOn());
  EXPECT_TRUE(rig.host.transcript().empty());
  EXPECT_TRUE(rig.c().enabled(id::kScMainMenu));
  EXPECT_TRUE(rig.c().enabled(id::kScQuit));
}

TEST(Shortcuts, SetSelectionHasNone) {
  MenuRig rig("-SADA");
  for (const auto& s : app::shortcuts()) {
    EXPECT_FALSE(rig.c().enabled(s.item)) << s.key;
    rig.app->key(s.key);
  }
  EXPECT_TRUE(rig.host.transcript().empty());
  EXPECT_FALSE(rig.c().visible(id::kHelpWindow));
}

TEST(Shortcuts, NoKeyActsWhileTheHelpWindowDisablesTheMainWindow) {
  MenuRig rig("");
  rig.app->key("F1");
  rig.app->key("Shift+F1");
  EXPECT_TRUE(rig.app->sound().soundOn());
}

}  // namespace
}  // namespace tervano

namespace tervano {
namespace {

TEST(LanguageBox, PickingALanguageInTheEditorStoresItInTheDescriptorAtOnce) {
  testing::Rig rig;
  rig.dir.makeSet({1, 1, 1, 1});
  rig.start("-EDITOR");
  EXPECT_EQ(rig.c().lines(id::kLanguageBox), (TextList{"Angličtina", "Němčina"}));
  rig.app->click(id::kDataNew);
  rig.app->dispatch({app::Event::Kind::Select, id::kLanguageBox, "Němčina"});
  EXPECT_EQ(rig.text(id::kLanguage), "Němčina");
  EXPECT_EQ(rig.dir.read("tervano/Tervano.ini").get(7), "Němčina");
  // The open crossword's data are now unsaved: closing is refused.
  rig.app->dispatch({app::Event::Kind::CloseRequest});
  EXPECT_EQ(rig.host.only({"warning"}),
            (std::vector<std::string>{
                "warning: Data nejsou uložena.\rStisknutím tlačítka Uložit data uložíte."}));
  EXPECT_FALSE(rig.host.quitRequested());
}

}  // namespace
}  // namespace tervano
