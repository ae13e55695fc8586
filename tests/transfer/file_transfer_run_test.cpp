// The run over the items: defaults, event order and numbering, failures
// that end only their item, queued runs, and a component that goes away
// while its run is going.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>

#include "support/file_replace_counter.h"
#include "transfer_fixture.h"

namespace transfer_test {
namespace {

using httplib::Request;
using httplib::Response;

TEST(FileTransferDefaults, NewComponentAndItemCarryTheirInitialValues) {
  TFileTransfer t;
  EXPECT_TRUE(t.ShowDialog);
  EXPECT_FALSE(t.AlwaysOnTop || t.FTPPassive || t.ShowOpenFile || t.ShowOpenFolder || t.ShowCompletion || t.ShowTime);
  EXPECT_EQ(t.DlgCaption, "Downloading");
  EXPECT_EQ(t.DlgFileLabel, "File :");
  EXPECT_EQ(t.DlgTimeLabel, "Estimated time left :");
  EXPECT_EQ(t.Items.Owner(), &t);
  TFileTransferItem& item = t.Items.Add();
  EXPECT_EQ(t.Items.Count(), 1);
  EXPECT_TRUE(item.Active);
  EXPECT_EQ(item.FTPPort, 21);
  EXPECT_EQ(item.Protocol, wpHttp);
  EXPECT_EQ(item.HTTPCommand, hcPost);
  EXPECT_TRUE(item.URL.isEmpty() && item.TargetDir.isEmpty() && item.TargetFilename.isEmpty() && item.FTPHost.isEmpty());
  EXPECT_FALSE(item.Copied() || item.NoNewFile() || item.CopyNewerOnly);
  t.Items.Clear();
  EXPECT_EQ(t.Items.Count(), 0);
}

TEST_F(TransferTest, EmptyRunRaisesOnlyCopyDone) {
  RunToEnd();
  transfer->Items.Add().Active = false;
  RunToEnd();
  EXPECT_EQ(events->lines, QStringList({"CopyDone", "CopyDone"}));
  EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(TransferTest, InactiveItemsKeepTheirPlaceButAreNotCounted) {
  server.Serve("/a", "A");
  server.Serve("/c", "C");
  AddDownload("/skipped", "skipped").Active = false;
  AddDownload("/a", "a");
  AddDownload("/missing", "m");  // 404: fails, the run goes on
  TFileTransferItem& noDir = transfer->Items.Add();  // no directory part: fails quietly
  noDir.URL = Url("/c");
  noDir.TargetFilename = "c";
  AddDownload("/c", "c");
  RunToEnd();

  EXPECT_EQ(events->lines,
            QStringList({"FileStart 1", "FileDone 1", "FileStart 2", "Error 404",
                         "ErrorInfo 404 Returned http error code 404", "FileDone 2", "FileStart 3", "FileDone 3",
                         "FileStart 4", "FileDone 4", "CopyDone"}));
  const bool copied[] = {false, true, false, false, true};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(transfer->Items[i].Copied(), copied[i]) << i;
  EXPECT_FALSE(dir.Exists("skipped"));
  ASSERT_FALSE(events->progress.empty());
  EXPECT_EQ(events->progress.front().fileidx, 1);
  EXPECT_EQ(events->progress.back().fileidx, 4);
  EXPECT_EQ(transfer->CurrentIndex(), 4);
}

TEST_F(TransferTest, EventsRunOnTheUserInterfaceThreadWhileTheWorkerWaits) {
  server.Serve("/a", "A");
  AddDownload("/a", "a");
  std::vector<bool> onUiThread;
  bool fileExistedAtStart = true;
  transfer->OnFileStart = [&](QObject*, int) {
    onUiThread.push_back(QThread::currentThread() == qApp->thread());
    QThread::msleep(50);  // the worker must not move on meanwhile
    fileExistedAtStart = dir.Exists("a");
  };
  transfer->OnCopyDone = [&](QObject*) { onUiThread.push_back(QThread::currentThread() == qApp->thread()); };
  transfer->Start();
  EXPECT_TRUE(transfer->Busy());
  ASSERT_TRUE(transfer->WaitUntilIdle(10000));
  EXPECT_EQ(onUiThread, std::vector<bool>({true, true}));
  EXPECT_FALSE(fileExistedAtStart);
  EXPECT_EQ(dir.Read("a"), "A");
}

// The program clears and refills the items and starts again while a report
// may still be running: both runs complete, in order, on their own items.
TEST_F(TransferTest, StartDuringARunQueuesTheNextRun) {
  std::atomic<bool> release{false};
  server.Handle("GET", "/slow", [&](const Request&, Response& res) {
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    res.set_content("first", "text/plain");
  });
  server.Serve("/fast", "second");
  AddDownload("/slow", "first.txt");
  transfer->Start();
  transfer->Items.Clear();
  AddDownload("/fast", "second.txt");
  transfer->Start();
  release = true;
  ASSERT_TRUE(transfer->WaitUntilIdle(10000));

  EXPECT_EQ(events->lines,
            QStringList({"FileStart 0", "FileDone 0", "CopyDone", "FileStart 0", "FileDone 0", "CopyDone"}));
  EXPECT_EQ(dir.Read("first.txt"), "first");
  EXPECT_EQ(dir.Read("second.txt"), "second");
  EXPECT_TRUE(transfer->Items[0].Copied());
  EXPECT_EQ(transfer->Items.Count(), 1);
}

// A run cancelled, or its component destroyed, while the server holds the
// answer back: before its head, or in the middle of its body. The worker
// gives up at once, the queued run never begins, nothing reaches a dead
// component, a missing URL is not reported, and no file is left; a late
// answer writes nothing.
struct StopCase {
  const char* name;
  bool destroy;  // else Cancel
  bool midBody;  // else before the head
};
void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }

class StoppedRun : public TransferTest, public testing::WithParamInterface<StopCase> {};

TEST_P(StoppedRun, EndsAtOnceAndLeavesNoFile) {
  const StopCase& c = GetParam();
  // The server's threads outlive the test's locals: they share the flags.
  const auto release = std::make_shared<std::atomic<bool>>(false);
  const bool midBody = c.midBody;
  server.Handle("GET", "/slow", [release, midBody](const Request&, Response& res) {
    const auto hold = [release] {
      while (!*release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    };
    if (!midBody) hold();
    res.set_chunked_content_provider("text/plain", [hold, midBody](size_t offset, httplib::DataSink& sink) {
      if (offset == 0) {
        sink.write("first part ", 11);
        return true;
      }
      if (midBody) hold();
      sink.write("late", 4);
      sink.done();
      return true;
    });
  });
  AddDownload("/slow", "late.txt");
  bool started = false;
  transfer->OnFileStart = [&](QObject*, int) { started = true; };
  transfer->Start();
  transfer->Start();  // a queued run that never begins
  QElapsedTimer timer;
  timer.start();
  // Mid-body, the first part lies in a file beside the target.
  const auto receiving = [this] { return !QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden).isEmpty(); };
  while (!(started && (!midBody || receiving())) && timer.elapsed() < 5000) QCoreApplication::processEvents();
  ASSERT_TRUE(started);
  testing_support::FileReplaceCounter writes(dir.File("late.txt"));

  timer.restart();
  if (c.destroy) {
    events.reset();
    transfer.reset();
  } else {
    transfer->Cancel();
    EXPECT_TRUE(transfer->WaitUntilIdle(900));
  }
  EXPECT_LT(timer.elapsed(), 900);  // well before the held answer comes
  *release = true;
  timer.restart();
  while (timer.elapsed() < 300) QCoreApplication::processEvents();
  EXPECT_FALSE(dir.Exists("late.txt"));
  EXPECT_FALSE(receiving());
  if (!midBody) {
    EXPECT_EQ(writes.Count(), 0);
  }
  if (!c.destroy) {
    EXPECT_TRUE(events->lines.filter(QStringLiteral("URLNotFound")).isEmpty()) << events->lines.join(", ").toStdString();
    EXPECT_EQ(events->lines.count(QStringLiteral("CopyDone")), 1);  // the queued run never began
  }
}

INSTANTIATE_TEST_SUITE_P(Transfer, StoppedRun,
                         testing::Values(StopCase{"DestroyedBeforeTheHead", true, false},
                                         StopCase{"DestroyedMidBody", true, true},
                                         StopCase{"CancelledBeforeTheHead", false, false},
                                         StopCase{"CancelledMidBody", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace transfer_test

namespace transfer_test {
namespace {

TEST_F(TransferTest, CurrentIndexStartsAtZeroInEveryRun) {
  server.Serve("/a", "A");
  AddDownload("/a", "a");
  AddDownload("/a", "b");
  RunToEnd();
  EXPECT_EQ(transfer->CurrentIndex(), 2);
  transfer->Items.Clear();
  RunToEnd();
  EXPECT_EQ(transfer->CurrentIndex(), 0);
}

// A progress handler is looked up when progress is reported, like every
// other event, so one assigned while the run goes is called.
TEST_F(TransferTest, ProgressHandlerAssignedDuringTheRunIsCalled) {
  const QString source = dir.Write("src/big.bin", std::string(3 << 20, 'p'));
  transfer->OnCopyProgress = nullptr;
  std::vector<std::int64_t> sizes;
  transfer->OnFileStart = [&](QObject*, int) {
    transfer->OnCopyProgress = [&](QObject*, int, std::int64_t size, std::int64_t) { sizes.push_back(size); };
  };
  TFileTransferItem& item = transfer->Items.Add();
  item.Protocol = wpFile;
  item.URL = source;
  item.TargetDir = dir.File("out");
  RunToEnd();
  EXPECT_TRUE(item.Copied());
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(sizes.back(), 3 << 20);
}

}  // namespace
}  // namespace transfer_test
