#include "query/internal/binary_reply.h"

#include <algorithm>

#include "query/byte_reader.h"

namespace query {

namespace {

constexpr char kClientVersion = 0x79;
enum Command : std::uint8_t { kInfo = 0, kRules = 1, kPlayers = 2 };

QByteArray Request(Command command) {
  const char bytes[] = {kClientVersion, 0, 0, 0, char(command)};
  return QByteArray(bytes, sizeof bytes);
}

}  // namespace

int TeamOfStatsId(std::int32_t statsId) {
  if (statsId & 0x20000000) return 0;
  if (statsId & 0x40000000) return 1;
  return kNoTeam;
}

std::vector<QByteArray> BinaryReplyReader::Requests() const {
  if (scope_ == QueryScope::InfoAndPlayers) return {Request(kInfo)};
  return {Request(kInfo), Request(kRules), Request(kPlayers)};
}

std::vector<QByteArray> BinaryReplyReader::TakeFollowUpRequests() {
  if (scope_ != QueryScope::InfoAndPlayers || playersAsked_ || !info_ || info_->players == 0) return {};
  playersAsked_ = true;
  return {Request(kPlayers)};
}

ReplyReader::Progress BinaryReplyReader::Fail(const QString& why) {
  error_ = why;
  return Progress::Failed;
}

ReplyReader::Progress BinaryReplyReader::Take(std::string_view datagram) {
  if (!error_.isEmpty()) return Progress::Failed;
  bytes_ += datagram.size();
  if (bytes_ > kMaxReplyBytes) return Fail(QStringLiteral("Antwort zu groß"));
  if (datagram.size() < 5) return Fail(QStringLiteral("Paket ohne Kopf"));
  const std::string_view body = datagram.substr(5);
  switch (std::uint8_t(datagram[4])) {
    case kInfo:
      if (!TakeInfo(body)) return Fail(QStringLiteral("Ungültige Serverinfo"));
      break;
    case kRules:
      if (!TakeRules(body)) return Fail(QStringLiteral("Ungültige Regeln"));
      break;
    case kPlayers:
      if (!TakePlayers(body)) return Fail(QStringLiteral("Ungültige Spielerliste"));
      break;
    default:
      return Progress::Waiting;  // a reply to a request we did not send
  }
  if (!info_ || !rulesIn_) return Progress::Waiting;
  return players_.size() >= std::min(info_->players, kMaxPlayers) ? Progress::Complete : Progress::Waiting;
}

bool BinaryReplyReader::TakeInfo(std::string_view body) {
  ByteReader in(body);
  ServerInfo info;
  in.Int32();   // server id
  in.String();  // the server's own address
  in.Int32();   // game port
  in.Int32();   // query port
  info.name = in.String();
  info.map = in.String();
  info.gameType = in.String();
  info.players = std::max(0, in.Int32());
  info.maxPlayers = std::max(0, in.Int32());
  // The ping, flags and skill that follow are the server's view; ours is the round trip.
  if (in.Failed()) return false;
  info_ = info;
  return true;
}

bool BinaryReplyReader::TakeRules(std::string_view body) {
  ByteReader in(body);
  while (!in.AtEnd()) {
    QString key = in.String();
    QString value = in.String();
    if (in.Failed()) return false;
    if (rules_.size() < kMaxRules) rules_.append({key, value});
  }
  rulesIn_ = true;
  return true;
}

bool BinaryReplyReader::TakePlayers(std::string_view body) {
  ByteReader in(body);
  while (!in.AtEnd()) {
    PlayerInfo player;
    in.Int32();  // player number
    player.name = in.String();
    player.ping = in.Int32();
    player.score = in.Int32();
    player.team = TeamOfStatsId(in.Int32());
    if (in.Failed()) return false;
    // A list holds the first kMaxPlayers; the rest are read and left out.
    if (players_.size() < kMaxPlayers) players_.append(player);
  }
  return true;
}

ServerInfo BinaryReplyReader::Answer() const {
  ServerInfo info = info_.value_or(ServerInfo{});
  info.rules = rules_;
  info.playerList = players_;
  return info;
}

}  // namespace query
