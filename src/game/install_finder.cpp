#include "game/install_finder.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <set>

#include "game/game_profile.h"
#include "game/install_layout.h"
#include "platform/os/paths.h"

namespace game {
namespace {

// The folders directly inside `dir`.
QStringList Children(const QString& dir) {
  QStringList result;
  const QDir d(dir);
  for (const QString& name : d.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
    result << d.filePath(name);
  }
  return result;
}

QStringList Candidates(const QString& home, const QString& winePrefix) {
  QStringList dirs;
  const auto under = [](const QString& base, const QString& relative) {
    return platform::FindPathNoCase(platform::JoinDir(base, relative));
  };
  if (!home.isEmpty()) {
    dirs << Children(under(home, QStringLiteral(".local/share/OldUnreal")));
    for (const char* userDir : {".utpg", ".ut2004", ".ut2003"}) dirs << under(home, QString::fromLatin1(userDir));
    dirs << Children(under(home, QStringLiteral(".local/share/Steam/steamapps/common")));
    dirs << Children(under(home, QStringLiteral(".steam/steam/steamapps/common")));
  }
  const QString prefix = !winePrefix.isEmpty() ? winePrefix
                         : home.isEmpty()      ? QString()
                                               : platform::JoinDir(home, QStringLiteral(".wine"));
  if (!prefix.isEmpty()) {
    const QString driveC = under(prefix, QStringLiteral("drive_c"));
    dirs << Children(driveC);
    for (const char* folder : {"Program Files", "Program Files (x86)", "GOG Games",
                               "Program Files/Steam/steamapps/common",
                               "Program Files (x86)/Steam/steamapps/common"}) {
      dirs << Children(under(driveC, QString::fromLatin1(folder)));
    }
  }
  return dirs;
}

bool IsFile(const QString& path) { return QFileInfo(path).isFile(); }

bool IsInstallOf(const QString& dir, int gameIndex, const QString& home) {
  const GameProfile profile = GameProfileFor(gameIndex);
  if (!IsFile(LocateExecutable(dir, profile))) return false;
  if (gameIndex != 0) return true;
  const InstallPlaces places = PlacesOf(dir, profile, home);
  return IsFile(LocateGameFile(places, profile.gameIni)) || IsFile(LocateGameFile(places, profile.userIni));
}

}  // namespace

std::vector<FoundInstall> FindInstalls(const QString& home, const QString& winePrefix) {
  std::vector<FoundInstall> found;
  std::set<QString> seen;
  for (const QString& candidate : Candidates(home, winePrefix)) {
    const QFileInfo info(candidate);
    if (!info.isDir() || !seen.insert(info.canonicalFilePath()).second) continue;
    const QString dir = platform::JoinDir(candidate, QString());
    const QString gameDir = dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
    for (int index = 0; index < GameCount(); ++index) {
      if (!IsInstallOf(gameDir, index, home)) continue;
      const GameProfile profile = GameProfileFor(index);
      const QFileInfo log(LocateGameLog(PlacesOf(gameDir, profile, home), profile));
      found.push_back({index, gameDir, log.isFile() ? log.lastModified() : QDateTime()});
    }
  }
  std::sort(found.begin(), found.end(), [](const FoundInstall& a, const FoundInstall& b) {
    return a.gameIndex != b.gameIndex ? a.gameIndex < b.gameIndex : a.directory < b.directory;
  });
  return found;
}

QString NewestInstallOf(int gameIndex, const QString& home, const QString& winePrefix) {
  const FoundInstall* newest = nullptr;
  const std::vector<FoundInstall> installs = FindInstalls(home, winePrefix);
  for (const FoundInstall& install : installs) {
    if (install.gameIndex != gameIndex) continue;
    // An invalid time (no log) is older than any.
    if (!newest || (install.logModified.isValid() &&
                    (!newest->logModified.isValid() || install.logModified > newest->logModified))) {
      newest = &install;
    }
  }
  return newest ? newest->directory : QString();
}

QString FoundInstallsText(const std::vector<FoundInstall>& installs) {
  QString text;
  for (const FoundInstall& install : installs) {
    text += GameName(install.gameIndex) + QLatin1Char('\t') + install.directory + QLatin1Char('\n');
  }
  return text;
}

}  // namespace game
