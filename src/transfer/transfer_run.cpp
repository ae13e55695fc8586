#include "transfer/transfer_run.h"

#include <algorithm>

#include "transfer/file_transfer.h"

std::shared_ptr<TransferRun> TransferRun::Snapshot(const TFileTransfer& t) {
  auto run = std::make_shared<TransferRun>();
  RunSettings& s = run->settings;
  s.AlwaysOnTop = t.AlwaysOnTop;
  s.DlgCaption = t.DlgCaption;
  s.DlgCompleted = t.DlgCompleted;
  s.DlgFileLabel = t.DlgFileLabel;
  s.DlgFileOfLabel = t.DlgFileOfLabel;
  s.DlgFromServerLabel = t.DlgFromServerLabel;
  s.DlgToServerLabel = t.DlgToServerLabel;
  s.DlgProgressLabel = t.DlgProgressLabel;
  s.DlgRateLabel = t.DlgRateLabel;
  s.DlgTimeLabel = t.DlgTimeLabel;
  s.DlgCopying = t.DlgCopying;
  s.DlgDwnload = t.DlgDwnload;
  s.DlgUpload = t.DlgUpload;
  s.FTPPassive = t.FTPPassive;
  s.Proxy = t.Proxy;
  s.ProxyUserID = t.ProxyUserID;
  s.ProxyPassword = t.ProxyPassword;
  s.ShowDialog = t.ShowDialog;
  s.ShowOpenFile = t.ShowOpenFile;
  s.ShowOpenFolder = t.ShowOpenFolder;
  s.ShowCompletion = t.ShowCompletion;
  s.ShowTime = t.ShowTime;
  s.ConnectTimeoutMs = t.ConnectTimeoutMs;
  s.StallTimeoutMs = t.StallTimeoutMs;
  s.ProgressHandler = static_cast<bool>(t.OnCopyProgress);
  for (int i = 0; i < t.Items.Count(); ++i) run->items.push_back({t.Items.Shared(i), t.Items[i]});
  return run;
}

int TransferRun::ActiveCount() const {
  return static_cast<int>(std::count_if(items.begin(), items.end(), [](const RunItem& i) { return i.fields.Active; }));
}
