#include "platform/os/gio_tool.h"

#include <QProcess>
#include <QStandardPaths>

namespace platform {

GioOutcome RunGio(const QString& gio, const QStringList& args, int timeoutMs, const QByteArray& answers) {
  const QString program = QStandardPaths::findExecutable(gio);
  if (program.isEmpty()) return {false, QStringLiteral("gio not found")};
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, args);
  if (!process.waitForStarted(timeoutMs)) return {false, process.errorString()};
  process.write(answers);
  process.closeWriteChannel();
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished(1000);
    return {false, QStringLiteral("gio did not answer in time")};
  }
  const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
  const bool ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
  return {ok, output};
}

}  // namespace platform
