// Several masters' lists made one: duplicates by address and query port,
// the masters each server came from, the cap on ports per address.
#include <gtest/gtest.h>

#include "master/master_list.h"

namespace {

master::ServerEntry Entry(const QString& address, quint16 port, quint16 gamePort = 0, const QString& name = {}) {
  master::ServerEntry e;
  e.address = address;
  e.queryPort = port;
  e.gamePort = gamePort;
  e.name = name;
  return e;
}

QStringList Keys(const master::MergedList& merged) {
  QStringList keys;
  for (const master::ServerEntry& s : merged.servers)
    keys.append(QStringLiteral("%1:%2 %3").arg(s.address).arg(s.queryPort).arg(s.masters.join(',')));
  return keys;
}

TEST(MasterList, MergesByAddressAndQueryPortInFirstListedOrder) {
  const std::vector<master::MasterListing> listings = {
      {"a:28900", {Entry("1.1.1.1", 7778), Entry("2.2.2.2", 7778), Entry("1.1.1.1", 7778)}},
      {"b:28900", {Entry("3.3.3.3", 7778), Entry("2.2.2.2", 7778), Entry("2.2.2.2", 7788)}},
      {"c:28900", {}},
      {"d:28900", {Entry("1.1.1.1", 7778)}},
  };
  const master::MergedList merged = master::MergeListings(listings);
  EXPECT_EQ(Keys(merged), (QStringList{"1.1.1.1:7778 a:28900,d:28900", "2.2.2.2:7778 a:28900,b:28900",
                                       "3.3.3.3:7778 b:28900", "2.2.2.2:7788 b:28900"}));
  EXPECT_EQ(merged.droppedOverCap, 0);
}

TEST(MasterList, FirstMasterWithDetailsGivesThem) {
  const std::vector<master::MasterListing> listings = {
      {"a:28902", {Entry("1.1.1.1", 7778)}},
      {"b:28902", {Entry("1.1.1.1", 7778, 7777, "Behind NAT")}},
      {"c:28902", {Entry("1.1.1.1", 7778, 7000, "Other name")}},
  };
  const master::MergedList merged = master::MergeListings(listings);
  ASSERT_EQ(merged.servers.size(), 1u);
  EXPECT_EQ(merged.servers[0].gamePort, 7777);
  EXPECT_EQ(merged.servers[0].name, "Behind NAT");
  EXPECT_EQ(merged.servers[0].masters, (QStringList{"a:28902", "b:28902", "c:28902"}));
}

TEST(MasterList, KeepsTheFirst32PortsOfAnAddressAcrossMasters) {
  master::MasterListing flood{"a:28900", {}};
  for (int port = 1; port <= 40; ++port) flood.entries.push_back(Entry("5.5.5.5", quint16(port)));
  master::MasterListing other{"b:28900", {Entry("5.5.5.5", 3), Entry("5.5.5.5", 50000), Entry("6.6.6.6", 1)}};
  const master::MergedList merged = master::MergeListings({flood, other});
  ASSERT_EQ(merged.servers.size(), 33u);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(merged.servers[size_t(i)].queryPort, i + 1);
  EXPECT_EQ(merged.servers[2].masters, (QStringList{"a:28900", "b:28900"}));  // port 3 is already in
  EXPECT_EQ(merged.servers[32].address, "6.6.6.6");
  EXPECT_EQ(merged.droppedOverCap, 9);  // ports 33..40 and 50000
}

}  // namespace
