#include "set_rig.h"

#include <chrono>
#include <fstream>
#include <thread>

#include "data/textfile.h"
#include "interruptions.h"
#include "sets/names.h"

namespace tervano::testing {

namespace fs = std::filesystem;

Tree snapshot(const fs::path& root) {
  Tree tree;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string rel = it->path().lexically_relative(root).generic_string();
    const auto type = it->symlink_status().type();
    if (type == fs::file_type::symlink)
      tree[rel] = "-> " + fs::read_symlink(it->path()).string();
    else if (type == fs::file_type::directory)
      tree[rel] = "<folder>";
    else
      tree[rel] = readFileBytes(it->path());
  }
  return tree;
}

void put(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

void writeSet(const fs::path& folder, const std::string& number, std::array<int, 4> counts) {
  auto put = [&](const std::string& rel, const std::string& text) {
    testing::put(folder / rel, text);
  };
  put("Tervano.ini", "Sada " + number + "\r\n" + std::to_string(counts[0]) + "\r\n" +
                         std::to_string(counts[1]) + "\r\n" + std::to_string(counts[2]) + "\r\n" +
                         std::to_string(counts[3]) + "\r\n4\r\n" + number +
                         "\r\nAngli\xe8tina\r\n");
  put("sur/r.cbx", "1\r\n2\r\n3\r\n4\r\n");
  for (int g = 1; g <= 4; ++g) {
    std::string list;
    for (int n = 1; n <= counts[std::size_t(g - 1)]; ++n) {
      list += std::to_string(n) + "\r\n";
      const std::string k = "r" + std::to_string(g) + "/k" + std::to_string(n) + "/";
      for (auto f : {"k.mk", "k.lk", "k.vk", "k.nk"})
        put(k + f, std::string(f) + " sady " + number + " " + k + "\r\n");
    }
    put("sur/" + std::to_string(g) + ".cbx", list);
  }
  for (auto f : {"k.mk", "k.lk", "k.vk", "k.nk"})
    put(std::string("r5/k0/") + f, "konec\r\n");
  put("hdb/hlasen.wav", "RIFF " + number);
  put("hdb/1r.mid", "MThd " + number);
  put("script/nazacatkuhry.lsc", "zprava.info\r\nsada " + number + "\r\n");
  put("def/popis.txt", "popis\r\n");
  put("def/PRECTIME", "bez tečky");
}

SetRig::SetRig(std::vector<std::string> inactive, const std::string& below,
               TempProgram::Where where)
    : dir(below, where), prog(dir.root() / "Moje programy" / "Křížovky Tervano ěščř") {
  writeSet(prog / "tervanodef", "30", {1, 1, 1, 1});
  writeSet(prog / "tervano", "20");
  // The active descriptor with bare LF: written back by mistake, its bytes would change.
  put(prog / "tervano/Tervano.ini", "Sada 20\n2\n1\n1\n1\n4\n20\nAngli\xe8tina\n");
  std::vector<std::string> list{"tervano20"};
  for (const auto& n : inactive) {
    writeSet(prog / ("tervano" + n), n);
    list.push_back("tervano" + n);
  }
  write("sady.ini", list);
  write("Tervano.ini", {"tervano20", "další řádek"});
  write("help/hkriz.hlp", {"nápověda"});
  write("tervano-hra", {"program"});
  fs::create_directories(prog / "Data/kriz");
}

void SetRig::write(const std::string& relative, const std::vector<std::string>& lines) const {
  dir.write(fs::relative(prog / relative, dir.root()).string(), lines);
}

TextList SetRig::read(const std::string& relative) const {
  return loadTextList(prog / relative);
}

std::string SetRig::bytes(const std::string& relative) const {
  return readFileBytes(prog / relative);
}

bool SetRig::exists(const std::string& relative) const {
  std::error_code ec;
  return fs::exists(fs::symlink_status(prog / relative, ec));
}

app::Application& SetRig::start() {
  TextList args{(prog / "tervano-hra").string(), "-SADA"};
  app = std::make_unique<app::Application>(host, ProgramFolder(prog), args, 1);
  app->startProgram();
  host.clear();
  return *app;
}

sets::SetManager& SetRig::sets() {
  return dynamic_cast<app::SetSelectionMode&>(app->mode()).sets();
}

void SetRig::choose(const std::string& name) {
  app->dispatch({app::Event::Kind::Select, id::kSetBox, name});
}

void SetRig::finishScripts() {
  // As in the program: the runner on a thread of its own, the panel's timer asking its questions
  // (answered by the host) and noticing its end. The limit only keeps a runner that never ends
  // from hanging a test.
  host.startScriptThreads();
  for (int ticks = 0; sets().scriptRunning() && ticks < 200000; ++ticks) {
    app->tick(id::kTimerScriptRun);
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  host.joinScripts();
  app->tick(id::kTimerScriptRun);
}

void SetRig::install(const fs::path& descriptor) {
  host.pick(descriptor.string());
  app->click(id::kSetInstall);
  if (sets().busy()) finishScripts();
}

void SetRig::create(int number) {
  app->click(id::kSetCreate);
  app->dispatch({app::Event::Kind::Edit, id::kNewNumber, {}, number});
  app->click(id::kNameConfirm);
  if (!sets().busy()) return;
  finishScripts();
  app->tick(id::kTimerCompletion);
  app->tick(id::kTimerCompletion);
}

void SetRig::rename(int number) {
  app->click(id::kSetRename);
  app->dispatch({app::Event::Kind::Edit, id::kNewNumber, {}, number});
  app->click(id::kNameConfirm);
}

void SetRig::remove() {
  app->click(id::kSetDelete);
  if (sets().busy()) finishScripts();
}

std::vector<std::string> SetRig::startAgain() const {
  FakeHost again;
  app::Application next(again, ProgramFolder(prog),
                        TextList{(prog / "tervano-hra").string(), "-SADA"}, 1);
  next.startProgram();
  return again.transcript();
}

void copyGermanMedium(const fs::path& folder) {
  fs::create_directories(folder);
  fs::copy(fs::path(TERVANO_DATA_TREE) / "instalace-nemcina", folder, fs::copy_options::recursive);
}

std::string registryHolds(const fs::path& prog) {
  std::string broken;
  auto add = [&](const std::string& what) { broken += what + "; "; };
  std::error_code ec;
  const TextList list =
      fs::exists(prog / "sady.ini") ? loadTextList(prog / "sady.ini") : TextList{};
  auto numberIn = [](const fs::path& set) -> std::string {
    try {
      return loadTextList(set / "Tervano.ini").get(6);
    } catch (const UserError&) {
      return "?";
    }
  };
  const std::string active =
      fs::is_directory(fs::symlink_status(prog / "tervano", ec)) ? numberIn(prog / "tervano") : "";
  for (const std::string& entry : list.lines()) {
    const auto number = sets::numberOfSetName(entry);
    if (!number) {
      add("listed " + entry + " is no set name");
      continue;
    }
    const fs::path set = *number == active ? prog / "tervano" : prog / entry;
    if (!fs::is_directory(fs::symlink_status(set, ec))) {
      add("listed " + entry + " has no folder");
      continue;
    }
    if (numberIn(set) != *number) add(entry + " holds set " + numberIn(set));
    if (const std::string lists = listsMatchFolders(set); !lists.empty()) add(entry + ": " + lists);
  }
  for (fs::directory_iterator it(prog, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name == "tervano") {
      if (std::find(list.lines().begin(), list.lines().end(), "tervano" + active) ==
          list.lines().end())
        add("the active set " + active + " is not listed");
    } else if (sets::numberOfSetName(name) &&
               std::find(list.lines().begin(), list.lines().end(), name) == list.lines().end()) {
      add(name + " is not listed");
    }
    for (const char* work :
         {"tervanoTemp", "tervanoMazani", "install.bat", "create.bat", "delsada.bat"})
      if (name == work) add(name + " is left");
  }
  for (const std::string& temporary : temporariesIn(prog))
    add(temporary + " is left");
  return broken;
}

}  // namespace tervano::testing
