// How a server's live info reads, for the tooltip and the panel alike.
// Everything a server sends is hostile input: these helpers take display
// text out of it (colour codes and control characters removed, shortened),
// never markup; escaping for rich text is the caller's.
#pragma once
#include <QList>
#include <QString>

#include "query/server_info.h"
#include "serverinfo/server_lookup.h"

namespace serverinfo {

// `text` without colour codes and control characters, cut to `maxChars`
// characters with a trailing "…" where it is longer.
QString DisplayText(const QString& text, int maxChars);

// "11/13"
QString PlayerCountText(const query::ServerInfo& info);
// "45 ms", or "?" when the ping was not measured.
QString PingText(int pingMs);
// The players, highest score first (the server's order among equals).
QList<query::PlayerInfo> PlayersByScore(const query::ServerInfo& info);

// The line under the info: "Abfrage läuft...", the reason there is no
// answer, "Stand: vor 12 s", or "Noch keine Server-Info" before anything.
QString StatusText(const ServerLookup& lookup);

}  // namespace serverinfo
