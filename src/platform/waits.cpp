#include "platform/waits.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace platform {

void SleepProcessingEvents(int milliseconds) {
  const QDeadlineTimer deadline(milliseconds);
  WaitProcessingEvents([&] { return !deadline.hasExpired(); }, std::clamp(milliseconds, 1, 10));
}

void WaitProcessingEvents(const std::function<bool()>& keepWaiting, int pollMilliseconds) {
  if (!keepWaiting()) return;
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (!keepWaiting()) loop.quit();
  });
  poll.start(pollMilliseconds);
  loop.exec();
}

}  // namespace platform
