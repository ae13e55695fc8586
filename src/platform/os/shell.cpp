#include "platform/os/shell.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {
namespace {

bool IsWindowsProgram(const QString& program) {
  QFile f(program);
  if (!f.open(QIODevice::ReadOnly)) return false;
  return f.read(2) == "MZ";
}

}  // namespace

QUrl DocumentUrl(const QString& target) {
  const QFileInfo local(target);
  if (local.isAbsolute() || local.exists()) return QUrl::fromLocalFile(local.absoluteFilePath());
  return QUrl::fromUserInput(target);
}

void SystemShell::OpenDocument(const QString& target) { QDesktopServices::openUrl(DocumentUrl(target)); }

void SystemShell::StartProgram(const QString& program, const QStringList& arguments,
                               const QString& workingDirectory, bool /*maximised*/) {
  QString executable = program;
  QStringList argv = arguments;
  if (IsWindowsProgram(program)) {
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    if (!wine.isEmpty()) {
      argv.prepend(program);
      executable = wine;
    }
  }
  QProcess::startDetached(executable, argv, workingDirectory);
}

}  // namespace platform
