// A clock the test sets by hand, and a time zone fixed to UTC for the whole
// test program, so that the dates and times in answers are known bytes.
#pragma once
#include <chrono>

#include "roster_store.h"

namespace clan::testing {

// The time point of a UTC calendar time.
TimePoint Utc(int year, int month, int day, int hour, int minute, int second);

class FakeClock {
 public:
  explicit FakeClock(TimePoint start) : now_(start) {}
  void Advance(std::chrono::seconds by) { now_ += by; }
  Clock AsClock() {
    return [this] { return now_; };
  }

 private:
  TimePoint now_;
};

}  // namespace clan::testing
