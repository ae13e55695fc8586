// Which listed servers are asked: the addresses no public server can have,
// and other networks' hosts unless the master is on such a network itself.
#include <gtest/gtest.h>

#include "master/entry_filter.h"

namespace {

using master::EntryVerdict;

master::ServerEntry Entry(const QString& address, quint16 port) {
  master::ServerEntry e;
  e.address = address;
  e.queryPort = port;
  return e;
}

TEST(EntryFilter, VerdictPerAddressFromPublicAndLocalMasters) {
  struct Case {
    const char* address;
    quint16 port;
    EntryVerdict fromPublicMaster;
    EntryVerdict fromLocalMaster;
  } const cases[] = {
      {"81.169.145.10", 7778, EntryVerdict::Keep, EntryVerdict::Keep},
      {"81.169.145.10", 0, EntryVerdict::PortZero, EntryVerdict::PortZero},
      {"0.0.0.0", 7778, EntryVerdict::ThisNetwork, EntryVerdict::ThisNetwork},
      {"0.12.3.4", 7778, EntryVerdict::ThisNetwork, EntryVerdict::ThisNetwork},
      {"224.0.0.1", 7778, EntryVerdict::Multicast, EntryVerdict::Multicast},
      {"239.255.255.250", 7778, EntryVerdict::Multicast, EntryVerdict::Multicast},
      {"240.1.2.3", 7778, EntryVerdict::Reserved, EntryVerdict::Reserved},
      {"255.255.255.255", 7778, EntryVerdict::Broadcast, EntryVerdict::Broadcast},
      {"127.0.0.1", 7778, EntryVerdict::Loopback, EntryVerdict::Keep},
      {"127.255.0.9", 7778, EntryVerdict::Loopback, EntryVerdict::Keep},
      {"10.1.2.3", 7778, EntryVerdict::Private, EntryVerdict::Keep},
      {"172.16.0.1", 7778, EntryVerdict::Private, EntryVerdict::Keep},
      {"172.31.255.255", 7778, EntryVerdict::Private, EntryVerdict::Keep},
      {"172.32.0.1", 7778, EntryVerdict::Keep, EntryVerdict::Keep},  // just past 172.16/12
      {"172.15.255.255", 7778, EntryVerdict::Keep, EntryVerdict::Keep},
      {"192.168.0.10", 7778, EntryVerdict::Private, EntryVerdict::Keep},
      {"100.64.0.1", 7778, EntryVerdict::Private, EntryVerdict::Keep},
      {"100.128.0.1", 7778, EntryVerdict::Keep, EntryVerdict::Keep},
      {"169.254.1.1", 7778, EntryVerdict::Private, EntryVerdict::Keep},
      {"223.255.255.255", 7778, EntryVerdict::Keep, EntryVerdict::Keep},
      {"", 7778, EntryVerdict::NotAnAddress, EntryVerdict::NotAnAddress},
      {"master.example", 7778, EntryVerdict::NotAnAddress, EntryVerdict::NotAnAddress},
      {"1.2.3", 7778, EntryVerdict::NotAnAddress, EntryVerdict::NotAnAddress},
      {"1.2.3.4.5", 7778, EntryVerdict::NotAnAddress, EntryVerdict::NotAnAddress},
      {"01.2.3.4", 7778, EntryVerdict::NotAnAddress, EntryVerdict::NotAnAddress},  // octal to some readers
      {"1.2.3.256", 7778, EntryVerdict::NotAnAddress, EntryVerdict::NotAnAddress},
      {" 1.2.3.4", 7778, EntryVerdict::NotAnAddress, EntryVerdict::NotAnAddress},
      {"::1", 7778, EntryVerdict::NotAnAddress, EntryVerdict::NotAnAddress},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(master::JudgeEntry(Entry(c.address, c.port), false), c.fromPublicMaster);
    EXPECT_EQ(master::JudgeEntry(Entry(c.address, c.port), true), c.fromLocalMaster);
  }
}

TEST(EntryFilter, MasterCountsAsLocalOnItsAddressOnly) {
  const struct {
    const char* master;
    bool local;
  } cases[] = {
      {"127.0.0.1", true},  {"10.0.0.2", true},      {"192.168.178.1", true}, {"::1", true},
      {"fd00::5", true},    {"fe80::1", true},       {"::ffff:127.0.0.1", true},
      {"45.74.100.2", false}, {"2001:db8::1", false}, {"localhost", false},   {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(master::IsLocalMasterAddress(c.master), c.local) << c.master;
}

TEST(EntryFilter, KeepsOrderAndCountsTheDropped) {
  std::vector<master::ServerEntry> list = {Entry("81.1.1.1", 7778), Entry("127.0.0.1", 7778),
                                           Entry("82.2.2.2", 0), Entry("83.3.3.3", 8888),
                                           Entry("192.168.1.1", 7778)};
  int dropped = -1;
  const std::vector<master::ServerEntry> kept = master::FilterEntries(list, "45.74.100.2", &dropped);
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0].address, "81.1.1.1");
  EXPECT_EQ(kept[1].address, "83.3.3.3");
  EXPECT_EQ(dropped, 3);
  EXPECT_EQ(master::FilterEntries(list, "127.0.0.1", &dropped).size(), 4u);
  EXPECT_EQ(dropped, 1);
}

}  // namespace
