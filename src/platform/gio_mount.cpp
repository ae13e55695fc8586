#include "platform/gio_mount.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {
namespace {

GioOutcome RunGio(const QString& gio, const QStringList& args, int timeoutMs) {
  const QString program = QStandardPaths::findExecutable(gio);
  if (program.isEmpty()) return {false, QStringLiteral("gio not found")};
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, args);
  if (!process.waitForStarted(timeoutMs)) return {false, process.errorString()};
  process.closeWriteChannel();  // a question gio asks gets no answer
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished(1000);
    return {false, QStringLiteral("gio did not answer in time")};
  }
  const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
  const bool ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
  return {ok, output};
}

}  // namespace

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
