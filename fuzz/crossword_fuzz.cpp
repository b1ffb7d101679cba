// Random crossword files (k.nk, k.vk, k.lk, k.mk, cut at the byte 0x1E; a missing piece keeps
// the sound file) loaded by prvkr in the real application. The first byte chooses how:
//   bit 0  prvkr called on its own (0) or the whole start-up of the game with a saved game (1)
//   bit 1  after a successful start-up, one "Kontrola"
//   bit 2  with the solution typed in as the answers (otherwise the map is left as it is)
// The outcome must be success with the files shown as the format says, or a conversion error
// naming a value of k.nk or an overflowing total; no file of the program folder is written.
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "data/errors.h"
#include "fuzz_support.h"
#include "program_folder.h"
#include "ui/ids.h"

using namespace tervano;
using fuzz::require;

namespace {

constexpr const char* kStartUpFailed = "Předpokládaná umístění neexistují!!!";
constexpr const char* kFolder = "tervano/r1/k1/";
const char* const kFiles[] = {"k.nk", "k.vk", "k.lk", "k.mk"};

struct Folder {
  testing::TempProgram dir;
  std::string sound[4];  // the files as makeSet wrote them
  Folder() {
    dir.makeSet({2, 1, 1, 1});
    dir.makeSave("hra", testing::record());
    for (int i = 0; i < 4; ++i)
      sound[i] = dir.readBytes(std::string(kFolder) + kFiles[i]);
  }
};

Folder& folder() {
  static Folder f;
  return f;
}

bool fits(std::int64_t v) {
  return v >= std::numeric_limits<std::int32_t>::min() &&
         v <= std::numeric_limits<std::int32_t>::max();
}

// canGain or canLose: points per word times words plus the tajenka points, in 32 bits.
std::optional<std::int32_t> total(const std::vector<std::string>& konf, std::size_t perWord,
                                  std::size_t tajenka) {
  const auto words = fuzz::referenceInt(fuzz::line(konf, 5));
  const auto per = fuzz::referenceInt(fuzz::line(konf, perWord));
  const auto points = fuzz::referenceInt(fuzz::line(konf, tajenka));
  if (!words || !per || !points) return std::nullopt;
  const std::int64_t product = std::int64_t{*per} * *words;
  if (!fits(product) || !fits(product + *points)) return std::nullopt;
  return static_cast<std::int32_t>(product + *points);
}

// A conversion error of prvkr names a value of k.nk or a total that does not fit.
bool prvkrErrorText(const std::string& text, const std::vector<std::string>& konf) {
  if (!fuzz::conversionErrorText(text)) return false;
  for (std::size_t i : {0, 1, 2, 3, 5})
    if (text == ConversionError(fuzz::line(konf, i)).what()) return true;
  const std::string offending = text.substr(1, text.find("' is not a valid") - 1);
  std::int64_t v = 0;
  const auto [end, ec] =
      std::from_chars(offending.data(), offending.data() + offending.size(), v, 10);
  return ec == std::errc() && end == offending.data() + offending.size() && !fits(v);
}

std::vector<std::string> errors(const testing::FakeHost& host) {
  std::vector<std::string> out;
  for (const auto& l : host.only({"error: "}))
    out.push_back(l.substr(7));
  return out;
}

// After one Kontrola: every solution line counted once, right or wrong, and the points moved by
// exactly the scoring of the panel.
void checkKontrola(app::Application& app, testing::FakeHost& host,
                   const std::vector<std::string>& konf, std::size_t solutionLines) {
  const auto& c = app.controls();
  const std::int64_t points0 = *fuzz::referenceInt(c.text(id::kPoints));
  const std::int64_t good0 = *fuzz::referenceInt(c.text(id::kGood));
  const std::int64_t bad0 = *fuzz::referenceInt(c.text(id::kBad));
  host.clear();
  const bool ok = app.click(id::kKontrola);
  for (const auto& line : host.transcript()) {
    if (!fuzz::startsWith(line, "error: ") && !fuzz::startsWith(line, "info: ") &&
        !fuzz::startsWith(line, "warning: ") && !fuzz::startsWith(line, "ask: "))
      continue;
    const std::string text = line.substr(line.find(": ") + 2);
    require(fuzz::startsWith(text, "Chyba:\rŘádek:") || text == "Někde jste měl chybu." ||
                text == "Vše jste měl bez chyby." || fuzz::conversionErrorText(text),
            "Kontrola shows only its own boxes and conversion errors: " + line);
  }
  if (!ok) return;
  const std::int64_t good = *fuzz::referenceInt(c.text(id::kGood)) - good0;
  const std::int64_t bad = *fuzz::referenceInt(c.text(id::kBad)) - bad0;
  require(good >= 0 && bad >= 0 && static_cast<std::size_t>(good + bad) == solutionLines,
          "every solution line is right or wrong once");
  const auto value = [&](std::size_t i) { return std::int64_t{*fuzz::referenceInt(konf[i])}; };
  const std::int64_t expected =
      points0 + good * value(0) - bad * value(1) + (bad == 0 ? value(2) : -value(3));
  require(*fuzz::referenceInt(c.text(id::kPoints)) == expected, "the points follow the scoring");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  Folder& f = folder();
  testing::TempProgram& dir = f.dir;
  const auto parts =
      fuzz::splitInput(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1), 4);
  std::string bytes[4];
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[i] = i < parts.size() ? parts[i] : f.sound[i];
    dir.writeBytes(std::string(kFolder) + kFiles[i], bytes[i]);
  }
  const auto before = fuzz::snapshot(dir.root());

  const std::vector<std::string> konf = fuzz::fileLines(bytes[0]);
  const auto gain = total(konf, 0, 2);
  const auto lose = total(konf, 1, 3);

  testing::FakeHost host;
  fuzz::context() = [&host] {
    for (const auto& line : host.transcript())
      std::fprintf(stderr, "  %s\n", line.c_str());
  };
  app::Application app(host, ProgramFolder(dir.root()), TextList{dir.path("tervano-hra")}, 1);
  const bool startUp = data[0] & 1;
  const std::string gain0 = app.controls().text(id::kCanGain);
  const std::string lose0 = app.controls().text(id::kCanLose);
  bool ok = false;
  if (startUp) {
    host.pick(dir.path("Data/kriz/hra.kr1"));
    app.startProgram();
    ok = !host.quitRequested();
    const auto shown = errors(host);
    if (ok) {
      require(shown.empty(), "a successful start-up shows no error");
    } else {
      require(shown == std::vector<std::string>{kStartUpFailed},
              "a failed start-up shows its one message");
    }
  } else {
    app.game().setCounter(id::kGrade, "1");
    app.game().setCounter(id::kCrossword, "1");
    ok = app.invoke([&] { app.game().prvkr(); });
    const auto shown = errors(host);
    require(ok ? shown.empty() : shown.size() == 1 && prvkrErrorText(shown[0], konf),
            "prvkr fails only with a conversion error naming a value or a total");
  }
  require(ok == (gain && lose), "prvkr succeeds exactly when both totals can be worked out");

  // Whatever happened, the four files were read whole and shown as the format defines them.
  const auto& c = app.controls();
  const auto& s = app.session();
  require(s.konftaj.lines() == konf, "k.nk is read line by line");
  require(s.vyslt.lines() == fuzz::fileLines(bytes[1]), "k.vk is the solution");
  require(c.lines(id::kLegendArea).lines() == fuzz::fileLines(bytes[2]), "k.lk is the legend");
  require(c.lines(id::kMapArea).lines() == fuzz::fileLines(bytes[3]), "k.mk is the map");
  require(c.lines(id::kAnswerArea) == c.lines(id::kMapArea), "the answers start as the map");
  const std::pair<const char*, std::size_t> panel[] = {
      {id::kScoreGood, 0},       {id::kScoreBad, 1},       {id::kScoreGoodTajenka, 2},
      {id::kScoreBadTajenka, 3}, {id::kScoreWordCount, 5}, {id::kWordCountBig, 5}};
  for (const auto& [control, index] : panel)
    require(c.text(control) == fuzz::line(konf, index), "the panel shows k.nk");
  require(c.text(id::kCanGain) == (gain ? std::to_string(*gain) : gain0),
          "canGain is the new total, or the old one when it cannot be worked out");
  require(c.text(id::kCanLose) == (gain && lose ? std::to_string(*lose) : lose0),
          "canLose is the new total, or the old one when it or canGain fails");

  if (startUp && ok && (data[0] & 2)) {
    host.randomAnswers(size, {});
    if (data[0] & 4) app.controls().setLines(id::kAnswerArea, s.vyslt);
    checkKontrola(app, host, konf, fuzz::fileLines(bytes[1]).size());
  }

  require(fuzz::snapshot(dir.root()) == before, "no file of the program folder is written");
  return 0;
}
