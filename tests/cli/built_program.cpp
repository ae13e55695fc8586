#include "built_program.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>

QString BuiltProgramDir() {
  return qEnvironmentVariableIsEmpty("QUAVIK_TEST_BUILD_DIR") ? QCoreApplication::applicationDirPath()
                                                              : qEnvironmentVariable("QUAVIK_TEST_BUILD_DIR");
}

int UnusedLoopbackPort(int socketType) {
  const int fd = ::socket(AF_INET, socketType, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                     ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
  ::close(fd);
  return bound ? ntohs(address.sin_port) : -1;
}

ProgramRun RunBuiltProgram(const QString& name, const QStringList& args, const ProgramRunOptions& options) {
  QProcess process;
  if (!options.workingDir.isEmpty()) process.setWorkingDirectory(options.workingDir);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");
  env.remove("QT_QPA_PLATFORM");
  for (const QString& key : options.extra.keys()) env.insert(key, options.extra.value(key));
  process.setProcessEnvironment(env);
  process.start(BuiltProgramDir() + "/" + name, args);
  if (!process.waitForFinished(options.timeoutMs)) {
    process.kill();
    process.waitForFinished();
    return {-1, {}, "did not finish: " + process.errorString()};
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
          QString::fromUtf8(process.readAllStandardError())};
}
