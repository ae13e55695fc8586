// TFileTransfer copies a list of items one after the other on a worker
// thread: HTTP downloads into local files and HTTP uploads of local files
// (further protocols slot in as further paths). It reports through events,
// always called on the user-interface thread while the worker waits, and,
// when ShowDialog is set, through a progress dialog with a Cancel button.
//
// Start returns at once. It takes a snapshot of the items and properties;
// a Start while a run is going queues the new run behind it, so runs never
// disturb each other and complete in the order they were started. The item
// results (Copied, NoNewFile, NewFileDate) are written on the items the run
// started with. Cancel, or destroying the component, cancels the run: a
// request waiting for the network gives up within about 100 ms, a download
// writes nothing more and deletes its partial HTTP file. The destructor
// drops the run's remaining events and waits up to a second for the worker
// to end, so nothing of the run is left going in the common case; a worker
// that outlives it can't write any more. The worker reaches the component
// only as its run observer, through the UiDispatcher. WaitUntilIdle runs a
// nested event loop.
#pragma once
#include <QObject>
#include <QList>
#include <QPointer>
#include <QString>
#include <memory>

#include "transfer/file_transfer_item.h"
#include "transfer/run_observer.h"
#include "transfer/transfer_types.h"

namespace platform {
class Shell;
}
class TFileTransferDialog;
class UiDispatcher;
class TransferQueue;
struct TransferRun;

class TFileTransfer : public QObject, private TransferRunObserver {
  Q_OBJECT

 public:
  explicit TFileTransfer(QObject* Owner = nullptr);
  ~TFileTransfer() override;

  // Published properties.
  bool AlwaysOnTop = false;
  QString DlgCaption = QStringLiteral("Downloading");
  QString DlgCompleted = QStringLiteral("completed");
  QString DlgFileLabel = QStringLiteral("File :");
  QString DlgFileOfLabel = QStringLiteral("of");
  QString DlgFromServerLabel = QStringLiteral("from");
  QString DlgToServerLabel = QStringLiteral("to");
  QString DlgProgressLabel = QStringLiteral("Progress :");
  QString DlgRateLabel = QStringLiteral("Transfer rate :");
  QString DlgTimeLabel = QStringLiteral("Estimated time left :");
  QString DlgCopying = QStringLiteral("Copying");
  QString DlgDwnload = QStringLiteral("Downloading");
  QString DlgUpload = QStringLiteral("Uploading");
  bool FTPPassive = false;
  TFileTransferItems Items{this};
  QString Proxy;
  QString ProxyUserID;
  QString ProxyPassword;
  bool ShowDialog = true;
  bool ShowOpenFile = false;
  bool ShowOpenFolder = false;
  bool ShowCompletion = false;
  bool ShowTime = false;

  // Events, in declaration order.
  TTransferConnectError OnConnectError;
  TTransferCancel OnCopyCancel;
  TTransferThreadDone OnCopyDone;
  TTransferOverwrite OnCopyOverWrite;
  TTransferProgress OnCopyProgress;
  TTransferError OnError;
  TTransferErrorInfo OnErrorInfo;
  TTransferFileDone OnFileDone;
  TTransferFileStart OnFileStart;
  TTransferURLNotFound OnURLNotFound;
  TTransferNoNewFile OnNoNewFileFound;

  // Network time-outs of the following runs, in milliseconds: establishing
  // a connection, and a transfer that moves no byte, or less than
  // LowSpeedBytesPerSecond on average, for StallTimeoutMs (ends like a
  // failed read).
  int ConnectTimeoutMs = 20000;
  int StallTimeoutMs = 60000;
  int LowSpeedBytesPerSecond = 1024;

  // Starts a run over Items and returns at once.
  void Start();
  // Cancels the run being copied and drops the queued ones; Busy() holds
  // until the worker has stopped.
  void Cancel();
  // True from Start until the last queued run has raised OnCopyDone and ended.
  bool Busy() const;
  // Processes events until no run is going or `timeoutMs` has passed; true
  // when idle. For the user-interface thread; called from one of the run's
  // own event handlers it can only time out, as the run waits for the handler.
  bool WaitUntilIdle(int timeoutMs);

  // Active items started so far in the current run (1-based while copying).
  int CurrentIndex() const { return currentIndex_; }
  // The local file and directory of the most recent download target.
  const QString& LastTarget() const { return lastTarget_; }
  const QString& LastTargetDir() const { return lastTargetDir_; }

  // Opens files and folders for the dialog's Open buttons. Not owned; the
  // default is the system shell.
  void SetShell(platform::Shell* shell);
  platform::Shell* Shell() const { return shell_; }
  // The dialog of the latest run; null before the first run or once closed.
  TFileTransferDialog* Dialog() const;

 private:
  // TransferRunObserver: the run's calls, on the user-interface thread.
  void RunStarting() override;
  TFileTransferDialog* BuildDialog(const TransferRun& run) override;
  void ItemStarting(int current, int index) override;
  void ItemDone(int index) override;
  void RunDone() override;
  void EndDialog(TFileTransferDialog* dialog, const TransferRun& run, bool cancelled) override;
  bool WatchesProgress() const override;
  void Progress(int current, std::int64_t done, std::int64_t total) override;
  void TargetChosen(const QString& target, const QString& directory) override;
  void UrlNotFound(const QString& url) override;
  void Error(int code) override;
  void ErrorInfo(int code, const QString& info) override;
  bool AllowOverwrite(const QString& target) override;
  void NoNewFile(const QString& file, TDateTime curdate, TDateTime newdate) override;
  void ConnectError() override;

  // The run Start queues: the properties and items as they are now.
  std::shared_ptr<TransferRun> Snapshot() const;
  void OpenFromDialog(const QString& target);
  void Discard(TFileTransferDialog* dialog);

  std::shared_ptr<UiDispatcher> dispatcher_;
  std::shared_ptr<TransferQueue> queue_;
  platform::Shell* shell_;
  QPointer<TFileTransferDialog> dialog_;
  QList<QPointer<TFileTransferDialog>> dialogs_;  // this run's and any still waiting for a click
  int currentIndex_ = 0;
  QString lastTarget_;
  QString lastTargetDir_;
};
