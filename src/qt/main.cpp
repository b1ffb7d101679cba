#include <pwd.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <string_view>

#include "app/application.h"
#include "audio/deferred_output.h"
#include "audio/session_bus.h"
#include "data/errors.h"
#include "data/program_location.h"
#include "data/programfolder.h"
#include "data/records.h"
#include "qt/arguments.h"
#include "qt/first_paint.h"
#include "qt/main_window.h"
#include "qt/qt_host.h"
#include "qt/style.h"
#include "qt/worksheet_printer.h"
#include "sound/audio_engine.h"
#include "ui/ids.h"

namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string homeFolder() {
  if (std::string home = environment("HOME"); !home.empty()) return home;
  if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir)
    return account->pw_dir;
  return "/";
}

}  // namespace

int main(int argc, char** argv) {
  // Before any library (Qt, a sound server's client) asks for a D-Bus session bus, and before any
  // thread starts.
  tervano::audio::preventSessionBusAutolaunch();
  tervano::qt::ProgramArguments arguments(argc, argv);
  QApplication qapp(arguments.qtArgc(), arguments.qtArgv());
  QApplication::setApplicationName("Tervano");
  QApplication::setStyle(tervano::qt::style::makeStyle());
  QApplication::setPalette(tervano::qt::style::palette());
  QApplication::setFont(tervano::qt::style::sans());
  // The program ends when the application says so, not when a window closes.
  QApplication::setQuitOnLastWindowClosed(false);
  tervano::qt::useCzechToolkitTexts(qapp);

  const auto exe = tervano::ProgramFolder::executablePath();
  const tervano::ProgramLocation location = tervano::locateProgramFolder(
      {exe.parent_path(), exe.parent_path() / TERVANO_INSTALLED_TREE,
       environment(tervano::kProgramFolderVariable), environment("XDG_DATA_HOME"), homeFolder()});
  if (!location.fillFrom.empty()) {
    try {
      tervano::fillProgramFolder(location.fillFrom, location.folder);
    } catch (const tervano::UserError& e) {
      QMessageBox::critical(nullptr, "Chyba", QString::fromUtf8(e.what()));
      return 1;
    }
  }
  auto sound = std::make_unique<tervano::audio::DeferredSoundOutput>(
      [] { return std::make_unique<tervano::sound::AudioEngine>(); });
  tervano::audio::DeferredSoundOutput& deferredSound = *sound;
  tervano::qt::QtHost host(exe.string(), location.folder.string(), std::move(sound));
  tervano::app::Application app(host, tervano::ProgramFolder(location.folder), arguments.list());
  tervano::qt::WorksheetPrinter printer;
  app.setWorksheetOutput(&printer);
  tervano::qt::MainWindow window(app, [&host] { return host.quitRequested(); });
  host.setWindow(&window, [&window] { window.syncBeforeModal(); });
  host.setDocumentViewer([&window](const std::string& path) { window.openDocument(path); });
  // With the cues on, the sound device is opened once the window is on the screen, so that the
  // first cue does not wait for it; music and a first cue build what they need themselves. The
  // start-up benchmark instead reports a first paint and ends: with "any", that of the first
  // window of any kind (the main game's load dialog, the script editor's warning), otherwise the
  // main window's.
  const char* report = std::getenv("TERVANO_REPORT_FIRST_PAINT");
  tervano::qt::OnFirstPaint anyWindow(tervano::qt::reportFirstPaintAndExit);
  if (report && std::string_view(report) == "any") qapp.installEventFilter(&anyWindow);
  window.onFirstPaint(report ? std::function<void()>(tervano::qt::reportFirstPaintAndExit)
                             : [&deferredSound, &app] {
                                 // Only the game sounds its cues at once; a tool opens the
                                 // device at its first cue, if ever.
                                 if (app.soundAtFirstPaint()) deferredSound.start();
                               });

  app.startProgram();
  if (host.quitRequested()) return 0;
  window.sync();
  window.show();
  return QApplication::exec();
}
