// The same cases for every roster store: what one store does, the others do.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "memory_roster.h"
#include "redis_roster.h"
#include "redis_server.h"

namespace clan {
namespace {

using namespace std::chrono_literals;
using clan::testing::RedisServer;

const RosterLimits kLimits{1500ms, 400ms, 3};

class RosterStoreTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    if (GetParam() == "memory") {
      store = std::make_unique<MemoryRoster>(kLimits);
    } else {
      static int count = 0;
      auto redis = std::make_shared<RedisClient>(*ParseRedisUrl(RedisServer::Shared().Url()));
      // A roster of its own for each test, in the one shared server; every
      // read goes to Redis.
      store = std::make_unique<RedisRoster>(
          redis, "test" + std::to_string(getpid()) + "_" + std::to_string(++count) + ":", kLimits,
          0ms);
    }
  }

  Recorded Report(const std::string& name, const std::string& server = "1.2.3.4:7777") {
    const auto recorded = store->Report({name, server, "TO-Rapid", std::chrono::system_clock::now()});
    EXPECT_TRUE(recorded) << name;
    return recorded.value_or(Recorded::kRosterFull);
  }

  std::vector<std::string> Names() {
    const auto members = store->Current(std::chrono::system_clock::now());
    EXPECT_TRUE(members);
    std::vector<std::string> names;
    if (members) {
      for (const auto& member : *members) names.push_back(member.name);
    }
    return names;
  }

  std::unique_ptr<RosterStore> store;
};

TEST_P(RosterStoreTest, KeepsEveryValueAndOrdersByName) {
  const TimePoint when = std::chrono::system_clock::now();
  EXPECT_EQ(store->Report({"kim", "10.0.0.1:7777", "", when}), Recorded::kAdded);
  EXPECT_EQ(store->Report({"J\xF6rg \"&\" <b>", "<i>Sucht Server...</i>", "DM: 1:2", when}),
            Recorded::kAdded);
  EXPECT_EQ(store->Report({"Kim", "x", "y", when}), Recorded::kAdded);  // differs in case only
  EXPECT_EQ(store->Report({"kim", "10.0.0.2:7777", "TO-Verdict", when}), Recorded::kUpdated);

  const auto members = store->Current(when);
  ASSERT_TRUE(members);
  ASSERT_EQ(members->size(), 3u);
  EXPECT_EQ((*members)[0].name, "J\xF6rg \"&\" <b>");
  EXPECT_EQ((*members)[0].server, "<i>Sucht Server...</i>");
  EXPECT_EQ((*members)[0].map, "DM: 1:2");
  EXPECT_EQ((*members)[1].name, "Kim");
  EXPECT_EQ((*members)[2].name, "kim");
  EXPECT_EQ((*members)[2].server, "10.0.0.2:7777");
  EXPECT_EQ((*members)[2].map, "TO-Verdict");
  EXPECT_EQ(std::chrono::duration_cast<std::chrono::milliseconds>((*members)[2].reported - when),
            0ms);
  EXPECT_FALSE((*members)[2].pinned);
}

TEST_P(RosterStoreTest, MembersExpireAndMakeRoomForNewNames) {
  EXPECT_EQ(Report("Ann"), Recorded::kAdded);
  EXPECT_EQ(Report("Bob", "<i>offline</i>"), Recorded::kAdded);
  EXPECT_EQ(Report("Cem"), Recorded::kAdded);
  EXPECT_EQ(Report("Dan"), Recorded::kRosterFull);
  EXPECT_EQ(Report("Ann"), Recorded::kUpdated);  // a known name is still recorded
  ASSERT_TRUE(store->Pin({"Pia", "demo", "", std::chrono::system_clock::now()}));  // beyond the cap

  std::this_thread::sleep_for(800ms);  // past the offline linger, within the expiry
  EXPECT_EQ(Names(), (std::vector<std::string>{"Ann", "Cem", "Pia"}));
  EXPECT_EQ(Report("Dan"), Recorded::kRosterFull);  // the pinned member counts
  EXPECT_EQ(Report("Pia"), Recorded::kUpdated);     // now an ordinary member

  std::this_thread::sleep_for(1100ms);  // past the expiry of the first reports
  EXPECT_EQ(Names(), (std::vector<std::string>{"Pia"}));
  EXPECT_EQ(Report("Dan"), Recorded::kAdded);
}

