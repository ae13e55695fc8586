#include "report_time.h"

#include <cstdio>
#include <ctime>

namespace clan {

ReportTime FormatReportTime(TimePoint when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  // A roster answer formats many reports of the same few seconds, and the
  // time zone conversion takes a process-wide lock: the last one is kept.
  thread_local std::time_t lastSeconds = -1;
  thread_local ReportTime last;
  if (seconds == lastSeconds) return last;
  std::tm local{};
  localtime_r(&seconds, &local);
  char date[32];
  char time[32];
  std::snprintf(date, sizeof date, "%02d.%02d.%04d", local.tm_mday, local.tm_mon + 1,
                local.tm_year + 1900);
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
  lastSeconds = seconds;
  last = {date, time};
  return last;
}

}  // namespace clan
