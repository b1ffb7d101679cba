#pragma once

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace tervano::qt {

// For the start-up benchmark: installed on a window, its first paint prints the monotonic clock
// ("first-paint <ns>") once the paint has reached the screen, and ends the program. Header-only,
// so the benchmark's bare window uses the very same measurement.
class FirstPaintReport : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::Paint || done_) return false;
    done_ = true;
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

}  // namespace tervano::qt
