// Reads a PlayerLocation out of the lines an Unreal Engine 2 client writes
// when it joins a server:
//   Log: Browse: 63.211.105.170:7777/Index.ut2?Name=Ling?Class=Engine.Pawn
//   Log: Bringing Level ONS-Torlan.myLevel up for play (90) appSeconds: 51.5
// The Browse line gives the server (its address up to the first "/") and the
// player's name (the Name option; the INI name when there is none), the
// Bringing Level line after it the map. A Browse without a host (a local
// game, "Browse: DM-Antalus?Name=Kim"), a failed browse (a "failed" option)
// and a server whose map is not up yet all read as searching for a server.
// Then the same three tests settle the state as for a LoadMap line
// (presence/location_rule.h).
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "presence/player_location.h"
#include "presence/relevant_log_line.h"

namespace presence {

PlayerLocation LocationFromBrowse(std::string_view browse, const std::optional<std::string>& levelUp,
                                  bool offline, const std::function<QString()>& playerName);

// The location a log finding gives: a Browse line is read as above, a
// LoadMap or Exit line as always. `finding.last` must be set.
PlayerLocation LocationFromFinding(const LogFinding& finding, bool offline,
                                   const std::function<QString()>& playerName);

}  // namespace presence
