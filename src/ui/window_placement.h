// Where a tool window of the main window goes on the screen: beside it, so
// that the main window's title strip and roster stay in sight.
#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace window_placement {

// The top left corner for a window of `size` beside `mainFrame`: to its
// right when `screen` has room there, else to its left, level with its top
// (moved up as far as needed to stay on the screen); nothing when neither
// side has room, and the caller leaves the window where it would go.
std::optional<QPoint> BesideWindow(const QRect& mainFrame, const QSize& size, const QRect& screen, int gap = 6);

}  // namespace window_placement
