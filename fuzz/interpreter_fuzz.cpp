// Random scripts in a running game, with the boxes and dialogs answered at random. Anything but
// a conversion or file error reported in a box is a finding: a crash, a hang, a sanitizer report.
#include <cstdint>
#include <string>

#include "data/cp1250.h"
#include "program_folder.h"

using namespace tervano;

namespace {

testing::TempProgram& folder() {
  static testing::TempProgram dir;
  static bool made = false;
  if (!made) {
    dir.makeSet({2, 1, 1, 1});
    dir.makeMusic();
    dir.makeSave("hra", testing::record());
    dir.writeScript("11nazacatkukrizovky.lsc", {"aplikace.promene.body", "+", "1"});
    made = true;
  }
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  testing::TempProgram& dir = folder();
  // The first bytes seed the answers, the rest is the script.
  const std::uint32_t seed =
      data[0] | (data[1] << 8) | (data[2] << 16) | (std::uint32_t{data[3]} << 24);
  const std::string script =
      cp1250::decode(std::string_view(reinterpret_cast<const char*>(data) + 4, size - 4));
  dir.write("Data/kriz/hra.kr1", testing::record());
  dir.write("tervano/script/nazacatkuhry.lsc", TextList::fromText(script).lines());

  testing::FakeHost host;
  TextList args{dir.path("tervano-hra")};
  app::Application app(host, ProgramFolder(dir.root()), args, seed);
  host.pick(dir.path("Data/kriz/hra.kr1"));
  app.startProgram();
  host.randomAnswers(seed, {dir.path("Data/kriz/hra.kr1"), dir.path("Data/kriz/nova.kr1")});
  app.session().scriptBuffer = TextList::fromText(script);
  app.invoke([&] { app.interpreter().run(); });
  return 0;
}
