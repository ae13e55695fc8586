#include "transfer/file_transfer_item.h"

void TFileTransferItem::SetResults(bool copied, bool noNewFile, TDateTime newFileDate) {
  copied_ = copied;
  noNewFile_ = noNewFile;
  newFileDate_ = newFileDate;
}

TFileTransferItem& TFileTransferItems::Add() {
  items_.push_back(std::make_shared<TFileTransferItem>());
  return *items_.back();
}
