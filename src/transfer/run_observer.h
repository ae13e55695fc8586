// What a run tells the component it belongs to, and the little it asks of
// it: the run's steps, its progress and its events, each one call. The run's
// worker makes these calls through the UiDispatcher, so they always come on
// the user-interface thread while the worker waits; none comes once the
// component is gone.
#pragma once
#include <QString>
#include <cstdint>

#include "transfer/transfer_types.h"

class TFileTransferDialog;
struct TransferRun;

class TransferRunObserver {
 public:
  // A run begins: no item has started yet.
  virtual void RunStarting() = 0;
  // Builds and shows the progress dialog of `run`; the dialog, owned by
  // the observer.
  virtual TFileTransferDialog* BuildDialog(const TransferRun& run) = 0;
  // Item `index` (0-based among all items) starts as the `current`-th
  // active one (1-based).
  virtual void ItemStarting(int current, int index) = 0;
  virtual void ItemDone(int index) = 0;
  virtual void RunDone() = 0;
  // The run that built `dialog` (null: it showed none) has ended.
  virtual void EndDialog(TFileTransferDialog* dialog, const TransferRun& run, bool cancelled) = 0;

  // Whether anyone takes the per-block progress now.
  virtual bool WatchesProgress() const = 0;
  virtual void Progress(int current, std::int64_t done, std::int64_t total) = 0;
  // The local file a download or copy writes, and its directory.
  virtual void TargetChosen(const QString& target, const QString& directory) = 0;

  virtual void UrlNotFound(const QString& url) = 0;
  // OnError and OnErrorInfo come as two calls: the component may be gone
  // after the first.
  virtual void Error(int code) = 0;
  virtual void ErrorInfo(int code, const QString& info) = 0;
  // Whether `target` may be replaced.
  virtual bool AllowOverwrite(const QString& target) = 0;
  virtual void NoNewFile(const QString& file, TDateTime curdate, TDateTime newdate) = 0;
  virtual void ConnectError() = 0;

 protected:
  ~TransferRunObserver() = default;
};
