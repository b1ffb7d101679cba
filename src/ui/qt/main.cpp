#include <QApplication>
#include <QFont>

#include "app/application.h"
#include "data/programfolder.h"
#include "data/records.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"

namespace {

// Until the audio engine is wired in, cues fall back to the system's alert and music is silent.
class NoSound : public tervano::audio::SoundOutput {
 public:
  bool playWavSync(const std::string&) override { return false; }
  tervano::ui::MusicPlayer& music() override { return player_; }

 private:
  struct Silent : tervano::ui::MusicPlayer {
    bool open(const std::string&) override { return false; }
    void play() override {}
    void stop() override {}
    void close() override {}
    bool isOpen() const override { return false; }
  } player_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  QApplication::setApplicationName("Tervano");
  QApplication::setApplicationDisplayName("Tervano");
  QFont font("DejaVu Sans", 8);
  font.setBold(true);
  QApplication::setFont(font);

  const auto exe = tervano::ProgramFolder::executablePath();
  tervano::qt::QtHost host(exe.string(), std::make_unique<NoSound>());
  tervano::app::Application app(host, tervano::ProgramFolder(exe.parent_path()),
                                tervano::buildArgumentList(argc, argv));
  tervano::qt::MainWindow window(app, host);
  app.startProgram();
  if (host.quitRequested()) return 0;
  window.sync();
  window.show();
  return QApplication::exec();
}
