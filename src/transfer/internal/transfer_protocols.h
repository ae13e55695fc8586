// The protocols a run can copy with, one row each: how its path is made,
// its caption word in the dialog, whether it needs the run's internet
// session, and the dialog's clip while it copies. A new protocol is added as
// a new row.
#pragma once
#include <QString>
#include <memory>

#include "transfer/internal/transfer_path.h"
#include "transfer/transfer_types.h"

struct RunSettings;

struct TransferProtocolRow {
  TTransferProtocol protocol;
  std::unique_ptr<TransferPath> (*makePath)(TransferRunContext& context);
  QString RunSettings::*captionWord;
  bool needsInternet;
  TransferClip clip;
};

// The row of `protocol`; null for a value outside the enumeration.
const TransferProtocolRow* ProtocolRow(TTransferProtocol protocol);
