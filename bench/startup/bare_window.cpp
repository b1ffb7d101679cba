// The yardstick of the start-up benchmark: a bare Qt window of the main window's size that, like
// tervano-hra with TERVANO_REPORT_FIRST_PAINT set, prints the monotonic clock at its first paint
// and ends.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace {

class Window : public QWidget {
 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::Paint && !reported_) {
      reported_ = true;
      QTimer::singleShot(0, [] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("first-paint %lld\n",
                    static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fflush(stdout);
        QApplication::quit();
      });
    }
    return QWidget::event(e);
  }

 private:
  bool reported_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Window w;
  w.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  w.setFixedSize(598, 543);
  QPalette p = w.palette();
  p.setColor(QPalette::Window, Qt::black);
  w.setPalette(p);
  w.setAutoFillBackground(true);
  w.show();
  return QApplication::exec();
}
