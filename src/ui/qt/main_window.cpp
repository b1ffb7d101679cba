#include "ui/qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>

#include "ui/ids.h"

namespace tervano::qt {

MainWindow::MainWindow(app::Application& app, QtHost& host) : app_(app), host_(host) {
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setFixedSize(598, 543);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::black);
  setPalette(p);
  host_.setWindow(this, [this] { sync(); });
  sync();
}

void MainWindow::sync() {
  const auto& c = app_.controls();
  setWindowTitle(QString::fromStdString(c.text(id::kWindowTitle)));
  setEnabled(c.enabled(id::kMainWindow));
}

void MainWindow::dispatch(const app::Event& event) {
  app_.dispatch(event);
  sync();
  quitIfRequested();
}

void MainWindow::quitIfRequested() {
  if (!host_.quitRequested() || closing_) return;
  closing_ = true;
  close();
  QApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->accept();
    return;
  }
  event->ignore();
  dispatch({app::Event::Kind::CloseRequest});
}

}  // namespace tervano::qt
