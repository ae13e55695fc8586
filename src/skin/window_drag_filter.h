// WindowDragFilter moves a top-level window when one of the watched widgets
// is dragged with the left button. A press alone does nothing to the window,
// so clicks and double clicks still reach the widget; once the pointer has
// travelled QApplication::startDragDistance() with the left button held, the
// move is handed to the window manager (QWindow::startSystemMove). Where the
// window manager cannot take it, the window follows the pointer itself until
// the button is released. Other buttons never move the window.
#pragma once
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>

class QMouseEvent;
class QWidget;

class WindowDragFilter : public QObject {
  Q_OBJECT

 public:
  // Asks the window manager to move `window`; false when it cannot.
  using StartMove = std::function<bool(QWidget* window)>;

  explicit WindowDragFilter(QObject* parent = nullptr);

  // Watches `widget` (for a scroll area, its viewport) from now on.
  void Watch(QWidget* widget);

  // Replaces the system move, e.g. to observe it in a test.
  void SetStartMove(StartMove startMove) { startMove_ = std::move(startMove); }

  static bool SystemMove(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Press(QWidget* widget, QMouseEvent* event);
  bool Move(QMouseEvent* event);
  void Reset();

  StartMove startMove_;
  QPointer<QWidget> window_;   // set while the left button is down on a watched widget
  QPoint pressGlobal_;
  QPoint windowAtPress_;
  bool following_ = false;     // the window follows the pointer itself
  bool handedOver_ = false;    // the window manager has taken the move
};
