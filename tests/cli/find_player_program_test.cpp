// quavik --find-player / --list-servers as a user runs them: the real
// program against a GameSpy-style master stand-in and a swarm of game
// servers on loopback; its output, its exit codes, and that a master is not
// asked again within 15 minutes unless the user refreshes.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <memory>

#include "built_program.h"
#include "support/gamespy_master_standin.h"
#include "support/server_swarm.h"
#include "support/ut2004_master_standin.h"

namespace {

using namespace testing_support;

using Outcome = ProgramRun;

Outcome RunQuavik(const QStringList& args) {
  ProgramRunOptions options;
  options.timeoutMs = 60000;
  return RunBuiltProgram("quavik", args, options);
}

FakeServer Server(const QString& name, const QString& gameType, std::vector<FakePlayer> players) {
  FakeServer s;
  s.name = name;
  s.map = "CTF-Face";
  s.gameType = gameType;
  s.players = std::move(players);
  return s;
}

std::string Listed(const ServerSwarm& swarm, size_t i) {
  return swarm.Endpoints()[i].address + ":" + std::to_string(swarm.Endpoints()[i].port);
}

// Where a player joins: the hostport its answer gives (the swarm's servers
// say 7777), or the query port - 1 of a server that did not answer.
QString JoinAddress(const ServerSwarm& swarm, size_t i, bool answered = true) {
  const int port = answered ? 7777 : swarm.Endpoints()[i].port - 1;
  return QString::fromStdString(swarm.Endpoints()[i].address) + ":" + QString::number(port);
}

class FindPlayerProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString colour = QString(QChar(0x1B)) + QChar(0xFF) + QChar(0x10) + QChar(0x10);
    swarm_ = std::make_unique<ServerSwarm>(std::vector<SwarmServer>{
        {Server("Clan Server", "CTFGame", {{colour + "Kim", 12, 40, 1}, {"Lee", 3, 50, 0}}), false},
        {Server("Silent", "DeathMatchPlus", {}), false, SwarmBehaviour::Silent},
        {Server("Tactical", "s_SWATGame", {{"kimberly", 1, 70, 0}}), false},
    });
  }

  std::unique_ptr<GamespyMasterStandin> Master(std::map<std::string, std::vector<std::string>> lists) {
    GamespyMasterBehaviour behaviour;
    behaviour.lists = std::move(lists);
    return std::make_unique<GamespyMasterStandin>(behaviour);
  }

  std::unique_ptr<ServerSwarm> swarm_;
};

TEST_F(FindPlayerProgram, FindsAPlayerAndStreamsItsLine) {
  auto master = Master({{"ut", {Listed(*swarm_, 0), Listed(*swarm_, 1), Listed(*swarm_, 2), "0.0.0.0:7778"}}});
  const QString at = QString("127.0.0.1:%1").arg(master->Port());
  const Outcome json =
      RunQuavik({"--find-player", "KIM", "--game", "ut", "--master", at, "--json", "--refresh", "--timeout", "400"});
  ASSERT_EQ(json.exitCode, 0) << json.errors.toStdString() << json.out.toStdString();
  const QJsonObject root = QJsonDocument::fromJson(json.out).object();
  EXPECT_EQ(root["player"], "KIM");
  EXPECT_EQ(root["game"], "ut");
  EXPECT_EQ(root["servers_listed"], 3);  // 0.0.0.0 is never asked
  EXPECT_EQ(root["servers_answered"], 2);
  EXPECT_EQ(root["masters"][0]["master"], at);
  EXPECT_EQ(root["masters"][0]["servers"], 3);
  EXPECT_TRUE(root["masters"][0]["error"].isNull());
  const QJsonArray matches = root["matches"].toArray();
  ASSERT_EQ(matches.size(), 1);
  const QJsonObject match = matches[0].toObject();
  EXPECT_EQ(match["name"], "Kim");
  EXPECT_EQ(match["server"], JoinAddress(*swarm_, 0));
  EXPECT_EQ(match["server_name"], "Clan Server");
  EXPECT_EQ(match["gametype"], "CTFGame");
  EXPECT_EQ(match["score"], 12);
  EXPECT_EQ(match["team"], 1);
  EXPECT_EQ(master->Connections(), 1);

  // Within 15 minutes the master is not asked again: the kept list serves.
  const Outcome text = RunQuavik({"--find-player", "kim", "--contains", "--game", "ut", "--master", at});
  EXPECT_EQ(text.exitCode, 0) << text.errors.toStdString();
  EXPECT_EQ(master->Connections(), 1);
  const QList<QByteArray> lines = text.out.split('\n');
  ASSERT_EQ(lines.size(), 3) << text.out.toStdString();  // two matches and the end
  EXPECT_TRUE(text.out.contains("Kim\t" + JoinAddress(*swarm_, 0).toUtf8() + "\tClan Server\tCTF-Face\tCTFGame\t2\t16\t12\t40\t1\n"))
      << text.out.toStdString();
  EXPECT_TRUE(text.out.contains("kimberly\t" + JoinAddress(*swarm_, 2).toUtf8())) << text.out.toStdString();

  const Outcome nobody = RunQuavik({"--find-player", "Nobody", "--game", "ut", "--master", at, "--timeout", "300"});
  EXPECT_EQ(nobody.exitCode, 1) << nobody.errors.toStdString();
  EXPECT_TRUE(nobody.out.isEmpty());

  // The master gone and a refresh asked for: the list of a minute ago is used, with a warning.
  master.reset();
  const Outcome fallback =
      RunQuavik({"--find-player", "Kim", "--game", "ut", "--master", at, "--refresh", "--timeout", "300"});
  EXPECT_EQ(fallback.exitCode, 0) << fallback.errors.toStdString();
  EXPECT_TRUE(fallback.errors.contains("is used")) << fallback.errors.toStdString();
}

