// An independent reader, the npm package gamedig (installed by
// scripts/install-deps into .deps/gamedig), queries the same stand-in
// server as ServerQuery; both must read the same server name, map, counts
// and player names, UCS-2 and colour-coded names included.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>

#include "query/server_query.h"
#include "support/game_server_replies.h"
#include "support/loopback_udp_server.h"

namespace {

using namespace testing_support;

QString GamedigProgram() {
  return QDir(QStringLiteral(QUAVIK_TEST_SUPPORT_DIR "/../../.deps/gamedig/node_modules/gamedig/bin/gamedig.js"))
      .absolutePath();
}

QJsonObject Gamedig(const QString& type, quint16 port) {
  QProcess node;
  node.start("node", {GamedigProgram(), "--type", type, QString("127.0.0.1:%1").arg(port), "--givenPortOnly",
                      "--socketTimeout", "1500", "--maxRetries", "1"});
  if (!node.waitForFinished(30000)) {
    node.kill();
    node.waitForFinished();
    ADD_FAILURE() << "gamedig did not finish";
    return {};
  }
  const QByteArray out = node.readAllStandardOutput();
  const QJsonObject object = QJsonDocument::fromJson(out).object();
  EXPECT_FALSE(object.contains("error")) << out.toStdString() << node.readAllStandardError().toStdString();
  return object;
}

query::ServerInfo Ours(query::QueryProtocol protocol, quint16 port) {
  query::ServerQuery serverQuery(protocol);
  QSignalSpy finished(&serverQuery, &query::ServerQuery::Finished);
  serverQuery.Start("127.0.0.1", port);
  EXPECT_TRUE(finished.wait(5000));
  if (finished.isEmpty()) return {};
  const query::QueryResult result = finished.first().first().value<query::QueryResult>();
  EXPECT_TRUE(result.ok) << result.error.toStdString();
  return result.info;
}

TEST(GamedigCrossCheck, BothReadersAgree) {
  ASSERT_TRUE(QFileInfo::exists(GamedigProgram())) << "gamedig is missing: run scripts/install-deps";
  const QString colour = QString(QChar(0x1B)) + QChar(0xFF) + QChar(0x40) + QChar(0x40);
  FakeServer server{QString::fromUtf8("Clan Server Äöü"), "CTF-Face", "CTFGame", 12,
                    {{colour + "Anna", 12, 40, 0}, {QString::fromUtf8("Bernd Größe"), 3, 70, 1}, {"Carl", 0, 20, 255}},
                    {{"timelimit", "20"}}};
  struct Case {
    const char* type;
    query::QueryProtocol protocol;
    bool ucs2;
    int textParts;
  } const cases[] = {
      {"unrealtournament", query::QueryProtocol::Text, false, 3},
      {"unrealtournament2004", query::QueryProtocol::Binary, false, 1},
      {"unrealtournament2004", query::QueryProtocol::Binary, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + (c.ucs2 ? " UCS-2" : ""));
    server.ucs2 = c.ucs2;
    // Colour codes are Engine 2's: an Engine 1 name keeps every byte.
    server.players[0].name = c.protocol == query::QueryProtocol::Binary ? colour + "Anna" : "Anna";
    LoopbackUdpServer standIn([&](const std::string& r) { return AnswerAs(server, r, c.textParts); });
    const query::ServerInfo ours = Ours(c.protocol, standIn.Port());
    const QJsonObject theirs = Gamedig(c.type, standIn.Port());
    EXPECT_EQ(ours.name, theirs["name"].toString());
    EXPECT_EQ(ours.map, theirs["map"].toString());
    EXPECT_EQ(ours.players, theirs["numplayers"].toInt());
    EXPECT_EQ(ours.maxPlayers, theirs["maxplayers"].toInt());
    QStringList ourNames, theirNames;
    for (const query::PlayerInfo& p : ours.playerList) ourNames << p.name;
    for (const QJsonValue& p : theirs["players"].toArray()) theirNames << p.toObject()["name"].toString();
    EXPECT_EQ(ourNames, theirNames);
    EXPECT_EQ(ourNames, (QStringList{"Anna", QString::fromUtf8("Bernd Größe"), "Carl"}));
  }
}

}  // namespace
