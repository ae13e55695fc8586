#include "ui/window_placement.h"

#include <algorithm>

namespace window_placement {

std::optional<QPoint> BesideWindow(const QRect& mainFrame, const QSize& size, const QRect& screen, int gap) {
  if (size.height() > screen.height()) return std::nullopt;
  const int top = std::clamp(mainFrame.top(), screen.top(), screen.bottom() + 1 - size.height());
  const int right = mainFrame.right() + 1 + gap;
  if (right + size.width() <= screen.right() + 1) return QPoint(right, top);
  const int left = mainFrame.left() - gap - size.width();
  if (left >= screen.left()) return QPoint(left, top);
  return std::nullopt;
}

}  // namespace window_placement
