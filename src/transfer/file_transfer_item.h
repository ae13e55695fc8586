// One entry of a transfer list and the list itself. An item holds what to
// copy (the published fields, set by the caller) and what the last run that
// copied it found (Copied, NoNewFile, NewFileDate, written by the run).
// Items are shared with a run that has started, so clearing the list while
// a run goes on leaves the running items intact.
#pragma once
#include <QString>
#include <memory>
#include <vector>

#include "transfer/transfer_types.h"

class TFileTransfer;

class TFileTransferItem {
 public:
  QString URL;
  QString TargetDir;
  QString TargetFilename;
  TTransferProtocol Protocol = wpHttp;
  TTransferHTTPCommand HTTPCommand = hcPost;
  QString FTPHost;
  QString FTPUserID;
  QString FTPPassword;
  int FTPPort = 21;
  bool Active = true;
  bool CopyNewerOnly = false;
  TDateTime FileDate = 0;

  // Results of the last run that copied this item.
  bool Copied() const { return copied_; }
  bool NoNewFile() const { return noNewFile_; }
  TDateTime NewFileDate() const { return newFileDate_; }
  void SetResults(bool copied, bool noNewFile, TDateTime newFileDate);

 private:
  bool copied_ = false;
  bool noNewFile_ = false;
  TDateTime newFileDate_ = 0;
};

class TFileTransferItems {
 public:
  explicit TFileTransferItems(TFileTransfer* owner) : owner_(owner) {}
  TFileTransfer* Owner() const { return owner_; }

  // Appends an item with the initial values and returns it.
  TFileTransferItem& Add();
  void Clear() { items_.clear(); }
  int Count() const { return static_cast<int>(items_.size()); }
  // 0-based.
  TFileTransferItem& operator[](int index) { return *items_.at(static_cast<std::size_t>(index)); }
  const TFileTransferItem& operator[](int index) const { return *items_.at(static_cast<std::size_t>(index)); }
  std::shared_ptr<TFileTransferItem> Shared(int index) const { return items_.at(static_cast<std::size_t>(index)); }

 private:
  TFileTransfer* owner_;
  std::vector<std::shared_ptr<TFileTransferItem>> items_;
};
