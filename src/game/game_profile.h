// The four game files that follow from the selected game, and where they lie.
#pragma once
#include <QString>
#include <QStringList>
#include "platform/os/activity_log.h"

namespace game {

struct GameProfile {
  QString logFile;  // the log the game writes when started by us (LOG=)
  QString gameIni;
  QString userIni;
  QString executable;
  // An Unreal Engine 2 game (UT 2003, UT 2004): its log tells a join by
  // Browse and Bringing Level lines instead of a LoadMap line.
  bool unrealEngine2 = false;
  // The logs other builds of the game write when started on their own: the
  // 64-bit Windows UT 2004 names its log after its executable,
  // "ut2004-win64.log". The game's current log is the newest of logFile and
  // these (LocateGameLog).
  QStringList otherLogFiles = {};
  bool operator==(const GameProfile&) const = default;
};

// Index of the game list: 0 TO MOD, 1 TO RETAIL, 2 UT, 3 UT 2003, 4 UT 2004;
// every other index (-1 included) gives the UT 2003 row.
GameProfile GameProfileFor(int gameIndex);

// The games as the game list names them, by index.
int GameCount();
QString GameName(int gameIndex);

// Writes the "Definiere Logs/Inifiles für App" START/END lines around it.
GameProfile DefineGameProfile(int gameIndex, const platform::ActivityLog& log);

// Full path of a game file: game directory + "system/" + name, found without
// regard to letter case. An empty game directory gives "system/<name>".
QString GameFilePath(const QString& gameDir, const QString& fileName);

// The game's working directory: game directory + "system" (no trailing separator).
QString GameSystemDir(const QString& gameDir);

}  // namespace game
