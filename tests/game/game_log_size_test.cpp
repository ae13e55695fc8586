// Deleting an oversized game log at start-up, at the exact limit.
#include <gtest/gtest.h>

#include <QFile>
#include <sys/stat.h>

#include "game/game_log_size.h"
#include "platform/os/errors.h"
#include "support/activity_lines.h"
#include "support/temp_dir.h"

using namespace game;

namespace {

// A sparse file of `size` bytes: the size is real, the disk stays empty.
QString SparseFile(const testing_support::TempDir& dir, qint64 size) {
  const QString path = dir.Write("system/tacticalops.log", "Log: x\r\n");
  QFile file(path);
  if (!file.resize(size)) ADD_FAILURE() << "resize failed";
  return path;
}

TEST(Logsizecheck, DeletesFromFiveMebibytes) {
  const struct {
    qint64 size;
    bool deleted;
  } cases[] = {
      {0, false}, {8, false}, {5'242'879, false}, {5'242'880, true}, {5'242'881, true},
      {3'000'000'000, true},
  };
  for (const auto& c : cases) {
    testing_support::TempDir dir;
    const QString path = SparseFile(dir, c.size);
    Logsizecheck(path, platform::ActivityLog());
    EXPECT_EQ(!QFile::exists(path), c.deleted) << c.size;
    EXPECT_EQ(GameLogTooLarge(c.size), c.deleted) << c.size;
  }
}

TEST(Logsizecheck, MissingLogIsNoError) {
  testing_support::TempDir dir;
  testing_support::ActivityLines activity;
  Logsizecheck(dir.File("system/tacticalops.log"), activity.Log());
  EXPECT_EQ(activity.Entries(), (QStringList{"START Logsizecheck", "  END Logsizecheck"}));
}

TEST(Logsizecheck, LogThatCannotBeOpenedRaises) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may open anything";
  testing_support::TempDir dir;
  testing_support::ActivityLines activity;
  const QString path = SparseFile(dir, 10);
  ::chmod(path.toLocal8Bit().constData(), 0444);
  EXPECT_THROW(Logsizecheck(path, activity.Log()), platform::IoError);
  EXPECT_TRUE(QFile::exists(path));
  EXPECT_EQ(activity.Entries(), QStringList{"START Logsizecheck"});
}

}  // namespace
