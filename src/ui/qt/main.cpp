#include <QApplication>
#include <cstdlib>

#include "app/application.h"
#include "audio/deferred_output.h"
#include "audio/engine/audio_engine.h"
#include "data/programfolder.h"
#include "data/records.h"
#include "ui/qt/arguments.h"
#include "ui/qt/first_paint.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/style.h"

int main(int argc, char** argv) {
  tervano::qt::ProgramArguments arguments(argc, argv);
  QApplication qapp(arguments.qtArgc(), arguments.qtArgv());
  QApplication::setApplicationName("Tervano");
  QApplication::setStyle("Fusion");
  QApplication::setPalette(tervano::qt::style::palette());
  QApplication::setFont(tervano::qt::style::sans());
  // The program ends when the application says so, not when a window closes.
  QApplication::setQuitOnLastWindowClosed(false);

  const auto exe = tervano::ProgramFolder::executablePath();
  auto sound = std::make_unique<tervano::audio::DeferredSoundOutput>(
      [] { return std::make_unique<tervano::audio::AudioEngine>(); });
  tervano::audio::DeferredSoundOutput& deferredSound = *sound;
  tervano::qt::QtHost host(exe.string(), std::move(sound));
  tervano::app::Application app(host, tervano::ProgramFolder(exe.parent_path()), arguments.list());
  tervano::qt::MainWindow window(app, [&host] { return host.quitRequested(); });
  host.setWindow(&window, [&window] { window.sync(); });
  host.setDocumentViewer([&window](const std::string& path) { window.openDocument(path); });
  // The sound device is opened once the window is on the screen (or earlier, by the first
  // sound); the start-up benchmark instead reports that first paint and ends.
  window.onFirstPaint(std::getenv("TERVANO_REPORT_FIRST_PAINT")
                          ? std::function<void()>(tervano::qt::reportFirstPaintAndQuit)
                          : [&deferredSound] { deferredSound.start(); });

  app.startProgram();
  if (host.quitRequested()) return 0;
  window.sync();
  window.show();
  return QApplication::exec();
}
