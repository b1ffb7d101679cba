#pragma once

#include <QWidget>

#include "app/application.h"
#include "ui/qt/qt_host.h"

namespace tervano::qt {

// The main window: frameless and black, 598 x 543. It draws the Controls model and hands every
// input to the application.
class MainWindow : public QWidget {
  Q_OBJECT
 public:
  MainWindow(app::Application& app, QtHost& host);

  // Brings every widget up to date with the model.
  void sync();
  // Runs an input through the application, then redraws and ends the program if asked to.
  void dispatch(const app::Event& event);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void quitIfRequested();

  app::Application& app_;
  QtHost& host_;
  bool closing_ = false;
};

}  // namespace tervano::qt
