// The server info cache against stand-in servers on loopback: a server is
// queried once per refresh time, a query in flight is shared, nothing goes
// out while idle, and the cache and the queries under way stay bounded.
// The refresh time runs on a clock the test moves; the queries are real.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>
#include <memory>
#include <vector>

#include "serverinfo/server_info_cache.h"
#include "support/game_server_replies.h"
#include "support/loopback_udp_server.h"

namespace {

using namespace testing_support;
using serverinfo::QueryTarget;
using serverinfo::ServerInfoCache;

FakeServer ClanServer() {
  return {"Clan Server", "DM-Deck16][", "DeathMatchPlus", 16, {{"Anna", 12, 40, 255}, {"Bernd", 3, 70, 255}}, {}};
}

QueryTarget TargetOf(quint16 port, query::QueryProtocol protocol = query::QueryProtocol::Text) {
  return {QStringLiteral("127.0.0.1"), port, protocol};
}

struct CacheFixture : ::testing::Test {
  qint64 now = 1'000'000;
  ServerInfoCache cache{nullptr, [this] { return now; }, 300};
  QSignalSpy answered{&cache, &ServerInfoCache::Answered};

  // Waits, bounded, until `count` queries have ended.
  void AwaitAnswers(int count) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return answered.size() >= count; }, 3000));
  }
};

TEST_F(CacheFixture, AServerIsQueriedOncePerRefreshTime) {
  for (const auto protocol : {query::QueryProtocol::Text, query::QueryProtocol::Binary}) {
    SCOPED_TRACE(protocol == query::QueryProtocol::Text ? "text" : "binary");
    answered.clear();
    LoopbackUdpServer server([](const std::string& r) { return AnswerAs(ClanServer(), r); });
    const QueryTarget target = TargetOf(server.Port(), protocol);
    EXPECT_TRUE(cache.Ask(target).pending);
    AwaitAnswers(1);
    const int requestsOfOneQuery = server.Requests();

    now += serverinfo::kRefreshMs - 1;
    const serverinfo::ServerLookup kept = cache.Ask(target);
    ASSERT_TRUE(kept.result && kept.result->ok);
    EXPECT_EQ(kept.result->info.name, "Clan Server");
    EXPECT_EQ(kept.result->info.playerList.size(), 2);
    EXPECT_FALSE(kept.pending);
    EXPECT_EQ(kept.ageMs, serverinfo::kRefreshMs - 1);
    EXPECT_EQ(cache.MsUntilDue(target), 1);

    now += 1;
    EXPECT_TRUE(cache.Ask(target).pending) << "due again after the refresh time";
    AwaitAnswers(2);
    EXPECT_EQ(server.Requests(), 2 * requestsOfOneQuery);
  }
}

TEST_F(CacheFixture, AFailedQueryIsKeptLikeAnAnswer) {
  LoopbackUdpServer silent([](const std::string&) { return std::vector<std::string>{}; });
  const QueryTarget target = TargetOf(silent.Port());
  cache.Ask(target);
  AwaitAnswers(1);
  EXPECT_EQ(silent.Requests(), 2);  // the request and its one retry
  now += 10'000;
  const serverinfo::ServerLookup kept = cache.Ask(target);
  ASSERT_TRUE(kept.result);
  EXPECT_FALSE(kept.result->ok);
  EXPECT_FALSE(kept.pending);
  QTest::qWait(100);
  EXPECT_EQ(silent.Requests(), 2) << "a dead server is not asked again on every hover";
}

TEST_F(CacheFixture, AQueryInFlightIsShared) {
  // A slow server, so the second and third ask come while the first query waits.
  LoopbackUdpServer server([](const std::string& r) { return AnswerAs(ClanServer(), r); }, 0, 150);
  EXPECT_TRUE(cache.Ask(TargetOf(server.Port())).pending);
  EXPECT_TRUE(cache.Ask(TargetOf(server.Port())).pending);
  EXPECT_EQ(cache.QueriesInFlight(), 1);
  EXPECT_TRUE(cache.Peek(TargetOf(server.Port())).pending);
  AwaitAnswers(1);
  QTest::qWait(50);
  EXPECT_EQ(answered.size(), 1);
  EXPECT_EQ(answered.first().first().toString(), TargetOf(server.Port()).Key());
  EXPECT_EQ(server.Requests(), 1);
  EXPECT_EQ(cache.QueriesInFlight(), 0);
}

