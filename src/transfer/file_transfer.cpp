#include "transfer/file_transfer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "platform/os/shell.h"
#include "transfer/internal/file_transfer_thread.h"
#include "transfer/internal/progress_dialog.h"
#include "transfer/internal/transfer_animation.h"
#include "transfer/internal/transfer_run.h"
#include "transfer/internal/ui_dispatcher.h"

namespace {

// A cancelled worker ends within about 100 ms unless a local file operation
// holds it; this bounds how long a destructor waits for that.
constexpr int kWorkerEndWaitMs = 1000;

platform::Shell* DefaultShell() {
  static platform::SystemShell shell;
  return &shell;
}

}  // namespace

TFileTransfer::TFileTransfer(QObject* Owner)
    : QObject(Owner),
      dispatcher_(std::make_shared<UiDispatcher>(static_cast<TransferRunObserver*>(this))),
      queue_(std::make_shared<TransferQueue>()),
      shell_(DefaultShell()) {}

TFileTransfer::~TFileTransfer() {
  queue_->Abandon();
  // Detached first, so the worker never waits for this thread meanwhile;
  // not at all when the worker waits for the handler this destructor runs in.
  const bool workerWaitsForUs = dispatcher_->CallRunning();
  dispatcher_->Detach();
  if (!workerWaitsForUs) queue_->WaitForWorkerEnd(kWorkerEndWaitMs);
  // Later, not now: a handler called from one of the dialog's own buttons may
  // be what destroys the component.
  for (const QPointer<TFileTransferDialog>& dialog : std::as_const(dialogs_)) {
    if (!dialog) continue;
    dialog->hide();
    dialog->deleteLater();
  }
}

void TFileTransfer::Cancel() { queue_->Abandon(); }

void TFileTransfer::Start() { queue_->Enqueue(Snapshot(), dispatcher_, queue_); }

bool TFileTransfer::Busy() const { return queue_->Busy(); }

bool TFileTransfer::WaitUntilIdle(int timeoutMs) {
  if (!Busy()) return true;
  // A nested loop serves the worker's calls as soon as they arrive.
  QEventLoop loop;
  QElapsedTimer elapsed;
  elapsed.start();
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (!Busy() || elapsed.elapsed() >= timeoutMs) loop.quit();
  });
  poll.start(2);
  loop.exec();
  return !Busy();
}

std::shared_ptr<TransferRun> TFileTransfer::Snapshot() const {
  auto run = std::make_shared<TransferRun>();
  RunSettings& s = run->settings;
  s.AlwaysOnTop = AlwaysOnTop;
  s.DlgCaption = DlgCaption;
  s.DlgCompleted = DlgCompleted;
  s.DlgFileLabel = DlgFileLabel;
  s.DlgFileOfLabel = DlgFileOfLabel;
  s.DlgFromServerLabel = DlgFromServerLabel;
  s.DlgToServerLabel = DlgToServerLabel;
  s.DlgProgressLabel = DlgProgressLabel;
  s.DlgRateLabel = DlgRateLabel;
  s.DlgTimeLabel = DlgTimeLabel;
  s.DlgCopying = DlgCopying;
  s.DlgDwnload = DlgDwnload;
  s.DlgUpload = DlgUpload;
  s.FTPPassive = FTPPassive;
  s.Proxy = Proxy;
  s.ProxyUserID = ProxyUserID;
  s.ProxyPassword = ProxyPassword;
  s.ShowDialog = ShowDialog;
  s.ShowOpenFile = ShowOpenFile;
  s.ShowOpenFolder = ShowOpenFolder;
  s.ShowCompletion = ShowCompletion;
  s.ShowTime = ShowTime;
  s.ConnectTimeoutMs = ConnectTimeoutMs;
  s.StallTimeoutMs = StallTimeoutMs;
  s.LowSpeedBytesPerSecond = LowSpeedBytesPerSecond;
  s.ProgressHandler = static_cast<bool>(OnCopyProgress);
  for (int i = 0; i < Items.Count(); ++i) run->items.push_back({Items.Shared(i), Items[i]});
  return run;
}

