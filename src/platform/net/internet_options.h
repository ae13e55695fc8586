// What every connection of an internet session shares: the agent name, the
// proxy, the time-outs and the flag that aborts the session's requests.
#pragma once
#include <QString>
#include <atomic>
#include <memory>

namespace platform {

struct InternetOptions {
  QString agent = QStringLiteral("Quavik");
  // "host:port" of a proxy; empty means the system's configured access.
  QString proxy;
  int connectTimeoutMs = 20000;
  // A transfer that moves no byte for this long ends as a failed read; so
  // does one that moves less than lowSpeedBytesPerSecond on average over
  // that long (a trickle that never quite stops).
  int stallTimeoutMs = 60000;
  int lowSpeedBytesPerSecond = 1024;
  // Once this holds true, a request waiting for the network ends within
  // about 100 ms as failed: no connection, or a failed read.
  std::shared_ptr<const std::atomic<bool>> abort;
};

}  // namespace platform
