// The Engine 1 text reply: datagrams put together in any order, a lost
// \final\, a real Tactical Ops server's answer, the decoding of names and
// numbers, and replies that must fail instead of growing.
#include <gtest/gtest.h>

#include <QFile>

#include "query/internal/text_reply.h"
#include "support/game_server_replies.h"

namespace {

using query::ReplyReader;
using query::TextReplyReader;
using testing_support::FakeServer;
using testing_support::RealReplyDatagrams;

FakeServer ThreePlayers() {
  return {"Clan Server", "CTF-Face", "CTFGame", 12,
          {{"Anna", 12, 40, 0}, {"Bernd", 3, 70, 1}, {"Carl", -2, 120, 255}}, {{"timelimit", "20"}}};
}

ReplyReader::Progress Feed(TextReplyReader& reader, const std::vector<std::string>& datagrams) {
  ReplyReader::Progress last = ReplyReader::Progress::Waiting;
  for (const std::string& d : datagrams) last = reader.Take(d);
  return last;
}

TEST(TextReply, DatagramsInAnyOrderMakeOneAnswer) {
  const std::vector<std::string> parts = testing_support::TextStatusReply(ThreePlayers(), 3);
  struct Case {
    const char* name;
    std::vector<size_t> order;
    bool complete;
  } const cases[] = {
      {"in order", {0, 1, 2}, true},
      {"final first", {2, 0, 1}, true},
      {"reversed", {2, 1, 0}, true},
      {"repeated datagram", {0, 0, 1, 2}, true},
      {"final lost", {0, 1}, false},
      {"middle lost", {0, 2}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TextReplyReader reader;
    std::vector<std::string> datagrams;
    for (size_t i : c.order) datagrams.push_back(parts[i]);
    EXPECT_EQ(Feed(reader, datagrams) == ReplyReader::Progress::Complete, c.complete);
    ASSERT_TRUE(reader.HasInfo());
    const query::ServerInfo info = reader.Answer();
    EXPECT_EQ(info.name, "Clan Server");
    EXPECT_EQ(info.map, "CTF-Face");
    EXPECT_EQ(info.players, 3);
    EXPECT_EQ(info.maxPlayers, 12);
    if (c.complete) {
      ASSERT_EQ(info.playerList.size(), 3);
      EXPECT_EQ(info.playerList[0].name, "Anna");
      EXPECT_EQ(info.playerList[2].name, "Carl");
      EXPECT_EQ(info.playerList[2].score, -2);
      EXPECT_EQ(info.playerList[1].ping, 70);
      EXPECT_EQ(info.playerList[1].team, 1);
    }
  }
}

TEST(TextReply, AFinalWithoutTheServersInfoIsNoAnswer) {
  TextReplyReader reader;
  EXPECT_EQ(reader.Take("\\gamename\\ut\\gamever\\440\\queryid\\21.1\\final\\"), ReplyReader::Progress::Waiting);
  EXPECT_FALSE(reader.HasInfo());
}

TEST(TextReply, RealTacticalOpsServerAnswer) {
  std::vector<std::string> datagrams = RealReplyDatagrams("to_bygames.txt");
  ASSERT_EQ(datagrams.size(), 4u);
  TextReplyReader reader;
  // Players first. Each part has a query id and \final\ of its own, so
  // the reply is never known to be complete: it is read until it falls quiet.
  std::swap(datagrams[0], datagrams[2]);
  EXPECT_EQ(Feed(reader, datagrams), ReplyReader::Progress::Waiting);
  EXPECT_TRUE(reader.HasInfo());
  const query::ServerInfo info = reader.Answer();
  EXPECT_EQ(info.name, "bygames.com.Tactical.Ops.#1.[Favourite.4]");
  EXPECT_EQ(info.map, "TO-RapidWaters");
  EXPECT_EQ(info.mapTitle, "RapidWaters][");
  EXPECT_EQ(info.gameType, "s_SWATGame");
  EXPECT_EQ(info.players, 16);
  EXPECT_EQ(info.maxPlayers, 16);
  ASSERT_EQ(info.playerList.size(), 4);
  EXPECT_EQ(info.playerList[2].name, "|EZ|jazz_>=iii=<()");
  EXPECT_EQ(info.playerList[2].ping, 113);
  EXPECT_EQ(info.playerList[2].team, 255);
  EXPECT_EQ(info.playerList[3].score, -1);
  bool hasTimeLimit = false;
  for (const auto& [key, value] : info.rules) {
    EXPECT_NE(key, "queryid");
    EXPECT_NE(key, "mesh_0");
    hasTimeLimit = hasTimeLimit || (key == "timelimit" && value == "20");
  }
  EXPECT_TRUE(hasTimeLimit);
}

TEST(TextReply, NamesAndNumbersAsServersWriteThem) {
  struct Case {
    std::string value;
    QString name;
  } const names[] = {
      {"M\xFCller", QString::fromUtf8("Müller")},             // Windows-1252
      {"M\xC3\xBCller", QString::fromUtf8("Müller")},         // UTF-8 from UT 469c
      {"\x1B\xFF\x20\x20Red\x1B\x20\xC3\xA4" "Blue", "RedBlue"},  // colour codes, the bytes of one valid UTF-8
      {"Tab\tName", "TabName"},
  };
  for (const Case& c : names) {
    TextReplyReader reader;
    reader.Take("\\hostname\\" + c.value + "\\player_0\\" + c.value + "\\ping_0\\  53\\queryid\\1.1\\final\\");
    EXPECT_EQ(reader.Answer().name, c.name);
    ASSERT_EQ(reader.Answer().playerList.size(), 1);
    EXPECT_EQ(reader.Answer().playerList[0].name, c.name);
    EXPECT_EQ(reader.Answer().playerList[0].ping, 53);
  }
}

TEST(TextReply, HostileRepliesFailOrStayBounded) {
  {
    SCOPED_TRACE("packet number past any reply");
    TextReplyReader reader;
    EXPECT_EQ(reader.Take("\\hostname\\x\\queryid\\1.100000\\final\\"), ReplyReader::Progress::Failed);
    EXPECT_FALSE(reader.Error().isEmpty());
  }
  {
    SCOPED_TRACE("endless datagrams");
    TextReplyReader reader;
    const std::string datagram = "\\hostname\\x\\filler\\" + std::string(8000, 'a') + "\\queryid\\1.1";
    ReplyReader::Progress progress = ReplyReader::Progress::Waiting;
    int taken = 0;
    while (progress == ReplyReader::Progress::Waiting && taken < 1000) {
      progress = reader.Take(datagram);
      ++taken;
    }
    EXPECT_EQ(progress, ReplyReader::Progress::Failed);
    EXPECT_LT(taken, 40);
  }
  {
    SCOPED_TRACE("huge counts and indices");
    TextReplyReader reader;
    reader.Take("\\numplayers\\99999999999999\\maxplayers\\-5\\player_2147483647\\x\\player_4000000000\\y\\final\\");
    EXPECT_EQ(reader.Answer().players, 2147483647);
    EXPECT_EQ(reader.Answer().maxPlayers, 0);
    EXPECT_TRUE(reader.Answer().playerList.isEmpty());
  }
}

}  // namespace
