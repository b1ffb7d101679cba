#include "script/interpreter.h"

#include <array>
#include <unordered_map>

#include "data/numbers.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace tervano::script {

namespace {

enum class Cmd {
  NewGame,
  NewGameWithSettings,
  Load,
  Save,
  Return,
  ShowMenu,
  EndGame,
  EndGameCompleted,
  Help,
  About,
  Credits,
  KeyList,
  Quit,
  SoundOn,
  SoundOff,
  MusicOn,
  MusicOff,
  ErrorPerLineOn,
  ErrorPerLineOff,
  Points,
  Grade,
  Crossword,
  Good,
  Bad,
  Kontrola,
  ErrorSwitches,
  ErrorSummary,
  ErrorText,
  WarnUnsaved,
  WarnFailed,
  WarnAssign,
  WarnText,
  InfoAllRight,
  InfoSetSwitched,
  InfoCompleted,
  InfoText,
  AskOverwriteOn,
  AskOverwriteOff,
  Retry
};

const std::unordered_map<std::string_view, Cmd>& commandTable() {
  static const std::unordered_map<std::string_view, Cmd> table = {
      {"aplikace.hra.nova", Cmd::NewGame},
      {"aplikace.hra.nnova", Cmd::NewGameWithSettings},
      {"aplikace.hra.nacist", Cmd::Load},
      {"aplikace.hra.ulozit", Cmd::Save},
      {"aplikace.hra.nav", Cmd::Return},
      {"aplikace.hra.navhln", Cmd::ShowMenu},
      {"aplikace.hra.ukh", Cmd::EndGame},
      {"aplikace.hra.ukhjdok", Cmd::EndGameCompleted},
      {"aplikace.pomoc.napov", Cmd::Help},
      {"aplikace.pomoc.oapl", Cmd::About},
      {"aplikace.pomoc.credits", Cmd::Credits},
      {"aplikace.pomoc.kls", Cmd::KeyList},
      {"aplikace.aplikace.konec", Cmd::Quit},
      {"aplikace.nastaveni.zvuk(ano)", Cmd::SoundOn},
      {"aplikace.nastaveni.zvuk(ne)", Cmd::SoundOff},
      {"aplikace.nastaveni.hudba(ano)", Cmd::MusicOn},
      {"aplikace.nastaveni.hudba(ne)", Cmd::MusicOff},
      {"aplikace.nastaveni.ukch(ano)", Cmd::ErrorPerLineOn},
      {"aplikace.nastaveni.ukch(ne)", Cmd::ErrorPerLineOff},
      {"aplikace.promene.body", Cmd::Points},
      {"aplikace.promene.rocnik", Cmd::Grade},
      {"aplikace.promene.kriz", Cmd::Crossword},
      {"aplikace.promene.dobre", Cmd::Good},
      {"aplikace.promene.spatne", Cmd::Bad},
      {"kont", Cmd::Kontrola},
      {"zprava.chyba(%1%)", Cmd::ErrorSwitches},
      {"zprava.chyba(%2%)", Cmd::ErrorSummary},
      {"zprava.chyba", Cmd::ErrorText},
      {"zprava.varovani(%1%)", Cmd::WarnUnsaved},
      {"zprava.varovani(%2%)", Cmd::WarnFailed},
      {"zprava.varovani(%3%)", Cmd::WarnAssign},
      {"zprava.varovani", Cmd::WarnText},
      {"zprava.info(%1%)", Cmd::InfoAllRight},
      {"zprava.info(%2%)", Cmd::InfoSetSwitched},
      {"zprava.info(%3%)", Cmd::InfoCompleted},
      {"zprava.info", Cmd::InfoText},
      {"%cross%.dotulo(ano)", Cmd::AskOverwriteOn},
      {"%cross%.dotulo(ne)", Cmd::AskOverwriteOff},
      {"cross.retry", Cmd::Retry},
  };
  return table;
}

constexpr std::array<std::string_view, 5> kCounterCommands = {
    "aplikace.promene.body", "aplikace.promene.rocnik", "aplikace.promene.kriz",
    "aplikace.promene.dobre", "aplikace.promene.spatne"};

// Thrown at the nesting limit and caught by the outermost run.
struct NestingLimitReached {};

}  // namespace

Interpreter::Interpreter(Session& session, ui::Host& host, ScriptCommands& commands)
    : session_(session), host_(host), commands_(commands) {}

bool Interpreter::isCommand(std::string_view line) {
  return commandTable().count(line) > 0;
}

void Interpreter::run() {
  if (depth_ > 0) {
    runNested();
    return;
  }
  try {
    runNested();
  } catch (const NestingLimitReached&) {
    ui::showWarning(host_, kNestingMessage);
  }
}

void Interpreter::runNested() {
  if (session_.scriptsDisabled) return;
  if (depth_ >= kMaxScriptNesting) throw NestingLimitReached{};
  ++depth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{depth_};

  scriptLine_ = 0;
  const int steps = session_.scriptBuffer.count();
  for (int step = 0; step < steps; ++step) {
    const std::string current = line(scriptLine_);
    if (!execute(current) && !accepted(current)) {
      const ui::Answer answer =
          host_.message(ui::MessageKind::Plain,
                        "Ve skriptu došlo k chybě.\rřádek: " + toText(scriptLine_) +
                            "\rpříkaz: " + current + " \rCo chcete dělat?",
                        ui::Buttons::RetryCancel, "SKRIPT");
      if (answer != ui::Answer::Retry) return;
      runNested();
    }
    ++scriptLine_;
  }
}

