// Drawing helpers shared by the artwork: transparent canvases, bevelled
// rounded shapes and the skin's colour set.
#pragma once
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QRectF>
#include <functional>

namespace artwork_paint {

// The skin's colours besides the three list colours.
inline const QColor kNavyDeep{10, 24, 46};
inline const QColor kNavy{20, 46, 84};
inline const QColor kSteel{44, 92, 150};
inline const QColor kAccent{72, 150, 230};
inline const QColor kOutline{4, 12, 26};
inline const QColor kGlyph{236, 246, 255};

// A transparent pixmap of the given size.
QPixmap Canvas(int width, int height);

// An antialiased painter on `canvas`.
void Begin(QPainter& painter, QPixmap& canvas);

// A rounded shape filled with a vertical gradient, with a dark outline and a
// light inner top edge, as the skin's raised parts are drawn.
void RaisedShape(QPainter& painter, const QRectF& rect, qreal radius, const QColor& top, const QColor& bottom,
                 const QColor& outline = kOutline);

// A sunk groove: darker fill, shadow on top, light edge at the bottom.
void SunkShape(QPainter& painter, const QRectF& rect, qreal radius, const QColor& fill);

// Runs `work` in a short-lived thread of its own and waits until it is done
// (no event loop; `work` only paints, so it ends). Faces loaded for
// lettering stay in the font cache of the thread that draws; the artwork is
// painted once, so painted here they are let go when the thread ends instead
// of staying loaded for the whole run, and the memory the thread's
// allocations took is handed back to the system.
void RunApart(const std::function<void()>& work);

// `paint`'s picture, painted by RunApart.
template <typename Paint>
auto PaintedApart(Paint paint) {
  decltype(paint()) picture;
  RunApart([&] { picture = paint(); });
  return picture;
}

// A face for the artwork's own lettering.
QFont ArtFont(int pixelSize, bool bold = true, bool italic = false, bool condensed = false);

}  // namespace artwork_paint
