#include "serverinfo/server_display.h"

#include <algorithm>

#include "query/display_text.h"

namespace serverinfo {

QString DisplayText(const QString& text, int maxChars) {
  const QString clean = query::WithoutColourCodes(text);
  if (clean.size() <= maxChars) return clean;
  return clean.left(std::max(0, maxChars - 1)) + QStringLiteral("…");
}

QString PlayerCountText(const query::ServerInfo& info) {
  return QStringLiteral("%1/%2").arg(info.players).arg(info.maxPlayers);
}

QString PingText(int pingMs) { return pingMs < 0 ? QStringLiteral("?") : QStringLiteral("%1 ms").arg(pingMs); }

QList<query::PlayerInfo> PlayersByScore(const query::ServerInfo& info) {
  QList<query::PlayerInfo> players = info.playerList;
  std::stable_sort(players.begin(), players.end(),
                   [](const query::PlayerInfo& a, const query::PlayerInfo& b) { return a.score > b.score; });
  return players;
}

QString StatusText(const ServerLookup& lookup) {
  if (lookup.pending) return QStringLiteral("Abfrage läuft...");
  if (!lookup.result) return QStringLiteral("Noch keine Server-Info");
  if (!lookup.result->ok) return DisplayText(lookup.result->error, 80);
  return QStringLiteral("Stand: vor %1 s").arg(lookup.ageMs / 1000);
}

QString RefreshText(const ServerLookup& lookup, qint64 msUntilDue, bool idle) {
  if (lookup.pending) return {};
  if (idle) return QStringLiteral("Keine Abfragen, solange Quavik verborgen ist");
  if (msUntilDue <= 0) return {};
  return QStringLiteral("Aktualisieren in %1 s").arg((msUntilDue + 999) / 1000);
}

QString AddressText(const QueryTarget& target) {
  return QStringLiteral("%1:%2").arg(target.host).arg(int(target.queryPort) - 1);
}

}  // namespace serverinfo
