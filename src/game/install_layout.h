// Where the files of a game install are, as the games really lay out.
//
// Under Wine everything lies in the game directory's System/ folder, the
// Windows executable included. The native Linux builds start from their own
// executables (System64/ut-bin-amd64, System/ut2004-bin-linux-amd64, ...)
// and write their log and user files into a per-user folder in the home
// directory (~/.utpg/System, ~/.ut2004/System, ~/.ut2003/System). A game
// file may so exist twice; the one the game wrote last is its current file.
#pragma once
#include <QString>
#include <QStringList>

#include "game/game_profile.h"

namespace game {

// The native builds of a game, told by the profile's Windows executable.
struct NativeBuild {
  QString userDir;                // folder in the home directory, "" when none
  QStringList executables;        // relative to the game directory, preferred first
};
NativeBuild NativeBuildOf(const GameProfile& profile);

// The two places a game's files can be in.
struct InstallPlaces {
  QString gameDir;        // the directory setting: "" or ending in "/"
  QString userSystemDir;  // the per-user System folder, "" when the game has none
};
// `home` is the user's home directory ("" for none).
InstallPlaces PlacesOf(const QString& gameDir, const GameProfile& profile, const QString& home);

// A game file: in the game directory's System/ or in the per-user System/,
// whichever exists; the newer one when both do. Neither: the path in the
// game directory's System/ (GameFilePath).
QString LocateGameFile(const InstallPlaces& places, const QString& fileName);

// The game's current log: of the profile's log names (logFile and
// otherLogFiles) in either place, the file written last. None exists: the
// path of logFile as LocateGameFile gives it. Asked anew at each scan, as
// the player may start another build between two.
QString LocateGameLog(const InstallPlaces& places, const GameProfile& profile);

// The program that starts the game: the first native executable present,
// else the profile's executable in System/ (that path even when missing).
QString LocateExecutable(const QString& gameDir, const GameProfile& profile);

// True when `executable` is no Windows program, so it runs directly.
bool IsNativeExecutable(const QString& executable);

// The folders the exec scripts go into: the executable's folder, and for a
// native build also the per-user System/ (the game's "exec" may read from
// either).
QStringList ExecScriptDirs(const InstallPlaces& places, const GameProfile& profile);

}  // namespace game
