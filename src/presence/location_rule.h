// Reads a PlayerLocation out of the last relevant game log line.
//
// A LoadMap line reads "Log: LoadMap: " + server + "/" + map + "?" + options,
// the first option carrying the player's name ("?Name=Kim?Team=1"). The parts
// are cut with Pos/Copy exactly as the game's lines have always been cut:
// server up to the first "/", map between the first "/" and the first "?",
// name between the first "=" and the next "?". Then three tests, each able to
// override the one before:
//   1. an "Exit: Exiting" line: searching for a server, name from the INI;
//   2. logging out: offline, name from the INI;
//   3. a name that contains "s_SWAT" in any case, a map or name holding
//      "Log:", or a map holding "entry.unr": searching, name from the INI.
// So the name, server and map all come from the log only while the player is
// on a server.
#pragma once
#include <functional>
#include <string_view>

#include "platform/text/cp1252.h"
#include "presence/player_location.h"

namespace presence {

// `line` is the log's raw bytes, decoded as `encoding` says; `playerName` is
// asked for the INI name each time a test needs it.
PlayerLocation LocationFromLogLine(std::string_view line, bool offline,
                                   const std::function<QString()>& playerName,
                                   platform::TextEncoding encoding = platform::TextEncoding::Cp1252);

// The three tests above, for a location read from any kind of line:
// `searching` stands for the first one.
void SettleState(PlayerLocation& location, bool searching, bool offline,
                 const std::function<QString()>& playerName);

// True when the name, upper-cased by the user's locale, contains "S_SWAT":
// the game's name for a player who has not joined a server yet.
bool IsPlaceholderPlayerName(const QString& name);

}  // namespace presence
