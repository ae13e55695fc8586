#include "platform/os/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <unistd.h>

namespace platform {

namespace {

// A base directory from the environment counts only as an absolute path.
QString BaseDir(const QString& fromEnvironment, const QString& home, const char* fallback) {
  if (fromEnvironment.startsWith(QLatin1Char('/'))) return fromEnvironment;
  return JoinDir(home, QString::fromLatin1(fallback));
}

bool CanCreateFilesIn(const QString& dir) {
  return ::access(QFile::encodeName(dir).constData(), W_OK | X_OK) == 0;
}

}  // namespace

ProgramFilePlaces ChooseProgramFilePlaces(const QString& programDir, bool besideProgram,
                                          const QString& xdgConfigHome, const QString& xdgCacheHome,
                                          const QString& home, const QString& folder) {
  if (besideProgram) return {programDir, programDir};
  return {JoinDir(BaseDir(xdgConfigHome, home, ".config"), folder),
          JoinDir(BaseDir(xdgCacheHome, home, ".cache"), folder)};
}

bool InstalledWithMenuEntry(const QString& programDir, const QString& desktopFile) {
  const QDir bin(programDir);
  return bin.dirName() == QLatin1String("bin") &&
         QFileInfo::exists(bin.absoluteFilePath(QStringLiteral("../share/applications/") + desktopFile));
}

AppPaths AppPaths::FromApplication(const QString& folder, const QString& desktopFile) {
  AppPaths p;
  p.programDir = QCoreApplication::applicationDirPath();
  p.workingDir = QDir::currentPath();
  p.arguments = QCoreApplication::arguments().mid(1);
  p.homeDir = QDir::homePath();
  p.winePrefix = qEnvironmentVariable("WINEPREFIX");
  if (InstalledWithMenuEntry(p.programDir, desktopFile) || !CanCreateFilesIn(p.programDir)) {
    const ProgramFilePlaces places = ChooseProgramFilePlaces(
        p.programDir, false, qEnvironmentVariable("XDG_CONFIG_HOME"),
        qEnvironmentVariable("XDG_CACHE_HOME"), QDir::homePath(), folder);
    p.userSettingsDir = places.settingsDir;
    p.userTempDir = places.tempDir;
    // A directory that can't be made shows up as the first failed write,
    // which names the file.
    QDir().mkpath(p.userSettingsDir);
    QDir().mkpath(p.userTempDir);
  }
  return p;
}

QString JoinDir(const QString& dir, const QString& name) {
  if (dir.isEmpty()) return name;
  return dir.endsWith(QLatin1Char('/')) ? dir + name : dir + QLatin1Char('/') + name;
}

QString FindPathNoCase(const QString& path) {
  if (path.isEmpty() || QFileInfo::exists(path)) return path;
  const bool absolute = path.startsWith(QLatin1Char('/'));
  const QStringList parts = path.split(QLatin1Char('/'));
  QString resolved = absolute ? QStringLiteral("/") : QString();
  for (int i = absolute ? 1 : 0; i < parts.size(); ++i) {
    const QString& part = parts[i];
    const QString base = resolved.isEmpty() ? QStringLiteral(".") : resolved;
    QString chosen = part;
    if (!part.isEmpty() && part != QLatin1String(".") && part != QLatin1String("..") &&
        !QFileInfo::exists(JoinDir(resolved, part))) {
      const QStringList entries = QDir(base).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                       QDir::NoDotAndDotDot);
      bool found = false;
      for (const QString& e : entries) {
        if (e.compare(part, Qt::CaseInsensitive) == 0) {
          chosen = e;
          found = true;
          break;
        }
      }
      if (!found) {
        // Nothing further can exist below a missing component: keep the rest as given.
        QStringList rest = parts.mid(i);
        return resolved.isEmpty() ? rest.join(QLatin1Char('/'))
                                  : JoinDir(resolved, rest.join(QLatin1Char('/')));
      }
    }
    if (i == (absolute ? 1 : 0) && !absolute) {
      resolved = chosen;
    } else {
      resolved = JoinDir(resolved, chosen);
    }
  }
  return resolved;
}

}  // namespace platform
