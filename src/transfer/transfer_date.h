// Date-times of the transfer component from the clocks of the system: days
// since 30 December 1899 with the time of day as fraction, taken from UTC
// without time-zone conversion.
#pragma once
#include <chrono>
#include <cstdint>

#include "transfer/transfer_types.h"

inline TDateTime DateTimeFromUnixMilliseconds(std::int64_t ms) {
  constexpr double kDaysBefore1970 = 25569.0;
  return kDaysBefore1970 + static_cast<double>(ms) / 86400000.0;
}

inline TDateTime DateTimeFromUnixSeconds(std::int64_t seconds) { return DateTimeFromUnixMilliseconds(seconds * 1000); }

// Seconds since 1970-01-01 UTC of a date-time, rounded to whole seconds.
inline std::int64_t UnixSecondsFromDateTime(TDateTime date) {
  constexpr double kDaysBefore1970 = 25569.0;
  const double seconds = (date - kDaysBefore1970) * 86400.0;
  return static_cast<std::int64_t>(seconds < 0 ? seconds - 0.5 : seconds + 0.5);
}

// A date inside the component: the system clock, to the millisecond. The
// component's published dates (an item's FileDate and NewFileDate, the
// dates of OnNoNewFileFound) are TDateTime, converted at the edge.
using TransferTime = std::chrono::sys_time<std::chrono::milliseconds>;

inline TransferTime TransferTimeFromUnixSeconds(std::int64_t seconds) {
  return TransferTime(std::chrono::seconds(seconds));
}

inline TDateTime DateTimeOf(TransferTime time) {
  return DateTimeFromUnixMilliseconds(time.time_since_epoch().count());
}
