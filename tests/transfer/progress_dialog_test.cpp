// The progress dialog: its fixed layout, what it shows during a run, Cancel,
// and the Close/Open buttons at the end of a run.
#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <chrono>
#include <thread>

#include "support/recording_shell.h"
#include "transfer/internal/progress_dialog.h"
#include "transfer/internal/transfer_animation.h"
#include "transfer_fixture.h"

namespace transfer_test {
namespace {

TEST(ProgressDialogLayout, FollowsTheFixedGeometry) {
  struct Case {
    bool showTime, openFile, openFolder;
    int height, buttonTop, openFileLeft, openFolderLeft;
  } const cases[] = {
      {false, false, false, 192, 140, -1, -1},
      {true, false, false, 212, 160, -1, -1},
      {false, true, false, 192, 140, 130, -1},
      {true, false, true, 212, 160, -1, 130},
      {false, true, true, 192, 140, 45, 130},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.showTime << c.openFile << c.openFolder);
    RunSettings s;
    s.DlgCaption = "Downloading";
    s.DlgTimeLabel = "Time :";
    s.ShowTime = c.showTime;
    s.ShowOpenFile = c.openFile;
    s.ShowOpenFolder = c.openFolder;
    TFileTransferDialog d(s);
    EXPECT_EQ(d.size(), QSize(300, c.height));
    EXPECT_EQ(d.windowTitle(), "Downloading ...");
    EXPECT_EQ(d.Animation()->pos(), QPoint(10, 0));
    EXPECT_EQ(d.Bar()->geometry(), QRect(10, 60, 280, 12));
    EXPECT_EQ(d.FileLine()->geometry().topLeft(), QPoint(10, 80));
    EXPECT_EQ(d.FileLine()->width(), 280);
    EXPECT_EQ(d.ProgressLine()->y(), 100);
    EXPECT_EQ(d.RateLine()->y(), 120);
    EXPECT_EQ(d.TimeLine()->y(), 140);
    EXPECT_EQ(d.TimeLine()->isVisibleTo(&d), c.showTime);
    EXPECT_EQ(d.CancelButton()->geometry(), QRect(215, c.buttonTop, 75, 25));
    EXPECT_EQ(d.CancelButton()->text(), "Cancel");
    EXPECT_EQ(d.OpenFileButton() ? d.OpenFileButton()->x() : -1, c.openFileLeft);
    EXPECT_EQ(d.OpenFolderButton() ? d.OpenFolderButton()->x() : -1, c.openFolderLeft);
    for (QPushButton* open : {d.OpenFileButton(), d.OpenFolderButton()}) {
      if (open) {
        EXPECT_FALSE(open->isEnabled());
      }
    }
  }
}

class DialogRun : public TransferTest {
 protected:
  DialogRun() {
    transfer->ShowDialog = true;
    transfer->SetShell(&shell);
  }
  testing_support::RecordingShell shell;
};

TEST_F(DialogRun, ShowsFileProgressAndCompletion) {
  server.Serve("/a.txt", "hello world");
  transfer->ShowCompletion = true;
  transfer->ShowTime = true;
  AddDownload("/a.txt", "");
  AddDownload("/a.txt", "b.txt").Active = false;
  QStringList fileLines, progressLines, captions;
  transfer->OnCopyProgress = [&](QObject*, int, std::int64_t, std::int64_t) {
    TFileTransferDialog* d = transfer->Dialog();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    fileLines << d->FileLine()->text();
    progressLines << d->ProgressLine()->text();
    captions << d->windowTitle();
  };
  RunToEnd();
  const QString host = QStringLiteral("127.0.0.1:%1").arg(server.Port());
  ASSERT_FALSE(fileLines.isEmpty());
  EXPECT_EQ(fileLines.back(), "File : 1 of 1 : a.txt from " + host);
  EXPECT_EQ(progressLines.back(), "Progress : 11 bytes of 11 bytes");
  // The event comes between the progress line and the caption.
  EXPECT_EQ(captions.front(), "Downloading ...");
  EXPECT_EQ(captions.back(), "Downloading : 100% completed");
  EXPECT_EQ(transfer->Dialog(), nullptr);  // closed and discarded: no Open button
}

TEST_F(DialogRun, CancelStopsTheRunAndDeletesThePartialFile) {
  server.Handle("GET", "/big", [&](const httplib::Request&, httplib::Response& res) {
    res.set_content_provider(1000000, "application/octet-stream",
                             [&](size_t offset, size_t, httplib::DataSink& sink) {
                               if (offset >= 1000000) return true;
                               std::this_thread::sleep_for(std::chrono::milliseconds(2));
                               const std::string chunk(10000, 'z');
                               return sink.write(chunk.data(), chunk.size());
                             });
  });
  server.Serve("/next", "next");
  transfer->ShowOpenFile = true;
  transfer->ShowOpenFolder = true;
  AddDownload("/next", "first");
  AddDownload("/big", "big.bin");
  AddDownload("/next", "third");
  std::size_t calls = 0;
  transfer->OnCopyProgress = [&](QObject*, int index, std::int64_t, std::int64_t) {
    if (index == 2 && ++calls == 3) transfer->Dialog()->CancelButton()->click();
  };
  RunToEnd();

  EXPECT_EQ(events->lines,
            QStringList({"FileStart 0", "FileDone 0", "FileStart 1", "CopyCancel", "CopyDone"}));
  EXPECT_TRUE(transfer->Items[0].Copied());
  EXPECT_FALSE(transfer->Items[1].Copied());
  EXPECT_FALSE(dir.Exists("big.bin"));
  EXPECT_FALSE(dir.Exists("third"));
  TFileTransferDialog* d = transfer->Dialog();
  ASSERT_NE(d, nullptr);  // stays for its Close button, hidden by Cancel
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(d->CancelButton()->text(), "Close");
  EXPECT_FALSE(d->OpenFileButton()->isEnabled());
  EXPECT_FALSE(d->OpenFolderButton()->isEnabled());
  EXPECT_FALSE(d->Animation()->Playing());
}

TEST_F(DialogRun, OpenButtonsOpenTheLastTargetThroughTheShell) {
  server.Serve("/news.txt", "news");
  transfer->ShowOpenFile = true;
  transfer->ShowOpenFolder = true;
  for (const bool file : {true, false}) {
    transfer->Items.Clear();
    AddDownload("/news.txt", "n.txt");
    RunToEnd();
    TFileTransferDialog* d = transfer->Dialog();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->CancelButton()->text(), "Close");
    EXPECT_TRUE(d->OpenFileButton()->isEnabled());
    EXPECT_TRUE(d->OpenFolderButton()->isEnabled());
    (file ? d->OpenFileButton() : d->OpenFolderButton())->click();
    EXPECT_EQ(transfer->Dialog(), nullptr);
  }
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[0].target, dir.File("n.txt"));
  EXPECT_EQ(shell.calls[1].target, dir.Path());
  EXPECT_EQ(shell.calls[1].kind, "open");
}

}  // namespace
}  // namespace transfer_test

namespace transfer_test {
namespace {

// A run acts only on the dialog it built: a later run without a dialog
// leaves the earlier run's dialog waiting for its click.
TEST_F(DialogRun, LaterRunWithoutDialogLeavesTheEarlierDialogAlone) {
  server.Serve("/news.txt", "news");
  transfer->ShowOpenFile = true;
  AddDownload("/news.txt", "n.txt");
  RunToEnd();
  const QPointer<TFileTransferDialog> first = transfer->Dialog();
  ASSERT_TRUE(first && first->isVisible());

  transfer->ShowDialog = false;
  transfer->ShowOpenFile = false;
  RunToEnd();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_TRUE(first);
  EXPECT_TRUE(first->isVisible());
  EXPECT_TRUE(first->OpenFileButton()->isEnabled());
}

}  // namespace
}  // namespace transfer_test
