#include "fake_clock.h"

#include <cstdlib>
#include <ctime>

namespace clan::testing {
namespace {

const bool kUtcZone = [] {
  setenv("TZ", "UTC0", 1);
  tzset();
  return true;
}();

}  // namespace

TimePoint Utc(int year, int month, int day, int hour, int minute, int second) {
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  return std::chrono::system_clock::from_time_t(timegm(&fields));
}

}  // namespace clan::testing
