#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/application.h"
#include "qt/binder.h"
#include "qt/forms.h"
#include "qt/input.h"
#include "qt/screens.h"

class QTimer;

namespace tervano::qt {

class HelpWindow;
class AboutWindow;
class ChooserWindow;
class DocumentViewer;

// The main window: frameless and black, 598 x 543, with the play screen under the menu screen.
// It draws the Controls model, owns the other windows and hands every input to the application.
class MainWindow : public QWidget {
 public:
  // quitRequested tells whether the application asked to end the program.
  MainWindow(app::Application& app, std::function<bool()> quitRequested);
  ~MainWindow() override;

  // Brings every widget and timer up to date with the model.
  void sync();
  // The same before a modal box or dialog; a window not shown yet builds nothing for it.
  void syncBeforeModal();
  // Runs an input through the application, then redraws and ends the program if asked to.
  void dispatch(const app::Event& event);
  // Shows a document (the external help file) in a window of our own.
  void openDocument(const std::string& path);
  // Builds every screen and window now; normally the hidden ones follow the first paint.
  void completeBuild();

  // The widget that shows a control, for tests and tools.
  QWidget* control(std::string_view id) const { return binder_.widget(id); }
  HelpWindow* helpWindow() const { return help_.get(); }
  AboutWindow* aboutWindow() const { return about_.get(); }
  ChooserWindow* chooserWindow() const { return chooser_.get(); }
  QWidget* playScreen() const { return layers_.front().widget; }
  // Every control the view shows, for the check that it shows what the model declares.
  std::vector<std::string> boundControls() const { return binder_.ids(); }
  // Runs once the window's first paint has reached the screen.
  void onFirstPaint(std::function<void()> action) { firstPaint_ = std::move(action); }
  // Sees every event before the application does (tests record them).
  void observeDispatch(std::function<void(const app::Event&)> observer) {
    observer_ = std::move(observer);
  }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // One screen of the window, in the order they stack from the bottom. A screen with a control
  // is there when the model declares that control, and is needed when the model shows it; the
  // play screen (no control) is needed when nothing above covers the window.
  struct Layer {
    const char* control;
    QWidget* (*build)(ScreenKit&, QWidget*);
    QWidget* widget = nullptr;
  };
  bool needed(const Layer& layer) const;
  bool present(const Layer& layer) const;
  bool allBuilt() const;
  void painted();
  void ensureBuilt();
  void buildSideWindows();
  void restack();
  void buildShortcuts();
  void bindWindow();
  void syncTimers();
  void quitIfRequested();

  app::Application& app_;
  std::function<bool()> quitRequested_;
  std::function<void(const app::Event&)> observer_;
  std::function<void()> firstPaint_;
  Binder binder_;
  Forms forms_;
  InputRouter* router_ = nullptr;
  std::unique_ptr<ScreenKit> kit_;
  std::vector<Layer> layers_;
  std::unique_ptr<HelpWindow> help_;
  std::unique_ptr<AboutWindow> about_;
  std::unique_ptr<ChooserWindow> chooser_;
  std::unique_ptr<DocumentViewer> viewer_;
  struct Mirror {
    QTimer* timer;
    std::uint64_t generation;
    int interval;
  };
  std::map<std::string, Mirror, std::less<>> timers_;
  int depth_ = 0;
  bool closing_ = false;
  bool restScheduled_ = false;
  bool destroying_ = false;
};

}  // namespace tervano::qt
