// Finding where the games are installed, for a first start without a game
// directory and for "quavik --find-games".
//
// Looked at: every folder in ~/.local/share/OldUnreal, the per-user folders
// ~/.utpg, ~/.ut2004 and ~/.ut2003 themselves, Steam's steamapps/common
// folders, and in the Wine prefix ($WINEPREFIX, else ~/.wine) the folders
// one level below drive_c, its Program Files folders and GOG Games, and the
// Wine Steam's steamapps/common. A folder is an install of a game when it
// holds the game's Windows executable in System/ or one of its native
// executables; the Tactical Ops mod needs its INI or user INI besides the
// Unreal Tournament executable.
#pragma once
#include <QDateTime>
#include <QString>
#include <vector>

namespace game {

struct FoundInstall {
  int gameIndex;
  QString directory;      // ends with "/", ready for the directory setting
  QDateTime logModified;  // of the game's current log; invalid when it has none
};

// Every install of every game, by game index, then directory.
std::vector<FoundInstall> FindInstalls(const QString& home, const QString& winePrefix);

// The install of `gameIndex` whose log the game wrote last; "" when none.
QString NewestInstallOf(int gameIndex, const QString& home, const QString& winePrefix);

// One line per install: game name, a tab, the directory.
QString FoundInstallsText(const std::vector<FoundInstall>& installs);

}  // namespace game
