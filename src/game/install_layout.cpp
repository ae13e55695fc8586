#include "game/install_layout.h"

#include <QFileInfo>

#include "platform/os/paths.h"

namespace game {

NativeBuild NativeBuildOf(const GameProfile& profile) {
  const QString exe = profile.executable.toLower();
  if (exe == QLatin1String("unrealtournament.exe")) {
    return {QStringLiteral(".utpg"),
            {QStringLiteral("System64/ut-bin-amd64"), QStringLiteral("System/ut-bin-x86"),
             QStringLiteral("System/ut-bin")}};
  }
  if (exe == QLatin1String("ut2004.exe")) {
    return {QStringLiteral(".ut2004"),
            {QStringLiteral("System/ut2004-bin-linux-amd64"), QStringLiteral("System/ut2004-bin"),
             QStringLiteral("System/UT2004")}};
  }
  if (exe == QLatin1String("ut2003.exe")) {
    return {QStringLiteral(".ut2003"), {QStringLiteral("System/ut2003-bin")}};
  }
  return {};  // a Windows-only game
}

InstallPlaces PlacesOf(const QString& gameDir, const GameProfile& profile, const QString& home) {
  const NativeBuild native = NativeBuildOf(profile);
  QString userSystem;
  if (!native.userDir.isEmpty() && !home.isEmpty()) {
    userSystem = platform::JoinDir(platform::JoinDir(home, native.userDir), QStringLiteral("System"));
  }
  return {gameDir, userSystem};
}

QString LocateGameFile(const InstallPlaces& places, const QString& fileName) {
  const QString inGame = GameFilePath(places.gameDir, fileName);
  if (places.userSystemDir.isEmpty()) return inGame;
  const QFileInfo game(inGame);
  const QFileInfo user(platform::FindPathNoCase(platform::JoinDir(places.userSystemDir, fileName)));
  if (!user.isFile()) return inGame;
  if (!game.isFile() || user.lastModified() > game.lastModified()) return user.filePath();
  return inGame;
}

QString LocateGameLog(const InstallPlaces& places, const GameProfile& profile) {
  QString newest = LocateGameFile(places, profile.logFile);
  QFileInfo newestInfo(newest);
  for (const QString& name : profile.otherLogFiles) {
    const QFileInfo other(LocateGameFile(places, name));
    if (!other.isFile()) continue;
    if (!newestInfo.isFile() || other.lastModified() > newestInfo.lastModified()) {
      newest = other.filePath();
      newestInfo = other;
    }
  }
  return newest;
}

QString LocateExecutable(const QString& gameDir, const GameProfile& profile) {
  for (const QString& relative : NativeBuildOf(profile).executables) {
    const QString path = platform::FindPathNoCase(gameDir + relative);
    if (!gameDir.isEmpty() && QFileInfo(path).isFile()) return path;
  }
  return GameFilePath(gameDir, profile.executable);
}

bool IsNativeExecutable(const QString& executable) {
  return !executable.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive);
}

QStringList ExecScriptDirs(const InstallPlaces& places, const GameProfile& profile) {
  const QString executable = LocateExecutable(places.gameDir, profile);
  if (!IsNativeExecutable(executable)) return {GameSystemDir(places.gameDir)};
  QStringList dirs{QFileInfo(executable).path()};
  if (!places.userSystemDir.isEmpty()) dirs << places.userSystemDir;
  return dirs;
}

}  // namespace game
