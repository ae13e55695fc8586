// A master's list through the client, against the GameSpy-style stand-in
// on loopback: the main path for UT and Tactical Ops, every hostile
// behaviour, the time bounds (made short), the caps, cancelling, and
// quakestat reading the same stand-in as an independent reader.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <optional>

#include "master/gamespy_conversation.h"
#include "master/master_client.h"
#include "support/gamespy_master_standin.h"

namespace {

using master::MasterLimits;
using master::MasterResult;
using testing_support::GamespyMasterBehaviour;
using testing_support::GamespyMasterStandin;

// Asks `master` for the lists of `games` and waits (bounded) for the one Finished().
MasterResult Ask(const QString& master, const std::vector<std::string_view>& games, MasterLimits limits = {},
                 qint64* elapsedMs = nullptr) {
  master::MasterClient client(master, 28900, master::GamespyConversations(games), limits);
  std::optional<MasterResult> result;
  int finished = 0;
  QObject::connect(&client, &master::MasterClient::Finished, [&](const MasterResult& r) {
    result = r;
    ++finished;
  });
  QElapsedTimer clock;
  clock.start();
  client.Start();
  EXPECT_FALSE(result.has_value());  // never from inside Start()
  while (!result && clock.elapsed() < 30000) QTest::qWait(5);
  if (elapsedMs) *elapsedMs = clock.elapsed();
  QTest::qWait(20);
  EXPECT_EQ(finished, 1);
  return result.value_or(MasterResult{});
}

QString Local(const GamespyMasterStandin& standin) { return QStringLiteral("127.0.0.1:%1").arg(standin.Port()); }

std::vector<std::string> Listed(const MasterResult& result) {
  std::vector<std::string> listed;
  for (const master::ServerEntry& entry : result.entries) {
    listed.push_back(entry.address.toStdString() + ":" + std::to_string(entry.queryPort));
  }
  return listed;
}

const std::vector<std::string> kUtList = {"127.0.0.2:7778", "127.0.0.3:7778", "127.0.0.4:8889"};

TEST(GamespyMasterClient, ListsTheServersOfUt) {
  GamespyMasterBehaviour behaviour;
  behaviour.lists["ut"] = kUtList;
  GamespyMasterStandin standin(behaviour);
  const MasterResult result = Ask(Local(standin), {"ut"});
  EXPECT_TRUE(result.error.isEmpty()) << result.error.toStdString();
  EXPECT_TRUE(result.warnings.isEmpty()) << result.warnings.join(" | ").toStdString();
  EXPECT_EQ(Listed(result), kUtList);
  EXPECT_EQ(result.master, Local(standin));
  EXPECT_EQ(result.address, QStringLiteral("127.0.0.1"));
  for (const master::ServerEntry& entry : result.entries) {
    EXPECT_EQ(entry.masters, QStringList{Local(standin)});
    EXPECT_EQ(entry.gamePort, 0);
  }
  ASSERT_EQ(standin.Requests().size(), 1u);
  EXPECT_EQ(standin.Requests()[0],
            "\\gamename\\ut\\location\\0\\validate\\2/TYFMRc\\final\\\\list\\\\gamename\\ut\\final\\");
}

TEST(GamespyMasterClient, TacticalOpsAsksBothNamesAndKeepsEachServerOnce) {
  GamespyMasterBehaviour behaviour;
  behaviour.lists["tacticalops"] = {"127.0.0.9:7778", "127.0.0.2:7778"};
  behaviour.lists["ut"] = kUtList;
  GamespyMasterStandin standin(behaviour);
  const MasterResult result = Ask(Local(standin), {"tacticalops", "ut"});
  EXPECT_TRUE(result.error.isEmpty()) << result.error.toStdString();
  std::vector<std::string> listed = Listed(result);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"127.0.0.2:7778", "127.0.0.3:7778", "127.0.0.4:8889", "127.0.0.9:7778"}));
  EXPECT_EQ(standin.Connections(), 2);

  // A master that does not list the Tactical Ops name still gives the UT list.
  behaviour.lists.erase("tacticalops");
  GamespyMasterStandin utOnly(behaviour);
  const MasterResult fallback = Ask(Local(utOnly), {"tacticalops", "ut"});
  EXPECT_TRUE(fallback.error.isEmpty()) << fallback.error.toStdString();
  EXPECT_EQ(Listed(fallback), kUtList);
  EXPECT_TRUE(fallback.warnings.join(" ").contains("without a list")) << fallback.warnings.join(" | ").toStdString();
}

