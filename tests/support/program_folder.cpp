#include "program_folder.h"

#include <unistd.h>
#include <atomic>
#include <fstream>

#include "data/cp1250.h"
#include "data/textfile.h"

namespace tervano::testing {

namespace fs = std::filesystem;

namespace {
std::atomic<int> counter{0};
}

TempProgram::TempProgram(const std::string& below, Where where) {
  std::error_code ec;
  const fs::path memory = "/dev/shm";
  const fs::path base =
      where == Where::Memory && fs::is_directory(memory, ec) && ::access(memory.c_str(), W_OK) == 0
          ? memory
          : fs::temp_directory_path();
  top_ = base / ("tervano-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  root_ = below.empty() ? top_ : top_ / below;
  fs::remove_all(top_);
  fs::create_directories(root_);
}

TempProgram::~TempProgram() {
  std::error_code ec;
  fs::remove_all(top_, ec);
}

void TempProgram::writeBytes(const std::string& relative, const std::string& bytes) const {
  const fs::path p = root_ / relative;
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

void TempProgram::write(const std::string& relative, const std::vector<std::string>& lines) const {
  std::string text;
  for (const auto& l : lines)
    text += l + "\r\n";
  writeBytes(relative, cp1250::encode(text));
}

TextList TempProgram::read(const std::string& relative) const {
  return loadTextList(root_ / relative);
}

std::string TempProgram::readBytes(const std::string& relative) const {
  return readFileBytes(root_ / relative);
}

bool TempProgram::exists(const std::string& relative) const {
  return fs::exists(root_ / relative);
}

void TempProgram::remove(const std::string& relative) const {
  fs::remove_all(root_ / relative);
}

void TempProgram::addCrossword(int grade, int number, const std::vector<std::string>& solution,
                               const std::vector<std::string>& konf,
                               const std::vector<std::string>& map) {
  const std::string folder =
      "tervano/r" + std::to_string(grade) + "/k" + std::to_string(number) + "/";
  std::vector<std::string> m = map;
  if (m.empty())
    for (const auto& line : solution) {
      std::string x;
      for (char ch : line)
        x.push_back(ch == ' ' ? ' ' : 'x');
      m.push_back(x);
    }
  write(folder + "k.mk", m);
  std::vector<std::string> legend;
  for (std::size_t i = 0; i < solution.size(); ++i)
    legend.push_back("nápověda " + std::to_string(i + 1));
  write(folder + "k.lk", legend);
  write(folder + "k.vk", solution);
  write(folder + "k.nk", konf);
}

void TempProgram::makeSet(std::array<int, 4> counts, const std::string& version) {
  write("tervano/Tervano.ini",
        {"Tervano", std::to_string(counts[0]), std::to_string(counts[1]), std::to_string(counts[2]),
         std::to_string(counts[3]), "4", version, "Angličtina"});
  write("tervano/sur/r.cbx", {"1", "2", "3", "4"});
  for (int g = 1; g <= 4; ++g) {
    std::vector<std::string> list;
    for (int n = 1; n <= counts[static_cast<std::size_t>(g - 1)]; ++n) {
      list.push_back(std::to_string(n));
      addCrossword(g, n, {"c a t", "d o g"}, {"10", "5", "20", "15", "N", "2"});
    }
    write("tervano/sur/" + std::to_string(g) + ".cbx", list);
  }
  addCrossword(5, 0, {"k o n e c"}, {"0", "0", "0", "0", "N", "1"});
  write("Data/kriz/automatické uložení.kra", {"N", "50", "0", "kontrole každé křížovky"});
  write("jazyky.ini", {"Angličtina", "Němčina"});
  fs::create_directories(root_ / "tervano/script");
  fs::create_directories(root_ / "help");
}

std::string TempProgram::makeSave(const std::string& name, const std::vector<std::string>& rec,
                                  const std::vector<std::string>& answers) const {
  write("Data/kriz/" + name + ".kr1", rec);
  if (!answers.empty()) write("Data/kriz/" + name + ".kn1", answers);
  return path("Data/kriz/" + name + ".kr1");
}

void TempProgram::writeScript(const std::string& name,
                              const std::vector<std::string>& lines) const {
  write("tervano/script/" + name, lines);
}

void TempProgram::makeMusic() const {
  for (auto f : {"1r.mid", "2r.mid", "3r.mid", "4r.mid", "Final.mid"})
    writeBytes(std::string("tervano/hdb/") + f, "MThd");
}

std::vector<std::string> record(const std::string& grade, const std::string& crossword,
                                const std::string& version) {
  return {"N", "0", grade, crossword, "0", "0", "A", "N", version, "N", "N", "N"};
}

app::Application& Rig::create(const std::string& firstSwitch, std::uint32_t seed) {
  TextList args{dir.path("tervano-hra")};
  if (!firstSwitch.empty()) args.append(firstSwitch);
  app = std::make_unique<app::Application>(host, ProgramFolder(dir.root()), args, seed);
  return *app;
}

app::Application& Rig::start(const std::string& firstSwitch, std::uint32_t seed) {
  create(firstSwitch, seed);
  app->startProgram();
  return *app;
}

void Rig::recordWrites() {
  app->observeWrites([this](const std::string& path) {
    std::string p = path;
    const std::string root = dir.root().string() + "/";
    if (p.rfind(root, 0) == 0) p = p.substr(root.size());
    host.record("write " + p);
  });
}

}  // namespace tervano::testing
