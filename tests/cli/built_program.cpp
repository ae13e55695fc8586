#include "built_program.h"

#include <QCoreApplication>
#include <QProcess>

ProgramRun RunBuiltProgram(const QString& name, const QStringList& args, const ProgramRunOptions& options) {
  QProcess process;
  if (!options.workingDir.isEmpty()) process.setWorkingDirectory(options.workingDir);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");
  env.remove("QT_QPA_PLATFORM");
  for (const QString& key : options.extra.keys()) env.insert(key, options.extra.value(key));
  process.setProcessEnvironment(env);
  const QString buildDir = qEnvironmentVariableIsEmpty("QUAVIK_TEST_BUILD_DIR")
                               ? QCoreApplication::applicationDirPath()
                               : qEnvironmentVariable("QUAVIK_TEST_BUILD_DIR");
  process.start(buildDir + "/" + name, args);
  if (!process.waitForFinished(options.timeoutMs)) {
    process.kill();
    process.waitForFinished();
    return {-1, {}, "did not finish: " + process.errorString()};
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
          QString::fromUtf8(process.readAllStandardError())};
}