TEST(GamespyMasterClient, HostileAndOddMasters) {
  const MasterLimits shortBounds{300, 800, qint64(4) << 20, 20000};
  std::vector<std::string> many;
  for (int i = 1; i <= 100; ++i) many.push_back("127.0.1." + std::to_string(i) + ":7778");
  struct Case {
    const char* what;
    std::function<void(GamespyMasterBehaviour&)> setUp;
    MasterLimits limits;
    size_t entries;
    const char* error;    // a part of the error; "" for a list
    const char* warning;  // a part of a warning; "" for none
  } const cases[] = {
      {"byte by byte, no \\final\\ after the challenge",
       [](GamespyMasterBehaviour& b) {
         b.cuts = GamespyMasterBehaviour::Cuts::ByteByByte;
         b.challengeFinal = false;
       },
       {}, kUtList.size(), "", ""},
      {"cut at random", [](GamespyMasterBehaviour& b) { b.cuts = GamespyMasterBehaviour::Cuts::Random; }, {},
       kUtList.size(), "", ""},
      {"the list ends at the close", [](GamespyMasterBehaviour& b) { b.listFinal = false; }, {}, kUtList.size(), "",
       "without \\final\\"},
      {"our answer is refused", [](GamespyMasterBehaviour& b) { b.validates["ut"] = "AAAAAAAA"; }, {}, 0,
       "without a list", ""},
      {"silence", [](GamespyMasterBehaviour& b) { b.stall = GamespyMasterBehaviour::Stall::Silent; }, shortBounds, 0,
       "no complete list from the master within 800 ms", ""},
      {"no list after our answer",
       [](GamespyMasterBehaviour& b) { b.stall = GamespyMasterBehaviour::Stall::AfterChallenge; }, shortBounds, 0,
       "within 800 ms", ""},
      {"a stop half way", [](GamespyMasterBehaviour& b) { b.stall = GamespyMasterBehaviour::Stall::MidList; },
       shortBounds, 1, "", "within 800 ms"},
      {"garbage", [](GamespyMasterBehaviour& b) { b.reply = "<html><body>Service Unavailable</body></html>"; }, {},
       0, "not a GameSpy-style list", ""},
      {"too many entries", [&many](GamespyMasterBehaviour& b) { b.reply = GamespyMasterStandin::ListBytes(many, true); },
       MasterLimits{5000, 20000, qint64(4) << 20, 30}, 30, "", "cut at 30 entries"},
      {"too many bytes",
       [&many](GamespyMasterBehaviour& b) { b.reply = GamespyMasterStandin::ListBytes(many, false) + std::string(5000, 'x'); },
       MasterLimits{5000, 20000, 1000, 20000}, 52, "", "cut at 1000 bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GamespyMasterBehaviour behaviour;
    behaviour.lists["ut"] = kUtList;
    c.setUp(behaviour);
    GamespyMasterStandin standin(behaviour);
    qint64 elapsed = 0;
    const MasterResult result = Ask(Local(standin), {"ut"}, c.limits, &elapsed);
    EXPECT_LT(elapsed, c.limits.exchangeMs + 2000);
    const QString warnings = result.warnings.join(" | ");
    if (*c.error) {
      EXPECT_TRUE(result.error.contains(c.error)) << result.error.toStdString();
      EXPECT_TRUE(result.entries.empty());
    } else {
      EXPECT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    }
    if (c.entries > 0 && c.entries < kUtList.size() + 1) {
      EXPECT_EQ(result.entries.size(), c.entries);
    } else if (c.entries > 0) {
      // A cut by bytes ends inside an entry: about as many as fit.
      EXPECT_LE(result.entries.size(), c.entries);
      EXPECT_GE(result.entries.size(), c.entries * 3 / 4);
    }
    if (*c.warning) {
      EXPECT_TRUE(warnings.contains(c.warning)) << warnings.toStdString();
    } else {
      EXPECT_TRUE(warnings.isEmpty()) << warnings.toStdString();
    }
  }
}

TEST(GamespyMasterClient, ConnectionFailuresAndUnusableAddresses) {
  // Refused: a port that was just free.
  int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(probe);
  const MasterResult refused = Ask(QStringLiteral("127.0.0.1:%1").arg(ntohs(address.sin_port)), {"ut"});
  EXPECT_EQ(refused.error, QStringLiteral("cannot connect to the master: connection refused"));

  // A listener whose queue is full takes no more connections: the connect hangs.
  const int full = ::socket(AF_INET, SOCK_STREAM, 0);
  address.sin_port = 0;
  ASSERT_EQ(::bind(full, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(full, 0), 0);
  length = sizeof address;
  ::getsockname(full, reinterpret_cast<sockaddr*>(&address), &length);
  std::vector<int> fillers;
  for (int i = 0; i < 4; ++i) {
    const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
    fillers.push_back(filler);
  }
  qint64 elapsed = 0;
  const MasterResult hanging = Ask(QStringLiteral("127.0.0.1:%1").arg(ntohs(address.sin_port)), {"ut"},
                                   MasterLimits{300, 5000, qint64(4) << 20, 20000}, &elapsed);
  EXPECT_EQ(hanging.error, QStringLiteral("no connection to the master within 300 ms"));
  EXPECT_LT(elapsed, 2000);
  for (const int filler : fillers) ::close(filler);
  ::close(full);

  for (const char* unusable : {"", "127.0.0.1:0", "127.0.0.1:70000", "127.0.0.1:", "[::1", "a b:28900"}) {
    SCOPED_TRACE(unusable);
    const MasterResult result = Ask(QString::fromLatin1(unusable), {"ut"});
    EXPECT_TRUE(result.error.contains("not a master's address")) << result.error.toStdString();
  }
}

TEST(MasterAddress, HostAndPort) {
  struct Case {
    const char* text;
    const char* host;  // nullptr: unusable
    quint16 port;
    const char* shown;
  } const cases[] = {
      {"master.example.net:28900", "master.example.net", 28900, "master.example.net:28900"},
      {"master.example.net", "master.example.net", 28900, "master.example.net:28900"},
      {" 10.1.2.3:28905 ", "10.1.2.3", 28905, "10.1.2.3:28905"},
      {"[::1]:28900", "::1", 28900, "[::1]:28900"},
      {"[::1]", "::1", 28900, "[::1]:28900"},
      {"2001:db8::5", "2001:db8::5", 28900, "[2001:db8::5]:28900"},
      {"master:0", nullptr, 0, ""},
      {"master:65536", nullptr, 0, ""},
      {"master:+1", nullptr, 0, ""},
      {"[nonsense]:1", nullptr, 0, ""},
      {"a:b:c", nullptr, 0, ""},
      {"", nullptr, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<master::MasterAddress> address = master::ParseMasterAddress(c.text, 28900);
    ASSERT_EQ(address.has_value(), c.host != nullptr);
    if (!address) continue;
    EXPECT_EQ(address->host, c.host);
    EXPECT_EQ(address->port, c.port);
    EXPECT_EQ(address->Text(), c.shown);
  }
}

TEST(GamespyMasterClient, DeletedMidwayItCancelsEverything) {
  GamespyMasterBehaviour behaviour;
  behaviour.stall = GamespyMasterBehaviour::Stall::AfterChallenge;
  GamespyMasterStandin standin(behaviour);
  int finished = 0;
  auto* client = new master::MasterClient(Local(standin), 28900, master::GamespyConversations({"ut", "tacticalops"}));
  QObject::connect(client, &master::MasterClient::Finished, [&] { ++finished; });
  client->Start();
  QTest::qWait(100);
  EXPECT_EQ(standin.Connections(), 2);
  delete client;
  QTest::qWait(100);
  EXPECT_EQ(finished, 0);
}

// quakestat reads the stand-in's list on its own. Its GameSpy master mode
// answers the challenge with a fixed validate string under the name
// "gamespy2", so the stand-in does not check it here, and it reads a
// challenge followed by \final\ as the start of a binary list: the stand-in
// sends none (our client reads both forms).
TEST(GamespyMasterClient, QuakestatReadsTheSameList) {
  const QString quakestat = QStandardPaths::findExecutable(QStringLiteral("quakestat"));
  if (quakestat.isEmpty()) GTEST_SKIP() << "quakestat is not installed";
  GamespyMasterBehaviour behaviour;
  behaviour.checkValidate = false;
  behaviour.challengeFinal = false;
  behaviour.lists["ut"] = kUtList;
  GamespyMasterStandin standin(behaviour);

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString listFile = dir.filePath(QStringLiteral("list.txt"));
  // ",outfile" writes the master's list to the file and asks none of the servers.
  QProcess process;
  process.start(quakestat, {QStringLiteral("-gsm,ut,outfile"), Local(standin) + "," + listFile});
  ASSERT_TRUE(process.waitForFinished(15000));
  QFile file(listFile);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << process.readAllStandardOutput().toStdString();
  std::vector<std::string> theirs;
  for (const QByteArray& line : file.readAll().split('\n')) {
    const QList<QByteArray> parts = line.simplified().split(' ');
    if (parts.size() == 2) theirs.push_back(parts[1].toStdString());
  }

  const MasterResult ours = Ask(Local(standin), {"ut"});
  EXPECT_TRUE(ours.error.isEmpty()) << ours.error.toStdString();
  EXPECT_EQ(Listed(ours), theirs);
  EXPECT_EQ(theirs, kUtList);
}

}  // namespace
