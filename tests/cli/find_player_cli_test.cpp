// quavik --find-player / --list-servers: what the arguments make of the
// run, what is printed for matches and servers, and the exit code.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include "cli/find_player_arguments.h"
#include "cli/find_player_output.h"

namespace {

using master::Game;

TEST(FinderArguments, ModesGamesAndOptions) {
  const struct {
    QStringList args;
    FinderMode mode;
    QString player;
    Game game;
    QStringList masters;
    bool contains, json, refresh;
    int timeoutMs;
  } cases[] = {
      {{"--find-player", "Kim", "--game", "ut"}, FinderMode::FindPlayer, "Kim", Game::UT, {}, false, false, false, 1500},
      {{"--find-player", "--json", "--game", "to", "--contains"},  // a name may look like an option
       FinderMode::FindPlayer, "--json", Game::TacticalOps, {}, true, false, false, 1500},
      {{"--find-player", "K i m", "--game", "ut2004", "--master", "127.0.0.1:28902", "--master", "m.example:1",
        "--master", "127.0.0.1:28902", "--json", "--timeout", "250", "--refresh"},
       FinderMode::FindPlayer, "K i m", Game::UT2004, {"127.0.0.1:28902", "m.example:1"}, false, true, true, 250},
      {{"--list-servers", "--game", "ut2003", "--master", "[::1]:28902"}, FinderMode::ListServers, "", Game::UT2003,
       {"[::1]:28902"}, false, false, false, 1500},
      {{"--game", "ut", "--list-servers", "--json"}, FinderMode::ListServers, "", Game::UT, {}, false, true, false, 1500},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const ParsedFinderArguments parsed = ParseFinderArguments(c.args);
    ASSERT_TRUE(parsed.command) << parsed.error.toStdString();
    const FinderCommand& command = *parsed.command;
    EXPECT_EQ(command.mode, c.mode);
    EXPECT_EQ(command.player, c.player);
    EXPECT_EQ(command.game, c.game);
    QStringList masters;
    for (const master::MasterHostPort& m : command.masters) masters.append(m.Text());
    EXPECT_EQ(masters, c.masters);
    EXPECT_EQ(command.contains, c.contains);
    EXPECT_EQ(command.json, c.json);
    EXPECT_EQ(command.refresh, c.refresh);
    EXPECT_EQ(command.timeoutMs, c.timeoutMs);
  }
}

TEST(FinderArguments, UnusableArgumentsSayWhy) {
  const QStringList cases[] = {
      {},
      {"--game", "ut"},
      {"--find-player"},
      {"--find-player", "Kim"},
      {"--find-player", " ", "--game", "ut"},
      {"--find-player", "Kim", "--game", "quake"},
      {"--find-player", "Kim", "--game", "UT"},
      {"--find-player", "Kim", "--game"},
      {"--find-player", "Kim", "--game", "ut", "--game", "to"},
      {"--find-player", "Kim", "--list-servers", "--game", "ut"},
      {"--find-player", "Kim", "--game", "ut", "--master"},
      {"--find-player", "Kim", "--game", "ut", "--master", "m.example"},
      {"--find-player", "Kim", "--game", "ut", "--master", "m.example:0"},
      {"--find-player", "Kim", "--game", "ut", "--timeout", "0"},
      {"--find-player", "Kim", "--game", "ut", "--timeout", "60001"},
      {"--find-player", "Kim", "--game", "ut", "--timeout", "1s"},
      {"--find-player", "Kim", "--game", "ut", "--bogus"},
      {"--list-servers", "--game", "ut", "--contains"},
      {"--list-servers", "extra", "--game", "ut"},
  };
  for (const QStringList& args : cases) {
    const ParsedFinderArguments parsed = ParseFinderArguments(args);
    EXPECT_FALSE(parsed.command) << args.join(' ').toStdString();
    EXPECT_FALSE(parsed.error.isEmpty()) << args.join(' ').toStdString();
  }
}

FoundServer Server() {
  FoundServer s;
  s.address = "81.169.1.2";
  s.queryPort = 7778;
  s.joinPort = 7777;
  s.masters = {"master.one:28900", "master.two:28900"};
  s.answered = true;
  // A colour code, then a tab that the display text leaves out like every control character.
  s.name = QString::fromUtf8("\x1b\xff\x01\x01Red\tServer \xc3\xa4\x01");
  s.map = "CTF-Face";
  s.gameType = "CTFGame";
  s.players = 5;
  s.maxPlayers = 16;
  s.pingMs = 48;
  return s;
}

TEST(FinderOutput, TextLinesOnePerMatchOrServer) {
  FoundPlayer match{QString::fromUtf8("K\xc3\xafm\n"), -3, 60, 1, Server()};
  EXPECT_EQ(FormatMatchLine(match),
            QByteArray("K\xc3\xafm\t81.169.1.2:7777\tRedServer \xc3\xa4\tCTF-Face\tCTFGame\t5\t16\t-3\t60\t1\n"));
  EXPECT_EQ(FormatServerLine(Server()),
            QByteArray("81.169.1.2:7777\t7778\tanswered\tRedServer \xc3\xa4\tCTF-Face\tCTFGame\t5\t16\t48\t"
                       "master.one:28900,master.two:28900\n"));
  FoundServer silent;
  silent.address = "81.169.1.3";
  silent.queryPort = 7788;
  silent.joinPort = 7787;
  silent.masters = {"m:1"};
  EXPECT_EQ(FormatServerLine(silent), QByteArray("81.169.1.3:7787\t7788\tsilent\t\t\t\t\t\t\tm:1\n"));
}

FinderSummary Summary(FinderMode mode) {
  FinderSummary summary;
  summary.mode = mode;
  summary.player = "Kim";
  summary.game = "ut";
  summary.masters = {{"master.one:28900", 950, {}}, {"master.two:28900", 0, "connection refused"}};
  summary.serversListed = 950;
  summary.serversAnswered = 812;
  summary.seconds = 6.04;
  return summary;
}

TEST(FinderOutput, FindJsonIsOneStrictObject) {
  FoundPlayer match{QStringLiteral("K\"i\\m\x01") + QChar(0xD800), 12, 60, 255, Server()};  // a lone surrogate
  const QByteArray json = FormatFindJson(Summary(FinderMode::FindPlayer), {match});
  EXPECT_EQ(json,
            QByteArray("{\"game\":\"ut\",\"masters\":[{\"error\":null,\"master\":\"master.one:28900\",\"servers\":950},"
                       "{\"error\":\"connection refused\",\"master\":\"master.two:28900\",\"servers\":0}],"
                       "\"matches\":[{\"gametype\":\"CTFGame\",\"map\":\"CTF-Face\",\"max_players\":16,"
                       "\"name\":\"K\\\"i\\\\m\xef\xbf\xbd\",\"ping\":60,\"players\":5,\"score\":12,"
                       "\"server\":\"81.169.1.2:7777\",\"server_name\":\"RedServer \xc3\xa4\",\"team\":255}],"
                       "\"player\":\"Kim\",\"seconds\":6,\"servers_answered\":812,\"servers_listed\":950}\n"));
}

TEST(FinderOutput, ListJsonNamesEveryServerWithItsMasters) {
  FoundServer silent;
  silent.address = "81.169.1.3";
  silent.queryPort = 7788;
  silent.joinPort = 7787;
  silent.masters = {"m:1"};
  const QByteArray json = FormatListJson(Summary(FinderMode::ListServers), {Server(), silent});
  const QJsonDocument document = QJsonDocument::fromJson(json);
  ASSERT_TRUE(document.isObject()) << json.toStdString();
  const QJsonObject root = document.object();
  EXPECT_FALSE(root.contains("player"));
  EXPECT_FALSE(root.contains("matches"));
  EXPECT_DOUBLE_EQ(root["seconds"].toDouble(), 6.0);
  const QJsonObject second = root["servers"][1].toObject();
  EXPECT_EQ(second["server"], "81.169.1.3:7787");
  EXPECT_EQ(second["query_port"], 7788);
  EXPECT_EQ(second["answered"], false);
  EXPECT_TRUE(second["players"].isNull());
  EXPECT_TRUE(second["ping"].isNull());
  EXPECT_EQ(root["servers"][0]["masters"][1], "master.two:28900");
  EXPECT_EQ(root["servers"][0]["server_name"], QString::fromUtf8("RedServer \xc3\xa4"));
}

TEST(FinderOutput, ExitCodesAndProgress) {
  EXPECT_EQ(FinderExitCode(FinderMode::FindPlayer, true, 2), 0);
  EXPECT_EQ(FinderExitCode(FinderMode::FindPlayer, true, 0), 1);
  EXPECT_EQ(FinderExitCode(FinderMode::FindPlayer, false, 0), 3);
  EXPECT_EQ(FinderExitCode(FinderMode::ListServers, true, 0), 0);
  EXPECT_EQ(FinderExitCode(FinderMode::ListServers, false, 0), 3);
  EXPECT_EQ(ProgressLine(812, 950, 6900), "812 of 950 servers answered, 6 s");
}

}  // namespace
