#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <QSet>
#include <functional>
#include <set>
#include <string>

#include "app/event.h"
#include "qt/binder.h"

class QWidget;

namespace tervano::qt {

// Turns what the pointer does in the program's windows into events of the application: the
// control under the pointer (Hover, whenever it changes; on every move for the controls that ask
// for it), presses on the category buttons, double clicks on text areas, and dragging a frameless
// window by its background.
class InputRouter : public QObject {
 public:
  using Dispatch = std::function<void(const app::Event&)>;
  InputRouter(Binder& binder, Dispatch dispatch, QObject* parent = nullptr);

  void addWindow(QWidget* window);
  // Controls that report a mouse press (as well as their hover).
  void reportPress(std::string id) { pressIds_.insert(std::move(id)); }
  // Controls that report a hover on every movement of the pointer over them.
  void reportEveryMove(std::string id) { everyMoveIds_.insert(std::move(id)); }
  void reportDoubleClick(std::string id) { doubleClickIds_.insert(std::move(id)); }
  // Widgets whose background drags their window.
  void addDragHandle(QWidget* widget) { dragHandles_.insert(widget); }

  // While paused (the window builds its widgets) the pointer is not reported.
  void pause(bool on) { paused_ += on ? 1 : -1; }

  // The control last reported under the pointer ("" for none).
  const std::string& hovered() const { return hovered_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void pointerAt(QWidget* window, const QPointF& globalPos, bool move);
  bool handleMouse(QWidget* w, QEvent* event);

  Binder& binder_;
  Dispatch dispatch_;
  QSet<QWidget*> windows_;
  QSet<QWidget*> dragHandles_;
  std::set<std::string, std::less<>> pressIds_;
  std::set<std::string, std::less<>> everyMoveIds_;
  std::set<std::string, std::less<>> doubleClickIds_;
  std::string hovered_;
  int paused_ = 0;
  QPointF lastPos_;
  QPointer<QWidget> dragging_;
  QPoint dragOffset_;
};

}  // namespace tervano::qt
