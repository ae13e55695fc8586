// The tooltip of a roster row or bookmark whose server is known: the
// server's name, map, players ("11/13"), ping and the players with their
// scores, highest first. It is rich text, and every text the server sent
// is escaped: a name like "<img src=...>" shows as those characters.
#pragma once
#include <QString>

#include "serverinfo/server_lookup.h"

namespace serverinfo {

// At most this many players are listed; a line counts the rest.
inline constexpr int kToolTipPlayers = 16;

// Empty when nothing is known and no query is under way (the row keeps
// its usual hint then). A `heading` (plain text) stands above the info.
QString ServerToolTip(const ServerLookup& lookup, const QString& heading = {});

}  // namespace serverinfo
