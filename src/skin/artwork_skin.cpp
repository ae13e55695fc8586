// The window's skin: title strip, header bar with the tool row, the framed
// list area and the light bottom panel; and the window icon.
#include <QLinearGradient>
#include <QPainterPath>

#include "skin/artwork.h"
#include "skin/artwork_paint.h"
#include "skin/ui_style.h"

using namespace artwork_paint;

namespace {

constexpr int kWidth = 299;
constexpr int kHeight = 399;

void Body(QPainter& p) {
  QLinearGradient body(0, 0, 0, kHeight);
  body.setColorAt(0, QColor(30, 66, 116));
  body.setColorAt(0.8, QColor(14, 34, 64));
  body.setColorAt(1, QColor(10, 26, 50));
  p.fillRect(0, 0, kWidth, kHeight, body);
  p.setPen(kOutline);
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1));
  p.setPen(QColor(110, 160, 220, 110));
  p.drawRect(QRectF(1.5, 1.5, kWidth - 3, kHeight - 3));
}

void TitleStrip(QPainter& p) {
  const QRectF strip(2, 2, kWidth - 4, 20);
  QLinearGradient shade(strip.topLeft(), strip.bottomLeft());
  shade.setColorAt(0, QColor(86, 150, 220));
  shade.setColorAt(0.5, QColor(40, 94, 160));
  shade.setColorAt(1, QColor(22, 54, 98));
  p.fillRect(strip, shade);
  p.setPen(kOutline);
  p.drawLine(QPointF(2, 22.5), QPointF(kWidth - 2, 22.5));

  // A small emblem, then the product name.
  p.setPen(QPen(kGlyph, 1.8));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(13, 11.5), 5, 5);
  p.drawLine(QPointF(15.5, 14), QPointF(19, 17.5));
  p.setFont(ArtFont(15, true, true));
  p.setPen(QColor(0, 0, 0, 110));
  p.drawText(QRectF(24, 3, 100, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quavik"));
  p.setPen(Qt::white);
  p.drawText(QRectF(23, 2, 100, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quavik"));
  p.setFont(ArtFont(9, true));
  p.setPen(ui_style::kHeading);
  p.drawText(QRectF(85, 4, 40, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("RC5"));
  p.setFont(ArtFont(9, false, true));
  p.setPen(QColor(200, 225, 250, 200));
  p.drawText(QRectF(130, 4, 125, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Clan-Onlinemonitor"));
}

void HeaderBar(QPainter& p) {
  SunkShape(p, QRectF(8, 25, 283, 21), 4, kNavyDeep);
  // A faint divider between the player name and the tool row.
  p.setPen(QColor(255, 255, 255, 40));
  p.drawLine(QPointF(163.5, 28), QPointF(163.5, 43));
}

void ListFrame(QPainter& p) {
  const QRectF frame(8, 46, 283, 299);
  p.setPen(QPen(kOutline, 1));
  p.setBrush(kSteel);
  p.drawRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
  p.fillRect(QRectF(10, 48, 279, 295), ui_style::kListBackground);
  p.setPen(QColor(255, 255, 255, 90));
  p.drawLine(QPointF(10, 344.5), QPointF(289, 344.5));
}

void BottomPanel(QPainter& p) {
  RaisedShape(p, QRectF(3, 346, kWidth - 6, 50), 6, QColor(224, 236, 250), QColor(172, 194, 224), kOutline);
  // The groove of the update bar and the holder of the list switch.
  SunkShape(p, QRectF(99, 345, 105, 11), 5, QColor(196, 212, 234));
  SunkShape(p, QRectF(202, 344, 84, 13), 6, QColor(160, 180, 208));
  // The home page link, as text of the skin.
  p.setFont(ArtFont(9, true));
  p.setPen(ui_style::kListText);
  p.drawText(QRectF(142, 364, 138, 12), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("» www.quavik.de"));
}

}  // namespace

namespace artwork {

static QPixmap PaintSkin() {
  QPixmap canvas(kWidth, kHeight);
  canvas.fill(kNavy);
  QPainter p;
  Begin(p, canvas);
  Body(p);
  TitleStrip(p);
  HeaderBar(p);
  ListFrame(p);
  BottomPanel(p);
  p.end();
  return canvas;
}

QPixmap Skin() { return PaintedApart(PaintSkin); }

namespace {

// The icon's magnifier on a raised body of the given colours.
QPixmap IconPicture(int size, const QColor& top, const QColor& bottom) {
  QPixmap canvas = Canvas(size, size);
  QPainter p;
  Begin(p, canvas);
  const qreal s = size / 32.0;
  RaisedShape(p, QRectF(0, 0, size, size), 6 * s, top, bottom);
  p.setPen(QPen(kGlyph, 3.2 * s));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(15 * s, 15 * s), 8 * s, 8 * s);
  p.drawLine(QPointF(19.5 * s, 19.5 * s), QPointF(26 * s, 26 * s));
  p.end();
  return canvas;
}

}  // namespace

QPixmap AppIcon(int size) { return IconPicture(size, kAccent, kNavy); }

QIcon StatusIcon(bool loggedIn) {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64}) {
    icon.addPixmap(loggedIn ? IconPicture(size, QColor(96, 200, 88), QColor(22, 96, 34))
                            : IconPicture(size, QColor(168, 174, 182), QColor(70, 76, 86)));
  }
  return icon;
}

QIcon WindowIcon() {
  QIcon icon;
  for (int size : {16, 32, 48}) icon.addPixmap(AppIcon(size));
  return icon;
}

}  // namespace artwork
