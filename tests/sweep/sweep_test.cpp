// The sweep against a swarm of fake servers on 127.1.x.y: who is found
// (also on slow, out-of-order and retry-only servers), what is never taken
// (a stranger's datagram, a hostile flood), how often each server is asked,
// how many are asked at once, and how a sweep ends (done, cancelled,
// deleted).
#include "sweep/sweep.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>
#include <cstdio>
#include <map>
#include <memory>

#include "support/server_swarm.h"
#include "sweep/player_match.h"

namespace {

using namespace testing_support;
using sweep::Sweep;
using sweep::SweepOptions;
using sweep::SweepSummary;
using sweep::SweepTarget;

std::vector<SweepTarget> TargetsOf(const ServerSwarm& swarm, const std::vector<SwarmServer>& servers) {
  std::vector<SweepTarget> targets;
  for (size_t i = 0; i < swarm.Size(); ++i) {
    const ServerSwarm::Endpoint& at = swarm.Endpoints()[i];
    targets.push_back({*platform::UdpAddress::FromText(QString::fromStdString(at.address), at.port),
                       servers[i].binary ? query::QueryProtocol::Binary : query::QueryProtocol::Text, int(i)});
  }
  return targets;
}

// What one sweep emitted, up to its end or `limitMs`.
struct SweepRun {
  std::map<int, query::ServerInfo> answers;  // by the target's index
  int answeredSignals = 0;
  int finishedSignals = 0;
  int lastProgressFinished = -1;
  SweepSummary summary;
  qint64 elapsedMs = 0;

