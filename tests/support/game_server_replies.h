// The replies of a game server's query port, built from a description of
// the server, as the two engines send them: the Engine 1 \key\value reply
// split over datagrams, and the Engine 2 binary info, rules and players
// datagrams with compact-index strings (8-bit or UCS-2). Names are given
// as the bytes or text the server holds, colour codes (0x1B R G B) included.
#pragma once
#include <QString>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

struct FakePlayer {
  QString name;
  int score = 0;
  int ping = 0;
  int team = 255;
};

struct FakeServer {
  QString name;
  QString map;
  QString gameType;
  int maxPlayers = 16;
  std::vector<FakePlayer> players;
  std::vector<std::pair<QString, QString>> rules;
  bool ucs2 = false;  // Engine 2: send names as UCS-2 strings
};

// Engine 1: the \status\ reply in `parts` datagrams (player blocks are not
// split), each with \queryid\<queryId>.<n>, the last with \final\. Text is
// sent as Windows-1252 unless `utf8`.
std::vector<std::string> TextStatusReply(const FakeServer& server, int parts, int queryId = 17, bool utf8 = false);

// Engine 2: one string field (compact-index length, closing NUL).
std::string BinaryString(const QString& text, bool ucs2);
std::string Int32Bytes(int value);
// The server version and command byte every reply datagram starts with.
std::string BinaryHeader(char command, int version = 0x80);
std::string BinaryInfoReply(const FakeServer& server, int version = 0x80);
std::string BinaryRulesReply(const FakeServer& server, int version = 0x80);
// The players, `perDatagram` to a datagram; none for an empty server.
std::vector<std::string> BinaryPlayersReply(const FakeServer& server, int perDatagram = 32, int version = 0x80);

// The datagrams of a real server's reply kept in support/real_replies/
// (one a line).
std::vector<std::string> RealReplyDatagrams(const QString& fileName);

// The datagrams of a real Engine 2 server's reply kept in
// support/real_replies/ as "<command byte> <hex of one datagram>" lines: the
// answer to each request, by its command byte.
std::map<int, std::vector<std::string>> RealBinaryReplies(const QString& fileName);

// An answer for LoopbackUdpServer that replies as `server` does to
// whichever protocol's request comes.
std::vector<std::string> AnswerAs(const FakeServer& server, const std::string& request, int textParts = 1);

}  // namespace testing_support
