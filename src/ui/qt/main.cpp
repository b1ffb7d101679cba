#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/application.h"
#include "audio/engine/audio_engine.h"
#include "data/programfolder.h"
#include "data/records.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/style.h"

namespace {

// For the start-up benchmark: with TERVANO_REPORT_FIRST_PAINT set, the first painted main window
// prints the monotonic clock ("first-paint <ns>") and ends the program.
class FirstPaintReport : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::Paint || done_) return false;
    done_ = true;
    // Once the paint has reached the screen, not when it starts.
    QTimer::singleShot(0, [] {
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      std::printf("first-paint %lld\n",
                  static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
      std::fflush(stdout);
      QApplication::quit();
    });
    return false;
  }

 private:
  bool done_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  QApplication::setApplicationName("Tervano");
  QApplication::setStyle("Fusion");
  QApplication::setPalette(tervano::qt::style::palette());
  QApplication::setFont(tervano::qt::style::sans());
  // The program ends when the application says so, not when a window closes.
  QApplication::setQuitOnLastWindowClosed(false);

  const auto exe = tervano::ProgramFolder::executablePath();
  tervano::qt::QtHost host(exe.string(), std::make_unique<tervano::audio::AudioEngine>());
  tervano::app::Application app(host, tervano::ProgramFolder(exe.parent_path()),
                                tervano::buildArgumentList(argc, argv));
  tervano::qt::MainWindow window(app, [&host] { return host.quitRequested(); });
  host.setWindow(&window, [&window] { window.sync(); });
  host.setDocumentViewer([&window](const std::string& path) { window.openDocument(path); });
  FirstPaintReport firstPaint;
  if (std::getenv("TERVANO_REPORT_FIRST_PAINT")) window.installEventFilter(&firstPaint);

  app.startProgram();
  if (host.quitRequested()) return 0;
  window.sync();
  window.show();
  return QApplication::exec();
}
