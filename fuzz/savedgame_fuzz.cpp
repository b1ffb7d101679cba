// A random set descriptor (tervano/Tervano.ini), saved-game record (.kr1) and answer area
// (.kn1), cut at the byte 0x1E; a missing piece keeps the sound file. They go through the real
// application; the first byte chooses how:
//   bit 0  the save is chosen at start-up (0), or a sound save first and then "Načíst hru" (1)
//   bit 1  the user answers at random (0), or agrees to everything and picks the save (1)
//   bit 2  the credits run to their end
//   bit 3  the save chosen at start-up is named "hra.sav" (a name the dialog's filter does not
//          show but a typed name reaches), not "hra.kr1"
// Only the documented outcomes may follow: the start-up message, the version-check boxes, the
// repair, conversion and file errors outside the start-up, success. Files the program must not
// write stay as they were; what the descriptor says shows in the timers, about and credits.
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "program_folder.h"
#include "ui/ids.h"

using namespace tervano;
using fuzz::require;

namespace {

constexpr const char* kStartUpFailed = "Předpokládaná umístění neexistují!!!";
constexpr const char* kNoSetVersion =
    "Konfigurační soubor neobsahuje informaci o verzi vašich křížovek, spusťte prosím instalátor "
    "tohoto produktu.";
constexpr const char* kNoSaveVersion = "Váš save neobsahuje informaci o verzi ze které pochází.";
constexpr const char* kOlder = "Váš save není plně kompatibilní se současnou verzí.";
constexpr const char* kNewer =
    "Váš save není možné pod touto verzí spustit.Důvod: Je z vyšší verze než je současná.";
constexpr const char* kRepairQuestion = "Má se váš save opravit?";
constexpr const char* kRepairToCurrent = "Má se váš save opravit na současnou verzi?";
constexpr const char* kRepaired =
    "Váš save byl opraven, ale to vyžaduje opětovné spuštění\raplikace, proto bude nyní "
    "ukončena. Aplikaci spusťte znovu.";
constexpr const char* kSaveQuestion = "Chcete současnou hru uložit?";

constexpr const char* kDescriptor = "tervano/Tervano.ini";
constexpr const char* kSave = "Data/kriz/hra.kr1";
constexpr const char* kOddSave = "Data/kriz/hra.sav";
constexpr const char* kAnswers = "Data/kriz/hra.kn1";
constexpr const char* kSoundSave = "Data/kriz/dobra.kr1";
constexpr const char* kSoundAnswers = "Data/kriz/dobra.kn1";
constexpr const char* kLog = "Data/kriz/automatické uložení.kra";

struct Folder {
  testing::TempProgram dir;
  std::string descriptor, record, answers, log;
  Folder() {
    dir.makeSet({2, 1, 1, 1});
    dir.makeMusic();
    dir.makeSave("hra", testing::record(), {"c a t", "d o g"});
    descriptor = dir.readBytes(kDescriptor);
    record = dir.readBytes(kSave);
    answers = dir.readBytes(kAnswers);
    log = dir.readBytes(kLog);
  }
};

Folder& folder() {
  static Folder f;
  return f;
}

std::string textOf(const std::string& line) {
  return line.substr(line.find(": ") + 2);
}

// What one run showed.
struct Outcome {
  bool quit = false;
  bool repaired = false;  // the repair message was shown
  bool closed = false;    // the question to save at the close was asked
  bool saved = false;     // the save dialog returned a file
  int repairQuestions = 0;
};

Outcome review(const testing::FakeHost& host, bool startUpOnly) {
  Outcome o;
  o.quit = host.quitRequested();
  int repairedBoxes = 0;
  for (const auto& line : host.transcript()) {
    if (fuzz::startsWith(line, "error: ")) {
      const std::string t = textOf(line);
      const bool own = t == kStartUpFailed || t == kNoSetVersion || t == kNoSaveVersion ||
                       t == kOlder || t == kNewer;
      require(own || (!startUpOnly && (fuzz::conversionErrorText(t) || fuzz::fileErrorText(t))),
              "an error box is the start-up message, a version check or a conversion or file "
              "error outside the start-up: " +
                  line);
    } else if (fuzz::startsWith(line, "ask: ")) {
      const std::string t = textOf(line);
      const bool repair =
          fuzz::startsWith(t, kRepairQuestion) || fuzz::startsWith(t, kRepairToCurrent);
      require(repair || fuzz::startsWith(t, kSaveQuestion), "an unexpected question: " + line);
      o.repairQuestions += repair;
      o.closed = o.closed || fuzz::startsWith(t, kSaveQuestion);
    } else if (fuzz::startsWith(line, "info: ")) {
      require(textOf(line) == kRepaired, "an unexpected information box: " + line);
      ++repairedBoxes;
    } else if (fuzz::startsWith(line, "save: ")) {
      o.saved = o.saved || !line.ends_with("-> cancel");
    } else {
      require(fuzz::startsWith(line, "open: Načti hru hry křížovky -> ") ||
                  fuzz::startsWith(line, "cue ") || fuzz::startsWith(line, "music ") ||
                  line == "quit",
              "an unexpected step: " + line);
    }
  }
  // The repair ends the program: asking again and again would trap the user in a loop.
  require(repairedBoxes <= 1, "the repair message is shown once");
  o.repaired = repairedBoxes == 1;
  return o;
}

// The next load dialog returns the save. An agreeable user also gives it to every later
// dialog (boxes are answered OK when nothing else is queued); otherwise the answers are random.
void choose(testing::FakeHost& host, bool agreeable, std::uint32_t seed, const std::string& save) {
  host.pick(save);
  if (agreeable) {
    for (int i = 0; i < 16; ++i)
      host.pick(save);
  } else {
    host.randomAnswers(seed, {save});
  }
}

bool savedGameFile(const std::string& path) {
  for (const char* f : {kSave, kOddSave, kAnswers, kSoundSave, kSoundAnswers})
    if (path == f) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  Folder& f = folder();
  testing::TempProgram& dir = f.dir;
  const auto parts =
      fuzz::splitInput(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1), 3);
  const std::string descriptor = parts.size() > 0 ? parts[0] : f.descriptor;
  const std::string record = parts.size() > 1 ? parts[1] : f.record;
  const std::string answers = parts.size() > 2 ? parts[2] : f.answers;
  dir.writeBytes(kDescriptor, descriptor);
  const bool oddName = (data[0] & 8) && !(data[0] & 1);
  const char* save = oddName ? kOddSave : kSave;
  dir.remove(oddName ? kSave : kOddSave);
  dir.writeBytes(save, record);
  dir.writeBytes(kAnswers, answers);
  dir.writeBytes(kSoundSave, f.record);
  dir.remove(kSoundAnswers);
  dir.writeBytes(kLog, f.log);
  const auto before = fuzz::snapshot(dir.root());

