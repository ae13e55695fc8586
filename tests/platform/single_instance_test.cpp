// The single-instance guard as two starts meet it: the first holds the
// lock, a later one sees it held and its request reaches the first.
#include <gtest/gtest.h>

#include <QFile>
#include <QTest>

#include "platform/os/single_instance.h"
#include "support/temp_dir.h"

using platform::SingleInstance;
using testing_support::TempDir;

TEST(SingleInstance, ALaterStartFindsTheLockHeldAndReachesTheHolder) {
  TempDir dir;
  int shown = 0;
  {
    SingleInstance first(dir.Path());
    ASSERT_FALSE(first.HeldByAnother());
    first.OnShowRequested = [&] { ++shown; };

    SingleInstance second(dir.Path());
    EXPECT_TRUE(second.HeldByAnother());
    EXPECT_TRUE(second.AskHolderToShow());
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown == 1; }, 2000));

    // Another program directory is another program: it runs alone.
    TempDir elsewhere;
    SingleInstance other(elsewhere.Path());
    EXPECT_FALSE(other.HeldByAnother());
  }
  // The first has ended: the next start is the first again.
  SingleInstance next(dir.Path());
  EXPECT_FALSE(next.HeldByAnother());
  SingleInstance after(dir.Path());
  ASSERT_TRUE(after.HeldByAnother());
  EXPECT_TRUE(after.AskHolderToShow());
}

TEST(SingleInstance, WhereNoLockCanBeTakenEveryStartRuns) {
  TempDir dir;
  SingleInstance first(dir.File("missing"));
  SingleInstance second(dir.File("missing"));
  EXPECT_FALSE(first.HeldByAnother());
  EXPECT_FALSE(second.HeldByAnother());
}
