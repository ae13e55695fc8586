// One way of copying an item (HTTP download, FTP upload, file copy, ...). A
// path gets the item's fields, the run's working date and not-newer flag
// (both of which it may change), reports its own failures through the
// context's events, and returns whether the item was copied. An exception
// thrown by a path ends the item as a failure.
//
// Each protocol is one row of a table: how its path is made, its caption
// word in the dialog, whether it needs the run's internet session, and the
// dialog's clip while it copies. A new protocol is added as a new row.
#pragma once
#include <QString>
#include <memory>

#include "transfer/file_transfer_item.h"
#include "transfer/transfer_context.h"

struct RunSettings;

class TransferPath {
 public:
  virtual ~TransferPath() = default;
  virtual bool Copy(const TFileTransferItem& item, TDateTime& workingDate, bool& notNewer) = 0;
};

struct TransferProtocolRow {
  TTransferProtocol protocol;
  std::unique_ptr<TransferPath> (*makePath)(TransferRunContext& context);
  QString RunSettings::*captionWord;
  bool needsInternet;
  TransferClip clip;
};

// The row of `protocol`; null for a value outside the enumeration.
const TransferProtocolRow* ProtocolRow(TTransferProtocol protocol);
