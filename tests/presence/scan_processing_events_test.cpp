// The scan on a worker thread: window messages run while a scan blocks, a
// pipe in the game log's place is never waited on, and a scan that hangs
// gives up after its bound.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string_view>
#include <thread>

#include "presence/game_log_scanner.h"
#include "support/temp_dir.h"

namespace {

constexpr std::string_view kPlayerIni = "[DefaultPlayer]\r\nName=Kim\r\n";

// Hands `bytes` to a reader blocked in opening the FIFO; false when no
// reader waits.
bool FeedReader(const QString& fifo, std::string_view bytes = {}) {
  const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
  if (fd < 0) return false;
  const bool written = bytes.empty() || ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
  ::close(fd);
  return written;
}

// Releases readers of `fifo` after `seconds`, should the code under test
// block on it where it must not: the test then fails instead of hanging.
class Watchdog {
 public:
  Watchdog(const QString& fifo, int seconds)
      : thread_([this, fifo, seconds, finished = done_.get_future()] {
          const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
          while (finished.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
            if (std::chrono::steady_clock::now() > end) FeedReader(fifo);
          }
        }) {}
  ~Watchdog() {
    done_.set_value();
    thread_.join();
  }

 private:
  std::promise<void> done_;
  std::thread thread_;
};

TEST(ScanProcessingEvents, WindowMessagesRunWhileAScanBlocks) {
  testing_support::TempDir dir;
  // In the menu the name comes from the user INI, here a FIFO whose opening
  // blocks until a writer comes: only a message of the window's own event
  // loop brings it.
  dir.Write("tacticalops.log", "Log: LoadMap: Entry?Name=Lee\r\n");
  const QString ini = dir.File("User.ini");
  ASSERT_EQ(::mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
  bool messageRan = false;
  QTimer::singleShot(20, [&] { messageRan = FeedReader(ini, kPlayerIni); });
  const Watchdog watchdog(ini, 3);
  const auto location = presence::ScanGameLogProcessingEvents(dir.File("tacticalops.log"),
                                                              dir.File("TacticalOps.sik"), ini, false);
  EXPECT_TRUE(messageRan);
  ASSERT_TRUE(location.has_value());
  EXPECT_EQ(location->name, "Kim");
  EXPECT_TRUE(presence::WaitForWorkerScans(5000));
}

TEST(ScanProcessingEvents, APipeInTheLogsPlaceIsAMissingLog) {
  testing_support::TempDir dir;
  const QString log = dir.File("tacticalops.log");
  const QString workingCopy = dir.File("TacticalOps.sik");
  dir.Write("tacticalops.log", "Log: LoadMap: 1.2.3.4:7777/TO-Verdict?Name=Kim?Team=1\r\n");
  ASSERT_EQ(presence::ScanGameLogProcessingEvents(log, workingCopy, dir.File("User.ini"), false)->server,
            "1.2.3.4:7777");

  // A FIFO that no one writes to: the scan reads the earlier working copy
  // at once instead of waiting for a writer.
  ASSERT_TRUE(QFile::remove(log));
  ASSERT_EQ(::mkfifo(QFile::encodeName(log).constData(), 0600), 0);
  {
    const Watchdog watchdog(log, 3);
    QElapsedTimer elapsed;
    elapsed.start();
    const auto location = presence::ScanGameLogProcessingEvents(log, workingCopy, dir.File("User.ini"), false);
    EXPECT_LT(elapsed.elapsed(), 2000);
    ASSERT_TRUE(location.has_value());
    EXPECT_EQ(location->server, "1.2.3.4:7777");
  }

  // Once the log is a file again, the scans follow it.
  ASSERT_TRUE(QFile::remove(log));
  dir.Write("tacticalops.log", "Log: LoadMap: 5.6.7.8:7777/TO-Blister?Name=Kim?Team=1\r\n");
  const auto location = presence::ScanGameLogProcessingEvents(log, workingCopy, dir.File("User.ini"), false);
  ASSERT_TRUE(location.has_value());
  EXPECT_EQ(location->server, "5.6.7.8:7777");
}

TEST(ScanProcessingEvents, AScanThatHangsGivesUpAfterItsBound) {
  testing_support::TempDir dir;
  dir.Write("tacticalops.log", "Log: LoadMap: Entry?Name=Lee\r\n");
  const QString ini = dir.File("User.ini");
  ASSERT_EQ(::mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
  const Watchdog watchdog(ini, 20);  // only should the test itself go wrong

  // The first scan hangs in reading the name and holds the working copy;
  // the one after it waits behind it. Both callers get no location within
  // their bound, and the window's messages ran meanwhile.
  int messages = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++messages; });
  ticker.start(10);
  for (int scan = 0; scan < 2; ++scan) {
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_FALSE(presence::ScanGameLogProcessingEvents(dir.File("tacticalops.log"), dir.File("TacticalOps.sik"),
                                                       ini, false, presence::LogFormat::LoadMap, 300)
                     .has_value());
    EXPECT_GE(elapsed.elapsed(), 300);
    EXPECT_LT(elapsed.elapsed(), 3000);
  }
  EXPECT_GT(messages, 10);
  EXPECT_FALSE(presence::WaitForWorkerScans(0));

  // Once the name can be read, the hung scan and the one behind it end.
  const QByteArray fifo = QFile::encodeName(ini);
  const int writer = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
  ASSERT_GE(writer, 0);
  ASSERT_TRUE(QFile::rename(ini, ini + ".pipe"));
  dir.Write("User.ini", kPlayerIni);
  ASSERT_EQ(::write(writer, kPlayerIni.data(), kPlayerIni.size()), ssize_t(kPlayerIni.size()));
  ::close(writer);
  EXPECT_TRUE(presence::WaitForWorkerScans(10000));
  const auto location = presence::ScanGameLogProcessingEvents(dir.File("tacticalops.log"), dir.File("TacticalOps.sik"),
                                                              ini, false);
  ASSERT_TRUE(location.has_value());
  EXPECT_EQ(location->name, "Kim");
}

}  // namespace
