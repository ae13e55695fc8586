// The bottom row's pictures: login button, list switch and update bar.
#include <QLinearGradient>
#include <QPainterPath>
#include <QtMath>

#include "skin/artwork.h"
#include "skin/artwork_paint.h"
#include "skin/ui_style.h"

using namespace artwork_paint;

namespace {

void PowerSign(QPainter& p, const QPointF& c, qreal r) {
  p.setPen(QPen(kGlyph, 2.0, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 120 * 16, 300 * 16);
  p.drawLine(c + QPointF(0, -r - 1), c + QPointF(0, -1));
}

}  // namespace

namespace artwork {

static QPixmap PaintLoginButton(bool loggedIn) {
  QPixmap canvas = Canvas(95, 57);
  QPainter p;
  Begin(p, canvas);
  const QColor top = loggedIn ? QColor(246, 130, 86) : QColor(100, 206, 126);
  const QColor bottom = loggedIn ? QColor(164, 44, 30) : QColor(22, 118, 58);
  // Soft shadow, then the pill.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 60));
  p.drawRoundedRect(QRectF(4, 8, 88, 33), 16, 16);
  RaisedShape(p, QRectF(3, 6, 88, 33), 16, top, bottom, bottom.darker(160));
  PowerSign(p, QPointF(18.5, 22.5), 6);
  p.setPen(QColor(0, 0, 0, 90));
  p.setFont(ArtFont(12, true, false, true));
  const QRectF caption(28, 6, 60, 33);
  const QString text = loggedIn ? QStringLiteral("Abmelden") : QStringLiteral("Anmelden");
  p.drawText(caption.translated(0, 1), Qt::AlignCenter, text);
  p.setPen(kGlyph);
  p.drawText(caption, Qt::AlignCenter, text);

  // Status line below the pill; the right part stays free for a label.
  const QColor lamp = loggedIn ? QColor(40, 200, 80) : QColor(150, 160, 175);
  p.setPen(QPen(lamp.darker(150), 1));
  p.setBrush(lamp);
  p.drawEllipse(QPointF(9.5, 48.5), 3, 3);
  p.setPen(loggedIn ? QColor(20, 110, 50) : QColor(96, 108, 126));
  p.setFont(ArtFont(9));
  p.drawText(QRectF(15, 42, 40, 13), Qt::AlignLeft | Qt::AlignVCenter,
             loggedIn ? QStringLiteral("online") : QStringLiteral("offline"));
  p.end();
  return canvas;
}

QPixmap LoginButton(bool loggedIn) {
  return PaintedApart([loggedIn] { return PaintLoginButton(loggedIn); });
}

static QPixmap PaintListSwitch(bool global, bool active) {
  QPixmap canvas = Canvas(38, 9);
  QPainter p;
  Begin(p, canvas);
  if (active)
    RaisedShape(p, QRectF(0, 0, 38, 9), 4.5, kAccent.lighter(115), kSteel, kNavy);
  else
    SunkShape(p, QRectF(0, 0, 38, 9), 4.5, QColor(190, 205, 226));
  p.setFont(ArtFont(8));
  p.setPen(active ? kGlyph : QColor(92, 112, 142));
  p.drawText(QRectF(0, -1, 38, 10), Qt::AlignCenter, global ? QStringLiteral("Global") : QStringLiteral("Clan"));
  p.end();
  return canvas;
}

QPixmap ListSwitch(bool global, bool active) {
  return PaintedApart([global, active] { return PaintListSwitch(global, active); });
}

static QVector<QPixmap> PaintUpdateIndicatorFrames() {
  constexpr int kPeriod = 10;
  QVector<QPixmap> frames;
  for (int frame = 0; frame < kPeriod; ++frame) {
    QPixmap canvas = Canvas(105, 11);
    QPainter p;
    Begin(p, canvas);
    const QRectF bar(0.5, 0.5, 104, 10);
    QPainterPath outline;
    outline.addRoundedRect(bar, 5, 5);
    p.setClipPath(outline);
    p.fillRect(bar, kSteel);
    // Diagonal stripes running to the right.
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    for (int x = -2 * kPeriod + frame; x < 110; x += kPeriod) {
      QPolygonF stripe;
      stripe << QPointF(x, 11) << QPointF(x + 5, 11) << QPointF(x + 10, 0) << QPointF(x + 5, 0);
      p.drawPolygon(stripe);
    }
    p.setClipping(false);
    p.setPen(QPen(kNavy, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(bar, 5, 5);
    p.setFont(ArtFont(9));
    p.setPen(kNavyDeep);
    p.drawText(QRectF(0, 0, 105, 11).translated(0.6, 0.6), Qt::AlignCenter, QStringLiteral("Update..."));
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 105, 11), Qt::AlignCenter, QStringLiteral("Update..."));
    p.end();
    frames << canvas;
  }
  return frames;
}

QVector<QPixmap> UpdateIndicatorFrames() { return PaintedApart(PaintUpdateIndicatorFrames); }

}  // namespace artwork
