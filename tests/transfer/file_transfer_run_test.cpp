// The run over the items: defaults, event order and numbering, failures
// that end only their item, queued runs, and a component that goes away
// while its run is going.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>

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

TEST_F(TransferTest, DestroyingTheComponentDuringARunIsSafe) {
  std::atomic<bool> release{false};
  std::atomic<bool> answered{false};
  server.Handle("GET", "/slow", [&](const Request&, Response& res) {
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    res.set_content("late", "text/plain");
    answered = true;
  });
  AddDownload("/slow", "late.txt");
  bool started = false;
  transfer->OnFileStart = [&](QObject*, int) { started = true; };
  transfer->Start();
  transfer->Start();  // a queued run that never begins
  QElapsedTimer timer;
  timer.start();
  while (!started && timer.elapsed() < 5000) QCoreApplication::processEvents();
  ASSERT_TRUE(started);

  events.reset();
  transfer.reset();
  release = true;
  // The abandoned worker ends on its own; nothing it does reaches the dead
  // component, and the cancelled download leaves no file behind.
  timer.restart();
  while (timer.elapsed() < 3000 && !(answered && timer.elapsed() > 300 && !dir.Exists("late.txt")))
    QCoreApplication::processEvents();
  EXPECT_TRUE(answered);
  EXPECT_FALSE(dir.Exists("late.txt"));
}

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
