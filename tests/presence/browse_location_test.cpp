// Where the player is, read from log excerpts of the shapes the games write:
// Unreal Engine 2 clients join with a Browse line and bring the map up with a
// Bringing Level line; UT builds write Browse and then LoadMap.
#include <gtest/gtest.h>

#include "presence/browse_location.h"
#include "presence/relevant_log_line.h"

using namespace presence;

namespace {

struct Case {
  const char* name;
  LogFormat format;
  std::string log;
  bool offline;
  std::optional<PlayerLocation> expected;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const PlayerLocation kSearching{"IniName", kSearchingPlaceholder, kSearchingPlaceholder};
const PlayerLocation kOffline{"IniName", kOfflinePlaceholder, kOfflinePlaceholder};
constexpr LogFormat kEngine2 = LogFormat::BrowseAndLevel;

const std::string kStart =
    "Log: Log file open, 12/10/26 18:02:11\r\n"
    "Init: Name subsystem initialized\r\n"
    "Log: Bringing Level Entry.myLevel up for play (0) appSeconds: 2.104650...\r\n"
    "Log: Browse: NvidiaLogo.ut2?Name=Ling_On_Linux?Class=Engine.Pawn?Character=Jakob\r\n"
    "Log: Bringing Level NvidiaLogo.myLevel up for play (0) appSeconds: 3.291005...\r\n";
const std::string kJoinTorlan =
    "Log: Browse: 63.211.105.170/Index.ut2?Name=Ling_On_Linux?Class=Engine.Pawn?Character=Jakob?team=255\r\n"
    "Log: Failed to load 'Texture ONSDeco.Tex': Can't find file for package 'ONSDeco'\r\n"
    "Log: Game class is 'ONSOnslaughtGame'\r\n"
    "Log: Bringing Level ONS-Torlan.myLevel up for play (90) appSeconds: 51.547783...\r\n"
    "ScriptLog: Ling_On_Linux entered the game\r\n";

const std::string kMapChangeToDria =
    "Log: Browse: 63.211.105.170/ONS-Dria?Name=Ling_On_Linux?GAME=Onslaught.ONSOnslaughtGame\r\n"
    "Log: Browse: Index.ut2?closed?Name=Ling_On_Linux?Class=Engine.Pawn\r\n"
    "Log: Failed; returning to Entry\r\n"
    "Log: Collecting garbage\r\n"
    "Log: NetMode now NM_Client\r\n";

// The same lines as the native Linux builds write them.
std::string Lf(std::string text) {
  std::string out;
  for (char c : text)
    if (c != '\r') out += c;
  return out;
}

class Engine2Log : public ::testing::TestWithParam<Case> {};

TEST_P(Engine2Log, GivesTheLocation) {
  const Case& c = GetParam();
  LogReading reading(c.format);
  reading.Read(c.log);
  const LogFinding finding = reading.Result();
  std::optional<PlayerLocation> got;
  if (finding.last) got = LocationFromFinding(finding, c.offline, [] { return QString("IniName"); });
  EXPECT_EQ(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Engine2Log,
    ::testing::Values(
        Case{"JoinedAServer", kEngine2, kStart + kJoinTorlan, false,
             PlayerLocation{"Ling_On_Linux", "63.211.105.170", "ONS-Torlan"}},
        Case{"PortMapWithBracketsNameWithSlash", kEngine2,
             kStart +
                 "Log: Browse: 81.169.240.101:7787/CTF-Face(SB)-LE.ut2?Name=AC/DC?Class=Engine.Pawn\r\n"
                 "Log: Bringing Level CTF-Face(SB)-LE.myLevel up for play (90) appSeconds: 7.1...\r\n",
             false, PlayerLocation{"AC/DC", "81.169.240.101:7787", "CTF-Face(SB)-LE"}},
        Case{"MapNotUpYet", kEngine2,
             kStart + "Log: Browse: 63.211.105.170/Index.ut2?Name=Ling_On_Linux?team=255\r\n"
                      "Log: Downloading 'ONS-Torlan'\r\n",
             false, kSearching},
        Case{"LocalGame", kEngine2,
             kStart + "Log: Browse: DM-Antalus?Name=Ling_On_Linux?Class=Engine.Pawn\r\n"
                      "Log: Bringing Level DM-Antalus.myLevel up for play (0) appSeconds: 9.2...\r\n",
             false, kSearching},
        Case{"FailedBrowse", kEngine2,
             kStart + kJoinTorlan + "Log: Browse: 10.1.1.1:7777/Index.ut2?Name=Ling_On_Linux?failed\r\n",
             false, kSearching},
        Case{"BackToTheMenu", kEngine2,
             kStart + kJoinTorlan +
                 "Log: Browse: NvidiaLogo.ut2?Name=Ling_On_Linux\r\n"
                 "Log: Bringing Level NvidiaLogo.myLevel up for play (0) appSeconds: 300.1...\r\n",
             false, kSearching},
        Case{"Exited", kEngine2, kStart + kJoinTorlan + "Log: Closing by request\r\nExit: Exiting.\r\n",
             false, kSearching},
        Case{"ServerChangedMap", kEngine2,
             kStart + kJoinTorlan +
                 "Log: Browse: 63.211.105.170/ONS-Dria?Name=Ling_On_Linux?team=1\r\n"
                 "Log: Bringing Level ONS-Dria.myLevel up for play (90) appSeconds: 951.0...\r\n",
             false, PlayerLocation{"Ling_On_Linux", "63.211.105.170", "ONS-Dria"}},
        Case{"LoadMapStillCountsWhenLast", kEngine2,
             kStart + kJoinTorlan + "Log: LoadMap: 10.0.0.5:7777/DM-Rankin?Name=Kim?Team=1\r\n", false,
             PlayerLocation{"Kim", "10.0.0.5:7777", "DM-Rankin"}},
        Case{"NoNameOptionTakesTheIniName", kEngine2,
             "Log: Browse: 63.211.105.170/Index.ut2?Class=Engine.Pawn\r\n"
             "Log: Bringing Level ONS-Torlan.myLevel up for play (90) appSeconds: 51.5...\r\n",
             false, PlayerLocation{"IniName", "63.211.105.170", "ONS-Torlan"}},
        Case{"SwatNameSearches", kEngine2,
             "Log: Browse: 1.2.3.4/Index.ut2?Name=s_SWAT_Player\r\n"
             "Log: Bringing Level DM-Gael.myLevel up for play (90) appSeconds: 5.0...\r\n",
             false, kSearching},
        Case{"LoggingOut", kEngine2, kStart + kJoinTorlan, true, kOffline},
        Case{"OnlyLevelLines", kEngine2, "Log: Bringing Level Entry.myLevel up for play (0)\r\n", false,
             std::nullopt},
        // The game buffers its log: a level line still being written is not up yet.
        Case{"LastLineWithoutLineEnd", kEngine2,
             "Log: Browse: 63.211.105.170/Index.ut2?Name=Ling\r\n"
             "Log: Bringing Level ONS-Torlan.myLevel up for play (90) appSeconds: 51.5",
             false, kSearching},
        // The server changes map: the client sets off for the new map, closes
        // the old connection, and comes back up as a client on the new map.
        Case{"ServerChangedMapWithClosing", kEngine2,
             kStart + kJoinTorlan + kMapChangeToDria +
                 "Log: Bringing Level ONS-Dria.myLevel up for play (90) appSeconds: 951.0...\r\n",
             false, PlayerLocation{"Ling_On_Linux", "63.211.105.170", "ONS-Dria"}},
        Case{"MapChangeNotUpYet", kEngine2, kStart + kJoinTorlan + kMapChangeToDria, false, kSearching},
        Case{"LaterManualReconnect", kEngine2,
             kStart + kJoinTorlan + kMapChangeToDria +
                 "Log: Bringing Level ONS-Dria.myLevel up for play (90) appSeconds: 951.0...\r\n"
                 "Log: Browse: 63.211.105.170/Index.ut2?Name=Ling_On_Linux?team=255\r\n"
                 "Log: NetMode now NM_Client\r\n"
                 "Log: Bringing Level ONS-Dria.myLevel up for play (90) appSeconds: 1210.4...\r\n",
             false, PlayerLocation{"Ling_On_Linux", "63.211.105.170", "ONS-Dria"}},
        Case{"ServerLost", kEngine2,
             kStart + kJoinTorlan +
                 "Log: Browse: Index.ut2?closed?Name=Ling_On_Linux?Class=Engine.Pawn\r\n"
                 "Log: Failed; returning to Entry\r\n",
             false, kSearching},
        Case{"MenuLevelAfterTheServerWasLost", kEngine2,
             kStart + kJoinTorlan +
                 "Log: Browse: Index.ut2?closed?Name=Ling_On_Linux?Class=Engine.Pawn\r\n"
                 "Log: Failed; returning to Entry\r\n"
                 "Log: Bringing Level Entry.myLevel up for play (0) appSeconds: 990.2...\r\n",
             false, kSearching},
        Case{"MainMenuAtStartUp", kEngine2,
             kStart + "Log: Browse: Index.ut2?disconnect?Name=Ling_On_Linux?Class=Engine.Pawn\r\n"
                      "Log: Failed; returning to Entry\r\n",
             false, kSearching},
        Case{"DisconnectedToTheMenu", kEngine2,
             kStart + kJoinTorlan +
                 "Log: Browse: Index.ut2?disconnect?Name=Ling_On_Linux?Class=Engine.Pawn\r\n"
                 "Log: Failed; returning to Entry\r\n",
             false, kSearching},
        Case{"WebLinkIsNoServer", kEngine2,
             kStart + "Log: Browse: https://www.example.org/news/?Name=Ling_On_Linux\r\n"
                      "Log: Bringing Level Entry.myLevel up for play (0) appSeconds: 20.0...\r\n",
             false, kSearching},
        Case{"LfOnlyLog", kEngine2, Lf(kStart + kJoinTorlan), false,
             PlayerLocation{"Ling_On_Linux", "63.211.105.170", "ONS-Torlan"}},
        Case{"Utf8LogWithByteOrderMark", kEngine2,
             "\xEF\xBB\xBFLog: Browse: 63.211.105.170/Index.ut2?Name=J\xC3\xA4ger\n"
             "Log: Bringing Level DM-R\xC3\xA9sident.myLevel up for play (90) appSeconds: 5.0\n",
             false, PlayerLocation{"Jäger", "63.211.105.170", "DM-Résident"}},
        Case{"Cp1252LogWithoutMark", kEngine2,
             "Log: Browse: 63.211.105.170/Index.ut2?Name=J\xE4ger\r\n"
             "Log: Bringing Level DM-Evil\xB1.myLevel up for play (90) appSeconds: 5.0\r\n",
             false, PlayerLocation{"Jäger", "63.211.105.170", "DM-Evil±"}},
        Case{"Utf8LoadMapLog", LogFormat::LoadMap,
             "\xEF\xBB\xBFLog: Browse: 198.51.100.20/Index.unr?Name=J\xC3\xA4ger\n"
             "Log: LoadMap: 198.51.100.20/CTF-Resident Evil\xC2\xB1?Name=J\xC3\xA4ger?Class=Botpack.TMale1\n"
             "Log: Bringing Level CTF-Resident Evil\xC2\xB1.MyLevel up for play (41)...\n",
             false, PlayerLocation{"Jäger", "198.51.100.20", "CTF-Resident Evil±"}},
        // A UT build logs Browse, then LoadMap (no port with the default one);
        // the LoadMap line decides.
        Case{"UtBuildJoin", LogFormat::LoadMap,
             "Log: Browse: 81.169.240.101/MH-AutoRIP(SB).unr?Name=Buggie?Class=Botpack.TMale1\r\n"
             "Log: LoadMap: 81.169.240.101/MH-AutoRIP(SB)?Name=Buggie?Class=Botpack.TMale1?team=0\r\n"
             "Log: Game class is 'MonsterHunt'\r\n",
             false, PlayerLocation{"Buggie", "81.169.240.101", "MH-AutoRIP(SB)"}},
        // Games that write LoadMap lines are read as they always were.
        Case{"LoadMapGameIgnoresBrowse", LogFormat::LoadMap, kStart + kJoinTorlan, false, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
