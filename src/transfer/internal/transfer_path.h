// One way of copying an item (HTTP download, FTP upload, file copy, ...). A
// path gets the item's fields, the run's working date and not-newer flag
// (both of which it may change), reports its own failures through the
// context's events, and returns whether the item was copied. An exception
// thrown by a path ends the item as a failure. Which path serves which
// protocol is said in transfer_protocols.h.
#pragma once
#include "transfer/file_transfer_item.h"
#include "transfer/internal/transfer_context.h"
#include "transfer/internal/working_date.h"

class TransferPath {
 public:
  virtual ~TransferPath() = default;
  virtual bool Copy(const TFileTransferItem& item, WorkingDate& workingDate, bool& notNewer) = 0;
};