  const auto desc = fuzz::fileLines(descriptor);
  const auto rec = fuzz::fileLines(record);
  const std::string setVersion = fuzz::line(desc, 6);
  const std::string saveVersion = fuzz::line(rec, 8);
  const auto setNumber = fuzz::referenceInt(setVersion);
  const auto saveNumber = fuzz::referenceInt(saveVersion);

  const bool viaMenu = data[0] & 1;
  const bool agreeable = data[0] & 2;
  const auto seed = static_cast<std::uint32_t>(
      std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(data), size)));

  testing::FakeHost host;
  fuzz::context() = [&host] {
    for (const auto& line : host.transcript())
      std::fprintf(stderr, "  %s\n", line.c_str());
  };
  app::Application app(host, ProgramFolder(dir.root()), TextList{dir.path("tervano-hra")}, seed);
  if (viaMenu) {
    host.pick(dir.path(kSoundSave));
    if (!agreeable) host.randomAnswers(seed, {dir.path(kSoundSave)});
  } else {
    choose(host, agreeable, seed, dir.path(save));
  }
  // The version check's boxes from `from` on, for a save of the given version.
  auto checkVersionBoxes = [&](std::size_t from, std::optional<std::int32_t> saveNumber) {
    for (std::size_t i = from; i < host.transcript().size(); ++i) {
      const std::string& line = host.transcript()[i];
      if (!fuzz::startsWith(line, "error: ")) continue;
      const std::string t = textOf(line);
      if (t == kNoSetVersion) require(setVersion.empty(), "the set version is missing");
      if (t == kOlder) require(setNumber && saveNumber && *saveNumber < *setNumber, "older");
      if (t == kNewer) require(setNumber && saveNumber && *setNumber < *saveNumber, "newer");
      if (t == kNoSaveVersion) require(!setVersion.empty(), "a repair needs a set version");
    }
  };
  app.startProgram();
  bool startedAGame = !host.quitRequested();
  Outcome o = review(host, true);
  const auto startedWith =
      fuzz::referenceInt(fuzz::line(fuzz::fileLines(viaMenu ? f.record : record), 8));
  checkVersionBoxes(0, startedWith);
  if (startedAGame)
    require(setNumber && startedWith && *setNumber == *startedWith,
            "a game starts only from a save of the set's version");
  if (viaMenu && startedAGame) {
    const std::size_t from = host.transcript().size();
    choose(host, agreeable, seed, dir.path(kSave));
    startedAGame = app.invoke([&] { app.game().loadGameCommand(); }) && !host.quitRequested();
    o = review(host, false);
    checkVersionBoxes(from, saveNumber);
    if (startedAGame)
      require(setNumber && saveNumber && *setNumber == *saveNumber,
              "a loaded game goes on only from a save of the set's version");
  }

  if (startedAGame) {
    auto& c = app.controls();
    require(c.text(id::kLanguage) == fuzz::line(desc, 7), "the language is line 7");
    require(c.text(id::kAboutPackage) == "Verze balíčku s křížovkami: " + setVersion + ".00",
            "the about window shows line 6");
    // The timers read the descriptor's counts and the counters: they never fail, and a count
    // that is no number leaves the gauges as they were instead of a box at every tick.
    const auto crossword = fuzz::referenceInt(c.text(id::kCrossword));
    const auto grade = fuzz::referenceInt(c.text(id::kGrade));
    const int boxesBefore = static_cast<int>(host.transcript().size());
    require(app.tick(id::kTimerKontrola), "the Kontrola timer never fails");
    const auto grades = fuzz::referenceInt(fuzz::line(desc, 5));
    const bool gaugeOk = grades && grade;
    require(app.tick(id::kTimerGauge), "the gauge timer never fails");
    require(static_cast<int>(host.transcript().size()) == boxesBefore, "a timer tick shows no box");
    (void)crossword;
    if (gaugeOk)
      require(c.get(id::kGaugeGrades).maximum == *grades, "the grades gauge ends at line 5");

    if (data[0] & 4) {
      app.click(id::kCredits);
      // The first page scrolls for 120 ticks, every later one for 216; the seventh shows line 6.
      for (int t = 0; t < 120 + 5 * 216 + 1; ++t)
        app.tick(id::kTimerCredits);
      require(c.text(id::kCreditsName) == setVersion + ".00", "the credits show line 6");
      for (int t = 0; t < 216; ++t)
        app.tick(id::kTimerCredits);
      require(!c.timerRunning(id::kTimerCredits) && !c.visible(id::kPanelCredits),
              "the credits end after the seventh page");
    }
    app.dispatch({app::Event::Kind::CloseRequest});
    o = review(host, false);
  }

  // Files: the descriptor is only ever written back unchanged at the close; the saved game only
  // by a repair or a save at the close; nothing else.
  const auto after = fuzz::snapshot(dir.root());
  for (const auto& [path, bytes] : before) {
    const auto it = after.find(path);
    require(it != after.end(), "no file is removed: " + path);
    if (it->second == bytes) continue;
    if (path == kDescriptor) {
      // Closing the window writes it back, so does the close after a repair; a load that
      // failed otherwise leaves it byte for byte.
      require(o.closed || o.repaired, "the descriptor is written only when the window closes");
      require(fuzz::fileLines(it->second) == desc, "the descriptor is written back unchanged");
    } else {
      require(savedGameFile(path) && (o.repaired || o.saved),
              "only a repair or a save writes a saved game: " + path);
    }
  }
  for (const auto& [path, bytes] : after)
    require(before.count(path) || ((o.repaired || o.saved) && savedGameFile(path)),
            "no file is created: " + path);

  // A repaired save is used at the next start without questions.
  if (o.repaired && !setVersion.empty()) {
    testing::FakeHost again;
    app::Application next(again, ProgramFolder(dir.root()), TextList{dir.path("tervano-hra")},
                          seed);
    again.pick(app.session().loadFileName);
    next.startProgram();
    require(review(again, true).repairQuestions == 0, "a repaired save needs no second repair");
  }
  return 0;
}
