// The CopyNewerOnly rule all paths share: a source whose date is later than
// the run's working date is copied and its date becomes the working date;
// one that isn't sets the not-newer flag, leaves its date as the working
// date and raises OnNoNewFileFound(file, date, date). A source whose date
// can't be had counts as not newer: what is there may be newer.
#pragma once
#include <QString>

#include "transfer/internal/transfer_context.h"
#include "transfer/internal/working_date.h"
#include "transfer/transfer_date.h"

// True when the copy goes on.
inline bool SourceIsNewer(TransferRunContext& context, const QString& file, TransferTime sourceDate,
                          WorkingDate& workingDate, bool& notNewer) {
  const bool newer = workingDate.IsBefore(sourceDate);
  workingDate.Take(sourceDate);
  if (newer) return true;
  notNewer = true;
  context.NoNewFile(file, workingDate.AsDateTime(), workingDate.AsDateTime());
  return false;
}

// The rule for a source without a date: the working date stays; false.
inline bool DateUnknown(TransferRunContext& context, const QString& file, const WorkingDate& workingDate,
                        bool& notNewer) {
  notNewer = true;
  context.NoNewFile(file, workingDate.AsDateTime(), workingDate.AsDateTime());
  return false;
}
