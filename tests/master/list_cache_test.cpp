// The masters' lists kept between runs: what is asked again and when, what
// reads back, and which files are refused.
#include <gtest/gtest.h>

#include <QFile>

#include "master/list_cache.h"
#include "support/temp_dir.h"

namespace {

using master::MasterSource;

constexpr qint64 kMinute = 60 * 1000;
constexpr qint64 kNow = 1'765'400'000'000;

master::ServerEntry Entry(const QString& address, quint16 port) {
  master::ServerEntry e;
  e.address = address;
  e.queryPort = port;
  return e;
}

master::GameLists SampleLists() {
  master::GameLists lists{"ut", {}};
  master::ServerEntry nat = Entry("81.1.1.1", 7778);
  nat.gamePort = 7777;
  nat.name = "Ümlaut \"quoted\" server";
  nat.players = 3;
  nat.maxPlayers = 16;
  master::RecordList(lists, "master.one:28900", "45.1.1.1", kNow - 2 * kMinute, {nat, Entry("82.2.2.2", 7778)});
  master::RecordFailure(lists, "master.two:28900", kNow - 5 * kMinute, "connection refused");
  return lists;
}

TEST(ListCache, PlanPerMasterByAgeOfListAndLastAsk) {
  master::GameLists lists{"ut", {}};
  master::RecordList(lists, "fresh:1", "45.1.1.1", kNow - 14 * kMinute, {});
  master::RecordList(lists, "old:1", "45.1.1.1", kNow - 15 * kMinute, {});
  master::RecordFailure(lists, "failed:1", kNow - 3 * kMinute, "timeout");
  master::RecordFailure(lists, "failedlong:1", kNow - 20 * kMinute, "timeout");
  master::RecordList(lists, "future:1", "45.1.1.1", kNow + 5 * kMinute, {});
  master::RecordList(lists, "stalefail:1", "45.1.1.1", kNow - 30 * kMinute, {});
  master::RecordFailure(lists, "stalefail:1", kNow - 1 * kMinute, "timeout");
  const QStringList masters = {"fresh:1", "old:1", "failed:1", "failedlong:1", "future:1", "stalefail:1", "new:1"};
  const struct {
    MasterSource normal;
    qint64 sinceMs;
  } expected[] = {
      {MasterSource::Cached, 14 * kMinute}, {MasterSource::Ask, 0}, {MasterSource::Resting, 3 * kMinute},
      {MasterSource::Ask, 0},               {MasterSource::Ask, 0}, {MasterSource::Resting, 1 * kMinute},
      {MasterSource::Ask, 0},
  };
  const std::vector<master::MasterPlan> plan = master::PlanMasters(lists, masters, kNow, false);
  const std::vector<master::MasterPlan> refreshed = master::PlanMasters(lists, masters, kNow, true);
  ASSERT_EQ(plan.size(), size_t(masters.size()));
  for (size_t i = 0; i < plan.size(); ++i) {
    SCOPED_TRACE(masters[qsizetype(i)].toStdString());
    EXPECT_EQ(plan[i].master, masters[qsizetype(i)]);
    EXPECT_EQ(plan[i].source, expected[i].normal);
    EXPECT_EQ(plan[i].sinceMs, expected[i].sinceMs);
    EXPECT_EQ(refreshed[i].source, MasterSource::Ask);
  }
}

TEST(ListCache, FailureKeepsTheEarlierListForTheFallback) {
  master::GameLists lists = SampleLists();
  master::RecordFailure(lists, "master.one:28900", kNow, "timeout");
  const std::optional<master::MasterListing> fallback = master::FreshListing(lists, "master.one:28900", kNow);
  ASSERT_TRUE(fallback);
  EXPECT_EQ(fallback->entries.size(), 2u);
  EXPECT_FALSE(master::FreshListing(lists, "master.one:28900", kNow + 13 * kMinute));
  EXPECT_FALSE(master::FreshListing(lists, "master.two:28900", kNow));
}

TEST(ListCache, WrittenFileReadsBackWhole) {
  testing_support::TempDir dir;
  const QString path = master::ListCacheFile(dir.Path(), "ut");
  ASSERT_TRUE(master::WriteGameLists(path, SampleLists()));
  const master::GameLists read = master::ReadGameLists(path, "ut");
  ASSERT_EQ(read.masters.size(), 2u);
  const master::MasterRecord& one = read.masters[0];
  EXPECT_EQ(one.master, "master.one:28900");
  EXPECT_EQ(one.address, "45.1.1.1");
  EXPECT_EQ(one.listedAtMs, kNow - 2 * kMinute);
  ASSERT_EQ(one.entries.size(), 2u);
  EXPECT_EQ(one.entries[0].name, "Ümlaut \"quoted\" server");
  EXPECT_EQ(one.entries[0].gamePort, 7777);
  EXPECT_EQ(one.entries[0].maxPlayers, 16);
  EXPECT_EQ(one.entries[1].players, -1);
  EXPECT_EQ(read.masters[1].error, "connection refused");
  EXPECT_EQ(read.masters[1].listedAtMs, 0);
  EXPECT_TRUE(master::ReadGameLists(master::ListCacheFile(dir.Path(), "to"), "to").masters.empty());
}

TEST(ListCache, RefusesDamagedForeignOrForgedFiles) {
  const QByteArray good = master::EncodeGameLists(SampleLists());
  ASSERT_TRUE(master::DecodeGameLists(good, "ut"));
  const auto replaced = [&good](const char* from, const char* to) {
    QByteArray changed = good;
    EXPECT_TRUE(changed.contains(from)) << from;
    return changed.replace(from, to);
  };
  const struct {
    const char* why;
    QByteArray bytes;
    QString game;
  } cases[] = {
      {"another game", good, "ut2004"},
      {"cut short", good.left(good.size() / 2), "ut"},
      {"empty", QByteArray(), "ut"},
      {"not an object", "[1,2]", "ut"},
      {"another format", replaced("quavik master lists 1", "quavik master lists 2"), "ut"},
      {"loopback from a public master", replaced("82.2.2.2", "127.0.0.1"), "ut"},
      {"port zero", replaced("\"query_port\":7778", "\"query_port\":0"), "ut"},
      {"port too large", replaced("\"query_port\":7778", "\"query_port\":70000"), "ut"},
      {"port as text", replaced("\"query_port\":7778", "\"query_port\":\"7778\""), "ut"},
      {"fraction", replaced("\"players\":3", "\"players\":3.5"), "ut"},
      {"name not numeric", replaced("81.1.1.1", "evil.example"), "ut"},
      {"unknown key", replaced("\"players\":3", "\"players\":3,\"x\":1"), "ut"},
      {"missing key", replaced("\"players\":3,", ""), "ut"},
      {"duplicate master", replaced("master.two:28900", "master.one:28900"), "ut"},
      {"list without time", replaced("\"listed_at_ms\":1765399880000", "\"listed_at_ms\":0"), "ut"},
  };
  for (const auto& c : cases) EXPECT_FALSE(master::DecodeGameLists(c.bytes, c.game)) << c.why;
}

TEST(ListCache, LocalMasterMayListLocalServers) {
  master::GameLists lists{"ut", {}};
  master::RecordList(lists, "127.0.0.1:28900", "127.0.0.1", kNow, {Entry("127.0.0.1", 7778)});
  const std::optional<master::GameLists> read = master::DecodeGameLists(master::EncodeGameLists(lists), "ut");
  ASSERT_TRUE(read);
  EXPECT_EQ(read->masters[0].entries.size(), 1u);
}

TEST(ListCache, PruningKeepsTheFileReadable) {
  master::GameLists lists{"ut", {}};
  master::RecordFailure(lists, "yesterday:1", kNow - 25 * 60 * kMinute, "timeout");
  for (int i = 0; i < 70; ++i) master::RecordFailure(lists, QString("m%1:1").arg(i), kNow - i * kMinute, "timeout");
  master::PruneGameLists(lists, kNow);
  ASSERT_EQ(lists.masters.size(), 64u);
  EXPECT_EQ(lists.masters.front().master, "m0:1");
  EXPECT_EQ(lists.masters.back().master, "m63:1");
  EXPECT_TRUE(master::DecodeGameLists(master::EncodeGameLists(lists), "ut"));
}

TEST(ListCache, UnreadableOrOversizedFileCountsAsNone) {
  testing_support::TempDir dir;
  const QString path = dir.Write("masterlists-ut.json", std::string(size_t(master::kMaxCacheFileBytes) + 10, ' '));
  EXPECT_TRUE(master::ReadGameLists(path, "ut").masters.empty());
  EXPECT_FALSE(master::WriteGameLists(dir.File("missing/dir/masterlists-ut.json"), SampleLists()));
}

}  // namespace
