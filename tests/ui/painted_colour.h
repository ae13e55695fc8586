// Reading back what a widget painted.
#pragma once
#include <QColor>
#include <QImage>
#include <QRect>
#include <algorithm>
#include <map>

namespace ui_tests {

// The colour painted most often inside `rect` of `image`: a field's
// background, whatever text lies on it.
inline QColor MostCommonColour(const QImage& image, const QRect& rect) {
  std::map<QRgb, int> counts;
  const QRect inside = rect.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x) ++counts[image.pixel(x, y)];
  if (counts.empty()) return {};
  const auto most = std::max_element(counts.begin(), counts.end(),
                                     [](const auto& a, const auto& b) { return a.second < b.second; });
  return QColor(most->first);
}

}  // namespace ui_tests
