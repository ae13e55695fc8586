#include "skin/artwork_paint.h"

#include "skin/ui_style.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QThread>
#include <malloc.h>
#include <memory>

namespace artwork_paint {

QPixmap Canvas(int width, int height) {
  QPixmap canvas(width, height);
  canvas.fill(Qt::transparent);
  return canvas;
}

void Begin(QPainter& painter, QPixmap& canvas) {
  painter.begin(&canvas);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
}

void RaisedShape(QPainter& painter, const QRectF& rect, qreal radius, const QColor& top, const QColor& bottom,
                 const QColor& outline) {
  const QRectF inner = rect.adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient fill(inner.topLeft(), inner.bottomLeft());
  fill.setColorAt(0, top);
  fill.setColorAt(1, bottom);
  painter.setPen(QPen(outline, 1));
  painter.setBrush(fill);
  painter.drawRoundedRect(inner, radius, radius);
  // The light catches the upper edge.
  QColor shine = top.lighter(150);
  shine.setAlpha(150);
  painter.setPen(QPen(shine, 1));
  painter.setBrush(Qt::NoBrush);
  const qreal r = qMax<qreal>(0, radius - 1);
  painter.drawLine(QPointF(inner.left() + r + 1, inner.top() + 1), QPointF(inner.right() - r - 1, inner.top() + 1));
}

void SunkShape(QPainter& painter, const QRectF& rect, qreal radius, const QColor& fill) {
  const QRectF inner = rect.adjusted(0.5, 0.5, -0.5, -0.5);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 40));
  painter.drawRoundedRect(inner.translated(0, 1), radius, radius);
  painter.setBrush(fill);
  painter.setPen(QPen(fill.darker(170), 1));
  painter.drawRoundedRect(inner, radius, radius);
}

void RunApart(const std::function<void()>& work) {
  std::unique_ptr<QThread> thread(QThread::create(work));
  thread->start();
  thread->wait();
  // The thread's malloc arena keeps the pages of what it freed.
  malloc_trim(0);
}

QFont ArtFont(int pixelSize, bool bold, bool italic, bool condensed) {
  QFont font = ui_style::Face(
      {condensed ? QStringLiteral("DejaVu Sans Condensed") : QStringLiteral("DejaVu Sans"), QStringLiteral("Verdana")},
      pixelSize, bold);
  font.setItalic(italic);
  return font;
}

}  // namespace artwork_paint
