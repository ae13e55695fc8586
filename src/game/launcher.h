// Starting the game, on its entry map or straight onto a server.
//   program:           game directory + "system/" + executable, or a native
//                      executable when the install has one (game/install_layout.h)
//   working directory: game directory + "system"; a native executable's own folder
//   arguments:         "Entry.unr" (or server text + "/index.unr"),
//                      "INI=" + game INI, "USERINI=" + user INI, "LOG=" + log
// Each argument is one real argv entry: a server text stays one argument
// whatever it holds. The program does not wait for the game or learn whether
// it started.
#pragma once
#include <QString>
#include <QStringList>

#include "platform/os/activity_log.h"
#include "game/game_profile.h"
#include "platform/os/dialogs.h"
#include "platform/os/shell.h"

namespace game {

struct LaunchCommand {
  QString program;
  QStringList arguments;
  QString workingDirectory;
  bool operator==(const LaunchCommand&) const = default;
};

// An empty `serverText` starts the entry map; any other is used unchanged,
// port included.
LaunchCommand BuildLaunchCommand(const QString& gameDir, const game::GameProfile& profile,
                                 const QString& serverText);

// Starts the game maximised through `shell`, between the
// "Starte TacicalOps/UnrealTournament" START and END lines.
void LaunchGame(platform::Shell& shell, const QString& gameDir, const game::GameProfile& profile,
                const QString& serverText, const platform::ActivityLog& log);

// What a double click on a clan roster row does with its "Online auf:" text.
enum class RosterLaunch {
  Ignore,          // empty, "Sucht Server..." or "offline" (exact case): nothing
  Launch,          // a valid address: LaunchGame with the whole text
  NoValidAddress,  // anything else: kNoValidServerMessage, nothing launched
};
RosterLaunch DecideRosterLaunch(const QString& onlineOn);

inline const QString kNoValidServerMessage =
    QStringLiteral("Dieser Eintrag enthält keine gültige Server-IP. Sie können dort nicht spielen!");

// Does what DecideRosterLaunch decides for `onlineOn`: nothing, LaunchGame
// onto it, or kNoValidServerMessage in an error box (runs a nested event loop).
void LaunchFromRoster(platform::Shell& shell, platform::Dialogs& dialogs, const QString& gameDir,
                      const game::GameProfile& profile, const QString& onlineOn, const platform::ActivityLog& log);

}  // namespace game
