// Random autosave logs read at start-up and then written through every trigger and setting.
#include <cstdint>
#include <string>

#include "program_folder.h"
#include "ui/ids.h"

using namespace tervano;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static testing::TempProgram dir;
  static bool made = false;
  if (!made) {
    dir.makeSet({2, 1, 1, 1});
    dir.makeSave("hra", testing::record());
    made = true;
  }
  dir.writeBytes("Data/kriz/automatické uložení.kra",
                 std::string(reinterpret_cast<const char*>(data), size));
  testing::FakeHost host;
  host.randomAnswers(size, {});
  TextList args{dir.path("tervano-hra")};
  app::Application app(host, ProgramFolder(dir.root()), args, 1);
  host.pick(dir.path("Data/kriz/hra.kr1"));
  app.startProgram();
  if (host.quitRequested()) return 0;  // the log could not be read: start-up ended the program
  for (int trigger = 1; trigger <= 4; ++trigger)
    app.invoke([&] { app.autosaveLog().trigger(static_cast<AutosaveTrigger>(trigger)); });
  app.click(id::kKontrola);
  app.hover(id::kPanelAutosave);
  app.dispatch({app::Event::Kind::Toggle, id::kAutosaveOn, "", 1});
  app.click(id::kAutosaveApply);
  app.dispatch({app::Event::Kind::CloseRequest});
  return 0;
}
