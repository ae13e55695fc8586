#include "support/loopback_ftp_server.h"

#include <QElapsedTimer>

namespace testing_support {

LoopbackFtpServer::LoopbackFtpServer(const QString& root) {
  Start(QStringLiteral(QUAVIK_TEST_SUPPORT_DIR "/loopback_ftp_server.py"), root);
}

LoopbackFtpServer::LoopbackFtpServer(const Hostile& hostile) {
  Start(QStringLiteral(QUAVIK_TEST_SUPPORT_DIR "/hostile_ftp_server.py"), hostile.scenario);
}

void LoopbackFtpServer::Start(const QString& script, const QString& argument) {
  process_.setProcessChannelMode(QProcess::SeparateChannels);
  process_.start(QStringLiteral("/usr/bin/python3"), {script, argument});
  if (!process_.waitForStarted(10000)) {
    problem_ = QStringLiteral("cannot start /usr/bin/python3");
    return;
  }
  QElapsedTimer timer;
  timer.start();
  QByteArray line;
  while (!line.endsWith('\n') && timer.elapsed() < 15000 && process_.state() == QProcess::Running) {
    if (process_.canReadLine() || process_.waitForReadyRead(200)) line += process_.readLine();
  }
  if (line.startsWith("PORT ")) {
    port_ = line.mid(5).trimmed().toInt();
  } else {
    problem_ = QStringLiteral("FTP server did not start: ") + QString::fromLocal8Bit(process_.readAllStandardError());
  }
}

LoopbackFtpServer::~LoopbackFtpServer() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.closeWriteChannel();  // the server ends when its input closes
  if (!process_.waitForFinished(3000)) {
    process_.kill();
    process_.waitForFinished(3000);
  }
}

}  // namespace testing_support
