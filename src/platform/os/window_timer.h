// A timer with the meaning of a window timer: it fires every `Interval`
// milliseconds while `Enabled`; an interval of 0 never fires (a plain QTimer
// with interval 0 would fire on every pass of the event loop).
#pragma once
#include <QObject>
#include <QTimer>
#include <functional>

namespace platform {

class WindowTimer : public QObject {
  Q_OBJECT
 public:
  explicit WindowTimer(QObject* parent = nullptr);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int Interval() const { return interval_; }
  void SetInterval(int milliseconds);
  // Called on every tick; may be empty.
  std::function<void()> OnTimer;

 private:
  void Apply();
  QTimer timer_;
  bool enabled_ = false;
  int interval_ = 1000;
};

}  // namespace platform
