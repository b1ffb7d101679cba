// The headless program that kill_trials.sh kills: one operation family on a program folder,
// driven through the core as the user drives it, with a scripted host; the recovery the program
// runs at every start; and the check of the data afterwards.
//
//   tervano_crash_driver --make <template> <medium>      a program folder and the German medium
//   tervano_crash_driver --run <family> <folder> <medium> prints "ready", the operation, "done
//   <µs>" tervano_crash_driver --recover <family> <folder>     the start's recovery, then the
//   mode's start tervano_crash_driver --check <family> <folder> <before> <after>
//                                                         "old"/"new"/"other" and what is broken
//
// Families: save-existing, save-new, delete, script-save, set-switch, set-install, set-create,
// set-rename, set-delete.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/application.h"
#include "app/modes/set_selection_mode.h"
#include "data/cp1250.h"
#include "data/textfile.h"
#include "data/transaction.h"
#include "fake_host.h"
#include "interruptions.h"
#include "ui/ids.h"

namespace tervano::crash {
namespace {

namespace fs = std::filesystem;
using Kind = app::Event::Kind;

struct Family {
  std::string name;
  std::string mode;  // the mode the operation runs in, and the start that recovers it
  bool sets;         // a set operation: the registry rules, not one tree, tell right from wrong
};

const std::vector<Family> kFamilies = {
    {"save-existing", "-EDITOR", false}, {"save-new", "-EDITOR", false},
    {"delete", "-EDITOR", false},        {"script-save", "-SCRIPTEDITOR", false},
    {"set-switch", "-SADA", true},       {"set-install", "-SADA", true},
    {"set-create", "-SADA", true},       {"set-rename", "-SADA", true},
    {"set-delete", "-SADA", true},
};

const Family& family(const std::string& name) {
  for (const Family& f : kFamilies)
    if (f.name == name) return f;
  throw std::runtime_error("unknown family " + name);
}

void say(const std::string& line) {
  const std::string text = line + "\n";
  fileops::writeAll(STDOUT_FILENO, text.data(), text.size());
}

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// --- the template ---

void setNumber(const fs::path& set, const std::string& number) {
  TextList d = loadTextList(set / "Tervano.ini");
  d.set(6, number);
  saveTextList(set / "Tervano.ini", d);
}

// The delivered data tree with a second set, crossword scripts that a deletion of
// crossword 2/3 removes and moves, and an older script under crossword 1/2; the German medium
// beside it.
void make(const fs::path& templ, const fs::path& medium) {
  const fs::path tree = TERVANO_DATA_TREE;
  fs::create_directories(templ);
  for (const auto& e : fs::directory_iterator(tree))
    if (e.path().filename() != "instalace-nemcina")
      fs::copy(e.path(), templ / e.path().filename(), fs::copy_options::recursive);
  fs::copy(tree / "instalace-nemcina", medium, fs::copy_options::recursive);
  // The user's own set 31 is active (a maker's set cannot be renamed); the delivered set 20 waits.
  fs::copy(templ / "tervano", templ / "tervano20", fs::copy_options::recursive);
  setNumber(templ / "tervano", "31");
  saveTextList(templ / "sady.ini", TextList{"tervano31", "tervano20"});
  saveTextList(templ / "Tervano.ini", TextList{"tervano31"});
  saveTextList(templ / "tervano/script/23nazacatkukrizovky.lsc", TextList{"zprava.info", "k3"});
  saveTextList(templ / "tervano/script/27nazacatkukrizovky.lsc", TextList{"zprava.info", "k7"});
  saveTextList(templ / "tervano/script/27nakoncikrizovky.lsc", TextList{"kont"});
  saveTextList(templ / "tervano/script/12nazacatkukrizovky.lsc", TextList{"zprava.info", "stará"});
  saveTextList(templ / "tervano-hra", TextList{"program"});
}

// --- the operations ---

struct Program {
  testing::FakeHost host;
  std::unique_ptr<app::Application> app;
  Program(const fs::path& folder, const std::string& mode) {
    app = std::make_unique<app::Application>(host, ProgramFolder(folder),
                                             TextList{(folder / "tervano-hra").string(), mode}, 1);
    app->startProgram();
  }
  void choose(const std::string& grade, const std::string& crossword) {
    app->dispatch({Kind::Select, id::kChooserGrade, grade});
    app->dispatch({Kind::Edit, id::kChooserCrossword, crossword});
  }
  sets::SetManager& sets() { return dynamic_cast<app::SetSelectionMode&>(app->mode()).sets(); }
  // The runner copies on a thread of its own while the timers tick, as in the program, until the
  // command has ended (a creation ends at a tick of its completion timer).
  void runScripts() {
    host.startScriptThreads();
    for (int ticks = 0; sets().busy() && !host.quitRequested() && ticks < 100000; ++ticks) {
      app->tick(id::kTimerScriptRun);
      app->tick(id::kTimerCompletion);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    host.joinScripts();
  }
};

void run(const Family& f, const fs::path& folder, const fs::path& medium) {
  Program p(folder, f.mode);
  p.host.clear();
  std::function<void()> op;
  const std::string& n = f.name;
  if (n == "save-existing" || n == "save-new") {
    p.app->click(id::kDataLoad);
    p.choose("1", "2");
    p.app->click(id::kChooserConfirm);
    p.app->edit(id::kAnswerArea, "n o v é\nř e š e n í\nt ř e t í");
    p.app->edit(id::kMapArea, "x x x\nx x x x x\nx x x x x");
    p.app->edit(id::kLegendArea, "Nová nápověda\nDruhá\nTřetí");
    p.app->dispatch({Kind::Edit, id::kScoreSpinGood, {}, 7});
    op = [&] {
      p.app->click(id::kDataSave);
      p.choose("1", n == "save-new" ? "99" : "2");
      p.app->click(id::kChooserConfirm);
    };
  } else if (n == "delete") {
    op = [&] {
      p.choose("2", "3");
      p.host.ok();
      p.app->click(id::kChooserDelete);
    };
  } else if (n == "script-save") {
    p.app->click(id::kDataNew);
    p.app->dispatch({Kind::Select, id::kScriptEvent, "nazacatkukrizovky"});
    p.app->edit(id::kScriptText, "zprava.info\nnová, ž");
    op = [&] {
      p.app->click(id::kDataSave);
      p.choose("1", "2");
      p.app->click(id::kChooserConfirm);
    };
  } else if (n == "set-switch") {
    op = [&] { p.app->dispatch({Kind::Select, id::kSetBox, "tervano20"}); };
  } else if (n == "set-install") {
    op = [&] {
      p.host.pick((medium / "Tervano.ini").string());
      p.app->click(id::kSetInstall);
      p.runScripts();
    };
  } else if (n == "set-create") {
    op = [&] {
      p.app->click(id::kSetCreate);
      p.app->dispatch({Kind::Edit, id::kNewNumber, {}, 35});
      p.app->click(id::kNameConfirm);
      p.runScripts();
    };
  } else if (n == "set-rename") {
    op = [&] {
      p.host.ok();
      p.app->click(id::kSetRename);
      p.app->dispatch({Kind::Edit, id::kNewNumber, {}, 40});
      p.app->click(id::kNameConfirm);
    };
  } else if (n == "set-delete") {
    op = [&] {
      p.host.ok().ok();
      p.app->click(id::kSetDelete);
      p.runScripts();
    };
  }
  // The killer's clock starts when it says "go": the operation starts then too, not when the
  // killer happens to be woken by "ready".
  say("ready");
  for (char c = 0; ::read(STDIN_FILENO, &c, 1) == 1 && c != '\n';) {
  }
  const auto start = std::chrono::steady_clock::now();
  op();
  const auto took = std::chrono::steady_clock::now() - start;
  say("done " +
      std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(took).count()));
  for (const std::string& line : p.host.only({"error", "warning"}))
    std::cerr << line << "\n";
}

// --- recovery ---

void recover(const Family& f, const fs::path& folder) {
  // What the program's start does first, told here in a word; then that start itself.
  const RecoveryReport report = recoverAtStart(folder);
  std::string what = "none";
  if (report.temporariesRemoved > 0) what = "swept";
  if (!report.undone.empty()) what = "undone";
  if (!report.finished.empty()) what = "finished";
  if (!report.problems.empty()) what = "problem";
  Program p(folder, f.mode);
  say(what);
}

// --- the check ---

// The four files of every crossword folder of every set folder, by path; "-" for a missing one.
std::map<std::string, std::string> crosswords(const testing::Tree& tree) {
  std::map<std::string, std::string> all;
  for (const auto& [path, content] : tree) {
    const fs::path p(path);
    const std::string name = p.filename().string();
    if (name != "k.mk" && name != "k.lk" && name != "k.vk" && name != "k.nk") continue;
    const std::string folder = p.parent_path().string();
    if (all.contains(folder)) continue;
    std::string four;
    for (const char* f : {"k.mk", "k.lk", "k.vk", "k.nk"}) {
      const auto it = tree.find(folder + "/" + f);
      four += (it == tree.end() ? std::string("-") : it->second) + "\x1f";
    }
    all[folder] = four;
  }
  return all;
}

bool isSetFolder(const std::string& name) {
  const std::string l = lower(name);
  if (!l.starts_with("tervano")) return false;
  const std::string rest = l.substr(7);
  return !rest.empty() &&
         std::all_of(rest.begin(), rest.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string descriptorNumber(const fs::path& set) {
  try {
    return loadTextList(set / "Tervano.ini").get(6);
  } catch (const FileError&) {
    return "";
  }
}

std::vector<std::string> problems(const fs::path& folder, const testing::Tree& now,
                                  const testing::Tree& before, const testing::Tree& after) {
  std::vector<std::string> found;
  // No work folder, command script, journal or temporary left.
  for (const std::string& t : testing::temporariesIn(folder))
    found.push_back("left: " + t);
  for (const auto& e : fs::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    const std::string l = lower(name);
    if (l == "tervanotemp" || l == "tervanomazani" || l == "install.bat" || l == "create.bat" ||
        l == "delsada.bat")
      found.push_back("left: " + name);
  }
  for (const auto& [path, content] : now)
    if (fs::path(path).filename().string().starts_with(".smazana"))
      found.push_back("left: " + path);
  // The registry: every listed set has a whole folder; every set folder is listed or active.
  std::vector<std::string> listed;
  try {
    const TextList list = loadTextList(folder / "sady.ini");
    for (const std::string& line : list.lines())
      if (!line.empty()) listed.push_back(lower(line));
  } catch (const FileError& e) {
    found.push_back(std::string("set list: ") + e.what());
  }
  const bool active = fs::is_directory(fs::symlink_status(folder / "tervano"));
  const std::string activeNumber = active ? descriptorNumber(folder / "tervano") : "";
  for (const std::string& entry : listed) {
    const std::string number = entry.substr(std::min<std::size_t>(7, entry.size()));
    fs::path set = folder / entry;
    if (active && number == activeNumber) set = folder / "tervano";
    if (!fs::is_directory(fs::symlink_status(set)) || descriptorNumber(set) != number)
      found.push_back("listed without its folder: " + entry);
  }
  std::vector<fs::path> sets;
  if (active) sets.push_back(folder / "tervano");
  if (active && std::find(listed.begin(), listed.end(), "tervano" + activeNumber) == listed.end())
    found.push_back("the active set " + activeNumber + " is not listed");
  for (const auto& e : fs::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    if (!isSetFolder(name) || !e.is_directory()) continue;
    sets.push_back(e.path());
    if (std::find(listed.begin(), listed.end(), lower(name)) == listed.end())
      found.push_back("set folder not listed: " + name);
  }
  // Every crossword list matches its folders.
  for (const fs::path& set : sets)
    if (const std::string broken = testing::listsMatchFolders(set); !broken.empty())
      found.push_back(set.filename().string() + ": " + broken);
  // Each crossword's four files are all old or all new.
  const auto old = crosswords(before), fresh = crosswords(after);
  for (const auto& [path, four] : crosswords(now)) {
    const auto o = old.find(path), n = fresh.find(path);
    if ((o == old.end() || o->second != four) && (n == fresh.end() || n->second != four))
      found.push_back("crossword mixed or changed: " + path);
  }
  return found;
}

// The active set and what the selection file names, as the set panel reads them.
struct Selection {
  bool active = false;
  std::string named;     // line 1 of the selection file
  std::string activeIs;  // "tervano" + the active set's number
  explicit Selection(const fs::path& folder) {
    active = fs::is_directory(fs::symlink_status(folder / "tervano"));
    if (active) activeIs = "tervano" + descriptorNumber(folder / "tervano");
    try {
      named = lower(loadTextList(folder / "Tervano.ini").get(0));
    } catch (const FileError&) {
    }
  }
  bool agrees() const { return active && named == activeIs; }
};

int check(const Family& f, const fs::path& folder, const fs::path& beforeFolder,
          const fs::path& afterFolder) {
  const testing::Tree now = testing::tree(folder);
  const testing::Tree before = testing::tree(beforeFolder);
  const testing::Tree after = testing::tree(afterFolder);
  std::vector<std::string> found = problems(folder, now, before, after);
  // What both ends keep, a kill must keep too: an active set, named by the selection file.
  const Selection was(beforeFolder), will(afterFolder), is(folder);
  if (was.active && will.active && !is.active) found.push_back("no active set");
  if (was.agrees() && will.agrees() && is.active && !is.agrees())
    found.push_back("the selection names " + is.named + ", the active set is " + is.activeIs);
  const std::string end = now == before ? "old" : now == after ? "new" : "other";
  // A crossword or script operation touches nothing else: the whole tree is one of its ends.
  if (!f.sets && end == "other")
    found.push_back("neither before nor after:" + testing::difference(now, after));
  std::string line = end;
  for (const std::string& p : found)
    line += " | " + p;
  say(line);
  return found.empty() ? 0 : 1;
}

int drive(int argc, char** argv) {
  const std::vector<std::string> a(argv + 1, argv + argc);
  try {
    if (a.size() == 3 && a[0] == "--make") {
      make(a[1], a[2]);
      return 0;
    }
    if (a.size() == 4 && a[0] == "--run") {
      run(family(a[1]), a[2], a[3]);
      return 0;
    }
    if (a.size() == 3 && a[0] == "--recover") {
      recover(family(a[1]), a[2]);
      return 0;
    }
    if (a.size() == 5 && a[0] == "--check") return check(family(a[1]), a[2], a[3], a[4]);
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 2;
  }
  std::cerr << "usage: see the head of bench/crash/crash_driver.cpp\n";
  return 2;
}

}  // namespace
}  // namespace tervano::crash

int main(int argc, char** argv) {
  return tervano::crash::drive(argc, argv);
}
