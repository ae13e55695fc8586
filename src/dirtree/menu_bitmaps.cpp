#include "dirtree/menu_bitmaps.h"

#include <QPainter>
#include <QPainterPath>

namespace dirtree {
namespace {

constexpr int kSize = 28;
const QColor kFolderLine(150, 110, 20);
const QColor kFolderBack(240, 196, 80);
const QColor kFolderFront(255, 222, 120);
const QColor kGreen(40, 160, 60);
const QColor kRed(200, 40, 40);
const QColor kBlue(40, 90, 190);
const QColor kSteel(110, 120, 135);

QPixmap Canvas() {
  QPixmap canvas(kSize, kSize);
  canvas.fill(Qt::transparent);
  return canvas;
}

// A closed folder in the rectangle x, y, w, h.
void Folder(QPainter& p, qreal x, qreal y, qreal w, qreal h) {
  QPainterPath back;
  back.moveTo(x, y);
  back.lineTo(x + w * 0.38, y);
  back.lineTo(x + w * 0.48, y + h * 0.14);
  back.lineTo(x + w, y + h * 0.14);
  back.lineTo(x + w, y + h);
  back.lineTo(x, y + h);
  back.closeSubpath();
  p.setPen(QPen(kFolderLine, 1));
  p.setBrush(kFolderBack);
  p.drawPath(back);
  QPainterPath front;
  front.moveTo(x, y + h);
  front.lineTo(x + w * 0.12, y + h * 0.34);
  front.lineTo(x + w + 1, y + h * 0.34);
  front.lineTo(x + w, y + h);
  front.closeSubpath();
  p.setBrush(kFolderFront);
  p.drawPath(front);
}

// A sheet of paper with text lines.
void Page(QPainter& p, qreal x, qreal y, qreal w, qreal h) {
  QPainterPath sheet;
  const qreal fold = w * 0.3;
  sheet.moveTo(x, y);
  sheet.lineTo(x + w - fold, y);
  sheet.lineTo(x + w, y + fold);
  sheet.lineTo(x + w, y + h);
  sheet.lineTo(x, y + h);
  sheet.closeSubpath();
  p.setPen(QPen(QColor(90, 90, 100), 1));
  p.setBrush(Qt::white);
  p.drawPath(sheet);
  p.setPen(QPen(QColor(150, 160, 185), 1));
  for (qreal ly = y + fold + 2; ly < y + h - 2; ly += 3) p.drawLine(QPointF(x + 2.5, ly), QPointF(x + w - 2.5, ly));
}

// A hard disk seen from the front, with its light.
void Disk(QPainter& p, qreal x, qreal y, qreal w, qreal h) {
  p.setPen(QPen(QColor(70, 75, 85), 1));
  QLinearGradient shade(x, y, x, y + h);
  shade.setColorAt(0, QColor(215, 220, 228));
  shade.setColorAt(1, QColor(150, 158, 170));
  p.setBrush(shade);
  p.drawRoundedRect(QRectF(x, y, w, h), 2, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen.lighter(130));
  p.drawRect(QRectF(x + w - 5, y + h - 4, 3, 2));
}

// A round badge with a white sign: '+', 'x' or 'i'.
void Badge(QPainter& p, qreal cx, qreal cy, qreal r, const QColor& colour, char sign) {
  p.setPen(QPen(colour.darker(140), 1));
  p.setBrush(colour);
  p.drawEllipse(QPointF(cx, cy), r, r);
  p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
  const qreal a = r * 0.5;
  if (sign == '+') {
    p.drawLine(QPointF(cx - a, cy), QPointF(cx + a, cy));
    p.drawLine(QPointF(cx, cy - a), QPointF(cx, cy + a));
  } else if (sign == 'x') {
    p.drawLine(QPointF(cx - a, cy - a), QPointF(cx + a, cy + a));
    p.drawLine(QPointF(cx - a, cy + a), QPointF(cx + a, cy - a));
  } else {
    p.drawPoint(QPointF(cx, cy - a));
    p.drawLine(QPointF(cx, cy - a * 0.1), QPointF(cx, cy + a));
  }
}

void Pencil(QPainter& p) {
  p.save();
  p.translate(19, 15);
  p.rotate(-45);
  p.setPen(QPen(QColor(60, 60, 60), 1));
  p.setBrush(QColor(60, 110, 200));
  p.drawRect(QRectF(-2.5, -9, 5, 12));
  p.setBrush(QColor(230, 190, 140));
  QPainterPath tip;
  tip.moveTo(-2.5, 3);
  tip.lineTo(2.5, 3);
  tip.lineTo(0, 8);
  tip.closeSubpath();
  p.drawPath(tip);
  p.setBrush(QColor(230, 120, 140));
  p.drawRect(QRectF(-2.5, -11, 5, 2));
  p.restore();
}

void Scissors(QPainter& p) {
  p.setPen(QPen(kSteel, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(8, 3), QPointF(18, 19));
  p.drawLine(QPointF(20, 3), QPointF(10, 19));
  p.setPen(QPen(kRed, 2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(8, 22), 4, 3.5);
  p.drawEllipse(QPointF(20, 22), 4, 3.5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 60, 60));
  p.drawEllipse(QPointF(14, 12.6), 1.3, 1.3);
}

void Clipboard(QPainter& p) {
  p.setPen(QPen(QColor(110, 70, 30), 1));
  p.setBrush(QColor(180, 120, 60));
  p.drawRoundedRect(QRectF(4.5, 4.5, 16, 21), 2, 2);
  p.setPen(QPen(QColor(70, 70, 80), 1));
  p.setBrush(QColor(200, 205, 215));
  p.drawRoundedRect(QRectF(8.5, 2.5, 8, 4), 1.5, 1.5);
  Page(p, 12.5, 10.5, 13, 16);
}

void Tree(QPainter& p) {
  p.setPen(QPen(QColor(90, 90, 90), 1, Qt::DotLine));
  p.drawLine(QPointF(6.5, 8), QPointF(6.5, 22.5));
  p.drawLine(QPointF(6.5, 14.5), QPointF(11, 14.5));
  p.drawLine(QPointF(6.5, 22.5), QPointF(11, 22.5));
  Folder(p, 2.5, 2.5, 9, 6);
  Folder(p, 11.5, 11.5, 7, 5);
  Folder(p, 11.5, 19.5, 7, 5);
  // The size gauge: three rising bars.
  p.setPen(QPen(kBlue.darker(130), 1));
  p.setBrush(kBlue);
  p.drawRect(QRectF(20.5, 18.5, 2, 6));
  p.drawRect(QRectF(23.5, 13.5, 2, 11));
  p.setBrush(kBlue.lighter(140));
  p.drawRect(QRectF(17.5, 3.5, 8, 6));
}

void OpenFolderWithPages(QPainter& p) {
  Folder(p, 2.5, 8.5, 22, 16);
  Page(p, 6.5, 3.5, 9, 13);
  Page(p, 12.5, 5.5, 9, 12);
  QPainterPath front;
  front.moveTo(2.5, 24.5);
  front.lineTo(5.5, 14.5);
  front.lineTo(26.5, 14.5);
  front.lineTo(24.5, 24.5);
  front.closeSubpath();
  p.setPen(QPen(kFolderLine, 1));
  p.setBrush(kFolderFront);
  p.drawPath(front);
}

void Network(QPainter& p, bool connected) {
  Disk(p, 3.5, 3.5, 21, 9);
  p.setPen(QPen(QColor(60, 60, 60), 2));
  p.drawLine(QPointF(14, 12.5), QPointF(14, connected ? 20 : 15.5));
  if (!connected) p.drawLine(QPointF(14, 18.5), QPointF(14, 21));
  p.drawLine(QPointF(4, 21.5), QPointF(24, 21.5));
  p.setPen(QPen(QColor(40, 40, 40), 1));
  p.setBrush(QColor(120, 170, 230));
  p.drawRect(QRectF(11.5, 19.5, 5, 4));
  Badge(p, 22, 22, 5, connected ? kGreen : kRed, connected ? '+' : 'x');
}

}  // namespace

QPixmap MenuBitmap(MenuItem item) {
  QPixmap canvas = Canvas();
  QPainter p(&canvas);
  p.setRenderHint(QPainter::Antialiasing);
  switch (item) {
    case MenuItem::AddNode:
      Folder(p, 2.5, 7.5, 20, 15);
      Badge(p, 21, 8, 5.5, kGreen, '+');
      break;
    case MenuItem::EditNode:
      Folder(p, 2.5, 9.5, 18, 14);
      Pencil(p);
      break;
    case MenuItem::DelNode:
      Folder(p, 2.5, 7.5, 20, 15);
      Badge(p, 21, 20, 5.5, kRed, 'x');
      break;
    case MenuItem::CutNode: Scissors(p); break;
    case MenuItem::CopyNode:
      Page(p, 3.5, 2.5, 13, 17);
      Page(p, 11.5, 8.5, 13, 17);
      break;
    case MenuItem::PasteNode: Clipboard(p); break;
    case MenuItem::GetTreeSize: Tree(p); break;
    case MenuItem::ShowFolderContents: OpenFolderWithPages(p); break;
    case MenuItem::ConnectNetResource: Network(p, true); break;
    case MenuItem::DisConnectNetResource: Network(p, false); break;
    case MenuItem::ItemProperty:
      Page(p, 4.5, 2.5, 16, 22);
      Badge(p, 20, 20, 6, kBlue, 'i');
      break;
    case MenuItem::Count: break;
  }
  return canvas;
}

}  // namespace dirtree
