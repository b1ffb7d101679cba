// The yardstick of the start-up benchmark: a bare Qt window of the main window's size that, like
// tervano-hra with TERVANO_REPORT_FIRST_PAINT set, prints the monotonic clock at its first paint
// and ends. Without that variable it stays open, for measuring its memory beside the program's.
#include <QApplication>
#include <QWidget>
#include <cstdlib>

#include "qt/first_paint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // As plain as a window gets: the size of the program's main window, shown, nothing else.
  QWidget w;
  w.setFixedSize(598, 543);
  tervano::qt::OnFirstPaint report(tervano::qt::reportFirstPaintAndQuit);
  if (std::getenv("TERVANO_REPORT_FIRST_PAINT")) w.installEventFilter(&report);
  w.show();
  return QApplication::exec();
}
