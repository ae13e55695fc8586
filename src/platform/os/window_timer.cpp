#include "platform/os/window_timer.h"

namespace platform {

WindowTimer::WindowTimer(QObject* parent) : QObject(parent) {
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (OnTimer) OnTimer();
  });
}

void WindowTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Apply();
}

void WindowTimer::SetInterval(int milliseconds) {
  interval_ = milliseconds;
  Apply();
}

void WindowTimer::Apply() {
  // Restarting on every change gives a full period from now, as a window timer does.
  if (enabled_ && interval_ > 0) {
    timer_.start(interval_);
  } else {
    timer_.stop();
  }
}

}  // namespace platform
