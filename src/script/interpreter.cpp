#include "script/interpreter.h"

#include <unordered_map>

#include "data/numbers.h"
#include "data/texts.h"
#include "ui/ids/play.h"

namespace tervano::script {

struct Interpreter::Call {
  Interpreter& run;
  ScriptCommands& cmd;
  ui::Host& host;

  // The line after the command: the argument of the message and settings commands.
  const std::string& next() const { return run.line(run.scriptLine_ + 1); }
  void counter(std::string_view counterId) { run.counterCommand(counterId); }
  // The commands that start something else end a running game first (with its question).
  void endRunningGame() {
    if (cmd.gameInProgress()) cmd.endGame();
  }
  void error(std::string_view text) { ui::showError(host, text); }
  void warning(std::string_view text) { ui::showWarning(host, text); }
  void info(std::string_view text) { ui::showInfo(host, text); }
};

namespace {

using G = CommandGroup;
using Call = Interpreter::Call;

struct Command {
  std::string_view name;
  CommandGroup group;
  void (*execute)(Call&);
};

// The language: one line per command.
const Command kCommands[] = {
    {"aplikace.hra.nova", G::Game,
     [](Call& c) {
       c.endRunningGame();
       c.cmd.newGame();
     }},
    {"aplikace.hra.nnova", G::Game,
     [](Call& c) {
       c.endRunningGame();
       c.cmd.showMenu();
       c.cmd.newGameWithSettings();
     }},
    {"aplikace.hra.nacist", G::Game,
     [](Call& c) {
       c.endRunningGame();
       c.cmd.showMenu();
       c.cmd.loadGame();
     }},
    {"aplikace.hra.ulozit", G::Game, [](Call& c) { c.cmd.saveGame(); }},
    {"aplikace.hra.nav", G::Game, [](Call& c) { c.cmd.returnToGame(); }},
    {"aplikace.hra.navhln", G::Game, [](Call& c) { c.cmd.showMenu(); }},
    {"aplikace.hra.ukh", G::Game, [](Call& c) { c.cmd.endGame(); }},
    {"aplikace.hra.ukhjdok", G::Game, [](Call& c) { c.cmd.endGameAsCompleted(); }},
    {"aplikace.pomoc.napov", G::Help,
     [](Call& c) {
       c.cmd.showMenu();
       c.cmd.help();
     }},
    {"aplikace.pomoc.oapl", G::Help,
     [](Call& c) {
       c.cmd.showMenu();
       c.cmd.about();
     }},
    {"aplikace.pomoc.credits", G::Help,
     [](Call& c) {
       c.cmd.showMenu();
       c.cmd.credits();
     }},
    {"aplikace.pomoc.kls", G::Help,
     [](Call& c) {
       c.cmd.showMenu();
       c.cmd.keyList();
     }},
    {"aplikace.aplikace.konec", G::Application,
     [](Call& c) {
       c.endRunningGame();
       c.cmd.quit();
     }},
    {"aplikace.nastaveni.zvuk(ano)", G::Settings, [](Call& c) { c.cmd.setSound(true); }},
    {"aplikace.nastaveni.zvuk(ne)", G::Settings, [](Call& c) { c.cmd.setSound(false); }},
    {"aplikace.nastaveni.hudba(ano)", G::Settings, [](Call& c) { c.cmd.setMusic(true); }},
    {"aplikace.nastaveni.hudba(ne)", G::Settings, [](Call& c) { c.cmd.setMusic(false); }},
    {"aplikace.nastaveni.ukch(ano)", G::Settings,
     [](Call& c) { c.cmd.tickErrorPerLine(c.next()); }},
    {"aplikace.nastaveni.ukch(ne)", G::Settings, [](Call& c) { c.cmd.setErrorPerLine(false); }},
    {"aplikace.promene.body", G::Counters, [](Call& c) { c.counter(id::kPoints); }},
    {"aplikace.promene.rocnik", G::Counters, [](Call& c) { c.counter(id::kGrade); }},
    {"aplikace.promene.kriz", G::Counters, [](Call& c) { c.counter(id::kCrossword); }},
    {"aplikace.promene.dobre", G::Counters, [](Call& c) { c.counter(id::kGood); }},
    {"aplikace.promene.spatne", G::Counters, [](Call& c) { c.counter(id::kBad); }},
    {"kont", G::Check, [](Call& c) { c.cmd.kontrola(); }},
    {"zprava.chyba(%1%)", G::Errors, [](Call& c) { c.error(c.cmd.unsupportedSwitchText()); }},
    {"zprava.chyba(%2%)", G::Errors, [](Call& c) { c.error(text::kSomewhereWrong); }},
    {"zprava.chyba", G::Errors, [](Call& c) { c.error(c.next()); }},
    // Unlike the editor's own warning, the script's has no full stop at the end.
    {"zprava.varovani(%1%)", G::Warnings,
     [](Call& c) { c.warning("Data nejsou uložena.\rStisknutím tlačítka Uložit data uložíte"); }},
    {"zprava.varovani(%2%)", G::Warnings, [](Call& c) { c.warning(text::kFailed); }},
    {"zprava.varovani(%3%)", G::Warnings, [](Call& c) { c.warning(text::kAssignScript); }},
    {"zprava.varovani", G::Warnings, [](Call& c) { c.warning(c.next()); }},
    {"zprava.info(%1%)", G::Infos, [](Call& c) { c.info(text::kAllRight); }},
    {"zprava.info(%2%)", G::Infos, [](Call& c) { c.info(text::kSetSwitched); }},
    {"zprava.info(%3%)", G::Infos,
     [](Call& c) { c.info(text::kCompleted + c.cmd.points() + text::kCompletedEnd); }},
    {"zprava.info", G::Infos, [](Call& c) { c.info(c.next()); }},
    {"%cross%.dotulo(ano)", G::AskOverwrite, [](Call& c) { c.cmd.setAskOverwrite(true); }},
    {"%cross%.dotulo(ne)", G::AskOverwrite, [](Call& c) { c.cmd.setAskOverwrite(false); }},
    {"cross.retry", G::Retry, [](Call& c) { c.cmd.retryCrossword(); }},
};

const std::unordered_map<std::string_view, const Command*>& commandIndex() {
  static const std::unordered_map<std::string_view, const Command*> index = [] {
    std::unordered_map<std::string_view, const Command*> m;
    for (const Command& c : kCommands)
      m.emplace(c.name, &c);
    return m;
  }();
  return index;
}

bool isCounterCommand(std::string_view line) {
  const auto it = commandIndex().find(line);
  return it != commandIndex().end() && it->second->group == G::Counters;
}

// Thrown at the nesting limit and caught by the outermost run.
struct NestingLimitReached {};

}  // namespace

std::string nestingMessage() {
  return "Skripty se navzájem spouštějí příliš hluboko (více než " +
         std::to_string(kMaxScriptNesting) +
         " úrovní).\rJejich běh byl zastaven, hra pokračuje dál.";
}

std::vector<CommandName> commandNames() {
  std::vector<CommandName> names;
  for (const Command& c : kCommands)
    names.push_back({c.name, c.group});
  return names;
}

Interpreter::Interpreter(Session& session, ui::Host& host, ScriptCommands& commands)
    : session_(session), host_(host), commands_(commands) {}

bool Interpreter::isCommand(std::string_view line) {
  return commandIndex().count(line) > 0;
}

void Interpreter::run() {
  if (depth_ > 0) {
    runNested();
    return;
  }
  try {
    runNested();
  } catch (const NestingLimitReached&) {
    ui::showWarning(host_, nestingMessage());
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
  // The step count is fixed when the run starts, whatever the run does to the buffer.
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
  if (isCounterCommand(line(scriptLine_ - 2))) return true;
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
  const auto it = commandIndex().find(l);
  if (it == commandIndex().end()) return false;
  Call call{*this, commands_, host_};
  it->second->execute(call);
  return true;
}

}  // namespace tervano::script
