#pragma once

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <utility>

namespace tervano::qt {

// Installed on a window, runs an action once its first paint has reached the screen.
class OnFirstPaint : public QObject {
 public:
  explicit OnFirstPaint(std::function<void()> action) : action_(std::move(action)) {}

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::Paint || done_) return false;
    done_ = true;
    QTimer::singleShot(0, this, [this] { action_(); });
    return false;
  }

 private:
  std::function<void()> action_;
  bool done_ = false;
};

// For the start-up benchmark: prints the monotonic clock ("first-paint <ns>"). Header-only, so
// the benchmark's bare window uses the very same measurement.
inline void reportFirstPaint() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::printf("first-paint %lld\n",
              static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
  std::fflush(stdout);
}

inline void reportFirstPaintAndQuit() {
  reportFirstPaint();
  QApplication::quit();
}

// The first window may be a modal box or dialog whose command insists on an answer: the program
// ends at once instead of quitting its event loops.
inline void reportFirstPaintAndExit() {
  reportFirstPaint();
  std::_Exit(0);
}

}  // namespace tervano::qt
