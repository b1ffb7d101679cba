// Help window, about window and the credits.
#include "app/application.h"
#include "app/helptexts.h"
#include "data/records.h"
#include "ui/ids.h"

namespace tervano::app {

namespace {

struct CreditsPage {
  const char* caption;
  bool authorName;  // the name label shows the author; otherwise the text below
  int captionLeft;
  int nameLeft;
  int captionFont;
};

constexpr CreditsPage kCreditsPages[] = {
    {"Autor:", true, 103, 63, 16},
    {"Nápad:", true, 103, 63, 16},
    {"Grafika:", true, 105, 63, 16},
    {"Tvorba křížovek:", true, 63, 63, 16},
    {"Držitel autorských práv:", true, 35, 63, 16},
    {"Verze vaší aplikace:", false, 40, 105, 16},
    {"Verze vašeho balíčku s křížovkami:", false, 14, 105, 10},
};
constexpr int kCreditsPageCount = 7;
constexpr int kCreditsBodyHeight = 152;
constexpr const char* kTitleColours[] = {"", "red", "blue", "aqua", "yellow", "lime", "teal"};

constexpr const char* kHelpMissing =
    "Nápověda není nainstalována.\rnebo není přístupná.\r\rZkontrolujte nainstalované\rsoučásti "
    "Tervana a\rjestli nebude zaškrtnuta položka\rNápověda-Tervano zaškrtněte ji\ra dokončete "
    "instalaci.";

}  // namespace

void Application::createHelpWindow() {
  controls_.startTimer(id::kTimerHelpFiller);
}

void Application::createAboutWindow() {
  if (mode_ == Mode::Main) {
    controls_.startTimer(id::kTimerAbout);
  } else {
    controls_.stopTimer(id::kTimerAbout);
  }
  afterCommand();
}

void Application::fillHelpExample() {
  controls_.stopTimer(id::kTimerHelpFiller);
  helpFillerDone_ = true;
  controls_.setLines(id::kHelpSample, exampleAnswers());
  controls_.setLines(id::kHelpKeys, exampleKeys());
  controls_.setLines(id::kHelpMap, exampleMap());
  controls_.setLines(id::kHelpLegend, exampleLegend());
}

void Application::showHelpWindow() {
  controls_.setEnabled(id::kMainWindow, false);
  controls_.setVisible(id::kHelpWindow, true);
}

void Application::help() {
  showHelpWindow();
}

void Application::eula() {
  help();
  controls_.setVisible(id::kHelpLicence, true);
  controls_.setText(id::kHelpPageTitle, "EULA");
}

void Application::openKeyListPage() {
  controls_.setVisible(id::kHelpLicence, false);
  controls_.setVisible(id::kHelpKeyList, true);
  controls_.setText(id::kHelpPageTitle, "Zkratkov. kláv.");
}

void Application::keyList() {
  controls_.setEnabled(id::kMainWindow, false);
  if (!controls_.visible(id::kHelpKeyList) && !controls_.checked(id::kHelpAdvice))
    openKeyListPage();
  controls_.setVisible(id::kHelpWindow, true);
  controls_.setEnabled(id::kKeyList, false);
}

void Application::helpQuit() {
  if (!helpFillerDone_) controls_.stopTimer(id::kTimerHelpFiller);
  controls_.setVisible(id::kHelpWindow, false);
  controls_.setEnabled(id::kMainWindow, true);
  controls_.setEnabled(id::kKeyList, true);
}

void Application::helpClosedOtherwise() {
  controls_.setVisible(id::kHelpWindow, false);
  controls_.setEnabled(id::kMainWindow, true);
}

void Application::toggleAdviceEnlarged() {
  const bool enlarge = !controls_.checked(id::kHelpAdvice);
  controls_.setChecked(id::kHelpAdvice, enlarge);
  controls_.setText(id::kHelpPageTitle, enlarge ? "Pár rad" : "");
  controls_.setEnabled(id::kHelpTopicKeys, !enlarge);
}

void Application::toggleKeysEnlarged() {
  const bool enlarge = !controls_.checked(id::kHelpKeys);
  controls_.setChecked(id::kHelpKeys, enlarge);
  controls_.setVisible(id::kHelpAdvice, !enlarge);
  controls_.setText(id::kHelpPageTitle, enlarge ? "Činnost" : "");
  controls_.setEnabled(id::kHelpTopicKeys, !enlarge);
}

void Application::helpLinkHover() {
  const bool present = folder_.isFile(paths::kHelpFile);
  controls_.setCursor(id::kHelpLink, present ? ui::Cursor::Help : ui::Cursor::NotAllowed);
  controls_.setColor(id::kHelpLink, present ? "blue" : "red");
  controls_.setUnderline(id::kHelpLink, true);
}

void Application::helpLinkReset() {
  controls_.setUnderline(id::kHelpLink, false);
  controls_.setColor(id::kHelpLink, "blue");
}

void Application::helpLinkClick() {
  if (folder_.isFile(paths::kHelpFile))
    host_.openDocument(folder_.resolve(paths::kHelpFile).string(),
                       folder_.resolve(paths::kHelpFolder).string());
  else
    ui::showError(host_, kHelpMissing);
}

void Application::about() {
  controls_.setVisible(id::kAboutWindow, true);
}

void Application::credits() {
  startCredits();
}

void Application::startCredits() {
  controls_.setVisible(id::kPanelCredits, true);
  controls_.startTimer(id::kTimerCredits);
  controls_.setColor(id::kCreditsTitle, "aqua");
  controls_.setColor(id::kCreditsCaption, "red");
  controls_.setColor(id::kCreditsName, "lime");
  controls_.setFontSize(id::kCreditsCaption, 16);
  controls_.setFontSize(id::kCreditsName, 16);
  controls_.setText(id::kCreditsCaption, "Autor:");
  controls_.setText(id::kCreditsName, kAuthor);
  controls_.setGeometry(id::kCreditsCaption, {103, 32, 0, 0});
  controls_.setGeometry(id::kCreditsName, {63, 64, 0, 0});
  creditsPage_ = 0;
}

void Application::creditsTick() {
  const auto r = static_cast<int>(random_() % 7);
  if (r != 0) controls_.setColor(id::kCreditsTitle, kTitleColours[r]);
  controls_.setTop(id::kCreditsCaption, controls_.get(id::kCreditsCaption).geometry.top + 1);
  controls_.setTop(id::kCreditsName, controls_.get(id::kCreditsName).geometry.top + 1);

  const CreditsPage& page = kCreditsPages[creditsPage_];
  controls_.setText(id::kCreditsCaption, page.caption);
  std::string name = kAuthor;
  if (!page.authorName)
    name = creditsPage_ == 5 ? std::string(kAppVersion)
                             : session_.zaklnast.get(desc::kSetNumber) + ".00";
  controls_.setText(id::kCreditsName, name);
  controls_.setLeft(id::kCreditsCaption, page.captionLeft);
  controls_.setLeft(id::kCreditsName, page.nameLeft);
  controls_.setFontSize(id::kCreditsCaption, page.captionFont);

  if (controls_.get(id::kCreditsCaption).geometry.top == kCreditsBodyHeight) {
    controls_.setTop(id::kCreditsCaption, -64);
    controls_.setTop(id::kCreditsName, -32);
    controls_.setLeft(id::kCreditsName, 63);
    ++creditsPage_;
    controls_.setFontSize(id::kCreditsCaption, 16);
    if (creditsPage_ == kCreditsPageCount) {
      controls_.stopTimer(id::kTimerCredits);
      controls_.setVisible(id::kPanelCredits, false);
      creditsPage_ = 0;
    }
  }
}

void Application::stopCredits() {
  controls_.stopTimer(id::kTimerCredits);
  controls_.setVisible(id::kPanelCredits, false);
}

}  // namespace tervano::app