TEST_P(RosterStoreTest, PinnedMembersStayUntilTheyReport) {
  ASSERT_TRUE(store->Pin({"Demo", "85.10.1.2:7777", "TO-Rapid", std::chrono::system_clock::now()}));
  std::this_thread::sleep_for(1600ms);
  const auto members = store->Current(std::chrono::system_clock::now());
  ASSERT_TRUE(members);
  ASSERT_EQ(members->size(), 1u);
  EXPECT_TRUE((*members)[0].pinned);
  EXPECT_EQ((*members)[0].server, "85.10.1.2:7777");

  EXPECT_EQ(Report("Demo", "<i>offline</i>"), Recorded::kUpdated);
  std::this_thread::sleep_for(600ms);
  EXPECT_EQ(Names(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Stores, RosterStoreTest, ::testing::Values("memory", "redis"),
                         [](const auto& info) { return info.param; });

TEST(RedisRosterTest, AnUnreachableStoreSaysSoAndIsUsedAgainOnceBack) {
  RedisServer redis;
  RedisRoster roster(std::make_shared<RedisClient>(*ParseRedisUrl(redis.Url(3))), "q:", kLimits);
  const auto now = [] { return std::chrono::system_clock::now(); };
  EXPECT_EQ(roster.Report({"Ann", "a", "b", now()}), Recorded::kAdded);

  redis.Stop();
  EXPECT_EQ(roster.Report({"Bob", "a", "b", now()}), std::nullopt);
  EXPECT_FALSE(roster.Current(now()));
  EXPECT_FALSE(roster.Pin({"Cem", "a", "b", now()}));

  redis.Start();  // empty again: it keeps nothing on disk
  std::optional<Recorded> recorded;
  for (int tries = 0; tries < 20 && !recorded; ++tries) {
    recorded = roster.Report({"Bob", "a", "b", now()});
    if (!recorded) std::this_thread::sleep_for(100ms);
  }
  EXPECT_EQ(recorded, Recorded::kAdded);
  const auto members = roster.Current(now());
  ASSERT_TRUE(members);
  ASSERT_EQ(members->size(), 1u);
  EXPECT_EQ((*members)[0].name, "Bob");
}

TEST(RedisRosterTest, InstancesShareOneRosterAndAReadIsReusedForAMoment) {
  const auto url = *ParseRedisUrl(RedisServer::Shared().Url(4));
  const std::string prefix = "shared" + std::to_string(getpid()) + ":";
  RedisRoster first(std::make_shared<RedisClient>(url), prefix, kLimits, 300ms);
  RedisRoster second(std::make_shared<RedisClient>(url), prefix, kLimits, 300ms);
  const auto now = [] { return std::chrono::system_clock::now(); };
  const auto names = [&](RedisRoster& roster) {
    std::vector<std::string> out;
    if (const Roster members = roster.Current(now())) {
      for (const auto& member : *members) out.push_back(member.name);
    }
    return out;
  };

  EXPECT_EQ(first.Report({"Kim", "a", "b", now()}), Recorded::kAdded);
  EXPECT_EQ(names(second), std::vector<std::string>{"Kim"});
  EXPECT_EQ(second.Report({"Ann", "a", "b", now()}), Recorded::kAdded);
  EXPECT_EQ(names(second), (std::vector<std::string>{"Ann", "Kim"}));  // its own at once
  EXPECT_EQ(first.Report({"Kim", "c", "d", now()}), Recorded::kUpdated);  // known to both
  EXPECT_EQ(names(second), (std::vector<std::string>{"Ann", "Kim"}));
  std::this_thread::sleep_for(350ms);
  const auto members = second.Current(now());
  ASSERT_TRUE(members);
  ASSERT_EQ(members->size(), 2u);
  EXPECT_EQ((*members)[1].server, "c");  // the other instance's report, once the read is old
}

TEST(RedisRosterTest, TheMemberLimitIsExactAcrossInstancesReportingAtOnce) {
  const auto url = *ParseRedisUrl(RedisServer::Shared().Url(5));
  const std::string prefix = "cap" + std::to_string(getpid()) + ":";
  const RosterLimits limits{60s, 60s, 40};
  RedisRoster first(std::make_shared<RedisClient>(url), prefix, limits, 0ms);
  RedisRoster second(std::make_shared<RedisClient>(url), prefix, limits, 0ms);
  std::atomic<int> added = 0;
  std::atomic<int> full = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      RedisRoster& roster = t % 2 ? first : second;
      for (int i = 0; i < 20; ++i) {
        const Member member{"t" + std::to_string(t) + "_" + std::to_string(i), "a", "b",
                            std::chrono::system_clock::now()};
        const auto recorded = roster.Report(member);
        if (recorded == Recorded::kAdded) ++added;
        if (recorded == Recorded::kRosterFull) ++full;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(added, 40);
  EXPECT_EQ(full, 120);
  const auto members = second.Current(std::chrono::system_clock::now());
  ASSERT_TRUE(members);
  EXPECT_EQ(members->size(), 40u);
}

TEST(RedisRosterTest, AFullRosterOfTenThousandTurnsNewNamesAwayQuickly) {
  // A report must not cost Redis the whole roster: Redis serves every
  // instance one command at a time.
  const auto url = *ParseRedisUrl(RedisServer::Shared().Url(6));
  const RosterLimits limits{60s, 60s, 10000};
  RedisRoster roster(std::make_shared<RedisClient>(url), "full" + std::to_string(getpid()) + ":",
                     limits);
  const auto now = [] { return std::chrono::system_clock::now(); };
  for (int i = 0; i < 10000; ++i) {
    ASSERT_TRUE(roster.Pin({"member" + std::to_string(i), "10.0.0.1:7777", "TO-Rapid", now()}));
  }
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 200; ++i) {
    EXPECT_EQ(roster.Report({"new" + std::to_string(i), "a", "b", now()}), Recorded::kRosterFull);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << "200 reports to a full roster";
}

TEST(RedisRosterTest, ManyThreadsAtOnceEachGetAConnection) {
  RedisClient client(*ParseRedisUrl(RedisServer::Shared().Url()));
  std::atomic<int> failed = 0;
  std::vector<std::thread> threads;
  for (int i = 0; i < 16; ++i) {
    threads.emplace_back([&] {
      for (int n = 0; n < 20; ++n) {
        if (!client.Command({"PING"})) ++failed;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failed, 0) << client.LastError();
}

TEST(RedisClientTest, CommandsGivenAtOnceEachGetTheirOwnReply) {
  // Each command's reply must reach the thread that gave it, however the
  // commands were put together: the counts each thread sees rise, and all
  // of them together are every count once.
  RedisClient client(*ParseRedisUrl(RedisServer::Shared().Url(6)));
  const std::string key = "batched" + std::to_string(getpid());
  constexpr int kThreads = 16;
  constexpr int kEach = 50;
  std::vector<std::vector<long long>> seen(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) {
        const auto reply = client.Batched({"INCR", key});
        const auto* count = reply ? std::get_if<long long>(&reply->value) : nullptr;
        seen[t].push_back(count ? *count : -1);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  std::vector<long long> all;
  for (const auto& mine : seen) {
    EXPECT_TRUE(std::is_sorted(mine.begin(), mine.end()));
    all.insert(all.end(), mine.begin(), mine.end());
  }
  std::sort(all.begin(), all.end());
  for (size_t i = 0; i < all.size(); ++i) ASSERT_EQ(all[i], static_cast<long long>(i + 1));
  EXPECT_FALSE(client.Batched({"NOSUCHCOMMAND"}));  // an error reaches its own thread only
  EXPECT_EQ(std::get<long long>(client.Batched({"INCR", key})->value), kThreads * kEach + 1);
}

TEST(RedisUrl, ReadsHostPortAndDatabase) {
  const struct {
    const char* url;
    std::optional<RedisAddress> address;
  } cases[] = {
      {"redis://127.0.0.1:6380/2", RedisAddress{"127.0.0.1", 6380, 2}},
      {"redis://cache.example.org", RedisAddress{"cache.example.org", 6379, 0}},
      {"redis://[::1]:7000", RedisAddress{"::1", 7000, 0}},
      {"redis://:6379", std::nullopt},
      {"redis://host:0", std::nullopt},
      {"redis://host:65536", std::nullopt},
      {"redis://host/x", std::nullopt},
      {"http://host:6379", std::nullopt},
      {"redis://[::1", std::nullopt},
  };
  for (const auto& c : cases) {
    const auto address = ParseRedisUrl(c.url);
    ASSERT_EQ(address.has_value(), c.address.has_value()) << c.url;
    if (!address) continue;
    EXPECT_EQ(address->host, c.address->host) << c.url;
    EXPECT_EQ(address->port, c.address->port) << c.url;
    EXPECT_EQ(address->database, c.address->database) << c.url;
  }
}

}  // namespace
}  // namespace clan
