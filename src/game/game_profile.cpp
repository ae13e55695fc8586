#include "game/game_profile.h"

#include "platform/os/paths.h"

#include <iterator>

namespace game {

GameProfile GameProfileFor(int gameIndex) {
  switch (gameIndex) {
    case 0: return {"tacticalops.log", "tacticalops.ini", "TOUser.ini", "unrealtournament.exe"};
    case 1: return {"tacticalops.log", "tacticalops.ini", "User.ini", "tacticalops.exe"};
    case 2: return {"unrealtournament.log", "unrealtournament.ini", "User.ini", "unrealtournament.exe"};
    case 4: return {"UT2004.log", "UT2004.ini", "User.ini", "UT2004.exe", true, {"ut2004-win64.log"}};
    default: return {"ut2003.log", "ut2003.ini", "User.ini", "ut2003.exe", true};
  }
}

namespace {
const char* const kGameNames[] = {"Tactical Ops MOD", "Tactical Ops RETAIL", "Unreal Tournament", "UT 2003",
                                  "UT 2004"};
}  // namespace

int GameCount() { return int(std::size(kGameNames)); }

QString GameName(int gameIndex) {
  return gameIndex >= 0 && gameIndex < GameCount() ? QString::fromLatin1(kGameNames[gameIndex]) : QString();
}

GameProfile DefineGameProfile(int gameIndex, const platform::ActivityLog& log) {
  platform::ActivityScope scope(log, QStringLiteral("Definiere Logs/Inifiles für App"));
  return GameProfileFor(gameIndex);
}

QString GameFilePath(const QString& gameDir, const QString& fileName) {
  return platform::FindPathNoCase(gameDir + QStringLiteral("system/") + fileName);
}

QString GameSystemDir(const QString& gameDir) {
  return platform::FindPathNoCase(gameDir + QStringLiteral("system"));
}

}  // namespace game
