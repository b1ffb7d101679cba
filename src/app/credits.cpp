#include "app/credits.h"

#include "data/records.h"
#include "ui/ids/menu.h"
#include "ui/ids/timers.h"

namespace tervano::app {

namespace {

struct CreditsPage {
  const char* caption;
  bool authorName;  // the name label shows the author; otherwise a version
  int captionLeft;
  int nameLeft;
  int captionFont;
};

constexpr CreditsPage kPages[] = {
    {"Autor:", true, 103, 63, 16},
    {"Nápad:", true, 103, 63, 16},
    {"Grafika:", true, 105, 63, 16},
    {"Tvorba křížovek:", true, 63, 63, 16},
    {"Držitel autorských práv:", true, 35, 63, 16},
    {"Verze vaší aplikace:", false, 40, 105, 16},
    {"Verze vašeho balíčku s křížovkami:", false, 14, 105, 10},
};
constexpr int kPageCount = 7;
constexpr int kApplicationVersionPage = 5;
constexpr int kBodyHeight = 152;
constexpr const char* kTitleColours[] = {"", "red", "blue", "aqua", "yellow", "lime", "teal"};

}  // namespace

Credits::Credits(ui::Controls& controls, const Session& session, std::uint32_t seed)
    : controls_(controls), session_(session), random_(seed) {
  routes_.click(id::kCredits, &Credits::start)
      .click(id::kCreditsClose, &Credits::stop)
      .tick(id::kTimerCredits, &Credits::tick);
}

bool Credits::handle(const Event& e) {
  return routes_.run(*this, e);
}

void Credits::start() {
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
  page_ = 0;
}

void Credits::tick() {
  const auto r = static_cast<int>(random_() % 7);
  if (r != 0) controls_.setColor(id::kCreditsTitle, kTitleColours[r]);
  controls_.setTop(id::kCreditsCaption, controls_.get(id::kCreditsCaption).geometry.top + 1);
  controls_.setTop(id::kCreditsName, controls_.get(id::kCreditsName).geometry.top + 1);

  const CreditsPage& page = kPages[page_];
  controls_.setText(id::kCreditsCaption, page.caption);
  std::string name = kAuthor;
  if (!page.authorName)
    name = page_ == kApplicationVersionPage ? std::string(kAppVersion)
                                            : session_.zaklnast.get(desc::kSetNumber) + ".00";
  controls_.setText(id::kCreditsName, name);
  controls_.setLeft(id::kCreditsCaption, page.captionLeft);
  controls_.setLeft(id::kCreditsName, page.nameLeft);
  controls_.setFontSize(id::kCreditsCaption, page.captionFont);

  if (controls_.get(id::kCreditsCaption).geometry.top == kBodyHeight) {
    controls_.setTop(id::kCreditsCaption, -64);
    controls_.setTop(id::kCreditsName, -32);
    controls_.setLeft(id::kCreditsName, 63);
    ++page_;
    controls_.setFontSize(id::kCreditsCaption, 16);
    if (page_ == kPageCount) {
      controls_.stopTimer(id::kTimerCredits);
      controls_.setVisible(id::kPanelCredits, false);
      page_ = 0;
    }
  }
}

void Credits::stop() {
  controls_.stopTimer(id::kTimerCredits);
  controls_.setVisible(id::kPanelCredits, false);
}

}  // namespace tervano::app
