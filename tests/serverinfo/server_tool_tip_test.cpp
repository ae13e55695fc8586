// The tooltip text of a row whose server is known: what it says, and that
// nothing a server sends becomes markup.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTextDocument>

#include "serverinfo/server_display.h"
#include "serverinfo/server_tool_tip.h"

namespace {

using serverinfo::ServerLookup;

ServerLookup Answered(query::ServerInfo info) { return {query::QueryResult{true, {}, std::move(info), {}, {}, {}}, 0, false}; }

query::ServerInfo ClanServer() {
  query::ServerInfo info;
  info.name = "Clan Server";
  info.map = "DM-Deck16][";
  info.players = 11;
  info.maxPlayers = 13;
  info.pingMs = 45;
  info.playerList = {{"Bernd", 3, 70, 255}, {"Anna", 12, 40, 255}, {"Carl", 3, 20, 255}};
  return info;
}

// What the tooltip shows: the rich text as a reader sees it.
QString Shown(const QString& toolTip) {
  QTextDocument document;
  document.setHtml(toolTip);
  return document.toPlainText();
}

TEST(ServerToolTip, ShowsNameMapPlayersPingAndThePlayersByScore) {
  const QString toolTip = serverinfo::ServerToolTip(Answered(ClanServer()));
  const QString shown = Shown(toolTip);
  EXPECT_TRUE(shown.startsWith("Clan Server\nKarte: DM-Deck16][\nSpieler: 11/13")) << shown.toStdString();
  EXPECT_TRUE(shown.contains("Ping: 45 ms")) << shown.toStdString();
  const qsizetype anna = shown.indexOf("Anna"), bernd = shown.indexOf("Bernd"), carl = shown.indexOf("Carl");
  EXPECT_LT(anna, bernd) << "highest score first";
  EXPECT_LT(bernd, carl) << "the server's order among equal scores";
  EXPECT_TRUE(shown.contains(QRegularExpression("Anna\\s+12"))) << shown.toStdString();
}

TEST(ServerToolTip, ServerTextNeverBecomesMarkup) {
  struct Case {
    const char* name;
    QString playerName;
    QString shownAs;  // how the player's name reads in the tooltip
  } const cases[] = {
      {"a tag", "<img src=\"http://x/\">Evil", "<img src=\"http://x/\">Evil"},
      {"a closing table", "</table></qt><b>big", "</table></qt><b>big"},
      {"an entity", "Tom &amp; Jerry", "Tom &amp; Jerry"},
      {"a placeholder", "%2 %1", "%2 %1"},
      {"colour codes", QString::fromLatin1("\x1b\xff\x01\x01Red\x1b\x01\xff\x01Green"), "RedGreen"},
      {"a line break", "two\nlines", "twolines"},
      {"a long name", QString(200, 'W'), QString(31, 'W') + QStringLiteral("…")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    query::ServerInfo info = ClanServer();
    info.name = c.playerName;
    info.playerList = {{c.playerName, 7, 0, 255}};
    const QString toolTip = serverinfo::ServerToolTip(Answered(info));
    QTextDocument document;
    document.setHtml(toolTip);
    const QRegularExpression row(QRegularExpression::escape(c.shownAs) + "\\s+7$");
    EXPECT_TRUE(document.toPlainText().contains(row)) << document.toPlainText().toStdString();
    EXPECT_FALSE(toolTip.contains("<img")) << toolTip.toStdString();
    EXPECT_FALSE(document.toHtml().contains("<img")) << "no image the tooltip would load";
  }
}

// A bookmark's tooltip keeps its own hint as the first line: plain text.
TEST(ServerToolTip, HeadingStandsAboveTheInfoAsPlainText) {
  const QString heading = QStringLiteral("<b>Clan</b> %1 mit Server-IP 10.0.0.5");
  EXPECT_TRUE(Shown(serverinfo::ServerToolTip(Answered(ClanServer()), heading))
                  .startsWith(heading + "\nClan Server\nKarte: DM-Deck16]["));
  EXPECT_EQ(Shown(serverinfo::ServerToolTip(ServerLookup{{}, 0, true}, heading)),
            heading + "\nServer-Info: Abfrage läuft...");
  EXPECT_EQ(serverinfo::ServerToolTip(ServerLookup{}, heading), "") << "nothing known: the hint alone";
}

TEST(ServerToolTip, PendingFailedEmptyAndCrowdedServers) {
  ServerLookup pending;
  pending.pending = true;
  EXPECT_EQ(Shown(serverinfo::ServerToolTip(pending)), "Server-Info: Abfrage läuft...");
  EXPECT_EQ(serverinfo::ServerToolTip(ServerLookup{}), "") << "nothing known: the row keeps its own hint";

  const ServerLookup failed{query::QueryResult{false, "Keine Antwort von <10.0.0.5>:7778", {}, {}, {}, {}}, 0, false};
  EXPECT_EQ(Shown(serverinfo::ServerToolTip(failed)), "Server-Info: Keine Antwort von <10.0.0.5>:7778");

  query::ServerInfo empty = ClanServer();
  empty.players = 0;
  empty.playerList.clear();
  empty.pingMs = -1;
  const QString emptyShown = Shown(serverinfo::ServerToolTip(Answered(empty)));
  EXPECT_TRUE(emptyShown.contains("Spieler: 0/13")) << emptyShown.toStdString();
  EXPECT_TRUE(emptyShown.contains("Ping: ?"));
  EXPECT_TRUE(emptyShown.endsWith("Keine Spieler"));

  query::ServerInfo crowded = ClanServer();
  crowded.playerList.clear();
  for (int i = 0; i < 40; ++i) crowded.playerList.append({QStringLiteral("P%1").arg(i), 100 - i, 0, 255});
  const QString crowdedShown = Shown(serverinfo::ServerToolTip(Answered(crowded)));
  EXPECT_TRUE(crowdedShown.contains(QStringLiteral("P%1").arg(serverinfo::kToolTipPlayers - 1)));
  EXPECT_FALSE(crowdedShown.contains(QStringLiteral("P%1").arg(serverinfo::kToolTipPlayers)));
  EXPECT_TRUE(crowdedShown.endsWith(QStringLiteral("und %1 weitere").arg(40 - serverinfo::kToolTipPlayers)));
}

TEST(ServerDisplay, StatusLine) {
  ServerLookup lookup;
  EXPECT_EQ(serverinfo::StatusText(lookup), "Noch keine Server-Info");
  lookup.result = query::QueryResult{true, {}, ClanServer(), {}, {}, {}};
  lookup.ageMs = 12'999;
  EXPECT_EQ(serverinfo::StatusText(lookup), "Stand: vor 12 s");
  lookup.pending = true;
  EXPECT_EQ(serverinfo::StatusText(lookup), "Abfrage läuft...");
  lookup = {query::QueryResult{false, "Keine Antwort von 10.0.0.5:7778", {}, {}, {}, {}}, 0, false};
  EXPECT_EQ(serverinfo::StatusText(lookup), "Keine Antwort von 10.0.0.5:7778");
}

TEST(ServerDisplay, RefreshLineSaysWhyNotYet) {
  const ServerLookup answered = Answered(ClanServer());
  ServerLookup pending = answered;
  pending.pending = true;
  const struct {
    const char* what;
    ServerLookup lookup;
    qint64 msUntilDue;
    bool idle;
    QString expected;
  } cases[] = {
      {"due", answered, 0, false, ""},
      {"a part of a second left counts as a whole one", answered, 24'001, false, "Aktualisieren in 25 s"},
      {"the last second", answered, 1, false, "Aktualisieren in 1 s"},
      {"while the window is hidden", answered, 0, true, "Keine Abfragen, solange Quavik verborgen ist"},
      {"a running query is the status line's", pending, 30'000, false, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(serverinfo::RefreshText(c.lookup, c.msUntilDue, c.idle), c.expected) << c.what;
}

TEST(ServerDisplay, AddressIsTheGamePort) {
  const auto target = serverinfo::QueryTargetFor(QStringLiteral("10.0.0.5:7777/DM-Deck16"), 2);
  ASSERT_TRUE(target);
  EXPECT_EQ(serverinfo::AddressText(*target), "10.0.0.5:7777");
  EXPECT_EQ(serverinfo::AddressText(*serverinfo::QueryTargetFor(QStringLiteral("10.0.0.5"), 4)), "10.0.0.5:7777");
}

}  // namespace
