#include "platform/os/waits.h"

#include <QEventLoop>
#include <QTimer>

namespace platform {

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
