#include "autosave/manager.h"

#include <algorithm>
#include <utility>

#include "autosave/autosave.h"
#include "autosave/log_lock.h"
#include "data/cp1250.h"
#include "data/numbers.h"
#include "data/records.h"
#include "data/textfile.h"
#include "ui/ids.h"

namespace tervano::autosave {

namespace {

constexpr int kClosingIcon = 4;

const char* kEmptyLog = "Soubor automatického uložení nemá žádný obsah.";
const char* kLoadQuestion = "Chcete skutečně vybraný záznam načíst?";
const char* kDeleteQuestion = "Chcete skutečně vybraný záznam odstranit?";
const char* kDeleted = "Záznam ze souboru automatického\ruložení byl smazán.";
const char* kDeleteAllQuestion =
    "Chcete smazat veškerý zaznamenaný obsah\rsouboru automatického uložení?";
const char* kAllDeleted =
    "Veškerý zaznamenaný obsah byl ze \rsouboru automatického uložení smazán.";
const char* kExported = "Záznam automatického uložení byl vybrán a uložen jako soubor: \r";
const char* kIncomplete =
    "Vybraný záznam automatického uložení je neúplný a hru z něj nelze obnovit.\r"
    "Vyberte prosím jiný záznam.";
const char* kChanged =
    "Soubor automatického uložení mezitím změnilo jiné spuštění programu.\r"
    "Seznam záznamů byl načten znovu; vyberte prosím záznam ještě jednou.";

// The three buttons that need a selected entry.
constexpr const char* kSelectionButtons[] = {id::kManagerLoad, id::kManagerDelete,
                                             id::kManagerView};
constexpr const char* kStyleButtons[] = {id::kManagerStyleIcons, id::kManagerStyleList,
                                         id::kManagerStyleDetails};

ui::Control control(std::string text, bool visible = true, bool enabled = true) {
  ui::Control c;
  c.text = std::move(text);
  c.visible = visible;
  c.enabled = enabled;
  return c;
}

// The header's record count, which a deletion lowers: checked before anything changes.
std::int32_t headerCount(const TextList& log) {
  const std::string& text = log.get(header::kCount);
  const auto count = tryParseInt(text);
  if (!count)
    throw LogError("Počet záznamů v hlavičce souboru automatického uložení („" + text +
                   "“) není číslo, záznam proto nebyl smazán.\rTlačítko Konec počet opraví.");
  return *count;
}

}  // namespace

TextList splitLines(std::string_view text) {
  // Counted first: a log of 5,000 records is 105,000 lines, and a list grown line by line would
  // be copied over and over and hold twice its size at its peak.
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
      ++count;
  std::vector<std::string> lines;
  lines.reserve(count + 1);
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return TextList(std::move(lines));
}

int triggerIcon(std::string_view trigger) {
  if (trigger == " ") return kClosingIcon;
  // The four trigger texts in the order of the trigger box are pictures 0 to 3.
  for (std::size_t i = 0; i < 4; ++i)
    if (trigger == kTriggerItems[i]) return static_cast<int>(i);
  return -1;
}

Manager::Manager(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder,
                 Session& session, audio::Sound& sound, std::function<void()> returnToMain)
    : controls_(controls),
      host_(host),
      folder_(folder),
      session_(session),
      sound_(sound),
      returnToMain_(std::move(returnToMain)) {}

void Manager::declare(ui::Controls& c) {
  ui::Control list = control("Záznam");
  list.value = -1;
  c.declare(id::kManagerList, list);
  c.declare(id::kManagerEditPanel, control(""));
  c.declare(id::kManagerDelete, control("Smazat", true, false));
  c.declare(id::kManagerView, control("Nahlédnout do obsahu", true, false));
  c.declare(id::kManagerLoad, control("Načíst", true, false));
  c.declare(id::kManagerQuit, control("Konec"));
  c.declare(id::kManagerDeleteAll, control("Smazat veškeré záznamy"));
  c.declare(id::kManagerCount, control(""));
  ui::Control icons = control("Velké ikony");
  icons.checked = true;
  c.declare(id::kManagerStyleIcons, icons);
  c.declare(id::kManagerStyleList, control("Seznam"));
  c.declare(id::kManagerStyleDetails, control("Podrobnosti"));
  ui::Control progress = control("Průběh načítání", false);
  progress.maximum = 0;
  c.declare(id::kManagerProgress, progress);
  c.declare(id::kManagerAnimation, control("Hledání záznamů", false));
}

TextList Manager::readLog() const {
  // The raw bytes are let go before the lines are made.
  const std::string text =
      cp1250::decode(readFileBytes(folder_.resolve(paths::kAutosaveLog), limits::kAutosaveLog));
  return splitLines(text);
}

int Manager::selected() const {
  const int k = controls_.value(id::kManagerList);
  return k >= 0 && k < static_cast<int>(records_.size()) ? k : -1;
}

void Manager::refreshCount() {
  controls_.setText(id::kManagerCount, "Počet záznamů: " + std::to_string(records_.size()) + " / " +
                                           session_.autosf.get(header::kLimit) + " povolených");
}

void Manager::showRecords() {
  TextList captions;
  std::vector<int> icons;
  captions.lines().reserve(records_.size());
  icons.reserve(records_.size());
  for (const RecordPlace& r : records_) {
    captions.append(recordCaption(session_.autosf, r));
    icons.push_back(triggerIcon(recordTrigger(session_.autosf, r)));
  }
  // The whole list in one change: the view fills it in one go.
  controls_.setItems(id::kManagerList, std::move(captions), std::move(icons));
  controls_.setValue(id::kManagerList, -1);
  refreshCount();
}

void Manager::endSelection() {
  controls_.setValue(id::kManagerList, -1);
  for (auto b : kSelectionButtons)
    controls_.setEnabled(b, false);
}

void Manager::beforeListing() {
  controls_.setVisible(id::kManagerLoad, true);
  for (const auto& [timer, t] : controls_.timers())
    if (timer != id::kTimerCompletion) controls_.stopTimer(timer);
}

void Manager::search() {
  beforeListing();
  list(readLog());
}

void Manager::list(TextList log) {
  session_.autosf = std::move(log);
  loaded_ = true;
  const TextList& autosf = session_.autosf;
  controls_.setVisible(id::kManagerAnimation, true);
  controls_.setVisible(id::kManagerProgress, true);
  controls_.setRange(id::kManagerProgress, 0, autosf.count());
  controls_.setValue(id::kManagerProgress, 0);
  controls_.setChecked(id::kManagerAnimation, true);
  refreshCount();
  if (autosf.count() < 5) {
    records_.clear();
    showRecords();
    ui::showInfo(host_, kEmptyLog);
  } else {
    records_ = findRecords(autosf);
    controls_.setValue(id::kManagerProgress, autosf.count());
    showRecords();
  }
  controls_.setChecked(id::kManagerAnimation, false);
  controls_.setVisible(id::kManagerAnimation, false);
  controls_.setVisible(id::kManagerProgress, false);
  controls_.setValue(id::kManagerProgress, 0);
}

void Manager::loadOnly() {
  controls_.setVisible(id::kManagerEditPanel, false);
  controls_.setVisible(id::kManagerDeleteAll, false);
  search();
}

void Manager::select(int index) {
  if (index < 0 || index >= static_cast<int>(records_.size())) {
    endSelection();
    return;
  }
  controls_.setValue(id::kManagerList, index);
  for (auto b : kSelectionButtons)
    controls_.setEnabled(b, true);
}

void Manager::setStyle(ListStyle style) {
  for (int i = 0; i < 3; ++i)
    controls_.setChecked(kStyleButtons[i], static_cast<int>(style) == i);
}

void Manager::viewRecord() {
  const int k = selected();
  if (k < 0) return;
  const RecordPlace& r = records_[static_cast<std::size_t>(k)];
  // One "\r" per line break: the lines of the record follow one another without a gap.
  std::string text = "Obsah záznamu:" + recordCaption(session_.autosf, r) + "\r\r";
  for (int i = r.start; i < r.end; ++i) {
    if (i > r.start) text += '\r';
    text += session_.autosf.get(i);
  }
  ui::showInfo(host_, text);
  refreshCount();
}

void Manager::loadRecord() {
  const int k = selected();
  if (k < 0) return;
  const RecordPlace& r = records_[static_cast<std::size_t>(k)];
  if (!r.complete) throw LogError(kIncomplete);
  if (ui::confirm(host_, kLoadQuestion)) {
    folder_.save(paths::kExportedRecord, exportedRecord(session_.autosf, r));
    ui::showInfo(host_, kExported + folder_.resolve(paths::kExportedRecord).string());
    returnToMain_();
  }
  endSelection();
}

void Manager::changedMeanwhile(TextList log) {
  list(std::move(log));
  ui::showWarning(host_, kChanged);
  endSelection();
}

void Manager::deleteRecord() {
  const int k = selected();
  if (k < 0) return;
  headerCount(session_.autosf);
  if (ui::confirm(host_, kDeleteQuestion)) {
    const RecordPlace r = records_[static_cast<std::size_t>(k)];
    TextList log;
    bool same = false;
    {
      // From the re-read to the save no game appends: what it appends lands in the saved log.
      const LogLock lock(folder_);
      log = readLog();
      const std::int32_t count = headerCount(log);
      // Whatever came after the record may have changed (a game appends); the record and what
      // lies before it must not have, or the entry no longer names the same record.
      const auto& was = session_.autosf.lines();
      const auto& now = log.lines();
      same = now.size() >= static_cast<std::size_t>(r.end) &&
             std::equal(was.begin() + header::kLines, was.begin() + r.end,
                        now.begin() + header::kLines);
      if (same) {
        // The record from "<>" to its end marker; the separator in front of it stays.
        log.lines().erase(log.lines().begin() + r.start, log.lines().begin() + r.end);
        log.set(header::kCount, toText(std::max<std::int64_t>(0, std::int64_t{count} - 1)));
        folder_.save(paths::kAutosaveLog, log);
      }
    }
    if (!same) {
      changedMeanwhile(std::move(log));
      return;
    }
    session_.autosf = std::move(log);
    records_ = findRecords(session_.autosf);
    showRecords();
    ui::showInfo(host_, kDeleted);
  }
  refreshCount();
  endSelection();
}

void Manager::deleteAllRecords() {
  if (host_.message(ui::MessageKind::Warning, kDeleteAllQuestion, ui::Buttons::OkCancel) !=
      ui::Answer::Ok)
    return;
  // Read and written before the list is hidden: a log that cannot be read or written leaves the
  // screen as it was; nothing a game appends in between is lost unseen.
  TextList log;
  TextList headerOnly;
  {
    const LogLock lock(folder_);
    log = readLog();
    for (int i = 0; i < header::kLines; ++i)
      headerOnly.append(log.get(i));
    headerOnly.set(header::kCount, "0");
    folder_.save(paths::kAutosaveLog, headerOnly);
  }
  controls_.setVisible(id::kManagerList, false);
  beforeListing();
  list(std::move(log));
  session_.autosf = std::move(headerOnly);
  controls_.setChecked(id::kManagerAnimation, false);
  controls_.setVisible(id::kManagerAnimation, false);
  controls_.setRange(id::kManagerProgress, 0, 0);
  controls_.setValue(id::kManagerProgress, 0);
  controls_.setVisible(id::kManagerProgress, false);
  records_.clear();
  showRecords();
  controls_.setVisible(id::kManagerList, true);
  sound_.beep();
  ui::showInfo(host_, kAllDeleted);
  endSelection();
}

void Manager::closeManager() {
  // A log that was never read is not the manager's to write: it would overwrite the real one.
  if (loaded_ && folder_.isFile(paths::kAutosaveLog)) {
    const LogLock lock(folder_);
    TextList log = readLog();
    const std::string count = std::to_string(findRecords(log).size());
    if (log.count() > header::kCount && log.get(header::kCount) != count) {
      log.set(header::kCount, count);
      folder_.save(paths::kAutosaveLog, log);
    }
    session_.autosf = std::move(log);
  }
  host_.requestQuit();
}

}  // namespace tervano::autosave
