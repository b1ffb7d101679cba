#include "app/help_window.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "app/helptexts.h"
#include "data/records.h"
#include "data/textfile.h"
#include "ui/ids/help.h"
#include "ui/ids/menu.h"
#include "ui/ids/timers.h"
#include "ui/ids/window.h"

namespace tervano::app {

namespace {

using Kind = Event::Kind;

constexpr const char* kHelpMissing =
    "Nápověda není nainstalována.\rnebo není přístupná.\r\rZkontrolujte nainstalované\rsoučásti "
    "Tervana a\rjestli nebude zaškrtnuta položka\rNápověda-Tervano zaškrtněte ji\ra dokončete "
    "instalaci.";

// The pointer over these takes the underline off the link.
constexpr std::string_view kLinkResetters[] = {
    id::kHelpBackground, id::kHelpSample,    id::kHelpKeys,          id::kHelpMap,
    id::kHelpAdvice,     id::kHelpKeyList,   id::kHelpSampleCaption, id::kHelpMapCaption,
    id::kHelpPageTitle,  id::kHelpTopicKeys, id::kHelpQuit};
// The pointer over these closes the topics panel.
constexpr std::string_view kTopicsClosers[] = {id::kHelpKeyList, id::kHelpLicence, id::kHelpSample,
                                               id::kHelpSampleCaption, id::kHelpMapCaption};

template <std::size_t N>
bool among(const std::string_view (&list)[N], std::string_view id) {
  return std::find(std::begin(list), std::end(list), id) != std::end(list);
}

}  // namespace

HelpWindow::HelpWindow(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder)
    : controls_(controls), host_(host), folder_(folder) {
  routes_.click(id::kHelp, &HelpWindow::open)
      .click(id::kKeyList, &HelpWindow::keyList)
      .click(id::kEula, &HelpWindow::eula)
      .click(id::kHelpTopicSample, &HelpWindow::showSamplePage)
      .click(id::kHelpTopicKeys, &HelpWindow::openKeyListPage)
      .click(id::kHelpTopicEula, &HelpWindow::showLicencePage)
      .click(id::kHelpLink, &HelpWindow::linkClick)
      .click(id::kHelpQuit, &HelpWindow::quit)
      .on(Kind::DoubleClick, id::kHelpAdvice, &HelpWindow::toggleAdviceEnlarged)
      .on(Kind::DoubleClick, id::kHelpKeys, &HelpWindow::toggleKeysEnlarged)
      .on(Kind::Hover, id::kHelpTopics, &HelpWindow::showTopics)
      .on(Kind::Press, id::kHelpLink, &HelpWindow::linkReset)
      .on(Kind::Hover, id::kHelpLink, &HelpWindow::linkHover)
      .on(Kind::HelpClosed, "", &HelpWindow::closedOtherwise)
      .tick(id::kTimerHelpFiller, &HelpWindow::fillExample);
}

void HelpWindow::declare(ui::Controls& c) {
  auto shown = [&](const char* name, std::string text = {}) { c.declare(name).text = text; };
  auto hidden = [&](const char* name) -> ui::Control& {
    ui::Control& control = c.declare(name);
    control.visible = false;
    return control;
  };
  hidden(id::kHelpWindow);
  for (auto area : {id::kHelpSample, id::kHelpKeys, id::kHelpMap, id::kHelpLegend})
    shown(area);
  shown(id::kHelpSampleCaption, "Ukázka:");
  shown(id::kHelpMapCaption, "Mapa tajenky:");
  c.declare(id::kHelpAdvice).lines = adviceText();  // checked: enlarged over the page area
  hidden(id::kHelpKeyList).lines = keyListText();
  hidden(id::kHelpLicence).lines = licenceText();
  shown(id::kHelpPageTitle);
  shown(id::kHelpTopics, "Témata ...");
  hidden(id::kHelpTopicsPanel);
  shown(id::kHelpTopicSample, "Ukázka a styl psaní");
  shown(id::kHelpTopicKeys, "Seznam kláves");
  shown(id::kHelpTopicEula, "EULA");
  ui::Control& link = c.declare(id::kHelpLink);
  link.text = "Pro bližší informace klikněte sem";
  link.color = "blue";
  shown(id::kHelpQuit, "Konec");
  shown(id::kHelpBackground);
}

bool HelpWindow::handle(const Event& e) {
  if (routes_.run(*this, e)) return true;
  if (e.kind != Kind::Hover) return false;
  const bool resets = among(kLinkResetters, e.id);
  const bool closes = among(kTopicsClosers, e.id);
  if (resets) linkReset();
  if (closes) controls_.setVisible(id::kHelpTopicsPanel, false);
  return resets || closes;
}

void HelpWindow::create() {
  controls_.startTimer(id::kTimerHelpFiller);
}

void HelpWindow::fillExample() {
  controls_.stopTimer(id::kTimerHelpFiller);
  fillerDone_ = true;
  controls_.setLines(id::kHelpSample, exampleAnswers());
  controls_.setLines(id::kHelpKeys, exampleKeys());
  controls_.setLines(id::kHelpMap, exampleMap());
  controls_.setLines(id::kHelpLegend, exampleLegend());
}

void HelpWindow::open() {
  controls_.setEnabled(id::kMainWindow, false);
  controls_.setVisible(id::kHelpWindow, true);
}

void HelpWindow::eula() {
  open();
  controls_.setVisible(id::kHelpLicence, true);
  controls_.setText(id::kHelpPageTitle, "EULA");
}

void HelpWindow::keyList() {
  controls_.setEnabled(id::kMainWindow, false);
  if (!controls_.visible(id::kHelpKeyList) && !controls_.checked(id::kHelpAdvice))
    openKeyListPage();
  controls_.setVisible(id::kHelpWindow, true);
  controls_.setEnabled(id::kKeyList, false);
}

void HelpWindow::showSamplePage() {
  controls_.setVisible(id::kHelpLicence, false);
  controls_.setVisible(id::kHelpKeyList, false);
  controls_.setText(id::kHelpPageTitle, "");
}

void HelpWindow::openKeyListPage() {
  controls_.setVisible(id::kHelpLicence, false);
  controls_.setVisible(id::kHelpKeyList, true);
  controls_.setText(id::kHelpPageTitle, "Zkratkov. kláv.");
}

void HelpWindow::showLicencePage() {
  controls_.setVisible(id::kHelpKeyList, false);
  controls_.setVisible(id::kHelpLicence, true);
  controls_.setText(id::kHelpPageTitle, "EULA");
}

void HelpWindow::quit() {
  if (!fillerDone_) controls_.stopTimer(id::kTimerHelpFiller);
  controls_.setVisible(id::kHelpWindow, false);
  controls_.setEnabled(id::kMainWindow, true);
  controls_.setEnabled(id::kKeyList, true);
}

void HelpWindow::closedOtherwise() {
  controls_.setVisible(id::kHelpWindow, false);
  controls_.setEnabled(id::kMainWindow, true);
}

void HelpWindow::showTopics() {
  controls_.setVisible(id::kHelpTopicsPanel, true);
  controls_.setEnabled(id::kHelpTopicKeys, true);
}

void HelpWindow::toggleAdviceEnlarged() {
  const bool enlarge = !controls_.checked(id::kHelpAdvice);
  controls_.setChecked(id::kHelpAdvice, enlarge);
  controls_.setText(id::kHelpPageTitle, enlarge ? "Pár rad" : "");
  controls_.setEnabled(id::kHelpTopicKeys, !enlarge);
}

void HelpWindow::toggleKeysEnlarged() {
  const bool enlarge = !controls_.checked(id::kHelpKeys);
  controls_.setChecked(id::kHelpKeys, enlarge);
  controls_.setVisible(id::kHelpAdvice, !enlarge);
  controls_.setText(id::kHelpPageTitle, enlarge ? "Činnost" : "");
  controls_.setEnabled(id::kHelpTopicKeys, !enlarge);
}

void HelpWindow::linkHover() {
  const bool present = folder_.isFile(paths::kHelpFile);
  controls_.setCursor(id::kHelpLink, present ? ui::Cursor::Help : ui::Cursor::NotAllowed);
  controls_.setColor(id::kHelpLink, present ? "blue" : "red");
  controls_.setUnderline(id::kHelpLink, true);
}

void HelpWindow::linkReset() {
  controls_.setUnderline(id::kHelpLink, false);
  controls_.setColor(id::kHelpLink, "blue");
}

void HelpWindow::linkClick() {
  if (!folder_.isFile(paths::kHelpFile)) {
    ui::showError(host_, kHelpMissing);
    return;
  }
  // The viewer reads and lays out the whole file: a wrong, huge file would freeze the program.
  std::error_code ec;
  const auto file = folder_.resolve(paths::kHelpFile);
  const auto size = std::filesystem::file_size(file, ec);
  if (!ec && size > limits::kHelpFile) {
    ui::showError(host_, "Soubor nápovědy „" + file.string() + "“ je příliš velký (" +
                             std::to_string(size / 1024) + " kB), a proto se neotevře.\r" +
                             "Nápověda má nejvýše " + std::to_string(limits::kHelpFile / 1024) +
                             " kB. Zkontrolujte nainstalované součásti Tervana.");
    return;
  }
  host_.openDocument(file.string(), folder_.resolve(paths::kHelpFolder).string());
}

}  // namespace tervano::app
