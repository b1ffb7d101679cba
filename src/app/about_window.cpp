#include "app/about_window.h"

#include "app/credits.h"
#include "app/help_window.h"
#include "data/records.h"
#include "ui/ids/about.h"
#include "ui/ids/menu.h"
#include "ui/ids/timers.h"

namespace tervano::app {

namespace {
constexpr const char* kPackageVersion = "Verze balíčku s křížovkami:";
}

AboutWindow::AboutWindow(ui::Controls& controls, const Session& session, HelpWindow& help,
                         Credits& credits)
    : controls_(controls), session_(session), help_(help), credits_(credits) {
  routes_.click(id::kAbout, &AboutWindow::open)
      .click(id::kAboutBack, &AboutWindow::back)
      .click(id::kAboutCredits, &AboutWindow::credits)
      .click(id::kAboutEula, &AboutWindow::eula);
}

void AboutWindow::declare(ui::Controls& c) {
  c.declare(id::kAboutWindow).visible = false;
  c.declare(id::kAboutPackage).text = kPackageVersion;
  c.declare(id::kAboutAuthor).text = std::string("Autor: ") + kAuthor;
  c.declare(id::kAboutEula).text = "EULA ...";
  c.declare(id::kAboutCredits).text = "Credits";
  c.declare(id::kAboutBack).text = "Návrat na hlavní nabídku";
}

bool AboutWindow::handle(const Event& e) {
  return routes_.run(*this, e);
}

void AboutWindow::create(bool showsPackageVersion) {
  if (showsPackageVersion)
    controls_.startTimer(id::kTimerAbout);
  else
    controls_.stopTimer(id::kTimerAbout);
  refresh();
}

void AboutWindow::refresh() {
  if (controls_.timerRunning(id::kTimerAbout))
    controls_.setText(id::kAboutPackage, std::string(kPackageVersion) + " " +
                                             session_.zaklnast.get(desc::kSetNumber) + ".00");
}

void AboutWindow::open() {
  controls_.setVisible(id::kAboutWindow, true);
}

void AboutWindow::back() {
  controls_.setVisible(id::kAboutWindow, false);
}

void AboutWindow::credits() {
  controls_.setVisible(id::kAboutWindow, false);
  credits_.start();
}

void AboutWindow::eula() {
  help_.showLicencePage();
  help_.open();
  controls_.setVisible(id::kAboutWindow, false);
}

}  // namespace tervano::app
