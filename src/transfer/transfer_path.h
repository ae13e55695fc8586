// One way of copying an item (HTTP download, HTTP upload, ...). A path gets
// the item's fields, the run's working date and not-newer flag (both of
// which it may change), reports its own failures through the context's
// events, and returns whether the item was copied. An exception thrown by a
// path ends the item as a failure.
#pragma once
#include <memory>

#include "transfer/file_transfer_item.h"

class TransferRunContext;

class TransferPath {
 public:
  virtual ~TransferPath() = default;
  virtual bool Copy(const TFileTransferItem& item, TDateTime& workingDate, bool& notNewer) = 0;
};

// The path of `protocol`; null for a protocol this build cannot copy.
std::unique_ptr<TransferPath> PathFor(TTransferProtocol protocol, TransferRunContext& context);

// The caption word of `protocol` in the dialog.
QString CaptionWordFor(TTransferProtocol protocol, const struct RunSettings& settings);
