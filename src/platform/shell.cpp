#include "platform/shell.h"

#include <QDesktopServices>
#include <QFile>
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

void SystemShell::OpenDocument(const QString& target) {
  const QUrl url = QUrl::fromUserInput(target);
  QDesktopServices::openUrl(url);
}

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