  bool Found(const QString& wanted, bool contains = false) const {
    for (const auto& [index, info] : answers) {
      for (const query::PlayerInfo& p : info.playerList) {
        if (sweep::NameMatches(wanted, p.name, contains)) return true;
      }
    }
    return false;
  }
};

void Record(Sweep& s, SweepRun& run, QEventLoop* loop) {
  QObject::connect(&s, &Sweep::ServerAnswered, [&run](int index, const query::ServerInfo& info) {
    ++run.answeredSignals;
    run.answers[index] = info;
  });
  QObject::connect(&s, &Sweep::ProgressChanged,
                   [&run](int, int finished, int) { run.lastProgressFinished = finished; });
  QObject::connect(&s, &Sweep::Finished, [&run, loop](const SweepSummary& summary) {
    ++run.finishedSignals;
    run.summary = summary;
    if (loop) loop->quit();
  });
}

SweepRun RunSweep(std::vector<SweepTarget> targets, SweepOptions options, int limitMs = 20000) {
  SweepRun run;
  Sweep s;
  QEventLoop loop;
  Record(s, run, &loop);
  QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
  QElapsedTimer clock;
  clock.start();
  s.Start(std::move(targets), options);
  loop.exec();
  run.elapsedMs = clock.elapsed();
  return run;
}

void Wait(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

SwarmServer Server(const QString& name, bool binary, std::vector<QString> players,
                   SwarmBehaviour behaviour = SwarmBehaviour::Normal, int delayMs = 0) {
  SwarmServer s;
  s.server = {name, "DM-Deck16][", "DeathMatchPlus", 16, {}, {{"timelimit", "20"}}, binary};
  for (const QString& p : players) s.server.players.push_back({p, 5, 40, 255});
  s.binary = binary;
  s.behaviour = behaviour;
  s.delayMs = delayMs;
  return s;
}

TEST(Sweep, FindsPlayersWhereverTheyAnswerFrom) {
  const QString colour = QString(QChar(0x1B)) + QChar(0xFF) + QChar(0x20) + QChar(0x20);
  enum {
    kText,
    kBinaryEmpty,
    kBinaryUcs2,
    kSlow,
    kOutOfOrderText,
    kOutOfOrderBinary,
    kRetryOnly,
    kSilent,
    kStranger,
    kLostPlayers,
    kCount
  };
  std::vector<SwarmServer> servers(kCount);
  servers[kText] = Server("Text", false, {"Anna", QString::fromUtf8("Björn")});
  servers[kBinaryEmpty] = Server("Binary empty", true, {});
  servers[kBinaryUcs2] =
      Server("Binary UCS-2", true, {colour + QString::fromUtf8("Jürgen"), QString::fromUtf8("Ωmega")});
  servers[kSlow] = Server("Slow", true, {"Snail"}, SwarmBehaviour::Slow, 300);
  servers[kOutOfOrderText] = Server("Out of order", false, {"Otto", "Olga", "Oskar"}, SwarmBehaviour::OutOfOrder);
  servers[kOutOfOrderBinary] =
      Server("Out of order 2", true, {"Paul", "Pia", "Pit", "Pat", "Pen"}, SwarmBehaviour::OutOfOrder);
  servers[kRetryOnly] = Server("Second ask", false, {"Rita"}, SwarmBehaviour::OnlyOnRetry);
  servers[kSilent] = Server("Silent", false, {"Ghost"}, SwarmBehaviour::Silent);
  servers[kStranger] = Server("Stranger", false, {"Eve"}, SwarmBehaviour::Stranger);
  servers[kOutOfOrderBinary].server.ucs2 = false;
  servers[kLostPlayers] = Server("Lost players", true, {"Lars", "Lena"}, SwarmBehaviour::LosesPlayers);
  ServerSwarm swarm(servers);
  std::vector<SweepTarget> targets = TargetsOf(swarm, servers);
  // The text server listed once more, under an index of its own.
  targets.push_back(targets[kText]);
  targets.back().index = 99;

  const SweepRun run = RunSweep(targets, SweepOptions{.timeoutMs = 1000});
  ASSERT_EQ(run.finishedSignals, 1);

  for (const char* wanted : {"anna", "BJÖRN", "jürgen", "ωMEGA", "snail", "oskar", "pen", "rita", "lena"}) {
    EXPECT_TRUE(run.Found(QString::fromUtf8(wanted))) << wanted;
  }
  EXPECT_TRUE(run.Found("SKA", true));
  for (const char* missing : {"Ghost", "Eve", "ann"}) EXPECT_FALSE(run.Found(missing)) << missing;

  std::vector<int> answered;
  for (const auto& [index, info] : run.answers) answered.push_back(index);
  EXPECT_EQ(answered, (std::vector<int>{kText, kBinaryEmpty, kBinaryUcs2, kSlow, kOutOfOrderText, kOutOfOrderBinary,
                                        kRetryOnly, kLostPlayers}));
  EXPECT_EQ(run.answeredSignals, 8);
  EXPECT_EQ(run.answers.at(kOutOfOrderText).playerList.size(), 3);
  EXPECT_EQ(run.answers.at(kOutOfOrderBinary).playerList.size(), 5);
  EXPECT_EQ(run.answers.at(kBinaryUcs2).name, "Binary UCS-2");
  EXPECT_GE(run.answers.at(kSlow).pingMs, 290);
  EXPECT_GE(run.answers.at(kText).pingMs, 0);
  EXPECT_LT(run.answers.at(kText).pingMs, 250);

  // Asked as often as needed and no more: twice where nothing usable came.
  EXPECT_EQ(swarm.Requests(kText), 1) << "a server listed twice is asked once";
  EXPECT_EQ(swarm.Requests(kRetryOnly), 2);
  EXPECT_EQ(swarm.Requests(kSilent), 2);
  EXPECT_EQ(swarm.Requests(kStranger), 2);
  EXPECT_EQ(swarm.BinaryRequests(kBinaryEmpty, 0), 1);
  EXPECT_EQ(swarm.BinaryRequests(kBinaryEmpty, 1) + swarm.BinaryRequests(kBinaryEmpty, 2), 0)
      << "an empty server is not asked for rules or players";
  EXPECT_EQ(swarm.BinaryRequests(kBinaryUcs2, 2), 1);
  EXPECT_EQ(swarm.BinaryRequests(kBinaryUcs2, 1), 0);
  EXPECT_EQ(swarm.BinaryRequests(kLostPlayers, 0), 1);
  EXPECT_EQ(swarm.BinaryRequests(kLostPlayers, 2), 2) << "a players request without reply is sent once more";
  EXPECT_EQ(run.summary.requestsSent, swarm.TotalRequests());

  EXPECT_EQ(run.summary.total, kCount + 1);
  EXPECT_EQ(run.summary.answered, 8);
  EXPECT_EQ(run.summary.timedOut, 2);
  EXPECT_EQ(run.summary.failed, 0);
  EXPECT_EQ(run.summary.duplicates, 1);
  EXPECT_GE(run.summary.strangers, 2) << "the stranger's two replies are dropped";
  EXPECT_FALSE(run.summary.cancelled);
  EXPECT_EQ(run.lastProgressFinished, kCount + 1);
  // Over as soon as the last server's time is up, not later.
  EXPECT_GE(run.elapsedMs, 990);  // the clock counts whole milliseconds
  EXPECT_LT(run.elapsedMs, 1600);
}

TEST(Sweep, NeverMoreServersAskedAtOnceThanAllowed) {
  std::vector<SwarmServer> servers;
  for (int i = 0; i < 300; ++i)
    servers.push_back(Server(QString("S%1").arg(i), i % 2 == 1, {"P"}, SwarmBehaviour::Slow, 40));
  ServerSwarm swarm(servers);
  const SweepRun run = RunSweep(TargetsOf(swarm, servers), SweepOptions{.maxInFlight = 64, .queriesPerSecond = 100000});
  EXPECT_EQ(run.summary.answered, 300);
  EXPECT_LE(swarm.PeakOutstanding(), 64);
  EXPECT_GE(swarm.PeakOutstanding(), 48) << "the sweep asks many servers at once";

  ServerSwarm few(servers);
  const SweepRun narrow = RunSweep(TargetsOf(few, servers), SweepOptions{.maxInFlight = 5});
  EXPECT_EQ(narrow.summary.answered, 300);
  EXPECT_LE(few.PeakOutstanding(), 5);
}

TEST(Sweep, SilentServersAreAskedTwiceAndGivenUpAtTheirTimeOut) {
  std::vector<SwarmServer> servers;
  for (int i = 0; i < 100; ++i)
    servers.push_back(Server(QString("S%1").arg(i), i % 2 == 0, {}, SwarmBehaviour::Silent));
  ServerSwarm swarm(servers);
  const SweepRun run = RunSweep(TargetsOf(swarm, servers), SweepOptions{.timeoutMs = 300, .maxInFlight = 50});
  EXPECT_EQ(run.summary.timedOut, 100);
  EXPECT_EQ(run.summary.requestsSent, 200);
  for (size_t i = 0; i < servers.size(); ++i) EXPECT_EQ(swarm.Requests(i), 2) << i;
  // Two rounds of 50 servers, 300 ms each.
  EXPECT_GE(run.elapsedMs, 590);
  EXPECT_LT(run.elapsedMs, 1100);
}

TEST(Sweep, EndsAtOnceWhenCancelledOrDeleted) {
  std::vector<SwarmServer> servers;
  for (int i = 0; i < 200; ++i)
    servers.push_back(
        Server(QString("S%1").arg(i), false, {"P"}, i < 2 ? SwarmBehaviour::Normal : SwarmBehaviour::Silent));
  enum class How { Cancel, CancelInAnswer, Delete, DeleteInAnswer };
  for (How how : {How::Cancel, How::CancelInAnswer, How::Delete, How::DeleteInAnswer}) {
    SCOPED_TRACE(int(how));
    ServerSwarm swarm(servers);
    SweepRun run;
    auto s = std::make_unique<Sweep>();
    Record(*s, run, nullptr);
    if (how == How::CancelInAnswer) QObject::connect(s.get(), &Sweep::ServerAnswered, s.get(), &Sweep::Cancel);
    if (how == How::DeleteInAnswer) QObject::connect(s.get(), &Sweep::ServerAnswered, [&s] { s.reset(); });
    s->Start(TargetsOf(swarm, servers), SweepOptions{.timeoutMs = 500});
    Wait(100);
    if (how == How::Cancel) {
      s->Cancel();
      EXPECT_EQ(run.finishedSignals, 1) << "Finished comes before Cancel() returns";
      EXPECT_FALSE(s->IsRunning());
    }
    if (how == How::Delete) s.reset();
    const int askedAtTheEnd = swarm.TotalRequests();
    const int answeredAtTheEnd = run.answeredSignals;
    Wait(700);
    EXPECT_EQ(swarm.TotalRequests(), askedAtTheEnd) << "nothing is sent after the end";
    EXPECT_EQ(run.answeredSignals, answeredAtTheEnd);
    if (how == How::CancelInAnswer || how == How::DeleteInAnswer) {
      EXPECT_EQ(run.answeredSignals, 1);
    }
    if (how == How::Delete || how == How::DeleteInAnswer) {
      EXPECT_EQ(run.finishedSignals, 0);
    } else {
      EXPECT_EQ(run.finishedSignals, 1);
      EXPECT_TRUE(run.summary.cancelled);
      EXPECT_LT(run.summary.answered + run.summary.timedOut, 200);
    }
  }
}

TEST(Sweep, AHostileFloodFailsItsServerAndNoOther) {
  std::vector<SwarmServer> servers;
  for (int i = 0; i < 20; ++i) servers.push_back(Server(QString("S%1").arg(i), i % 2 == 1, {QString("P%1").arg(i)}));
  servers[7] = Server("Flood", false, {}, SwarmBehaviour::Hostile);
  ServerSwarm swarm(servers);
  const SweepRun run = RunSweep(TargetsOf(swarm, servers), SweepOptions{.timeoutMs = 1000});
  EXPECT_EQ(run.summary.failed, 1);
  EXPECT_EQ(run.summary.answered, 19);
  EXPECT_EQ(run.answers.count(7), 0u);
  EXPECT_EQ(swarm.Requests(7), 1) << "a server that answered unusably is not asked again";
  EXPECT_TRUE(run.Found("P19"));
}

TEST(Sweep, ListsWithoutAnyoneToAsk) {
  std::vector<SwarmServer> servers = {Server("A", false, {"Anna"}), Server("B", true, {"Bob"})};
  ServerSwarm swarm(servers);
  std::vector<SweepTarget> targets = TargetsOf(swarm, servers);
  // The broadcast address takes no datagram from a socket not made for it.
  targets.insert(targets.begin(),
                 {*platform::UdpAddress::FromText("255.255.255.255", 7778), query::QueryProtocol::Text, 5});
  struct Case {
    const char* what;
    std::vector<SweepTarget> targets;
    int answered;
    int failed;
  } const cases[] = {
      {"no servers", {}, 0, 0},
      {"a server that cannot be sent to", targets, 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SweepRun run = RunSweep(c.targets, {}, 5000);
    EXPECT_EQ(run.finishedSignals, 1);
    EXPECT_EQ(run.summary.answered, c.answered);
    EXPECT_EQ(run.summary.failed, c.failed);
    EXPECT_EQ(run.summary.total, int(c.targets.size()));
    EXPECT_LT(run.elapsedMs, 1000);
  }
}

// The size the sweep is made for: a thousand servers, one in ten silent,
// with the default options. Every server is done within about two rounds
// of the time-out; no server gets more than three datagrams on average.
TEST(Sweep, AThousandServersOneInTenSilent) {
  const std::vector<SwarmServer> servers = RandomSwarm(1000, 10, false, 3, {{"Zed", 777}});
  ServerSwarm swarm(servers);
  const SweepRun run = RunSweep(TargetsOf(swarm, servers), SweepOptions{}, 30000);
  std::printf("1000 servers, 100 silent: %.2f s, %d requests\n", double(run.elapsedMs) / 1000,
              run.summary.requestsSent);
  EXPECT_EQ(run.summary.answered, 900);
  EXPECT_EQ(run.summary.timedOut, 100);
  EXPECT_LE(run.summary.requestsSent, 3 * 1000);
  EXPECT_LE(swarm.PeakOutstanding(), 64);
  EXPECT_TRUE(run.Found("zed"));
  EXPECT_LT(run.elapsedMs, 6000);
}

// A list may hold IPv6 servers beside IPv4 ones: each family gets its socket.
TEST(Sweep, AsksIpv6ServersBesideIpv4Ones) {
  const std::vector<SwarmServer> servers = {Server("Four", false, {"Vera"})};
  ServerSwarm swarm(servers);
  const FakeServer six{"Six", "DM-Tempest", "DeathMatchPlus", 16, {{"Sina", 3, 20, 255}}, {}};
  QUdpSocket sixSocket;
  ASSERT_TRUE(sixSocket.bind(QHostAddress::LocalHostIPv6, 0));
  QObject::connect(&sixSocket, &QUdpSocket::readyRead, [&] {
    while (sixSocket.hasPendingDatagrams()) {
      const QNetworkDatagram request = sixSocket.receiveDatagram();
      for (const std::string& reply : AnswerAs(six, request.data().toStdString()))
        sixSocket.writeDatagram(QByteArray::fromStdString(reply), request.senderAddress(),
                                quint16(request.senderPort()));
    }
  });
  std::vector<SweepTarget> targets = TargetsOf(swarm, servers);
  targets.push_back({*platform::UdpAddress::FromText("::1", sixSocket.localPort()), query::QueryProtocol::Text, 1});
  const SweepRun run = RunSweep(targets, SweepOptions{.timeoutMs = 1000}, 5000);
  EXPECT_EQ(run.summary.answered, 2);
  EXPECT_TRUE(run.Found("vera"));
  EXPECT_TRUE(run.Found("sina"));
}

}  // namespace
