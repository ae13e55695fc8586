#include "report_time.h"

#include <cstdio>
#include <ctime>

namespace clan {

ReportTime FormatReportTime(TimePoint when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  char date[32];
  char time[32];
  std::snprintf(date, sizeof date, "%02d.%02d.%04d", local.tm_mday, local.tm_mon + 1,
                local.tm_year + 1900);
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
  return {date, time};
}

}  // namespace clan