TFileTransferDialog* TFileTransfer::Dialog() const { return dialog_; }

void TFileTransfer::Discard(TFileTransferDialog* dialog) {
  dialogs_.removeAll(dialog);
  if (dialog_ == dialog) dialog_ = nullptr;
  dialog->hide();
  dialog->deleteLater();  // a button of its own may be calling
}

void TFileTransfer::SetShell(platform::Shell* shell) { shell_ = shell ? shell : DefaultShell(); }

void TFileTransfer::RunStarting() { currentIndex_ = 0; }

TFileTransferDialog* TFileTransfer::BuildDialog(const TransferRun& run) {
  // A dialog of an earlier run that nobody can see any more goes now; one
  // still waiting for a click stays until it gets it.
  for (const QPointer<TFileTransferDialog>& old : std::as_const(dialogs_))
    if (old && !old->isVisible()) delete old.data();
  dialogs_.removeAll(nullptr);

  auto* dialog = new TFileTransferDialog(run.settings);
  dialogs_.append(dialog);
  dialog_ = dialog;
  QPointer<TFileTransfer> self(this);
  const std::shared_ptr<std::atomic<bool>> cancel = run.cancel;
  dialog->OnCancelClick = [self, cancel, dialog] {
    if (self && self->OnCopyCancel) self->OnCopyCancel(self.data());
    cancel->store(true);
    dialog->hide();
  };
  dialog->OnOpenFileClick = [self, dialog] {
    if (self) {
      self->OpenFromDialog(self->lastTarget_);
      self->Discard(dialog);
    }
  };
  dialog->OnOpenFolderClick = [self, dialog] {
    if (self) {
      self->OpenFromDialog(self->lastTargetDir_);
      self->Discard(dialog);
    }
  };
  if (run.settings.ShowDialog) {
    dialog->show();
    dialog->Animation()->Play();
  }
  return dialog;
}

void TFileTransfer::EndDialog(TFileTransferDialog* dialog, const TransferRun& run, bool cancelled) {
  if (!dialog) return;
  if (run.settings.ShowOpenFile || run.settings.ShowOpenFolder) {
    dialog->EndOfRun(cancelled);
  } else {
    Discard(dialog);
  }
}

void TFileTransfer::OpenFromDialog(const QString& target) { shell_->OpenDocument(target); }

void TFileTransfer::ItemStarting(int current, int index) {
  currentIndex_ = current;
  if (OnFileStart) OnFileStart(this, index);
}

void TFileTransfer::ItemDone(int index) {
  if (OnFileDone) OnFileDone(this, index);
}

void TFileTransfer::RunDone() {
  if (OnCopyDone) OnCopyDone(this);
}

bool TFileTransfer::WatchesProgress() const { return static_cast<bool>(OnCopyProgress); }

void TFileTransfer::Progress(int current, std::int64_t done, std::int64_t total) {
  if (OnCopyProgress) OnCopyProgress(this, current, done, total);
}

void TFileTransfer::TargetChosen(const QString& target, const QString& directory) {
  lastTarget_ = target;
  lastTargetDir_ = directory;
}

void TFileTransfer::UrlNotFound(const QString& url) {
  if (OnURLNotFound) OnURLNotFound(this, url);
}

void TFileTransfer::Error(int code) {
  if (OnError) OnError(this, code);
}

void TFileTransfer::ErrorInfo(int code, const QString& info) {
  if (OnErrorInfo) OnErrorInfo(this, code, info);
}

bool TFileTransfer::AllowOverwrite(const QString& target) {
  bool allow = true;
  if (OnCopyOverWrite) OnCopyOverWrite(this, target, allow);
  return allow;
}

void TFileTransfer::NoNewFile(const QString& file, TDateTime curdate, TDateTime newdate) {
  if (OnNoNewFileFound) OnNoNewFileFound(this, file, curdate, newdate);
}

void TFileTransfer::ConnectError() {
  if (OnConnectError) OnConnectError(this);
}
