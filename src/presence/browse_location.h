// Reads a PlayerLocation out of what an Unreal Engine 2 client logs
// (presence/relevant_log_line.h has the lines and the rule that picks them):
//   Log: Browse: 63.211.105.170/Index.ut2?Name=Ling?Class=Engine.Pawn
//   Log: Bringing Level ONS-Torlan.myLevel up for play (90) appSeconds: 51.5
// The player is on a server when the last counting Browse line names a host
// (presence/browse_url.h) and a level came up for it: the server is that host,
// the map the level's name, the name the Browse line's Name option (the INI
// name when there is none). Everything else reads as searching for a server:
// the menu ("Index.ut2"), a local game ("DM-Flux2?Game=..."), a web link,
// a server whose map is not up yet, a connection that was closed or failed
// (a "failed" option). Then the same three tests settle the state as for a
// LoadMap line (presence/location_rule.h).
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text/cp1252.h"
#include "presence/player_location.h"
#include "presence/relevant_log_line.h"

namespace presence {

PlayerLocation LocationFromBrowse(std::string_view browse, const std::optional<std::string>& levelUp,
                                  bool offline, const std::function<QString()>& playerName,
                                  platform::TextEncoding encoding = platform::TextEncoding::Cp1252);

// The location a log finding gives: a Browse line is read as above, a
// LoadMap or Exit line as always, each in the log's encoding.
// `finding.last` must be set.
PlayerLocation LocationFromFinding(const LogFinding& finding, bool offline,
                                   const std::function<QString()>& playerName);

}  // namespace presence
