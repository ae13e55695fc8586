#include "ui/image_control.h"

#include <QMouseEvent>

TImage::TImage(QWidget* parent) : QLabel(parent) {
  setAutoFillBackground(false);
}

void TImage::SetHandCursor() { setCursor(Qt::PointingHandCursor); }

void TImage::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
  event->accept();
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
  const bool wasPressed = pressed_ && event->button() == Qt::LeftButton;
  if (event->button() == Qt::LeftButton) pressed_ = false;
  event->accept();
  if (wasPressed && rect().contains(event->position().toPoint())) emit clicked();
}

void TImage::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click raises no click of its own.
  event->accept();
  if (event->button() == Qt::LeftButton) emit doubleClicked();
}