TEST_F(FindPlayerProgram, TacticalOpsListKeepsItsOwnServers) {
  auto master = Master({{"tacticalops", {Listed(*swarm_, 1)}}, {"ut", {Listed(*swarm_, 0), Listed(*swarm_, 2)}}});
  const QString at = QString("127.0.0.1:%1").arg(master->Port());
  const Outcome run = RunQuavik({"--list-servers", "--game", "to", "--master", at, "--json", "--refresh", "--timeout", "400"});
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  const QJsonObject root = QJsonDocument::fromJson(run.out).object();
  QStringList shown;
  for (const QJsonValue& s : root["servers"].toArray()) shown.append(s["server"].toString());
  // The silent server listed as Tactical Ops, the one that says it is; not the UT server.
  EXPECT_EQ(shown, (QStringList{JoinAddress(*swarm_, 1, false), JoinAddress(*swarm_, 2)}));
  EXPECT_EQ(root["servers_listed"], 3);
}

TEST(FindPlayerProgramUt2004, JoinsOnTheGamePortTheMasterListed) {
  // A server behind NAT: the master knows its outside game port, which no
  // rule of the server's own answer can be trusted to say.
  ServerSwarm swarm({{Server("NAT Server", "xDeathMatch", {{"Anna", 7, 30, 0}}), true}});
  Ut2004MasterStandIn::Options options;
  options.servers = {{swarm.Endpoints()[0].address, 9100, swarm.Endpoints()[0].port, "NAT Server", "DM-Rankin",
                      "xDeathMatch", 1, 16}};
  Ut2004MasterStandIn master(options);
  const Outcome run = RunQuavik({"--find-player", "anna", "--game", "ut2004", "--master",
                                 QString("127.0.0.1:%1").arg(master.Port()), "--json", "--refresh", "--timeout", "500"});
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  const QJsonObject match = QJsonDocument::fromJson(run.out).object()["matches"][0].toObject();
  EXPECT_EQ(match["server"], QString::fromStdString(swarm.Endpoints()[0].address) + ":9100");
  EXPECT_EQ(match["score"], 7);
}

TEST(FindPlayerProgramErrors, ExitCodesForNoListAndBadArguments) {
  const Outcome noMaster = RunQuavik({"--find-player", "Kim", "--game", "ut2003"});
  EXPECT_EQ(noMaster.exitCode, 3);
  EXPECT_TRUE(noMaster.errors.contains("--master")) << noMaster.errors.toStdString();
  // A port nothing listens on, asked afresh: no list at all.
  const Outcome refused =
      RunQuavik({"--list-servers", "--game", "ut2004", "--master", "127.0.0.1:1", "--refresh"});
  EXPECT_EQ(refused.exitCode, 3) << refused.errors.toStdString();
  const Outcome bad = RunQuavik({"--find-player", "Kim", "--game", "quake"});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_FALSE(bad.errors.isEmpty());
}

}  // namespace
