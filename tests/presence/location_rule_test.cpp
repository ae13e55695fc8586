// Reading the player's whereabouts out of the last relevant log line.
#include <gtest/gtest.h>

#include "presence/location_rule.h"

using presence::kOfflinePlaceholder;
using presence::kSearchingPlaceholder;
using presence::LocationFromLogLine;
using presence::PlayerLocation;

namespace {

struct Case {
  const char* name;
  std::string line;
  bool offline;
  QString iniName;
  PlayerLocation expected;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const PlayerLocation kSearching{"IniName", kSearchingPlaceholder, kSearchingPlaceholder};
const PlayerLocation kOffline{"IniName", kOfflinePlaceholder, kOfflinePlaceholder};

class Location : public ::testing::TestWithParam<Case> {};

TEST_P(Location, FromLine) {
  const Case& c = GetParam();
  const PlayerLocation got = LocationFromLogLine(c.line, c.offline, [&] { return c.iniName; });
  EXPECT_EQ(got.name, c.expected.name);
  EXPECT_EQ(got.server, c.expected.server);
  EXPECT_EQ(got.map, c.expected.map);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Location,
    ::testing::Values(
        Case{"OnServer", "Log: LoadMap: 10.0.0.5:7777/SomeMap?Name=Kim?Team=1", false, "IniName",
             {"Kim", "10.0.0.5:7777", "SomeMap"}},
        Case{"NameWithSlash", "Log: LoadMap: 10.0.0.5/TO-Rapid.unr?Name=K/im?Team=1", false,
             "IniName", {"K/im", "10.0.0.5", "TO-Rapid.unr"}},
        Case{"NameIsLastOption", "Log: LoadMap: 1.2.3.4/Map?Name=Kim", false, "IniName",
             {"", "1.2.3.4", "Map"}},
        Case{"Exiting", "Exit: Exiting", false, "IniName", kSearching},
        Case{"LocalMapWithoutSlash", "Log: LoadMap: Entry?Name=Kim?Team=0", false, "IniName",
             kSearching},
        Case{"EntryMap", "Log: LoadMap: 1.2.3.4/entry.unr?Name=Kim?x", false, "IniName", kSearching},
        Case{"CapitalEntryIsAServer", "Log: LoadMap: 1.2.3.4/Entry.unr?Name=Kim?x", false,
             "IniName", {"Kim", "1.2.3.4", "Entry.unr"}},
        Case{"SwatNameAnyCase", "Log: LoadMap: 1.2.3.4/Map?Name=xS_sWaTy?x", false, "IniName",
             kSearching},
        Case{"LogInName", "Log: LoadMap: 1.2.3.4/Map?Name=Log:x?y", false, "IniName", kSearching},
        // The cut is by the first "/" and the first "?" of the whole line, so a
        // "/" in the name of a player on a local map lands in the server text.
        Case{"LocalMapWithSlashInName", "Log: LoadMap: Entry?Name=K/im?Team=0", false, "IniName",
             {"K/im", "Entry?Name=K", ""}},
        // "/" but no "?": map and name are empty, still on a server; the
        // report then sends nothing because the name is empty.
        Case{"SlashWithoutOptions", "Log: LoadMap: 1.2.3.4/Map", false, "IniName",
             {"", "1.2.3.4", ""}},
        Case{"LoggingOut", "Log: LoadMap: 1.2.3.4/Map?Name=Kim?x", true, "IniName", kOffline},
        Case{"LoggingOutAfterExit", "Exit: Exiting", true, "IniName", kOffline},
        // An INI name that fails the third test turns the logout into searching.
        Case{"LoggingOutWithSwatIniName", "Log: LoadMap: 1.2.3.4/Map?Name=Kim?x", true, "s_swat",
             {"s_swat", kSearchingPlaceholder, kSearchingPlaceholder}},
        Case{"LoggingOutWithLogIniName", "Exit: Exiting", true, "Log:Kim",
             {"Log:Kim", kSearchingPlaceholder, kSearchingPlaceholder}},
        Case{"Cp1252Name", "Log: LoadMap: 1.2.3.4/Map?Name=J\xF6rg?x", false, "IniName",
             {QStringLiteral("Jörg"), "1.2.3.4", "Map"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
