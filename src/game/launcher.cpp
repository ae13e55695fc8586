#include "game/launcher.h"

#include <QFileInfo>

#include "game/install_layout.h"
#include "game/server_address.h"

namespace game {

LaunchCommand BuildLaunchCommand(const QString& gameDir, const game::GameProfile& profile,
                                 const QString& serverText) {
  const QString map =
      serverText.isEmpty() ? QStringLiteral("Entry.unr") : serverText + QStringLiteral("/index.unr");
  const QString program = LocateExecutable(gameDir, profile);
  return {
      program,
      {map, QStringLiteral("INI=") + profile.gameIni, QStringLiteral("USERINI=") + profile.userIni,
       QStringLiteral("LOG=") + profile.logFile},
      IsNativeExecutable(program) ? QFileInfo(program).path() : GameSystemDir(gameDir),
  };
}

void LaunchGame(platform::Shell& shell, const QString& gameDir, const game::GameProfile& profile,
                const QString& serverText, const platform::ActivityLog& log) {
  platform::ActivityScope scope(log, QStringLiteral("Starte TacicalOps/UnrealTournament"));
  const LaunchCommand command = BuildLaunchCommand(gameDir, profile, serverText);
  shell.StartProgram(command.program, command.arguments, command.workingDirectory, true);
}

RosterLaunch DecideRosterLaunch(const QString& onlineOn) {
  if (onlineOn.isEmpty() || onlineOn == QStringLiteral("Sucht Server...") ||
      onlineOn == QStringLiteral("offline")) {
    return RosterLaunch::Ignore;
  }
  return IsValidServerIP(onlineOn, false) ? RosterLaunch::Launch : RosterLaunch::NoValidAddress;
}

void LaunchFromRoster(platform::Shell& shell, platform::Dialogs& dialogs, const QString& gameDir,
                      const game::GameProfile& profile, const QString& onlineOn, const platform::ActivityLog& log) {
  switch (DecideRosterLaunch(onlineOn)) {
    case RosterLaunch::Ignore:
      return;
    case RosterLaunch::Launch:
      LaunchGame(shell, gameDir, profile, onlineOn, log);
      return;
    case RosterLaunch::NoValidAddress:
      dialogs.ShowMessage(kNoValidServerMessage, platform::Buttons::YesOnly, platform::BoxKind::Error);
      return;
  }
}

}  // namespace game