TEST_F(CacheFixture, NothingGoesOutWhileIdle) {
  LoopbackUdpServer server([](const std::string& r) { return AnswerAs(ClanServer(), r); });
  const QueryTarget target = TargetOf(server.Port());
  cache.Ask(target);
  AwaitAnswers(1);

  cache.SetIdle(true);
  now += 10 * serverinfo::kRefreshMs;
  const serverinfo::ServerLookup whileIdle = cache.Ask(target);
  EXPECT_FALSE(whileIdle.pending);
  ASSERT_TRUE(whileIdle.result) << "the last answer is still handed out";
  EXPECT_EQ(whileIdle.result->info.name, "Clan Server");
  QTest::qWait(200);
  EXPECT_EQ(server.Requests(), 1);

  cache.SetIdle(false);
  EXPECT_TRUE(cache.Ask(target).pending);
  AwaitAnswers(2);
  EXPECT_EQ(server.Requests(), 2);
}

TEST_F(CacheFixture, GoingIdleAbandonsTheQueriesInFlight) {
  // The first request goes unanswered: without going idle the retry would
  // follow 300 ms later.
  LoopbackUdpServer server([](const std::string& r) { return AnswerAs(ClanServer(), r); }, 1);
  const QueryTarget target = TargetOf(server.Port());
  cache.Ask(target);
  ASSERT_TRUE(QTest::qWaitFor([&] { return server.Requests() == 1; }, 2000));
  cache.SetIdle(true);
  EXPECT_FALSE(cache.Peek(target).pending);
  QTest::qWait(800);
  EXPECT_EQ(server.Requests(), 1) << "no retry once idle";
  EXPECT_TRUE(answered.isEmpty());
  EXPECT_EQ(cache.MsUntilDue(target), 0) << "an abandoned query is no answer";
}

TEST(ServerInfoCache, TheCacheAndTheQueriesUnderWayAreBounded) {
  // Silent servers of our own: every query ends in its short time-out.
  qint64 now = 0;
  ServerInfoCache cache(nullptr, [&now] { return now; }, 20);
  QSignalSpy answered(&cache, &ServerInfoCache::Answered);
  const auto awaitAnswers = [&](int count) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered.size() >= count; }, 3000));
  };
  std::vector<std::unique_ptr<QUdpSocket>> silent;
  for (int i = 0; i <= serverinfo::kMaxServers; ++i) {
    silent.push_back(std::make_unique<QUdpSocket>());
    ASSERT_TRUE(silent.back()->bind(QHostAddress::LocalHost, 0));
  }
  const auto target = [&](int i) { return TargetOf(silent[size_t(i)]->localPort()); };
  const int batch = serverinfo::kMaxQueriesInFlight;

  for (int i = 0; i < batch; ++i) EXPECT_TRUE(cache.Ask(target(i)).pending);
  EXPECT_FALSE(cache.Ask(target(batch)).pending) << "one query too many waits its turn";
  EXPECT_EQ(cache.QueriesInFlight(), batch);
  awaitAnswers(batch);

  // Up to one server more than is kept, each answered after the ones before.
  for (int i = batch; i <= serverinfo::kMaxServers; ++i) {
    ++now;
    cache.Ask(target(i));
    awaitAnswers(i + 1);
  }
  EXPECT_EQ(cache.ServersKept(), serverinfo::kMaxServers);
  int firstBatchKept = 0;
  for (int i = 0; i < batch; ++i) firstBatchKept += cache.Peek(target(i)).result ? 1 : 0;
  EXPECT_EQ(firstBatchKept, batch - 1) << "one of the oldest answers went";
  for (int i = batch; i <= serverinfo::kMaxServers; ++i) EXPECT_TRUE(cache.Peek(target(i)).result) << i;
}

}  // namespace
