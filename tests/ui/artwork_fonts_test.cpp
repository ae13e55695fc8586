// The artwork's lettering is painted once at start; the faces it loads for
// that must not stay loaded for the rest of the run.
#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSet>

#include "skin/artwork_paint.h"

namespace {

// The font files this process has mapped.
QSet<QByteArray> MappedFontFiles() {
  QFile maps(QStringLiteral("/proc/self/maps"));
  QSet<QByteArray> files;
  if (!maps.open(QIODevice::ReadOnly)) return files;
  for (const QByteArray& line : maps.readAll().split('\n')) {
    const QByteArray lower = line.toLower();
    if (lower.endsWith(".ttf") || lower.endsWith(".otf") || lower.endsWith(".pfb")) files.insert(line.mid(line.indexOf('/')));
  }
  return files;
}

// A picture lettered in a face nothing else in the tests uses.
QPixmap Lettered() {
  QPixmap canvas = artwork_paint::Canvas(80, 20);
  QPainter p(&canvas);
  QFont font(QStringLiteral("DejaVu Serif"));
  font.setPixelSize(13);
  font.setBold(true);
  font.setItalic(true);
  p.setFont(font);
  p.drawText(canvas.rect(), Qt::AlignCenter, QStringLiteral("Quavik"));
  return canvas;
}

TEST(ArtworkFonts, PaintedApartLetsTheFacesOfItsLetteringGo) {
  const QSet<QByteArray> before = MappedFontFiles();
  const QPixmap apart = artwork_paint::PaintedApart(Lettered);
  EXPECT_FALSE(apart.isNull());
  EXPECT_EQ(MappedFontFiles(), before);
  // The same lettering painted here keeps its face: the check sees faces.
  const QPixmap here = Lettered();
  if (MappedFontFiles() == before) GTEST_SKIP() << "no face of its own for the lettering on this system";
  EXPECT_EQ(apart.toImage(), here.toImage());
}

}  // namespace
