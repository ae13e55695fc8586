// The game's command line, and what a double click on a roster row does.
#include <gtest/gtest.h>

#include "game/launcher.h"
#include "support/activity_lines.h"
#include "support/recording_shell.h"
#include "support/temp_dir.h"

using namespace game;

namespace {

TEST(LaunchCommand, ForEachGameWithoutServer) {
  const struct {
    int gameIndex;
    const char* program;
    QStringList arguments;
  } cases[] = {
      {0, "unrealtournament.exe", {"Entry.unr", "INI=tacticalops.ini", "USERINI=TOUser.ini", "LOG=tacticalops.log"}},
      {1, "tacticalops.exe", {"Entry.unr", "INI=tacticalops.ini", "USERINI=User.ini", "LOG=tacticalops.log"}},
      {2, "unrealtournament.exe",
       {"Entry.unr", "INI=unrealtournament.ini", "USERINI=User.ini", "LOG=unrealtournament.log"}},
      {3, "ut2003.exe", {"Entry.unr", "INI=ut2003.ini", "USERINI=User.ini", "LOG=ut2003.log"}},
  };
  for (const auto& c : cases) {
    const LaunchCommand command = BuildLaunchCommand("/games/to/", game::GameProfileFor(c.gameIndex), "");
    EXPECT_EQ(command.program, QStringLiteral("/games/to/system/") + c.program);
    EXPECT_EQ(command.arguments, c.arguments);
    EXPECT_EQ(command.workingDirectory, "/games/to/system");
  }
}

TEST(LaunchCommand, ServerTextIsOneArgumentAsGiven) {
  const game::GameProfile mod = game::GameProfileFor(0);
  const QStringList rest{"INI=tacticalops.ini", "USERINI=TOUser.ini", "LOG=tacticalops.log"};
  EXPECT_EQ(BuildLaunchCommand("/g/", mod, "1.2.3.4:7777").arguments,
            QStringList{"1.2.3.4:7777/index.unr"} + rest);
  EXPECT_EQ(BuildLaunchCommand("/g/", mod, "clan server; rm -rf ~").arguments,
            QStringList{"clan server; rm -rf ~/index.unr"} + rest);
}

TEST(LaunchCommand, FindsTheSystemDirectoryInAnyCase) {
  testing_support::TempDir dir;
  dir.Write("game/System/TacticalOps.exe", "MZ");
  const LaunchCommand command =
      BuildLaunchCommand(dir.File("game/"), game::GameProfileFor(1), "");
  EXPECT_EQ(command.program, dir.File("game/System/TacticalOps.exe"));
  EXPECT_EQ(command.workingDirectory, dir.File("game/System"));
}

TEST(LaunchGame, StartsMaximisedBetweenLogLines) {
  testing_support::RecordingShell shell;
  testing_support::ActivityLines activity;
  LaunchGame(shell, "/g/", game::GameProfileFor(3), "10.0.0.5", activity.Log());
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].kind, "start");
  EXPECT_EQ(shell.calls[0].target, "/g/system/ut2003.exe");
  EXPECT_EQ(shell.calls[0].arguments.front(), "10.0.0.5/index.unr");
  EXPECT_EQ(shell.calls[0].workingDirectory, "/g/system");
  EXPECT_TRUE(shell.calls[0].maximised);
  EXPECT_EQ(activity.Entries(), (QStringList{"START Starte TacicalOps/UnrealTournament",
                                             "  END Starte TacicalOps/UnrealTournament"}));
}

TEST(RosterLaunch, DecidedByTheOnlineText) {
  const struct {
    QString onlineOn;
    RosterLaunch expected;
  } cases[] = {
      {"", RosterLaunch::Ignore},
      {"Sucht Server...", RosterLaunch::Ignore},
      {"offline", RosterLaunch::Ignore},
      {"Offline", RosterLaunch::NoValidAddress},
      {"<i>offline</i>", RosterLaunch::NoValidAddress},
      {"sucht server...", RosterLaunch::NoValidAddress},
      {"clan.example.com", RosterLaunch::NoValidAddress},
      {"1.2.3.4:7777", RosterLaunch::Launch},
      {"1.2.3.4:abc", RosterLaunch::Launch},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecideRosterLaunch(c.onlineOn), c.expected) << c.onlineOn.toStdString();
  }
}

}  // namespace
