// The fixed waits and timer periods of the program, scalable for tests.
#pragma once
#include <functional>

namespace platform {

struct Waits {
  // Real milliseconds are multiplied by this; tests use e.g. 0.01.
  double scale = 1.0;
  int Scaled(int milliseconds) const {
    const double v = milliseconds * scale;
    return v < 1.0 && milliseconds > 0 ? 1 : static_cast<int>(v);
  }
};

// Runs a nested event loop while `keepWaiting` holds, checking it every
// `pollMilliseconds`; the thread sleeps in between, so nothing spins and the
// window stays responsive.
void WaitProcessingEvents(const std::function<bool()>& keepWaiting, int pollMilliseconds = 10);

}  // namespace platform
