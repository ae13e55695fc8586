#include "support/game_server_replies.h"

#include <QFile>

#include "platform/text/cp1252.h"

namespace testing_support {

namespace {

std::string Encode(const QString& text, bool utf8) {
  if (utf8) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), size_t(bytes.size()));
  }
  return platform::ToCp1252(text);
}

std::string CompactIndex(int value) {
  const bool negative = value < 0;
  unsigned magnitude = unsigned(negative ? -value : value);
  std::string out;
  unsigned char first = (negative ? 0x80 : 0) | (magnitude & 0x3F);
  magnitude >>= 6;
  if (magnitude) first |= 0x40;
  out.push_back(char(first));
  while (magnitude) {
    unsigned char next = magnitude & 0x7F;
    magnitude >>= 7;
    if (magnitude) next |= 0x80;
    out.push_back(char(next));
  }
  return out;
}

}  // namespace

std::vector<std::string> TextStatusReply(const FakeServer& server, int parts, int queryId, bool utf8) {
  std::vector<std::string> blocks;
  blocks.push_back("\\gamename\\ut\\gamever\\451\\hostname\\" + Encode(server.name, utf8) + "\\hostport\\7777" +
                   "\\maptitle\\" + Encode(server.map, utf8) + "\\mapname\\" + Encode(server.map, utf8) +
                   "\\gametype\\" + Encode(server.gameType, utf8) + "\\numplayers\\" +
                   std::to_string(server.players.size()) + "\\maxplayers\\" + std::to_string(server.maxPlayers) +
                   "\\gamemode\\openplaying");
  std::string rules;
  for (const auto& [key, value] : server.rules) rules += "\\" + Encode(key, utf8) + "\\" + Encode(value, utf8);
  if (!rules.empty()) blocks.push_back(rules);
  for (size_t i = 0; i < server.players.size(); ++i) {
    const FakePlayer& p = server.players[i];
    const std::string n = std::to_string(i);
    blocks.push_back("\\player_" + n + "\\" + Encode(p.name, utf8) + "\\frags_" + n + "\\" + std::to_string(p.score) +
                     "\\ping_" + n + "\\ " + std::to_string(p.ping) + "\\team_" + n + "\\" + std::to_string(p.team) +
                     "\\mesh_" + n + "\\Male Commando\\skin_" + n + "\\CommandoSkins.cmdo");
  }
  // Spread the blocks over `parts` datagrams, in order.
  std::vector<std::string> datagrams(size_t(std::max(1, parts)));
  for (size_t b = 0; b < blocks.size(); ++b) datagrams[b * datagrams.size() / blocks.size()] += blocks[b];
  for (size_t d = 0; d < datagrams.size(); ++d) {
    datagrams[d] += "\\queryid\\" + std::to_string(queryId) + "." + std::to_string(d + 1);
    if (d + 1 == datagrams.size()) datagrams[d] += "\\final\\";
  }
  return datagrams;
}

std::string Int32Bytes(int value) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[size_t(i)] = char((unsigned(value) >> (8 * i)) & 0xFF);
  return out;
}

std::string BinaryHeader(char command, int version) { return Int32Bytes(version) + command; }

std::string BinaryString(const QString& text, bool ucs2) {
  if (ucs2) {
    std::string out = CompactIndex(-int(text.size() + 1));
    for (QChar c : text) {
      out.push_back(char(c.unicode() & 0xFF));
      out.push_back(char(c.unicode() >> 8));
    }
    return out + std::string(2, '\0');
  }
  const std::string bytes = platform::ToCp1252(text);
  return CompactIndex(int(bytes.size() + 1)) + bytes + '\0';
}

std::string BinaryInfoReply(const FakeServer& server, int version) {
  return BinaryHeader(0, version) + Int32Bytes(0) + BinaryString("127.0.0.1", false) + Int32Bytes(7777) +
         Int32Bytes(7778) + BinaryString(server.name, server.ucs2) + BinaryString(server.map, false) +
         BinaryString(server.gameType, false) + Int32Bytes(int(server.players.size())) +
         Int32Bytes(server.maxPlayers) + Int32Bytes(0) + Int32Bytes(0) + BinaryString("", false);
}

std::string BinaryRulesReply(const FakeServer& server, int version) {
  std::string out = BinaryHeader(1, version);
  for (const auto& [key, value] : server.rules) out += BinaryString(key, false) + BinaryString(value, false);
  return out;
}

std::vector<std::string> BinaryPlayersReply(const FakeServer& server, int perDatagram, int version) {
  std::vector<std::string> datagrams;
  for (size_t i = 0; i < server.players.size(); ++i) {
    if (i % size_t(perDatagram) == 0) datagrams.push_back(BinaryHeader(2, version));
    const FakePlayer& p = server.players[i];
    const int statsId = p.team == 0 ? 0x20000000 : p.team == 1 ? 0x40000000 : 0;
    datagrams.back() += Int32Bytes(int(i) + 1) + BinaryString(p.name, server.ucs2) + Int32Bytes(p.ping) +
                        Int32Bytes(p.score) + Int32Bytes(statsId);
  }
  return datagrams;
}

std::vector<std::string> RealReplyDatagrams(const QString& fileName) {
  QFile file(QStringLiteral(QUAVIK_TEST_SUPPORT_DIR "/real_replies/") + fileName);
  std::vector<std::string> datagrams;
  if (!file.open(QIODevice::ReadOnly)) return datagrams;
  for (const QByteArray& line : file.readAll().split('\n')) {
    if (!line.isEmpty()) datagrams.push_back(line.toStdString());
  }
  return datagrams;
}

std::map<int, std::vector<std::string>> RealBinaryReplies(const QString& fileName) {
  QFile file(QStringLiteral(QUAVIK_TEST_SUPPORT_DIR "/real_replies/") + fileName);
  std::map<int, std::vector<std::string>> replies;
  if (!file.open(QIODevice::ReadOnly)) return replies;
  for (const QByteArray& line : file.readAll().split('\n')) {
    const QList<QByteArray> fields = line.trimmed().split(' ');
    if (fields.size() != 2) continue;
    replies[fields[0].toInt()].push_back(QByteArray::fromHex(fields[1]).toStdString());
  }
  return replies;
}

std::vector<std::string> AnswerAs(const FakeServer& server, const std::string& request, int textParts) {
  // UT 469 servers take more after "\status\" ("\status\xserverquery").
  if (request.rfind("\\status\\", 0) == 0) return TextStatusReply(server, textParts);
  if (request.size() == 5) {
    switch (request[4]) {
      case 0: return {BinaryInfoReply(server)};
      case 1: return {BinaryRulesReply(server)};
      case 2: return BinaryPlayersReply(server);
    }
  }
  return {};
}

}  // namespace testing_support
