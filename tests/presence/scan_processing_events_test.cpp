// The scan on a worker thread: window messages run while the game log is
// read, even when reading it blocks.
#include <gtest/gtest.h>

#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <thread>

#include "presence/game_log_scanner.h"
#include "support/temp_dir.h"

namespace {

// Lets a reader blocked in opening the FIFO go on.
void ReleaseReader(const QString& fifo) {
  const int fd = ::open(fifo.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
  if (fd >= 0) ::close(fd);
}

TEST(ScanProcessingEvents, WindowMessagesRunWhileTheLogBlocks) {
  testing_support::TempDir dir;
  dir.Write("TacticalOps.sik", "Log: LoadMap: 1.2.3.4:7777/TO-Verdict?Name=Kim?Team=1\r\n");
  // A game log whose opening blocks until a writer comes: only a message of
  // the window's own event loop releases it.
  const QString fifo = dir.File("tacticalops.log");
  ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
  bool messageRan = false;
  QTimer::singleShot(20, [&] {
    messageRan = true;
    ReleaseReader(fifo);
  });
  // Should the scan block the event loop, this ends it after a while so the
  // test fails instead of hanging.
  std::promise<void> done;
  std::thread watchdog([&, finished = done.get_future()] {
    while (finished.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
      static int rounds = 0;
      if (++rounds > 30) ReleaseReader(fifo);
    }
  });
  const auto location = presence::ScanGameLogProcessingEvents(fifo, dir.File("TacticalOps.sik"),
                                                              dir.File("User.ini"), false);
  done.set_value();
  watchdog.join();
  EXPECT_TRUE(messageRan);
  ASSERT_TRUE(location.has_value());
  EXPECT_EQ(location->server, "1.2.3.4:7777");
  EXPECT_EQ(location->name, "Kim");
}

}  // namespace
