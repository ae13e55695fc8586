// The scan on real files: the game log is copied to the working copy first,
// an earlier copy stands in for a missing log, the name comes from the user
// INI whenever the player is not on a server; and the start-up duties.
#include <gtest/gtest.h>

#include <QFile>
#include <cstdio>
#include <random>

#include "support/activity_lines.h"
#include "presence/game_log_scanner.h"
#include "presence/player_name.h"
#include "support/temp_dir.h"

using namespace presence;
using testing_support::ActivityLines;
using testing_support::TempDir;

namespace {

const std::string kUserIni = "[Engine.Input]\r\nF=Fire\r\n[DefaultPlayer]\r\nName=IniKim\r\nTeam=1\r\n";

class Scanner : public ::testing::Test {
 protected:
  std::optional<PlayerLocation> Scan(bool offline = false) {
    return ScanGameLog(dir.File("game/system/tacticalops.log"), dir.File("TacticalOps.sik"),
                       dir.File("game/system/TOUser.ini"), offline);
  }
  void WriteLog(std::string_view bytes) { dir.Write("game/system/tacticalops.log", bytes); }
  TempDir dir;
};

TEST_F(Scanner, CopiesTheLogAndReadsTheCopy) {
  dir.Write("game/system/TOUser.ini", kUserIni);
  WriteLog("Log: x\r\nLog: LoadMap: 1.2.3.4:7777/TO-Rapid?Name=Kim?Team=1\r\nLog: y\r\n");
  EXPECT_EQ(Scan(), (PlayerLocation{"Kim", "1.2.3.4:7777", "TO-Rapid"}));
  EXPECT_EQ(dir.Read("TacticalOps.sik"), dir.Read("game/system/tacticalops.log"));

  WriteLog("Exit: Exiting\r\n");
  EXPECT_EQ(Scan(), (PlayerLocation{"IniKim", kSearchingPlaceholder, kSearchingPlaceholder}));
  EXPECT_EQ(Scan(true), (PlayerLocation{"IniKim", kOfflinePlaceholder, kOfflinePlaceholder}));
}

TEST_F(Scanner, MissingLogReadsTheEarlierWorkingCopy) {
  dir.Write("TacticalOps.sik", "Log: LoadMap: 5.6.7.8/Map?Name=Lee?x\r\n");
  EXPECT_EQ(Scan(), (PlayerLocation{"Lee", "5.6.7.8", "Map"}));
}

TEST_F(Scanner, NothingFound) {
  EXPECT_EQ(Scan(), std::nullopt);  // no log, no earlier copy
  WriteLog("Log: nothing relevant\r\n");
  EXPECT_EQ(Scan(true), std::nullopt);
}

TEST_F(Scanner, NameWithoutUserIniIsQuestionMark) {
  WriteLog("Exit: Exiting\r\n");
  EXPECT_EQ(Scan()->name, "?");
}

// The game appends to its log between reports, cutting lines anywhere, and
// now and then starts a new log. Each scan of the followed working copy must
// leave the log's bytes and give what a scan with no history gives.
TEST(FollowedScan, GrowingLogMatchesAWholeScan) {
  const std::vector<std::string> pieces = {
      "Log: LoadMap: 1.2.3.4:7777/TO-Rapid?Name=Kim?Team=1\r\n",
      "Log: Browse: 5.6.7.8/Index.ut2?Name=Ling?team=255\r\n",
      "Log: Bringing Level ONS-Torlan.myLevel up for play (90) appSeconds: 51.5\r\n",
      "Exit: Exiting\r\n", "Log: Load", "Map: 9.9.9.9/DM-(X)?Name=A/B?x\r", "\n", "Log: chatter\r\n",
      "Log: Bringing Le", "vel DM-Gael.myLevel up\r\n", "\x1A"};
  std::mt19937 random(99);
  for (const LogFormat format : {LogFormat::LoadMap, LogFormat::BrowseAndLevel}) {
    TempDir dir;
    dir.Write("User.ini", kUserIni);
    const QString log = dir.File("game.log");
    std::string bytes;
    dir.Write("game.log", bytes);
    for (int step = 0; step < 400; ++step) {
      const unsigned change = random() % 20;
      if (change == 0) {  // a new run of the game, in the same file
        bytes = pieces[random() % 4];
        dir.Write("game.log", bytes);
      } else if (change == 1) {  // a new run in a new file
        bytes = pieces[random() % 4] + pieces[random() % 4];
        dir.Write("new.log", bytes);
        ASSERT_EQ(::rename(dir.File("new.log").toLocal8Bit(), log.toLocal8Bit()), 0);
      } else {
        std::string more;
        for (unsigned i = random() % 4; i > 0; --i) {
          size_t piece = random() % pieces.size();
          if (piece == pieces.size() - 1 && random() % 8 != 0) piece = 7;  // Ctrl-Z seldom
          more += pieces[piece];
        }
        bytes += more;
        dir.Append("game.log", more);
      }
      const auto followed = ScanGameLog(log, dir.File("followed.sik"), dir.File("User.ini"), false, format);
      ASSERT_EQ(dir.Read("followed.sik"), bytes) << step;
      const QString whole = QString("whole%1.sik").arg(step);
      ASSERT_EQ(followed, ScanGameLog(log, dir.File(whole), dir.File("User.ini"), false, format))
          << step << ": " << testing::PrintToString(bytes);
      QFile::remove(dir.File(whole));
    }
  }
}

TEST(PlayerName, FromUserIni) {
  TempDir dir;
  EXPECT_EQ(ReadPlayerName(dir.File("missing.ini")), "?");
  EXPECT_EQ(PlayerNameCaption(dir.File("missing.ini")), std::nullopt);
  const QString noKey = dir.Write("nokey.ini", "[DefaultPlayer]\r\nTeam=1\r\n");
  EXPECT_EQ(ReadPlayerName(noKey), "?");
  EXPECT_EQ(PlayerNameCaption(noKey), "Username: ");
  const QString empty = dir.Write("empty.ini", "[DefaultPlayer]\r\nName=\r\n");
  EXPECT_EQ(ReadPlayerName(empty), "");
  const QString named = dir.Write("named.ini", "[defaultplayer]\r\nname=J\xF6rg\r\n");
  EXPECT_EQ(ReadPlayerName(named), QStringLiteral("Jörg"));
  EXPECT_EQ(PlayerNameCaption(named), QStringLiteral("Username: Jörg"));
}

TEST(EnsureGameLog, CreatesOnlyAMissingLogWithADirectorySet) {
  TempDir dir;
  ActivityLines activity;
  const QString log = dir.File("game/system/tacticalops.log");
  dir.Write("game/system/TOUser.ini", "");

  EnsureGameLog(log, QString(), activity.Log());
  EXPECT_FALSE(dir.Exists("game/system/tacticalops.log"));

  EnsureGameLog(log, dir.File("game/"), activity.Log());
  EXPECT_EQ(dir.Read("game/system/tacticalops.log"), "Exit: Exiting\r\n");

  dir.Write("game/system/tacticalops.log", "Log: kept\r\n");
  EnsureGameLog(log, dir.File("game/"), activity.Log());
  EXPECT_EQ(dir.Read("game/system/tacticalops.log"), "Log: kept\r\n");

  // A missing system directory is ignored.
  EnsureGameLog(dir.File("nowhere/system/tacticalops.log"), dir.File("nowhere/"), activity.Log());

  QStringList expected;
  for (int i = 0; i < 4; ++i) expected << "START NoLog found" << "  END NoLog found";
  EXPECT_EQ(activity.Entries(), expected);
}

}  // namespace
