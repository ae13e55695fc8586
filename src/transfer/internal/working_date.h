// The run's working date of one item: the item's FileDate until a source's
// date takes its place. Source dates stay TransferTime; the working date
// becomes the component's TDateTime only where it leaves the run (the
// events, NewFileDate), and a FileDate that no source date replaced comes
// back exactly as it was given.
#pragma once
#include <optional>

#include "transfer/transfer_date.h"

class WorkingDate {
 public:
  explicit WorkingDate(TDateTime fileDate) : fileDate_(fileDate) {}

  // Whether `source` is later than the working date.
  bool IsBefore(TransferTime source) const { return taken_ ? *taken_ < source : DateTimeOf(source) > fileDate_; }
  void Take(TransferTime source) { taken_ = source; }
  TDateTime AsDateTime() const { return taken_ ? DateTimeOf(*taken_) : fileDate_; }

 private:
  TDateTime fileDate_;
  std::optional<TransferTime> taken_;
};
