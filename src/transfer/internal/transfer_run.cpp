#include "transfer/internal/transfer_run.h"

#include <algorithm>

int TransferRun::ActiveCount() const {
  return static_cast<int>(std::count_if(items.begin(), items.end(), [](const RunItem& i) { return i.fields.Active; }));
}