bool Interpreter::accepted(const std::string& l) const {
  if (l.empty() || l == "+" || l == "-" || l == "=" || l == "ano" || l == "ne") return true;
  const std::string& twoAbove = line(scriptLine_ - 2);
  for (auto c : kCounterCommands)
    if (twoAbove == c) return true;
  const std::string& above = line(scriptLine_ - 1);
  return above == "zprava.info" || above == "zprava.chyba" || above == "zprava.varovani";
}

void Interpreter::counterCommand(std::string_view counterId) {
  const std::string op = line(scriptLine_ + 1);
  const std::string value = line(scriptLine_ + 2);
  if (op == "=") {
    commands_.setCounter(counterId, value);
  } else if (op == "+" || op == "-") {
    const std::int32_t current = parseInt(commands_.counter(counterId));
    const std::int32_t operand = parseInt(value);
    commands_.setCounter(
        counterId, toText(op == "+" ? checkedAdd(current, operand) : checkedSub(current, operand)));
  }
}

bool Interpreter::execute(const std::string& l) {
  const auto& table = commandTable();
  const auto it = table.find(l);
  if (it == table.end()) return false;
  const std::string next = line(scriptLine_ + 1);
  switch (it->second) {
    case Cmd::NewGame:
      if (commands_.gameInProgress()) commands_.endGame();
      commands_.newGame();
      break;
    case Cmd::NewGameWithSettings:
      if (commands_.gameInProgress()) commands_.endGame();
      commands_.showMenu();
      commands_.newGameWithSettings();
      break;
    case Cmd::Load:
      if (commands_.gameInProgress()) commands_.endGame();
      commands_.showMenu();
      commands_.loadGame();
      break;
    case Cmd::Save:
      commands_.saveGame();
      break;
    case Cmd::Return:
      commands_.returnToGame();
      break;
    case Cmd::ShowMenu:
      commands_.showMenu();
      break;
    case Cmd::EndGame:
      commands_.endGame();
      break;
    case Cmd::EndGameCompleted:
      commands_.endGameAsCompleted();
      break;
    case Cmd::Help:
      commands_.showMenu();
      commands_.help();
      break;
    case Cmd::About:
      commands_.showMenu();
      commands_.about();
      break;
    case Cmd::Credits:
      commands_.showMenu();
      commands_.credits();
      break;
    case Cmd::KeyList:
      commands_.showMenu();
      commands_.keyList();
      break;
    case Cmd::Quit:
      if (commands_.gameInProgress()) commands_.endGame();
      commands_.quit();
      break;
    case Cmd::SoundOn:
      commands_.setSound(true);
      break;
    case Cmd::SoundOff:
      commands_.setSound(false);
      break;
    case Cmd::MusicOn:
      commands_.setMusic(true);
      break;
    case Cmd::MusicOff:
      commands_.setMusic(false);
      break;
    case Cmd::ErrorPerLineOn:
      session_.suppressDetailPrompt = true;
      commands_.setErrorPerLine(true);
      if (next == "ano") {
        session_.showAnswersInErrors = true;
      } else if (next == "ne") {
        session_.showAnswersInErrors = false;
      } else {
        session_.suppressDetailPrompt = false;
        commands_.errorPerLineReaction();
      }
      session_.suppressDetailPrompt = false;
      break;
    case Cmd::ErrorPerLineOff:
      commands_.setErrorPerLine(false);
      break;
    case Cmd::Points:
      counterCommand(id::kPoints);
      break;
    case Cmd::Grade:
      counterCommand(id::kGrade);
      break;
    case Cmd::Crossword:
      counterCommand(id::kCrossword);
      break;
    case Cmd::Good:
      counterCommand(id::kGood);
      break;
    case Cmd::Bad:
      counterCommand(id::kBad);
      break;
    case Cmd::Kontrola:
      commands_.kontrola();
      break;
    case Cmd::ErrorSwitches:
      ui::showError(host_, text::kUnsupportedSwitch);
      break;
    case Cmd::ErrorSummary:
      ui::showError(host_, "Někde jste měl chybu.");
      break;
    case Cmd::ErrorText:
      ui::showError(host_, next);
      break;
    case Cmd::WarnUnsaved:
      ui::showWarning(host_, "Data nejsou uložena.\rStisknutím tlačítka Uložit data uložíte");
      break;
    case Cmd::WarnFailed:
      ui::showWarning(host_, "Došlo k chybě a funkce selhala.");
      break;
    case Cmd::WarnAssign:
      ui::showWarning(host_,
                      "Tento druh scriptu musí\rbýt přiřazen k určité křížovce.\rJděte do nabídky "
                      "skript a zvolte\ruložit, přiřaďte ke scriptu určitou\rkřížovku a potvrďte "
                      "operaci\rtlačítkem potvrdit.");
      break;
    case Cmd::WarnText:
      ui::showWarning(host_, next);
      break;
    case Cmd::InfoAllRight:
      ui::showInfo(host_, "Vše jste měl bez chyby.");
      break;
    case Cmd::InfoSetSwitched:
      ui::showInfo(host_, "Sada byla úspěšně přehozena.");
      break;
    case Cmd::InfoCompleted:
      ui::showInfo(host_, "Absolvoval jste luštění všech současných křízovek s bodovým úspěchem " +
                              commands_.points() + " bodů.Za Vaši hru Vám děkuji.");
      break;
    case Cmd::InfoText:
      ui::showInfo(host_, next);
      break;
    case Cmd::AskOverwriteOn:
      commands_.setAskOverwrite(true);
      break;
    case Cmd::AskOverwriteOff:
      commands_.setAskOverwrite(false);
      break;
    case Cmd::Retry:
      commands_.retryCrossword();
      break;
  }
  return true;
}

}  // namespace tervano::script
