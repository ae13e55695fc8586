// How a server's live info reads, for the tooltip and the panel alike.
// Everything a server sends is hostile input: these helpers take display
// text out of it (colour codes and control characters removed, shortened),
// never markup; escaping for rich text is the caller's.
#pragma once
#include <QList>
#include <QString>

#include "query/server_info.h"
#include "serverinfo/query_target.h"
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

// Why a refresh is not possible now, for the line under the status: ""
// when it is (or while a query runs, which the status says), "Aktualisieren
// in 25 s" while the server was asked too recently, and the pause while
// Quavik's window is hidden (`idle`).
QString RefreshText(const ServerLookup& lookup, qint64 msUntilDue, bool idle);

// The server's address as a player joins it: the host and the game port.
QString AddressText(const QueryTarget& target);

}  // namespace serverinfo
