// What one run works on: a snapshot of the component's properties and items
// taken by Start (the component makes it), the shared items that receive the
// results, and the run's own cancel flag (set by the dialog of this run only).
#pragma once
#include <QString>
#include <atomic>
#include <memory>
#include <vector>

#include "transfer/file_transfer_item.h"

struct RunSettings {
  bool AlwaysOnTop = false;
  QString DlgCaption, DlgCompleted, DlgFileLabel, DlgFileOfLabel, DlgFromServerLabel, DlgToServerLabel,
      DlgProgressLabel, DlgRateLabel, DlgTimeLabel, DlgCopying, DlgDwnload, DlgUpload;
  bool FTPPassive = false;
  QString Proxy, ProxyUserID, ProxyPassword;
  bool ShowDialog = true, ShowOpenFile = false, ShowOpenFolder = false, ShowCompletion = false, ShowTime = false;
  int ConnectTimeoutMs = 20000;
  int StallTimeoutMs = 60000;
  int LowSpeedBytesPerSecond = 1024;
  // Whether OnCopyProgress had a handler at Start: without one and without a
  // visible dialog a block needs no call to the user-interface thread.
  bool ProgressHandler = false;
};

struct RunItem {
  std::shared_ptr<TFileTransferItem> shared;  // receives the results
  TFileTransferItem fields;                   // as they were at Start
};

struct TransferRun {
  RunSettings settings;
  std::vector<RunItem> items;
  std::shared_ptr<std::atomic<bool>> cancel = std::make_shared<std::atomic<bool>>(false);

  int ActiveCount() const;
  bool Cancelled() const { return cancel->load(); }
};
