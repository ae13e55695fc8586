#include "transfer/internal/transfer_animation.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

TransferAnimation::TransferAnimation(QWidget* parent) : QWidget(parent) {
  timer_.setInterval(60);
  connect(&timer_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % kFrames;
    update();
  });
}

void TransferAnimation::SetClip(TransferClip clip) {
  clip_ = clip;
  frame_ = 0;
  update();
}

void TransferAnimation::Play() { timer_.start(); }

void TransferAnimation::Stop() {
  timer_.stop();
  update();
}

void TransferAnimation::PaintGlobe(QPainter& p, const QRectF& box) const {
  p.setPen(QPen(QColor(20, 60, 120), 1.5));
  p.setBrush(QColor(90, 150, 220));
  p.drawEllipse(box);
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
  p.drawEllipse(box.adjusted(box.width() * 0.3, 0, -box.width() * 0.3, 0));
  p.drawLine(QPointF(box.center().x(), box.top()), QPointF(box.center().x(), box.bottom()));
}

void TransferAnimation::PaintFolder(QPainter& p, const QRectF& box) const {
  QPainterPath tab;
  tab.addRoundedRect(QRectF(box.left(), box.top(), box.width() * 0.45, box.height() * 0.3), 2, 2);
  p.setPen(QPen(QColor(140, 100, 20), 1.5));
  p.setBrush(QColor(240, 200, 90));
  p.drawPath(tab);
  p.drawRoundedRect(QRectF(box.left(), box.top() + box.height() * 0.15, box.width(), box.height() * 0.85), 3, 3);
}

void TransferAnimation::PaintSheet(QPainter& p, const QPointF& centre) const {
  const QRectF sheet(centre.x() - 8, centre.y() - 10, 16, 20);
  p.setPen(QPen(QColor(80, 80, 80), 1));
  p.setBrush(Qt::white);
  p.drawRect(sheet);
  for (int line = 0; line < 3; ++line)
    p.drawLine(QPointF(sheet.left() + 3, sheet.top() + 5 + line * 4), QPointF(sheet.right() - 3, sheet.top() + 5 + line * 4));
}

void TransferAnimation::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal h = height();
  const QRectF left(8, h * 0.2, h * 0.7, h * 0.6);
  const QRectF right(width() - 8 - h * 0.7, h * 0.2, h * 0.7, h * 0.6);
  if (clip_ == TransferClip::Download) {
    PaintGlobe(p, left);
    PaintFolder(p, right);
  } else if (clip_ == TransferClip::Upload) {
    PaintFolder(p, left);
    PaintGlobe(p, right);
  } else {
    PaintFolder(p, left);
    PaintFolder(p, right);
  }
  // The sheet flies on an arc from the left picture to the right one.
  const qreal t = static_cast<qreal>(frame_) / (kFrames - 1);
  const qreal x0 = left.right() + 10;
  const qreal x1 = right.left() - 10;
  const QPointF at(x0 + (x1 - x0) * t, h * 0.55 - std::sin(t * M_PI) * h * 0.3);
  PaintSheet(p, at);
}
