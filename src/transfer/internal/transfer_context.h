// What a transfer path may do during a run: read the run's settings and
// session, watch the cancel flag, and reach the component's events and the
// run's dialog. It lives on the worker thread. Every event and dialog call
// is carried to the user-interface thread through the UiDispatcher and
// waited for, and reaches the component only as its TransferRunObserver;
// once the component is gone they are skipped (events then give their
// default answers). No call here runs a nested event loop, but an event
// handler on the user-interface thread may (a message box), and the worker
// waits for it.
#pragma once
#include <QPointer>
#include <QString>
#include <cstdint>
#include <utility>

#include "transfer/internal/transfer_run.h"
#include "transfer/transfer_types.h"

namespace platform {
class InternetSession;
}
class UiDispatcher;
class TFileTransferDialog;

// An error event to raise: OnError(code), then OnErrorInfo(code, info).
struct TransferError {
  TransferError(TransferErrorCode code, QString info) : code(static_cast<int>(code)), info(std::move(info)) {}
  // An HTTP status or the internet layer's error code, passed on as it is.
  static TransferError Numbered(int code, QString info) {
    TransferError error(TransferErrorCode::IdenticalFiles, std::move(info));
    error.code = code;
    return error;
  }
  int code;
  QString info;
};

class TransferRunContext {
 public:
  TransferRunContext(TransferRun& run, UiDispatcher& ui);

  const RunSettings& Settings() const { return run_.settings; }
  // The run's internet session; null when no network item is active.
  platform::InternetSession* Session() const { return session_; }
  void SetSession(platform::InternetSession* session) { session_ = session; }
  bool Cancelled() const { return run_.Cancelled(); }
  // Active items started so far, 1-based while an item is being copied.
  int CurrentIndex() const { return currentIndex_; }

  // Run steps.
  void BuildDialog();
  void StartItem(int index, const QString& captionWord);
  void StoreResults(int index, bool copied, bool noNewFile, TDateTime newFileDate);
  void FileDone(int index);
  void CopyDone();
  void EndDialog();

  // Dialog, for the paths.
  void SetFileLine(const QString& fileName, const QString& hostWord, const QString& host);
  void SetClip(TransferClip clip);
  // The update after every block; `startMs` is the transfer's start on the
  // steady clock.
  void Progress(std::int64_t done, std::int64_t total, std::int64_t startMs, const QString& captionWord);
  void SetLastTarget(const QString& target, const QString& directory);
  // Whether anyone sees the per-block updates (a shown dialog or an
  // OnCopyProgress handler at Start). When nobody does, a path may move
  // larger blocks; a handler assigned during the run is still called.
  bool ProgressObserved() const { return DialogShown() || run_.settings.ProgressHandler; }

  // Events, for the paths.
  void URLNotFound(const QString& url);
  void Error(const TransferError& error);
  // OnCopyOverWrite; true (overwrite) without a handler, false once the
  // component is gone.
  bool AllowOverwrite(const QString& target);
  void NoNewFile(const QString& file, TDateTime curdate, TDateTime newdate);
  void ConnectError();

  // Milliseconds on the steady clock.
  static std::int64_t NowMs();

 private:
  // Shown when asked for and when widgets can be shown at all.
  bool DialogShown() const { return run_.settings.ShowDialog && widgetsAvailable_; }
  // Whether OnCopyProgress has a handler now (asked at most every 100 ms).
  bool ProgressHandlerNow();

  TransferRun& run_;
  UiDispatcher& ui_;
  platform::InternetSession* session_ = nullptr;
  int currentIndex_ = 0;
  bool widgetsAvailable_;
  bool handlerAssigned_ = false;
  std::int64_t lastProbeMs_ = -1;
  QPointer<TFileTransferDialog> dialog_;  // touched on the user-interface thread only
};
