// The Engine 2 binary reply: compact-index strings (long, UCS-2, colour
// coded), teams from the stats id, players over several datagrams, the
// empty server without a players reply, and datagrams that lie about
// their lengths or counts.
#include <gtest/gtest.h>

#include "query/internal/binary_reply.h"
#include "query/byte_reader.h"
#include "support/game_server_replies.h"

namespace {

using query::BinaryReplyReader;
using query::ReplyReader;
using namespace testing_support;

TEST(BinaryReply, StringsOfEveryShape) {
  const QString colour = QString(QChar(0x1B)) + QChar(0xFF) + QChar(0x10) + QChar(0x10);
  struct Case {
    const char* name;
    std::string bytes;
    QString expected;
  } const cases[] = {
      {"8-bit", BinaryString("DM-Rankin", false), "DM-Rankin"},
      {"empty", std::string(1, '\0'), ""},
      {"Windows-1252", BinaryString(QString::fromUtf8("Grüße"), false), QString::fromUtf8("Grüße")},
      {"two-byte length (64 and more)", BinaryString(QString(100, 'x'), false), QString(100, 'x')},
      {"UCS-2", BinaryString(QString::fromUtf8("Ωmega ☠"), true), QString::fromUtf8("Ωmega ☠")},
      {"UCS-2, long", BinaryString(QString(300, QChar(0x416)), true), QString(300, QChar(0x416))},
      {"UCS-2 colour codes", BinaryString(colour + "Red" + colour + "Blue", true), "RedBlue"},
      {"8-bit colour codes", BinaryString(colour + "Red", false), "Red"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string datagram = c.bytes + Int32Bytes(0x12345678);
    query::ByteReader in(datagram);
    EXPECT_EQ(in.String(), c.expected);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.Int32(), 0x12345678);
    EXPECT_TRUE(in.AtEnd());
  }
}

FakeServer Ut2004Server(int players) {
  FakeServer server{QString::fromUtf8("Clan Server Ω"), "ONS-Torlan", "xOnslaughtGame", 32, {}, {{"mutator", "MutInstaGib"}}, true};
  for (int i = 0; i < players; ++i) server.players.push_back({QString("Player%1").arg(i), i * 2, 30 + i, i % 3 == 2 ? 255 : i % 3});
  return server;
}

TEST(BinaryReply, PlayersOverSeveralDatagramsAndTheirTeams) {
  const FakeServer server = Ut2004Server(40);
  const std::vector<std::string> players = BinaryPlayersReply(server, 16);
  ASSERT_EQ(players.size(), 3u);
  BinaryReplyReader reader;
  EXPECT_EQ(reader.Take(players[2]), ReplyReader::Progress::Waiting);
  EXPECT_EQ(reader.Take(BinaryInfoReply(server)), ReplyReader::Progress::Waiting);
  EXPECT_TRUE(reader.HasInfo());
  EXPECT_EQ(reader.Take(players[0]), ReplyReader::Progress::Waiting);
  EXPECT_EQ(reader.Take(BinaryRulesReply(server)), ReplyReader::Progress::Waiting);
  EXPECT_EQ(reader.Take(players[1]), ReplyReader::Progress::Complete);
  const query::ServerInfo info = reader.Answer();
  EXPECT_EQ(info.name, QString::fromUtf8("Clan Server Ω"));
  EXPECT_EQ(info.map, "ONS-Torlan");
  EXPECT_EQ(info.gameType, "xOnslaughtGame");
  EXPECT_EQ(info.players, 40);
  EXPECT_EQ(info.maxPlayers, 32);
  ASSERT_EQ(info.playerList.size(), 40);
  int red = 0, blue = 0, none = 0;
  for (const query::PlayerInfo& p : info.playerList) {
    red += p.team == 0;
    blue += p.team == 1;
    none += p.team == query::kNoTeam;
  }
  EXPECT_EQ(red, 14);
  EXPECT_EQ(blue, 13);
  EXPECT_EQ(none, 13);
  ASSERT_EQ(info.rules.size(), 1);
  EXPECT_EQ(info.rules[0].second, "MutInstaGib");
}

TEST(BinaryReply, AnEmptyServerIsCompleteWithoutPlayers) {
  const FakeServer server = Ut2004Server(0);
  EXPECT_TRUE(BinaryPlayersReply(server).empty());
  BinaryReplyReader reader;
  EXPECT_EQ(reader.Take(BinaryRulesReply(server)), ReplyReader::Progress::Waiting);
  EXPECT_EQ(reader.Take(BinaryInfoReply(server)), ReplyReader::Progress::Complete);
  EXPECT_TRUE(reader.Answer().playerList.isEmpty());
}

// Asked for info and players only, an empty server is done with its info;
// a populated one is asked for its players, once, after the info.
TEST(BinaryReply, InfoFirstThenPlayersOnlyWhereSomeonePlays) {
  const QByteArray infoRequest("\x79\x00\x00\x00\x00", 5);
  const QByteArray playersRequest("\x79\x00\x00\x00\x02", 5);
  {
    SCOPED_TRACE("empty server");
    BinaryReplyReader reader(query::QueryScope::InfoAndPlayers);
    EXPECT_EQ(reader.Requests(), std::vector<QByteArray>{infoRequest});
    EXPECT_EQ(reader.Take(BinaryInfoReply(Ut2004Server(0))), ReplyReader::Progress::Complete);
    EXPECT_TRUE(reader.TakeFollowUpRequests().empty());
  }
  {
    SCOPED_TRACE("three players");
    const FakeServer server = Ut2004Server(3);
    BinaryReplyReader reader(query::QueryScope::InfoAndPlayers);
    EXPECT_TRUE(reader.TakeFollowUpRequests().empty());
    EXPECT_EQ(reader.Take(BinaryInfoReply(server)), ReplyReader::Progress::Waiting);
    EXPECT_EQ(reader.TakeFollowUpRequests(), std::vector<QByteArray>{playersRequest});
    EXPECT_TRUE(reader.TakeFollowUpRequests().empty());
    EXPECT_EQ(reader.Take(BinaryPlayersReply(server).front()), ReplyReader::Progress::Complete);
    EXPECT_EQ(reader.Answer().playerList.size(), 3);
    EXPECT_TRUE(reader.Answer().rules.isEmpty());
  }
}

TEST(BinaryReply, DatagramsThatLieFail) {
  const std::string players = BinaryHeader(2);
  struct Case {
    const char* name;
    std::string datagram;
  } const cases[] = {
      {"shorter than its header", std::string("\x80\x00\x00", 3)},
      {"info cut short", BinaryInfoReply(Ut2004Server(1)).substr(0, 30)},
      {"8-bit length past the end", BinaryHeader(1) + "\x3F" + "abc"},
      {"UCS-2 length past the end", BinaryHeader(1) + "\xBF\x7F" + "ab"},
      {"largest compact index", BinaryHeader(1) + "\xFF\xFF\xFF\xFF\xFF" + "ab"},
      {"player record cut short", players + Int32Bytes(1) + BinaryString("x", false) + Int32Bytes(5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BinaryReplyReader reader;
    EXPECT_EQ(reader.Take(c.datagram), ReplyReader::Progress::Failed);
    EXPECT_FALSE(reader.Error().isEmpty());
  }
  SCOPED_TRACE("players without end");
  BinaryReplyReader reader;
  ReplyReader::Progress progress = ReplyReader::Progress::Waiting;
  for (int i = 0; i < 2000 && progress == ReplyReader::Progress::Waiting; ++i)
    progress = reader.Take(BinaryPlayersReply(Ut2004Server(16), 16).front());
  EXPECT_EQ(progress, ReplyReader::Progress::Failed);
}

// A server that counts more players than a list holds is still answered:
// the first 256 are kept, as the text reply keeps them.
TEST(BinaryReply, MorePlayersThanAListHoldsKeepsTheFirst) {
  const FakeServer server = Ut2004Server(300);
  BinaryReplyReader reader;
  EXPECT_EQ(reader.Take(BinaryInfoReply(server)), ReplyReader::Progress::Waiting);
  EXPECT_EQ(reader.Take(BinaryRulesReply(server)), ReplyReader::Progress::Waiting);
  ReplyReader::Progress progress = ReplyReader::Progress::Waiting;
  for (const std::string& datagram : BinaryPlayersReply(server, 40)) progress = reader.Take(datagram);
  EXPECT_EQ(progress, ReplyReader::Progress::Complete) << reader.Error().toStdString();
  const query::ServerInfo info = reader.Answer();
  EXPECT_EQ(info.players, 300);
  ASSERT_EQ(info.playerList.size(), query::kMaxPlayers);
  EXPECT_EQ(info.playerList.front().name, "Player0");
  EXPECT_EQ(info.playerList.back().name, "Player255");
}

}  // namespace
