// The working copy: a complete copy, the new bytes of a log that only grew,
// or the old one untouched.
#include <gtest/gtest.h>

#include <QDir>
#include <functional>
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

// Each case changes the log (or the copy) after a first refresh; the second
// refresh appends only when the log is the same file and has only grown.
TEST(WorkingCopy, AppendsOnlyWhatALogThatOnlyGrewGained) {
  using presence::CopiedLog;
  using presence::Refreshed;
  const std::string first = LogBytes(20000);
  const struct {
    const char* name;
    std::function<void(TempDir&)> change;
    Refreshed expected;
  } cases[] = {
      {"Grown", [&](TempDir& d) { d.Append("game.log", "Log: more\r\n"); }, Refreshed::Appended},
      {"Unchanged", [](TempDir&) {}, Refreshed::Appended},
      {"Truncated", [&](TempDir& d) { d.Write("game.log", first.substr(0, 9000)); }, Refreshed::Whole},
      // The game starts a new log each run, in the same file or a new one.
      {"RestartedInPlace", [&](TempDir& d) { d.Write("game.log", "Log: new run\r\n" + first); },
       Refreshed::Whole},
      {"EndRewritten", [&](TempDir& d) { d.Write("game.log", first.substr(0, 19990) + "0123456789x"); },
       Refreshed::Whole},
      {"Replaced",
       [&](TempDir& d) {
         d.Write("new.log", first + "Log: more\r\n");
         ASSERT_EQ(::rename(d.File("new.log").toLocal8Bit(), d.File("game.log").toLocal8Bit()), 0);
       },
       Refreshed::Whole},
      {"CopyTouched", [&](TempDir& d) { d.Write("TacticalOps.sik", first); }, Refreshed::Whole},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const QString log = dir.Write("game.log", first);
    const QString copy = dir.File("TacticalOps.sik");
    std::optional<CopiedLog> last;
    ASSERT_EQ(RefreshWorkingCopy(log, copy, last), Refreshed::Whole);
    ASSERT_TRUE(last);
    usleep(10000);  // a later modification time for a rewritten copy
    c.change(dir);
    EXPECT_EQ(RefreshWorkingCopy(log, copy, last), c.expected);
    EXPECT_EQ(dir.Read("TacticalOps.sik"), dir.Read("game.log"));
    EXPECT_TRUE(last);
  }
}

TEST(WorkingCopy, AWholeCopyTellsWhereTheTextEnds) {
  // The first Ctrl-Z, wherever the copy's buffer is cut; the length when
  // there is none; nothing known when no whole copy was made.
  const std::string big = LogBytes(300000);
  const struct {
    const char* name;
    std::string log;
    std::optional<off_t> expected;
  } cases[] = {
      {"NoCtrlZ", big, off_t(big.size())},
      {"Empty", "", 0},
      {"CtrlZAtStart", "\x1A" + big, 0},
      {"TwoCtrlZ", big.substr(0, 1000) + "\x1A" + big + "\x1A", 1000},
      {"CtrlZPastTheFirstBuffer", big.substr(0, 200000) + "\x1A" + big, 200000},
      {"CtrlZLast", big + "\x1A", off_t(big.size())},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::optional<presence::CopiedLog> last;
    std::optional<off_t> textEnd;
    const QString log = dir.Write("game.log", c.log);
    ASSERT_EQ(RefreshWorkingCopy(log, dir.File("TacticalOps.sik"), last, &textEnd), presence::Refreshed::Whole);
    EXPECT_EQ(textEnd, c.expected);
    dir.Append("game.log", "Log: more\r\n");
    ASSERT_EQ(RefreshWorkingCopy(log, dir.File("TacticalOps.sik"), last, &textEnd),
              presence::Refreshed::Appended);
    EXPECT_EQ(textEnd, std::nullopt);
    EXPECT_EQ(RefreshWorkingCopy(log, log, last, &textEnd), presence::Refreshed::Whole);  // no copy at all
    EXPECT_EQ(textEnd, std::nullopt);
  }
}

TEST(WorkingCopy, FailedRefreshForgetsWhereTheCopyCameFrom) {
  TempDir dir;
  std::optional<presence::CopiedLog> last;
  RefreshWorkingCopy(dir.Write("game.log", "x\r\n"), dir.File("TacticalOps.sik"), last);
  ASSERT_TRUE(last);
  EXPECT_EQ(RefreshWorkingCopy(dir.File("missing.log"), dir.File("TacticalOps.sik"), last),
            presence::Refreshed::Failed);
  EXPECT_FALSE(last);
}

}  // namespace
