// ServerQuery against a stand-in server on loopback: replies in several
// datagrams and out of order, a lost last datagram, the retry, no answer
// at all, a hostile reply, and the ping as the round trip.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QUdpSocket>
#include <algorithm>

#include "query/server_query.h"
#include "support/game_server_replies.h"
#include "support/loopback_udp_server.h"

namespace {

using namespace testing_support;
using query::QueryProtocol;
using query::QueryResult;

FakeServer ClanServer() {
  return {"Clan Server", "DM-Deck16][", "DeathMatchPlus", 16,
          {{"Anna", 12, 40, 255}, {"Bernd", 3, 70, 255}, {"Carl", 1, 20, 255}}, {{"timelimit", "20"}}};
}

struct Outcome {
  QueryResult result;
  qint64 elapsedMs = 0;
};

Outcome Query(QueryProtocol protocol, quint16 port, int timeoutMs = 1500, const QString& host = "127.0.0.1",
             const query::ServerQuery::LookupMaker& makeLookup = {}) {
  query::ServerQuery serverQuery(protocol);
  if (makeLookup) serverQuery.SetLookupMaker(makeLookup);
  QSignalSpy finished(&serverQuery, &query::ServerQuery::Finished);
  QElapsedTimer clock;
  clock.start();
  serverQuery.Start(host, port, timeoutMs);
  EXPECT_TRUE(finished.wait(4 * timeoutMs + 2000));
  Outcome run;
  run.elapsedMs = clock.elapsed();
  if (!finished.isEmpty()) run.result = finished.first().first().value<QueryResult>();
  EXPECT_EQ(finished.size(), 1);
  return run;
}

TEST(ServerQuery, AnswersInSeveralDatagramsInAnyOrder) {
  struct Case {
    const char* name;
    QueryProtocol protocol;
    LoopbackUdpServer::Answer answer;
  } const cases[] = {
      {"text, reversed", QueryProtocol::Text,
       [](const std::string&) {
         std::vector<std::string> parts = TextStatusReply(ClanServer(), 3);
         std::reverse(parts.begin(), parts.end());
         return parts;
       }},
      {"binary, players first", QueryProtocol::Binary,
       [](const std::string& request) {
         FakeServer server = ClanServer();
         server.ucs2 = true;
         return AnswerAs(server, request);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoopbackUdpServer server(c.answer);
    const Outcome run = Query(c.protocol, server.Port());
    ASSERT_TRUE(run.result.ok) << run.result.error.toStdString();
    EXPECT_EQ(run.result.info.name, "Clan Server");
    EXPECT_EQ(run.result.info.map, "DM-Deck16][");
    EXPECT_EQ(run.result.info.players, 3);
    ASSERT_EQ(run.result.info.playerList.size(), 3);
    EXPECT_EQ(run.result.info.playerList[1].name, "Bernd");
    EXPECT_GE(run.result.info.pingMs, 0);
    EXPECT_LT(run.elapsedMs, 1000) << "a complete reply ends the query at once";
  }
}

TEST(ServerQuery, ThePingIsTheRoundTrip) {
  LoopbackUdpServer server([](const std::string& r) { return AnswerAs(ClanServer(), r); }, 0, 120);
  const Outcome run = Query(QueryProtocol::Text, server.Port());
  ASSERT_TRUE(run.result.ok);
  EXPECT_GE(run.result.info.pingMs, 120);
  EXPECT_LT(run.result.info.pingMs, 1000);
}

TEST(ServerQuery, ALostFinalStillGivesTheAnswer) {
  LoopbackUdpServer server([](const std::string&) {
    std::vector<std::string> parts = TextStatusReply(ClanServer(), 3);
    parts.pop_back();
    return parts;
  });
  const Outcome run = Query(QueryProtocol::Text, server.Port());
  ASSERT_TRUE(run.result.ok);
  EXPECT_EQ(run.result.info.name, "Clan Server");
  EXPECT_EQ(server.Requests(), 1);
  EXPECT_LT(run.elapsedMs, 1000) << "ends a short quiet time after the last datagram, not at the time-out";
}

TEST(ServerQuery, RetriesOnceThenGivesUp) {
  {
    SCOPED_TRACE("the first request is lost");
    LoopbackUdpServer server([](const std::string& r) { return AnswerAs(ClanServer(), r); }, 1);
    const Outcome run = Query(QueryProtocol::Text, server.Port(), 300);
    ASSERT_TRUE(run.result.ok) << run.result.error.toStdString();
    EXPECT_EQ(server.Requests(), 2);
  }
  {
    SCOPED_TRACE("no answer at all");
    LoopbackUdpServer server([](const std::string&) { return std::vector<std::string>{}; });
    const Outcome run = Query(QueryProtocol::Binary, server.Port(), 300);
    EXPECT_FALSE(run.result.ok);
    EXPECT_TRUE(run.result.error.contains("Keine Antwort")) << run.result.error.toStdString();
    EXPECT_EQ(run.result.failure, query::QueryFailure::NoAnswer);
    EXPECT_EQ(server.Requests(), 2 * 3);  // two attempts of three requests
    EXPECT_GE(run.elapsedMs, 550);  // two time-outs of 300 ms (timers may fire a little early)
    EXPECT_LT(run.elapsedMs, 1500);
  }
}

TEST(ServerQuery, HostileRepliesEndInAnError) {
  const std::string endless = "\\hostname\\x\\filler\\" + std::string(8000, 'a') + "\\queryid\\1.1";
  struct Case {
    const char* name;
    QueryProtocol protocol;
    LoopbackUdpServer::Answer answer;
    int pacingMs;
  } const cases[] = {
      {"length past the datagram", QueryProtocol::Binary,
       [](const std::string&) { return std::vector<std::string>{BinaryHeader(0) + "\x3F" + "abc"}; }, 0},
      // Paced, so the socket's buffer keeps up and the reader sees them all.
      {"endless datagrams", QueryProtocol::Text,
       [endless](const std::string&) { return std::vector<std::string>(60, endless); }, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoopbackUdpServer server(c.answer, 0, c.pacingMs);
    const Outcome run = Query(c.protocol, server.Port());
    EXPECT_FALSE(run.result.ok);
    EXPECT_TRUE(run.result.error.contains("Ungültige Antwort")) << run.result.error.toStdString();
    EXPECT_EQ(run.result.failure, query::QueryFailure::BadAnswer);
  }
}

TEST(ServerQuery, AServerNameIsLookedUpFirst) {
  LoopbackUdpServer server([](const std::string& r) { return AnswerAs(ClanServer(), r); });
  const Outcome run = Query(QueryProtocol::Text, server.Port(), 1500, "localhost");
  ASSERT_TRUE(run.result.ok) << run.result.error.toStdString();
  EXPECT_EQ(run.result.info.name, "Clan Server");
  EXPECT_EQ(server.Requests(), 1);
}

// A resolver in place of the system's: it answers with `addresses` at
// once, or never.
class StandInLookup : public platform::HostLookup {
 public:
  explicit StandInLookup(std::optional<std::vector<platform::UdpAddress>> addresses)
      : addresses_(std::move(addresses)) {}
  void Start(const QString&, quint16) override {
    if (addresses_) QMetaObject::invokeMethod(this, [this] { emit Found(*addresses_); }, Qt::QueuedConnection);
  }

 private:
  std::optional<std::vector<platform::UdpAddress>> addresses_;
};

query::ServerQuery::LookupMaker Resolver(std::optional<std::vector<platform::UdpAddress>> addresses) {
  return [addresses] { return std::make_unique<StandInLookup>(addresses); };
}

TEST(ServerQuery, FailuresBeforeAnyAnswerSayWhatHappened) {
  struct Case {
    const char* name;
    QString host;
    quint16 port;
    query::ServerQuery::LookupMaker makeLookup;
    const char* error;
    query::QueryFailure failure;
    bool atOnce;  // long before the time-out
  } const cases[] = {
      // The kernel refuses both; nothing leaves the machine.
      {"broadcast address", "255.255.255.255", 7778, {}, "nicht gesendet", query::QueryFailure::NotSent, true},
      {"port 0", "127.0.0.1", 0, {}, "nicht gesendet", query::QueryFailure::NotSent, true},
      {"resolver without answer", "clan.example", 7778, Resolver(std::nullopt), "Name nicht aufgelöst",
       query::QueryFailure::LookupTimedOut, false},
      {"unknown name", "clan.example", 7778, Resolver(std::vector<platform::UdpAddress>{}), "Unbekannter Server",
       query::QueryFailure::UnknownHost, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome run = Query(QueryProtocol::Text, c.port, 600, c.host, c.makeLookup);
    EXPECT_FALSE(run.result.ok);
    EXPECT_TRUE(run.result.error.contains(c.error)) << run.result.error.toStdString();
    EXPECT_TRUE(run.result.error.contains(c.host)) << run.result.error.toStdString();
    EXPECT_EQ(run.result.failure, c.failure);
    EXPECT_EQ(run.result.target, c.host + ":" + QString::number(c.port));
    if (c.atOnce) EXPECT_LT(run.elapsedMs, 300);
    else EXPECT_LT(run.elapsedMs, 1100) << "the look-up is bounded by the first attempt's time-out";
  }
  SCOPED_TRACE("a name found is queried on its address");
  LoopbackUdpServer server([](const std::string& r) { return AnswerAs(ClanServer(), r); });
  const Outcome run = Query(QueryProtocol::Text, server.Port(), 600, "clan.example",
                            Resolver(std::vector{*platform::UdpAddress::FromText("127.0.0.1", server.Port())}));
  ASSERT_TRUE(run.result.ok) << run.result.error.toStdString();
  EXPECT_EQ(run.result.info.name, "Clan Server");
}

TEST(ServerQuery, DatagramsFromAnotherPortAreIgnored) {
  // While the stand-in takes its time, a stranger sends the query a
  // complete answer of its own from another port.
  LoopbackUdpServer server([](const std::string& r) { return AnswerAs(ClanServer(), r); }, 0, 200);
  query::ServerQuery serverQuery(QueryProtocol::Text);
  QSignalSpy finished(&serverQuery, &query::ServerQuery::Finished);
  serverQuery.Start("127.0.0.1", server.Port(), 1500);
  QElapsedTimer clock;
  clock.start();
  while (server.Requests() == 0 && clock.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  ASSERT_EQ(server.Requests(), 1);
  FakeServer other = ClanServer();
  other.name = "Impostor";
  QUdpSocket stranger;
  ASSERT_TRUE(stranger.bind(QHostAddress::LocalHost, 0));
  for (const std::string& d : TextStatusReply(other, 1))
    stranger.writeDatagram(d.data(), qint64(d.size()), QHostAddress::LocalHost, server.ClientPort());
  ASSERT_TRUE(finished.wait(3000));
  EXPECT_EQ(finished.first().first().value<QueryResult>().info.name, "Clan Server");
}

}  // namespace
