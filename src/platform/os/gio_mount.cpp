#include "platform/os/gio_mount.h"

#include <QStandardPaths>
#include <QUrl>

namespace platform {

bool GioAvailable(const QString& gio) { return !QStandardPaths::findExecutable(gio).isEmpty(); }

GioOutcome GioMount(const QString& address, int timeoutMs, const QString& gio) {
  QStringList args{QStringLiteral("mount")};
  if (QUrl(address).userName().isEmpty()) args << QStringLiteral("-a");
  args << address;
  return RunGio(gio, args, timeoutMs);
}

GioOutcome GioUnmount(const QString& location, int timeoutMs, const QString& gio) {
  return RunGio(gio, {QStringLiteral("mount"), QStringLiteral("-u"), location}, timeoutMs);
}

}  // namespace platform
