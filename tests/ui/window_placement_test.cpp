// Where a tool window goes beside the main window on a screen.
#include <gtest/gtest.h>

#include "ui/window_placement.h"

namespace {

TEST(WindowPlacement, BesideTheMainWindowWhereTheScreenHasRoom) {
  const QRect screen(0, 0, 1024, 768);
  const QSize panel(307, 386);
  const struct {
    const char* what;
    QRect main;
    std::optional<QPoint> expected;
  } cases[] = {
      {"room on the right", {40, 40, 299, 399}, QPoint(345, 40)},
      {"the right edge itself is room", {1024 - 307 - 6 - 299, 40, 299, 399}, QPoint(1024 - 307, 40)},
      {"no room on the right: on the left", {700, 40, 299, 399}, QPoint(700 - 6 - 307, 40)},
      {"no room on either side", {310, 40, 420, 399}, std::nullopt},
      {"low on the screen: moved up to stay on it", {40, 600, 299, 160}, QPoint(345, 768 - 386)},
      {"above the screen's top: moved down onto it", {40, -30, 299, 399}, QPoint(345, 0)},
  };
  for (const auto& c : cases) EXPECT_EQ(window_placement::BesideWindow(c.main, panel, screen), c.expected) << c.what;
  EXPECT_EQ(window_placement::BesideWindow({40, 40, 299, 399}, {307, 800}, screen), std::nullopt)
      << "taller than the screen";
}

TEST(WindowPlacement, ScreensThatDoNotStartAtTheOrigin) {
  // A second screen to the right of a first, with a panel at its top.
  const QRect screen(1920, 30, 1280, 994);
  EXPECT_EQ(window_placement::BesideWindow({1930, 10, 299, 399}, {307, 386}, screen), QPoint(2235, 30));
  EXPECT_EQ(window_placement::BesideWindow({2890, 100, 299, 399}, {307, 386}, screen), QPoint(2577, 100));
}

}  // namespace
