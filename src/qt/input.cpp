#include "qt/input.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace tervano::qt {

InputRouter::InputRouter(Binder& binder, Dispatch dispatch, QObject* parent)
    : QObject(parent), binder_(binder), dispatch_(std::move(dispatch)) {
  qApp->installEventFilter(this);
}

void InputRouter::addWindow(QWidget* window) {
  windows_.insert(window);
  // Without tracking, a window hears of the pointer only while a button is down.
  window->setMouseTracking(true);
}

void InputRouter::pointerAt(QWidget* window, const QPointF& globalPos, bool move) {
  // A disabled window (the main window under the help) hears nothing, as it takes no input.
  if (paused_ || !window->isEnabled()) return;
  QWidget* under = window->childAt(window->mapFromGlobal(globalPos.toPoint()));
  if (!under) under = window;
  const std::string* id = binder_.idAt(under);
  if (!id) {
    hovered_.clear();
    return;
  }
  bool report = *id != hovered_;
  // One movement reaches every tracking parent as a copy at the same place, and the entry into
  // a widget comes with a movement to the same place as well.
  const bool newPlace = globalPos != lastPos_;
  lastPos_ = globalPos;
  if (!report && move && newPlace && everyMoveIds_.count(*id)) report = true;
  if (!report) return;
  hovered_ = *id;
  dispatch_({app::Event::Kind::Hover, *id});
}

bool InputRouter::handleMouse(QWidget* w, QEvent* event) {
  auto* me = static_cast<QMouseEvent*>(event);
  QWidget* window = w->window();
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      if (me->button() != Qt::LeftButton) return false;
      if (const std::string* id = binder_.idAt(w); id && pressIds_.count(*id))
        dispatch_({app::Event::Kind::Press, *id});
      // Only the background itself drags: a press on a control inside may reach the background
      // when the control leaves it unhandled.
      QWidget* under = window->childAt(window->mapFromGlobal(me->globalPosition().toPoint()));
      if (dragHandles_.contains(w) && (under == w || (!under && w == window))) {
        QWindow* handle = window->windowHandle();
        if (handle && handle->startSystemMove()) return true;
        dragging_ = window;
        dragOffset_ = me->globalPosition().toPoint() - window->frameGeometry().topLeft();
        return true;
      }
      return false;
    }
    case QEvent::MouseMove:
      if (dragging_ && (me->buttons() & Qt::LeftButton)) {
        dragging_->move(me->globalPosition().toPoint() - dragOffset_);
        return true;
      }
      pointerAt(window, me->globalPosition(), true);
      return false;
    case QEvent::MouseButtonRelease:
      if (dragging_) {
        dragging_ = nullptr;
        return true;
      }
      return false;
    case QEvent::MouseButtonDblClick:
      if (const std::string* id = binder_.idAt(w); id && doubleClickIds_.count(*id)) {
        dispatch_({app::Event::Kind::DoubleClick, *id});
        return true;
      }
      return false;
    default:
      return false;
  }
}

bool InputRouter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      break;
    default:
      return false;
  }
  if (!watched->isWidgetType()) return false;
  auto* w = static_cast<QWidget*>(watched);
  if (!windows_.contains(w->window())) return false;
  if (event->type() == QEvent::Enter) {
    auto* enter = static_cast<QEnterEvent*>(event);
    pointerAt(w->window(), enter->globalPosition(), false);
    return false;
  }
  if (event->type() == QEvent::Leave) {
    // Coming back into the window reports the control again.
    if (w->isWindow()) hovered_.clear();
    return false;
  }
  return handleMouse(w, event);
}

}  // namespace tervano::qt
