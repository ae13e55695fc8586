// The time of a report as the roster shows it, in the server's local time
// zone: the date as "10.12.2026" and the time of day as "17:33:57".
#pragma once
#include <string>

#include "roster_store.h"

namespace clan {

struct ReportTime {
  std::string date;
  std::string time;
};

ReportTime FormatReportTime(TimePoint when);

}  // namespace clan
