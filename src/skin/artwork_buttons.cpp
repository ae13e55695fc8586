// The small image buttons: the tool row at the top, minimise and close, and
// the folder button of the setup panel.
#include <QPainterPath>
#include <QtMath>
#include <functional>

#include "skin/artwork.h"
#include "skin/artwork_paint.h"

using namespace artwork_paint;

namespace {

using Glyph = std::function<void(QPainter&, const QRectF&)>;

// A button of the tool row: raised steel face, white glyph.
QPixmap ToolButton(int width, int height, const Glyph& glyph, bool enabled = true,
                   const QColor& top = kSteel.lighter(115), const QColor& bottom = kNavy) {
  QPixmap canvas = Canvas(width, height);
  QPainter p;
  Begin(p, canvas);
  const QRectF face(0, 0, width, height);
  if (enabled)
    RaisedShape(p, face, 3, top, bottom);
  else
    RaisedShape(p, face, 3, QColor(64, 78, 98), QColor(38, 48, 64));
  QColor ink = enabled ? kGlyph : QColor(120, 134, 154);
  p.setPen(QPen(ink, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  glyph(p, face);
  p.end();
  return canvas;
}

void Globe(QPainter& p, const QRectF& r) {
  const QPointF c = r.center();
  p.drawEllipse(c, 4.6, 4.6);
  p.drawEllipse(c, 2.0, 4.6);
  p.drawLine(QPointF(c.x() - 4.6, c.y()), QPointF(c.x() + 4.6, c.y()));
}

void News(QPainter& p, const QRectF& r) {
  const QRectF sheet(r.center().x() - 4, 2.5, 8, 10);
  p.drawRect(sheet);
  p.setPen(QPen(p.pen().color(), 1));
  for (qreal y = 5; y <= 10; y += 2.5) p.drawLine(QPointF(sheet.left() + 2, y), QPointF(sheet.right() - 2, y));
}

void Reload(QPainter& p, const QRectF& r) {
  const QPointF c = r.center();
  const QRectF ring(c.x() - 4.2, c.y() - 4.2, 8.4, 8.4);
  p.drawArc(ring, 60 * 16, 280 * 16);
  // Arrow head at the open end of the ring.
  const qreal a = qDegreesToRadians(60.0);
  const QPointF tip(c.x() + 4.2 * qCos(a), c.y() - 4.2 * qSin(a));
  QPainterPath head;
  head.moveTo(tip + QPointF(-3.2, -1.0));
  head.lineTo(tip + QPointF(0.8, -0.6));
  head.lineTo(tip + QPointF(0.2, 3.2));
  p.setBrush(p.pen().color());
  p.drawPath(head);
}

void Gear(QPainter& p, const QRectF& r) {
  const QPointF c = r.center();
  const QPen ink = p.pen();
  p.setPen(QPen(ink.color(), 1.8, Qt::SolidLine, Qt::FlatCap));
  for (int i = 0; i < 8; ++i) {
    const qreal a = qDegreesToRadians(i * 45.0);
    p.drawLine(c + QPointF(3.0 * qCos(a), 3.0 * qSin(a)), c + QPointF(5.3 * qCos(a), 5.3 * qSin(a)));
  }
  p.setPen(QPen(ink.color(), 1.6));
  p.drawEllipse(c, 3.0, 3.0);
}

void StartGame(QPainter& p, const QRectF& r) {
  QPainterPath play;
  play.moveTo(6, 3.5);
  play.lineTo(12.5, 7.5);
  play.lineTo(6, 11.5);
  play.closeSubpath();
  p.setBrush(p.pen().color());
  p.drawPath(play);
  p.setFont(ArtFont(9));
  p.drawText(QRectF(13, 0, r.width() - 14, r.height()), Qt::AlignCenter, QStringLiteral("Start"));
}

}  // namespace

namespace artwork {

QPixmap ClanSiteButton() { return ToolButton(21, 15, Globe); }
QPixmap NewsButton() { return ToolButton(19, 15, News); }
QPixmap ReloadButton(bool enabled) { return ToolButton(20, 15, Reload, enabled); }
QPixmap SetupButton() { return ToolButton(19, 15, Gear); }
QPixmap StartGameButton() {
  return PaintedApart([] { return ToolButton(41, 15, StartGame, true, QColor(86, 196, 110), QColor(22, 104, 52)); });
}

QPixmap MinimizeGlyph() {
  return ToolButton(12, 12, [](QPainter& p, const QRectF&) {
    p.setPen(QPen(kGlyph, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.2, 8.2), QPointF(8.8, 8.2));
  });
}

QPixmap CloseGlyph() {
  return ToolButton(
      12, 12,
      [](QPainter& p, const QRectF&) {
        p.setPen(QPen(kGlyph, 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, 3.5), QPointF(8.5, 8.5));
        p.drawLine(QPointF(8.5, 3.5), QPointF(3.5, 8.5));
      },
      true, QColor(230, 96, 80), QColor(150, 34, 28));
}

QPixmap FolderGlyph() {
  QPixmap canvas = Canvas(16, 14);
  QPainter p;
  Begin(p, canvas);
  QPainterPath back;
  back.moveTo(1.5, 2.5);
  back.lineTo(6, 2.5);
  back.lineTo(7.5, 4);
  back.lineTo(14.5, 4);
  back.lineTo(14.5, 12.5);
  back.lineTo(1.5, 12.5);
  back.closeSubpath();
  p.setPen(QPen(QColor(150, 110, 20), 1));
  p.setBrush(QColor(240, 196, 80));
  p.drawPath(back);
  QPainterPath front;
  front.moveTo(1.5, 12.5);
  front.lineTo(3.5, 6.5);
  front.lineTo(15.5, 6.5);
  front.lineTo(14.5, 12.5);
  front.closeSubpath();
  p.setBrush(QColor(255, 222, 120));
  p.drawPath(front);
  p.end();
  return canvas;
}

}  // namespace artwork
