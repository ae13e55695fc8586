#include "platform/waits.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace platform {

void SleepProcessingEvents(int milliseconds) {
  QDeadlineTimer deadline(milliseconds);
  while (!deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, int(deadline.remainingTime()));
    QThread::msleep(std::min<qint64>(10, std::max<qint64>(0, deadline.remainingTime())));
  }
  QCoreApplication::processEvents();
}

}  // namespace platform
