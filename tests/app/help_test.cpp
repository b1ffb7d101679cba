// Help window pages, the help-file link, the about window and the credits animation.
#include <gtest/gtest.h>

#include "app/helptexts.h"
#include "data/textfile.h"
#include "program_folder.h"
#include "ui/ids.h"

namespace tervano {
namespace {

using testing::Rig;
using V = std::vector<std::string>;

struct HelpRig : Rig {
  explicit HelpRig(const std::string& sw = "") {
    dir.makeSet({1, 1, 1, 1});
    if (sw.empty()) host.pick(dir.makeSave("hra", testing::record()));
    start(sw);
    host.clear();
  }
};

std::size_t width(const std::string& s) {
  std::size_t n = 0;
  for (char ch : s)
    if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++n;
  return n;
}

TEST(HelpTexts, TheKeyListIs28LinesAt36Characters) {
  const TextList keys = app::keyListText();
  ASSERT_EQ(keys.count(), 28);
  for (int rule : {0, 2, 5, 6, 8, 12, 13, 15, 22, 23, 25})
    EXPECT_EQ(keys.get(rule), std::string(36, '_'));
  EXPECT_EQ(keys.get(1), "             Nastavení");
  EXPECT_EQ(keys.get(7), "               Pomoc");
  EXPECT_EQ(keys.get(14), "             Nabídka hra");
  EXPECT_EQ(keys.get(24), "              Program");
  EXPECT_EQ(keys.get(3), "Zvuk........................Shift+F1");
  EXPECT_EQ(keys.get(9), "Nápověda..........................F1");
  EXPECT_EQ(keys.get(17), "Nová hra s nastavením........Ctrl+F2");
  EXPECT_EQ(keys.get(21), "Ukončení hry.................Ctrl+F6");
  EXPECT_EQ(keys.get(27), "Ukončení programu................F12");
  for (int entry : {3, 4, 9, 10, 11, 16, 17, 18, 19, 20, 21, 26, 27})
    EXPECT_EQ(width(keys.get(entry)), 36u) << entry;
}

TEST(HelpTexts, AdviceAndLicenceHaveTheirLength) {
  const TextList advice = app::adviceText();
  ASSERT_EQ(advice.count(), 13);
  EXPECT_EQ(advice.get(9), std::string(61, '_'));
  EXPECT_EQ(advice.get(11).back(), ' ');
  EXPECT_EQ(app::licenceText().count(), 45);
}

TEST(HelpWindow, TheExampleIsFilledOnceASecondAfterStart) {
  HelpRig rig;
  EXPECT_TRUE(rig.c().timerRunning(id::kTimerHelpFiller));
  EXPECT_TRUE(rig.c().lines(id::kHelpSample).empty());
  rig.app->tick(id::kTimerHelpFiller);
  EXPECT_FALSE(rig.c().timerRunning(id::kTimerHelpFiller));
  EXPECT_EQ(rig.c().lines(id::kHelpSample), (TextList{"m o n d a y", "  l o n g", "  d o l l"}));
  EXPECT_EQ(rig.c().lines(id::kHelpMap), (TextList{"x x x x x x", "  x x x x", "  x x x x"}));
  const TextList keys = rig.c().lines(id::kHelpKeys);
  EXPECT_EQ(keys.get(0), "Stisknuty byly tyto klávesy:");
  EXPECT_EQ(keys.get(3), "1.řádek:");
  EXPECT_EQ(keys.get(5), "m");
  EXPECT_EQ(keys.get(6), "Mezerník");
  EXPECT_EQ(keys.get(keys.count() - 1), "l");  // the third answer ends without Enter
  int enters = 0;
  for (const auto& l : keys.lines())
    enters += l == "Enter";
  EXPECT_EQ(enters, 2);
}

TEST(HelpWindow, PagesAndTitles) {
  HelpRig rig;
  rig.app->click(id::kHelp);
  EXPECT_TRUE(rig.c().visible(id::kHelpWindow));
  EXPECT_FALSE(rig.c().enabled(id::kMainWindow));
  rig.app->hover(id::kHelpTopics);
  EXPECT_TRUE(rig.c().visible(id::kHelpTopicsPanel));
  rig.app->click(id::kHelpTopicKeys);
  EXPECT_TRUE(rig.c().visible(id::kHelpKeyList));
  EXPECT_EQ(rig.text(id::kHelpPageTitle), "Zkratkov. kláv.");
  rig.app->click(id::kHelpTopicEula);
  EXPECT_FALSE(rig.c().visible(id::kHelpKeyList));
  EXPECT_TRUE(rig.c().visible(id::kHelpLicence));
  EXPECT_EQ(rig.text(id::kHelpPageTitle), "EULA");
  rig.app->hover(id::kHelpLicence);
  EXPECT_FALSE(rig.c().visible(id::kHelpTopicsPanel));
  rig.app->click(id::kHelpTopicSample);
  EXPECT_FALSE(rig.c().visible(id::kHelpLicence));
  EXPECT_EQ(rig.text(id::kHelpPageTitle), "");
  rig.app->dispatch({app::Event::Kind::DoubleClick, id::kHelpAdvice});
  EXPECT_EQ(rig.text(id::kHelpPageTitle), "Pár rad");
  EXPECT_FALSE(rig.c().enabled(id::kHelpTopicKeys));
  rig.app->dispatch({app::Event::Kind::DoubleClick, id::kHelpAdvice});
  EXPECT_EQ(rig.text(id::kHelpPageTitle), "");
  rig.app->dispatch({app::Event::Kind::DoubleClick, id::kHelpKeys});
  EXPECT_EQ(rig.text(id::kHelpPageTitle), "Činnost");
  EXPECT_FALSE(rig.c().visible(id::kHelpAdvice));
  rig.app->dispatch({app::Event::Kind::DoubleClick, id::kHelpKeys});
  EXPECT_TRUE(rig.c().visible(id::kHelpAdvice));
  rig.app->click(id::kHelpQuit);
  EXPECT_FALSE(rig.c().visible(id::kHelpWindow));
  EXPECT_TRUE(rig.c().enabled(id::kMainWindow));
}

TEST(HelpWindow, KeyListCommandAndItsDisabling) {
  HelpRig rig;
  rig.app->dispatch({app::Event::Kind::DoubleClick, id::kHelpAdvice});  // enlarged advice
  rig.app->click(id::kKeyList);
  EXPECT_FALSE(rig.c().visible(id::kHelpKeyList));  // not opened over the enlarged advice
  EXPECT_FALSE(rig.c().enabled(id::kKeyList));
  rig.app->dispatch({app::Event::Kind::HelpClosed});
  EXPECT_TRUE(rig.c().enabled(id::kMainWindow));
  EXPECT_FALSE(rig.c().enabled(id::kKeyList));  // only "Konec" enables it again
  rig.app->dispatch({app::Event::Kind::DoubleClick, id::kHelpAdvice});
  rig.app->click(id::kHelp);
  rig.app->click(id::kHelpQuit);
  EXPECT_TRUE(rig.c().enabled(id::kKeyList));
  rig.app->click(id::kKeyList);
  EXPECT_TRUE(rig.c().visible(id::kHelpKeyList));
}

TEST(HelpWindow, TheLinkShowsWhetherTheHelpFileIsThere) {
  HelpRig rig;
  rig.app->hover(id::kHelpLink);
  EXPECT_EQ(rig.c().get(id::kHelpLink).color, "red");
  EXPECT_EQ(rig.c().get(id::kHelpLink).cursor, ui::Cursor::NotAllowed);
  EXPECT_TRUE(rig.c().get(id::kHelpLink).underline);
  rig.app->hover(id::kHelpBackground);
  EXPECT_EQ(rig.c().get(id::kHelpLink).color, "blue");
  EXPECT_FALSE(rig.c().get(id::kHelpLink).underline);
  rig.app->click(id::kHelpLink);
  EXPECT_EQ(rig.host.only({"error"}),
            (V{"error: Nápověda není nainstalována.\rnebo není přístupná.\r\rZkontrolujte "
               "nainstalované\rsoučásti Tervana a\rjestli nebude zaškrtnuta položka\rNápověda-"
               "Tervano zaškrtněte ji\ra dokončete instalaci."}));
  rig.dir.write("help/hkriz.hlp", {"<html></html>"});
  rig.app->hover(id::kHelpLink);
  EXPECT_EQ(rig.c().get(id::kHelpLink).cursor, ui::Cursor::Help);
  EXPECT_EQ(rig.c().get(id::kHelpLink).color, "blue");
  rig.app->click(id::kHelpLink);
  EXPECT_EQ(rig.host.only({"document"}), (V{"document hkriz.hlp"}));
  // A help file far larger than help pages are is not handed to the viewer.
  rig.host.clear();
  rig.dir.writeBytes("help/hkriz.hlp", std::string(limits::kHelpFile + 1, ' '));
  rig.app->click(id::kHelpLink);
  EXPECT_TRUE(rig.host.only({"document"}).empty());
  ASSERT_EQ(rig.host.only({"error"}).size(), 1u);
  EXPECT_NE(rig.host.only({"error"})[0].find("je příliš velký"), std::string::npos);
}

TEST(AboutWindow, ItsButtons) {
  HelpRig rig;
  rig.app->key("F2");
  EXPECT_TRUE(rig.c().enabled(id::kMainWindow));
  rig.app->click(id::kAboutEula);
  EXPECT_FALSE(rig.c().visible(id::kAboutWindow));
  EXPECT_TRUE(rig.c().visible(id::kHelpLicence));
  EXPECT_EQ(rig.text(id::kHelpPageTitle), "EULA");
  rig.app->click(id::kHelpQuit);
  rig.app->click(id::kAbout);
  rig.app->click(id::kAboutCredits);
  EXPECT_FALSE(rig.c().visible(id::kAboutWindow));
  EXPECT_TRUE(rig.c().timerRunning(id::kTimerCredits));
}

TEST(Credits, PageTimingAndTheEnd) {
  HelpRig rig;
  rig.app->click(id::kCredits);
  const auto& c = rig.c();
  auto captionTop = [&] { return c.get(id::kCreditsCaption).geometry.top; };
  EXPECT_EQ(captionTop(), 32);
  for (int i = 0; i < 119; ++i)
    rig.app->tick(id::kTimerCredits);
  EXPECT_EQ(captionTop(), 151);
  rig.app->tick(id::kTimerCredits);  // the 120th tick ends the first page
  EXPECT_EQ(captionTop(), -64);
  EXPECT_EQ(c.get(id::kCreditsName).geometry.top, -32);
  rig.app->tick(id::kTimerCredits);
  EXPECT_EQ(rig.text(id::kCreditsCaption), "Nápad:");
  for (int page = 1; page < 7; ++page) {
    const int ticks = page == 1 ? 215 : 216;
    for (int i = 0; i < ticks; ++i) {
      ASSERT_TRUE(c.visible(id::kPanelCredits)) << page << " " << i;
      rig.app->tick(id::kTimerCredits);
    }
  }
  EXPECT_FALSE(c.visible(id::kPanelCredits));
  EXPECT_FALSE(c.timerRunning(id::kTimerCredits));
}

TEST(Credits, PagesShowTheVersionsAndTheCloseLinkRestarts) {
  HelpRig rig;
  rig.app->click(id::kCredits);
  for (int i = 0; i < 120 + 216 * 4 + 1; ++i)
    rig.app->tick(id::kTimerCredits);
  EXPECT_EQ(rig.text(id::kCreditsCaption), "Verze vaší aplikace:");
  EXPECT_EQ(rig.text(id::kCreditsName), "3.00");
  for (int i = 0; i < 216; ++i)
    rig.app->tick(id::kTimerCredits);
  EXPECT_EQ(rig.text(id::kCreditsCaption), "Verze vašeho balíčku s křížovkami:");
  EXPECT_EQ(rig.text(id::kCreditsName), "4.00");
  EXPECT_EQ(rig.c().get(id::kCreditsCaption).fontSize, 10);
  rig.app->click(id::kCreditsClose);
  EXPECT_FALSE(rig.c().visible(id::kPanelCredits));
  rig.app->key("F3");
  EXPECT_EQ(rig.text(id::kCreditsCaption), "Autor:");
  EXPECT_EQ(rig.c().get(id::kCreditsCaption).geometry.top, 32);
}

TEST(Credits, TheTitleColourComesFromTheSeededGenerator) {
  auto colours = [](std::uint32_t seed) {
    HelpRig rig;
    rig.app->seedRandom(seed);
    rig.app->click(id::kCredits);
    std::vector<std::string> seen;
    for (int i = 0; i < 50; ++i) {
      rig.app->tick(id::kTimerCredits);
      seen.push_back(rig.c().get(id::kCreditsTitle).color);
    }
    return seen;
  };
  EXPECT_EQ(colours(7), colours(7));
  EXPECT_NE(colours(7), colours(8));
  for (const auto& c : colours(3))
    EXPECT_TRUE(c == "red" || c == "blue" || c == "aqua" || c == "yellow" || c == "lime" ||
                c == "teal")
        << c;
}

}  // namespace
}  // namespace tervano
