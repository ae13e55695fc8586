#include "serverinfo/server_tool_tip.h"

#include "serverinfo/server_display.h"

namespace serverinfo {

namespace {

QString Escaped(const QString& text, int maxChars) { return DisplayText(text, maxChars).toHtmlEscaped(); }

QString PlayerRows(const query::ServerInfo& info) {
  const QList<query::PlayerInfo> players = PlayersByScore(info);
  if (players.isEmpty()) return QStringLiteral("<br><i>Keine Spieler</i>");
  QString rows;
  for (qsizetype i = 0; i < players.size() && i < kToolTipPlayers; ++i)
    rows += QStringLiteral("<tr><td>%1</td><td align=\"right\">&nbsp;&nbsp;%2</td></tr>")
                .arg(Escaped(players[i].name, 32), QString::number(players[i].score));
  QString table = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\">%1</table>").arg(rows);
  if (players.size() > kToolTipPlayers)
    table += QStringLiteral("<i>und %1 weitere</i>").arg(players.size() - kToolTipPlayers);
  return table;
}

}  // namespace

QString ServerToolTip(const ServerLookup& lookup, const QString& heading) {
  if (!lookup.result && !lookup.pending) return {};
  const QString top = heading.isEmpty() ? QString() : heading.toHtmlEscaped() + QStringLiteral("<br>");
  if (!lookup.result) return QStringLiteral("<qt>%1Server-Info: Abfrage läuft...</qt>").arg(top);
  if (!lookup.result->ok) return QStringLiteral("<qt>%1Server-Info: %2</qt>").arg(top, Escaped(lookup.result->error, 80));
  const query::ServerInfo& info = lookup.result->info;
  return QStringLiteral("<qt>%1<b>%2</b><br>Karte: %3<br>Spieler: %4&nbsp;&nbsp;Ping: %5%6</qt>")
      .arg(top, Escaped(info.name, 60), Escaped(info.map, 40), PlayerCountText(info), PingText(info.pingMs),
           PlayerRows(info));
}

}  // namespace serverinfo
