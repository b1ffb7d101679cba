#pragma once

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <cstdio>
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

// For the start-up benchmark: prints the monotonic clock ("first-paint <ns>") and ends the
// program. Header-only, so the benchmark's bare window uses the very same measurement.
inline void reportFirstPaintAndQuit() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::printf("first-paint %lld\n",
              static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
  std::fflush(stdout);
  QApplication::quit();
}

}  // namespace tervano::qt
