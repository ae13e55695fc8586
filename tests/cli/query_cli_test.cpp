// quavik --query: what its arguments make of the query, and the real
// program without a display against stand-in servers on loopback, one of
// them replaying a real Tactical Ops server's answer: its output and exit codes.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <map>

#include "cli/query_command.h"
#include "built_program.h"
#include "support/game_server_replies.h"
#include "support/loopback_udp_server.h"

namespace {

using namespace testing_support;

TEST(QueryArguments, AddressGameAndOptions) {
  struct Case {
    QStringList args;
    QString host;
    int queryPort;
    query::QueryProtocol protocol;
    bool json;
    int timeoutMs;
  } const cases[] = {
      {{"--query", "10.0.0.5", "--game", "ut"}, "10.0.0.5", 7778, query::QueryProtocol::Text, false, 1500},
      {{"--query", "srv.example:7000", "--game", "ut2004", "--json"}, "srv.example", 7001, query::QueryProtocol::Binary,
       true, 1500},
      {{"--query", "[::1]:7777", "--game", "to", "--timeout", "300"}, "::1", 7778, query::QueryProtocol::Text, false,
       300},
      {{"--query", "::1", "--game", "ut2003"}, "::1", 7778, query::QueryProtocol::Binary, false, 1500},
      {{"--query", "127.0.0.1:7777", "--game", "ut", "--query-port", "7787"}, "127.0.0.1", 7787,
       query::QueryProtocol::Text, false, 1500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const ParsedQueryArguments parsed = ParseQueryArguments(c.args);
    ASSERT_TRUE(parsed.command) << parsed.error.toStdString();
    EXPECT_EQ(parsed.command->host, c.host);
    EXPECT_EQ(parsed.command->queryPort, c.queryPort);
    EXPECT_EQ(parsed.command->protocol, c.protocol);
    EXPECT_EQ(parsed.command->json, c.json);
    EXPECT_EQ(parsed.command->timeoutMs, c.timeoutMs);
  }
}

TEST(QueryArguments, UnusableArgumentsSayWhy) {
  const QStringList cases[] = {
      {"--query"},
      {"--query", "srv", "--game", "quake"},
      {"--query", "srv"},
      {"--query", "srv:0", "--game", "ut"},
      {"--query", "srv:65535", "--game", "ut"},  // no query port above it
      {"--query", "srv:x", "--game", "ut"},
      {"--query", "[::1", "--game", "ut"},
      {"--query", "srv", "--game", "ut", "--timeout", "0"},
      {"--query", "srv", "--game", "ut", "--query-port", "70000"},
      {"--query", "srv", "--game", "ut", "--bogus"},
  };
  for (const QStringList& args : cases) {
    const ParsedQueryArguments parsed = ParseQueryArguments(args);
    EXPECT_FALSE(parsed.command) << args.join(' ').toStdString();
    EXPECT_FALSE(parsed.error.isEmpty()) << args.join(' ').toStdString();
  }
}

using Outcome = ProgramRun;

Outcome RunQuavik(const QStringList& args) { return RunBuiltProgram("quavik", args); }

// Answers each binary request with the replies kept for its command byte.
LoopbackUdpServer::Answer ReplayByCommand(const std::map<int, std::vector<std::string>>& replies) {
  return [&replies](const std::string& request) {
    const auto found = request.size() == 5 ? replies.find(request[4]) : replies.end();
    return found == replies.end() ? std::vector<std::string>{} : found->second;
  };
}

TEST(QueryProgram, ReadsARealTacticalOpsServerAsJson) {
  std::vector<std::string> datagrams = RealReplyDatagrams("to_bygames.txt");
  LoopbackUdpServer server([&datagrams](const std::string&) { return datagrams; });
  const Outcome run = RunQuavik({"--query", "127.0.0.1:9000", "--game", "to", "--json", "--query-port",
                                 QString::number(server.Port())});
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  const QJsonObject answer = QJsonDocument::fromJson(run.out).object();
  EXPECT_EQ(answer["server"].toString(), "bygames.com.Tactical.Ops.#1.[Favourite.4]");
  EXPECT_EQ(answer["map"].toString(), "TO-RapidWaters");
  EXPECT_EQ(answer["gametype"].toString(), "s_SWATGame");
  EXPECT_EQ(answer["players"].toInt(), 16);
  EXPECT_EQ(answer["max_players"].toInt(), 16);
  EXPECT_GE(answer["ping_ms"].toInt(), 0);
  const QJsonArray players = answer["player_list"].toArray();
  ASSERT_EQ(players.size(), 4);
  EXPECT_EQ(players[0].toObject()["name"].toString(), "HyBz");
  EXPECT_EQ(players[3].toObject()["score"].toInt(), -1);
  EXPECT_EQ(players[2].toObject()["team"].toInt(), 255);
  EXPECT_EQ(answer["rules"].toObject()["timelimit"].toString(), "20");
}

TEST(QueryProgram, ReadsARealEngine2ServerAsJson) {
  // A Killing Floor server (Unreal Engine 2.5, UT 2004's binary query, version
  // 0x80): colour codes all through its name, an empty IP string, bytes of its
  // own after the skill, players on a team by bit 29.
  const std::map<int, std::vector<std::string>> replies = RealBinaryReplies("kf_cuzus_binary.hex");
  ASSERT_EQ(replies.size(), 3u);
  LoopbackUdpServer server(ReplayByCommand(replies));
  const Outcome run = RunQuavik({"--query", "127.0.0.1:7807", "--game", "ut2004", "--json", "--query-port",
                                 QString::number(server.Port())});
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  const QJsonObject answer = QJsonDocument::fromJson(run.out).object();
  EXPECT_EQ(answer["server"].toString(), "WWW.CUZUS.ORG - BOSS RAGE - V1065");
  EXPECT_EQ(answer["map"].toString(), "KF-No-Mercy_TA");
  EXPECT_EQ(answer["gametype"].toString(), "SRGameType");
  EXPECT_EQ(answer["players"].toInt(), 2);
  EXPECT_EQ(answer["max_players"].toInt(), 24);
  const QJsonArray players = answer["player_list"].toArray();
  ASSERT_EQ(players.size(), 2);
  EXPECT_EQ(players[0].toObject()["name"].toString(), "_Mary911");
  EXPECT_EQ(players[0].toObject()["score"].toInt(), 2297);
  EXPECT_EQ(players[0].toObject()["ping"].toInt(), 100);
  EXPECT_EQ(players[1].toObject()["name"].toString(), "_27");
  EXPECT_EQ(answer["rules"].toObject()["FriendlyFireScale"].toString(), "2%");
}

TEST(QueryProgram, ReadsRealUt2003AndUt2004Servers) {
  // Replies of real UT 2004 (version 128) and UT 2003 (121) servers, kept in
  // real_replies/SOURCES.md. None of them sent a players datagram: the count
  // holds bots, and the answer must come without waiting for names.
  struct RealServer {
    const char* file;
    const char* game;
    const char* name;
    const char* map;
    int players;
    int maxPlayers;
    const char* ruleKey;
    const char* ruleValue;
  };
  const RealServer servers[] = {
      {"ut2004_nsc_fleet_binary.hex", "ut2004", "NSC Retro Fleet Arena", "DM-Rankin", 0, 12, nullptr, nullptr},
      {"ut2003_nsc_fleet_binary.hex", "ut2003", "NSC Retro Fleet Arena (UT2003)", "DM-Antalus", 6, 12,
       "ServerVersion", "2225"},
      {"ut2003_teutonica_binary.hex", "ut2003", "Teutonica V11 (UT2003)", "DM-(Extr)-Stallwart-XXL", 6, 16, nullptr,
       nullptr},
  };
  for (const RealServer& real : servers) {
    SCOPED_TRACE(real.file);
    const std::map<int, std::vector<std::string>> replies = RealBinaryReplies(real.file);
    ASSERT_FALSE(replies.empty());
    LoopbackUdpServer server(ReplayByCommand(replies));
    const Outcome run = RunQuavik({"--query", "127.0.0.1:7777", "--game", real.game, "--json", "--query-port",
                                   QString::number(server.Port())});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QJsonObject answer = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(answer["server"].toString(), QString::fromUtf8(real.name));
    EXPECT_EQ(answer["map"].toString(), QString::fromUtf8(real.map));
    EXPECT_EQ(answer["gametype"].toString(), "xDeathMatch");
    EXPECT_EQ(answer["players"].toInt(), real.players);
    EXPECT_EQ(answer["max_players"].toInt(), real.maxPlayers);
    EXPECT_TRUE(answer["player_list"].toArray().isEmpty());
    if (real.ruleKey) {
      EXPECT_EQ(answer["rules"].toObject()[real.ruleKey].toString(), real.ruleValue);
    }
    EXPECT_EQ(server.Requests(), 3) << "one attempt: the info alone is an answer";
  }
}

TEST(QueryProgram, TextLinesForAnEngine2Server) {
  const QString colour = QString(QChar(0x1B)) + QChar(0xFF) + QChar(0x10) + QChar(0x10);
  const FakeServer fake{QString::fromUtf8("Clan\tServer Ω"), "ONS-Torlan", "xOnslaughtGame", 32,
                        {{colour + "Anna", 7, 30, 0}}, {{"mutator", "MutInstaGib"}}, true};
  LoopbackUdpServer server([&fake](const std::string& r) { return AnswerAs(fake, r); });
  const Outcome run = RunQuavik({"--query", QString("127.0.0.1:%1").arg(server.Port() - 1), "--game", "ut2004"});
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  const QStringList lines = QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 8) << run.out.toStdString();
  EXPECT_EQ(lines[0], QString::fromUtf8("server\tClanServer Ω"));  // control characters go
  EXPECT_EQ(lines[1], "map\tONS-Torlan");
  EXPECT_EQ(lines[3], "players\t1");
  EXPECT_EQ(lines[4], "max_players\t32");
  EXPECT_TRUE(lines[5].startsWith("ping_ms\t"));
  EXPECT_EQ(lines[6], "player\tAnna\t7\t30\t0");
  EXPECT_EQ(lines[7], "rule\tmutator\tMutInstaGib");
}

TEST(QueryProgram, ExitCodes) {
  LoopbackUdpServer silent([](const std::string&) { return std::vector<std::string>{}; });
  const Outcome none = RunQuavik({"--query", "127.0.0.1", "--game", "ut", "--timeout", "200", "--query-port",
                                  QString::number(silent.Port())});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_TRUE(none.out.isEmpty());
  EXPECT_TRUE(none.errors.contains("no answer from 127.0.0.1:" + QString::number(silent.Port())))
      << none.errors.toStdString();
  EXPECT_EQ(silent.Requests(), 2);
  const Outcome bad = RunQuavik({"--query", "127.0.0.1", "--game", "quake"});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_FALSE(bad.errors.isEmpty());
}

// The command line speaks English whatever went wrong; the window's German
// words stay in the window.
TEST(QueryProgram, FailuresAreWordedInEnglish) {
  LoopbackUdpServer garbled([](const std::string&) { return std::vector<std::string>{BinaryHeader(0) + "\x3F" + "abc"}; });
  struct Case {
    const char* name;
    QStringList args;
    QString said;
  } const cases[] = {
      {"not sent", {"--query", "255.255.255.255", "--game", "ut"}, "request to 255.255.255.255:7778 not sent ("},
      {"unusable answer",
       {"--query", "127.0.0.1", "--game", "ut2004", "--query-port", QString::number(garbled.Port())},
       "unusable answer from 127.0.0.1:" + QString::number(garbled.Port())},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome run = RunQuavik(c.args);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains(c.said)) << run.errors.toStdString();
    for (const char* german : {"Anfrage", "Antwort", "gesendet", "Ungültig", "Keine"})
      EXPECT_FALSE(run.errors.contains(german)) << run.errors.toStdString();
  }
}

}  // namespace
