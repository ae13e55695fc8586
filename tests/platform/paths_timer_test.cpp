// Game files found without regard to letter case, and the window-timer meaning
// of an interval.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include "platform/os/paths.h"
#include "platform/os/window_timer.h"
#include "support/temp_dir.h"

using namespace platform;
using testing_support::TempDir;

TEST(FindPathNoCase, ResolvesEachComponent) {
  TempDir dir;
  dir.Write("Game/System/TOUser.ini", "x");
  const QString base = dir.Path() + "/";
  EXPECT_EQ(FindPathNoCase(base + "game/system/touser.ini"), base + "Game/System/TOUser.ini");
  EXPECT_EQ(FindPathNoCase(base + "Game/System/TOUser.ini"), base + "Game/System/TOUser.ini");
  // Missing file in an existing directory: the directory's spelling, the name as given.
  EXPECT_EQ(FindPathNoCase(base + "game/SYSTEM/tacticalops.log"), base + "Game/System/tacticalops.log");
  EXPECT_EQ(FindPathNoCase(base + "nothing/system/x"), base + "nothing/system/x");
}

TEST(WindowTimer, ZeroIntervalNeverFiresAndEnabledTimerTicks) {
  WindowTimer timer;
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.SetInterval(0);
  timer.SetEnabled(true);
  QTest::qWait(50);
  EXPECT_EQ(ticks, 0);
  timer.SetInterval(10);
  QTest::qWait(100);
  EXPECT_GE(ticks, 3);
  timer.SetEnabled(false);
  const int stopped = ticks;
  QTest::qWait(50);
  EXPECT_EQ(ticks, stopped);
}
