// An independent reader, qstat (installed by scripts/install-deps as
// quakestat), reads the same swarm of text-query servers as the sweep:
// both must see the same servers up, with the same names, maps and players.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTimer>
#include <map>
#include <set>

#include "support/server_swarm.h"
#include "sweep/sweep.h"

namespace {

using namespace testing_support;

struct Seen {
  QString name;
  QString map;
  std::set<QString> players;
  bool operator==(const Seen&) const = default;
};

// quakestat's raw lines: "UNS<TAB>address:port<TAB>name<TAB>map<TAB>max<TAB>players..."
// for a server that answered, then one line per player (name first), then
// an empty line. qstat is given the game port (query port - 1), as for a
// real server.
std::map<QString, Seen> Quakestat(const ServerSwarm& swarm) {
  QTemporaryFile list;
  EXPECT_TRUE(list.open());
  for (const ServerSwarm::Endpoint& at : swarm.Endpoints())
    list.write(QString("%1:%2\n").arg(QString::fromStdString(at.address)).arg(at.port - 1).toUtf8());
  list.flush();
  QProcess qstat;
  qstat.start("quakestat", {"-default", "uns", "-P", "-raw", "\t", "-f", list.fileName()});
  if (!qstat.waitForFinished(60000)) {
    qstat.kill();
    qstat.waitForFinished();
    ADD_FAILURE() << "quakestat did not finish";
    return {};
  }
  std::map<QString, Seen> seen;
  Seen* server = nullptr;
  for (const QString& line : QString::fromLatin1(qstat.readAllStandardOutput()).split('\n')) {
    const QStringList fields = line.split('\t');
    if (line.isEmpty()) {
      server = nullptr;
    } else if (fields.value(0) == "UNS") {
      server = nullptr;
      if (fields.size() < 6) continue;  // DOWN, TIMEOUT
      const QString address = fields[1].section(':', 0, 0);
      const int queryPort = fields[1].section(':', 1).toInt() + 1;
      server = &seen[QString("%1:%2").arg(address).arg(queryPort)];
      server->name = fields[2];
      server->map = fields[3];
    } else if (server) {
      server->players.insert(fields[0]);
    }
  }
  return seen;
}

std::map<QString, Seen> Ours(const ServerSwarm& swarm) {
  std::vector<sweep::SweepTarget> targets;
  for (size_t i = 0; i < swarm.Size(); ++i) {
    const ServerSwarm::Endpoint& at = swarm.Endpoints()[i];
    targets.push_back({*platform::UdpAddress::FromText(QString::fromStdString(at.address), at.port),
                       query::QueryProtocol::Text, int(i)});
  }
  std::map<QString, Seen> seen;
  sweep::Sweep s;
  QEventLoop loop;
  QObject::connect(&s, &sweep::Sweep::ServerAnswered, [&](int index, const query::ServerInfo& info) {
    const ServerSwarm::Endpoint& at = swarm.Endpoints()[size_t(index)];
    Seen& server = seen[QString("%1:%2").arg(QString::fromStdString(at.address)).arg(at.port)];
    server.name = info.name;
    server.map = info.map;
    for (const query::PlayerInfo& p : info.playerList) server.players.insert(p.name);
  });
  QObject::connect(&s, &sweep::Sweep::Finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(20000, &loop, &QEventLoop::quit);
  s.Start(targets);
  loop.exec();
  return seen;
}

TEST(QuakestatCrossCheck, BothSeeTheSameServersAndPlayers) {
  ASSERT_FALSE(QStandardPaths::findExecutable("quakestat").isEmpty()) << "qstat is missing: run scripts/install-deps";
  const ServerSwarm swarm(RandomSwarm(40, 10, false, 7, {{"Zed", 3}}));
  const std::map<QString, Seen> ours = Ours(swarm);
  const std::map<QString, Seen> theirs = Quakestat(swarm);
  EXPECT_EQ(ours.size(), 36u);
  EXPECT_EQ(theirs.size(), ours.size());
  for (const auto& [address, server] : ours) {
    SCOPED_TRACE(address.toStdString());
    ASSERT_EQ(theirs.count(address), 1u);
    EXPECT_EQ(theirs.at(address).name, server.name);
    EXPECT_EQ(theirs.at(address).map, server.map);
    EXPECT_EQ(theirs.at(address).players, server.players);
  }
}

}  // namespace
