#pragma once

#include <QDialog>
#include <QFileDialog>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/sound_output.h"
#include "ui/host.h"

class QApplication;

namespace tervano::qt {

// The real platform behind the core: Qt message boxes and file dialogs, processes, the cursor
// and the sound output.
class QtHost : public ui::Host {
 public:
  // New instances are started from the executable and handed the program folder.
  QtHost(std::string executable, std::string programFolder,
         std::unique_ptr<audio::SoundOutput> sound);
  ~QtHost() override;

  // The window that owns the modal boxes; before each box the view brings itself up to date.
  void setWindow(QWidget* window, std::function<void()> beforeModal);

  ui::Answer message(ui::MessageKind kind, std::string_view text, ui::Buttons buttons,
                     std::string_view caption) override;
  std::optional<std::size_t> choose(std::string_view question,
                                    const std::vector<std::string>& options,
                                    std::size_t preselected) override;
  bool consoleQuestion(std::string_view text) override;
  std::optional<std::string> openFile(const ui::FileDialogOptions& options) override;
  std::optional<std::string> saveFile(const ui::FileDialogOptions& options) override;
  std::optional<std::string> chooseFolder(const ui::FileDialogOptions& options) override;
  void playWavSync(const std::string& path) override;
  ui::MusicPlayer& music() override;
  void startInstance(std::string_view argument, const std::string& workingFolder) override;
  void launchCommandScript(const std::string& path, std::function<void()> runner) override;
  void openDocument(const std::string& path, const std::string& workingFolder) override;
  void setCursor(ui::Cursor cursor) override;
  void requestQuit() override { quitRequested_ = true; }

  bool quitRequested() const override { return quitRequested_; }

  // The file dialog as the host shows it, and the name filter it makes of a filter.
  static std::unique_ptr<QFileDialog> makeFileDialog(const ui::FileDialogOptions& options,
                                                     bool save, QWidget* parent);
  static QString filterText(const ui::FileFilter& filter);
  // The document viewer for the external help file; set by the view.
  void setDocumentViewer(std::function<void(const std::string&)> viewer) {
    documentViewer_ = std::move(viewer);
  }

 private:
  std::optional<std::string> fileDialog(const ui::FileDialogOptions& options, bool save);
  QWidget* boxParent() const;
  // Shows a box or dialog in front, keeps it there while it waits, and returns its answer.
  static int execInFront(QDialog& box);

  std::string executable_;
  std::string programFolder_;
  std::unique_ptr<audio::SoundOutput> sound_;
  QWidget* window_ = nullptr;
  std::function<void()> beforeModal_;
  std::function<void(const std::string&)> documentViewer_;
  bool quitRequested_ = false;
  // The runs of command scripts; the host waits for them when it goes.
  std::vector<std::thread> runs_;
  bool cursorOverridden_ = false;
};

// The toolkit's own texts (file dialogs, their questions, standard buttons) in Czech like the
// rest of the program, whatever language the desktop speaks.
void useCzechToolkitTexts(QApplication& qapp);

}  // namespace tervano::qt
