#pragma once

#include <QApplication>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "program_folder.h"
#include "qt/main_window.h"

// A mode of the program started on a small set (the main application from a saved game at grade
// 1, crossword 1) with its main window shown and fully built.
struct ProgramWindow {
  tervano::testing::Rig rig;
  std::unique_ptr<tervano::qt::MainWindow> window;
  std::vector<tervano::app::Event> events;

  explicit ProgramWindow(const std::string& mode = "",
                         const std::function<void(tervano::testing::TempProgram&)>& prepare = {}) {
    rig.dir.makeSet({3, 3, 3, 3});
    if (prepare) prepare(rig.dir);
    if (mode.empty()) rig.host.pick(rig.dir.makeSave("hra", tervano::testing::record("1", "1")));
    rig.start(mode);
    window = std::make_unique<tervano::qt::MainWindow>(*rig.app,
                                                       [this] { return rig.host.quitRequested(); });
    window->observeDispatch([this](const tervano::app::Event& e) { events.push_back(e); });
    window->sync();
    window->show();
  }
  bool shown() {
    window->activateWindow();
    // The limit only keeps a window that never activates from hanging the test.
    if (!QTest::qWaitForWindowActive(window.get(), 60000)) return false;
    window->completeBuild();
    return true;
  }
  template <typename T = QWidget>
  T* widget(const char* controlId) const {
    return qobject_cast<T*>(window->control(controlId));
  }
  int count(tervano::app::Event::Kind kind, const std::string& controlId) const {
    int n = 0;
    for (const auto& e : events)
      if (e.kind == kind && e.id == controlId) ++n;
    return n;
  }
};
