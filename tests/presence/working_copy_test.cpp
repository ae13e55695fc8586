// The working copy: a complete copy each time, or the old one untouched.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <unistd.h>
#include <QTemporaryDir>

#include "presence/working_copy.h"
#include "support/temp_dir.h"

using presence::RefreshWorkingCopy;
using testing_support::TempDir;

namespace {

std::string LogBytes(size_t size) {
  std::string bytes;
  for (size_t i = 0; bytes.size() < size; ++i) bytes += "Log: line " + std::to_string(i) + "\r\n";
  bytes.resize(size);
  return bytes;
}

TEST(WorkingCopy, ReplacesTheOldCopyWhole) {
  TempDir dir;
  const QString copy = dir.Write("TacticalOps.sik", LogBytes(3 << 20));  // longer than the new log
  const std::string log = LogBytes(100000) + std::string("\x1A\0\xFF", 3);
  EXPECT_TRUE(RefreshWorkingCopy(dir.Write("game.log", log), copy));
  EXPECT_EQ(dir.Read("TacticalOps.sik"), log);
  EXPECT_FALSE(dir.Exists("TacticalOps.sik.part"));

  EXPECT_TRUE(RefreshWorkingCopy(dir.Write("empty.log", ""), copy));
  EXPECT_EQ(dir.Read("TacticalOps.sik"), "");
}

TEST(WorkingCopy, FailedCopyKeepsTheOldCopy) {
  TempDir dir;
  const QString copy = dir.Write("TacticalOps.sik", "Exit: Exiting\r\n");
  EXPECT_FALSE(RefreshWorkingCopy(dir.File("missing.log"), copy));
  EXPECT_FALSE(RefreshWorkingCopy(dir.Path(), copy));  // a directory is no log
  EXPECT_FALSE(RefreshWorkingCopy(dir.Write("game.log", "x"), dir.File("nowhere/TacticalOps.sik")));
  EXPECT_EQ(dir.Read("TacticalOps.sik"), "Exit: Exiting\r\n");
}

TEST(WorkingCopy, ALinkedCopyIsReplacedNotWrittenThrough) {
  TempDir dir;
  const QString log = dir.Write("game.log", "Exit: Exiting\r\n");
  const QString other = dir.Write("other.txt", "someone else's file");
  ASSERT_TRUE(QFile::link(other, dir.File("TacticalOps.sik")));
  ASSERT_EQ(::link(other.toLocal8Bit().constData(), dir.File("Hard.sik").toLocal8Bit().constData()), 0);
  EXPECT_TRUE(RefreshWorkingCopy(log, dir.File("TacticalOps.sik")));
  EXPECT_TRUE(RefreshWorkingCopy(log, dir.File("Hard.sik")));
  EXPECT_FALSE(QFileInfo(dir.File("TacticalOps.sik")).isSymLink());
  EXPECT_EQ(dir.Read("TacticalOps.sik"), "Exit: Exiting\r\n");
  EXPECT_EQ(dir.Read("Hard.sik"), "Exit: Exiting\r\n");
  EXPECT_EQ(dir.Read("other.txt"), "someone else's file");
}

TEST(WorkingCopy, FromAnotherFileSystem) {
  // The game may lie on another disk than the program.
  if (!QDir("/dev/shm").exists()) GTEST_SKIP() << "no /dev/shm";
  QTemporaryDir other("/dev/shm/quavik-test-XXXXXX");
  ASSERT_TRUE(other.isValid());
  TempDir dir;
  const std::string log = LogBytes(2 << 20);
  QFile file(other.filePath("game.log"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(log.data(), qint64(log.size()));
  file.close();
  EXPECT_TRUE(RefreshWorkingCopy(file.fileName(), dir.File("TacticalOps.sik")));
  EXPECT_EQ(dir.Read("TacticalOps.sik"), log);
}

}  // namespace
