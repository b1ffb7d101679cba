#pragma once

#include <QAccessible>
#include <QWidget>
#include <utility>

#include "qt/main_window.h"

namespace tervano::testing {

// The name a screen reader reads for the widget.
inline QString accessibleName(QWidget* w) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
  return a ? a->text(QAccessible::Name) : QString();
}

// A rig's program in its real main window, every screen built and the window shown.
template <typename Rig>
struct RigWindow {
  Rig rig;
  qt::MainWindow window{*rig.app, [] { return false; }};
  RigWindow() {
    window.completeBuild();
    window.show();
  }
  QWidget* w(const char* control) { return window.control(control); }
  void send(app::Event e) { window.dispatch(std::move(e)); }
};

}  // namespace tervano::testing
