#include "skin/window_drag_filter.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WindowDragFilter::WindowDragFilter(QObject* parent)
    : QObject(parent), startMove_(&WindowDragFilter::SystemMove) {}

bool WindowDragFilter::SystemMove(QWidget* window) {
  QWindow* handle = window ? window->windowHandle() : nullptr;
  return handle && handle->startSystemMove();
}

void WindowDragFilter::Watch(QWidget* widget) {
  if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) widget = area->viewport();
  widget->installEventFilter(this);
}

bool WindowDragFilter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      Press(qobject_cast<QWidget*>(watched), static_cast<QMouseEvent*>(event));
      break;
    case QEvent::MouseMove:
      return Move(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const bool swallow = following_ || handedOver_;
        Reset();
        return swallow;
      }
      break;
    default:
      break;
  }
  return false;
}

void WindowDragFilter::Press(QWidget* widget, QMouseEvent* event) {
  Reset();
  if (!widget || event->button() != Qt::LeftButton) return;
  window_ = widget->window();
  pressGlobal_ = event->globalPosition().toPoint();
  windowAtPress_ = window_->pos();
}

bool WindowDragFilter::Move(QMouseEvent* event) {
  if (!window_ || !(event->buttons() & Qt::LeftButton)) {
    Reset();
    return false;
  }
  if (handedOver_) return true;
  const QPoint delta = event->globalPosition().toPoint() - pressGlobal_;
  if (following_) {
    window_->move(windowAtPress_ + delta);
    return true;
  }
  if (delta.manhattanLength() < QApplication::startDragDistance()) return false;
  if (startMove_ && startMove_(window_))
    handedOver_ = true;
  else
    following_ = true;
  if (following_) window_->move(windowAtPress_ + delta);
  return true;
}

void WindowDragFilter::Reset() {
  window_ = nullptr;
  following_ = false;
  handedOver_ = false;
}
