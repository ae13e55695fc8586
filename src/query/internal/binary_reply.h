// The Engine 2 binary query: three 5-byte requests (an int32 version, 0x79
// as clients send it, and a command byte: 0 server info, 1 rules,
// 2 players), each answered by datagrams that start with the server's
// int32 version and the command byte. The players reply may span datagrams
// and an empty server sends none: the reply is complete once the info, the
// rules and as many players as the info counts are in. Asked with
// QueryScope::InfoAndPlayers, the rules are not asked and the players
// request is a follow-up, only for a server whose info counts players.
#pragma once
#include <optional>

#include "query/reply_reader.h"

namespace query {

class BinaryReplyReader : public ReplyReader {
 public:
  // Rules that are not asked for are not waited for.
  explicit BinaryReplyReader(QueryScope scope = QueryScope::Everything)
      : scope_(scope), rulesIn_(scope == QueryScope::InfoAndPlayers) {}
  std::vector<QByteArray> Requests() const override;
  Progress Take(std::string_view datagram) override;
  std::vector<QByteArray> TakeFollowUpRequests() override;
  bool HasInfo() const override { return info_.has_value(); }
  ServerInfo Answer() const override;
  QString Error() const override { return error_; }

 private:
  Progress Fail(const QString& why);
  bool TakeInfo(std::string_view body);
  bool TakeRules(std::string_view body);
  bool TakePlayers(std::string_view body);

  QueryScope scope_;
  bool playersAsked_ = false;
  std::optional<ServerInfo> info_;
  QList<QPair<QString, QString>> rules_;
  QList<PlayerInfo> players_;
  bool rulesIn_ = false;
  size_t bytes_ = 0;
  QString error_;
};

// The team a player's stats id marks: bit 29 the red team (0), bit 30 the
// blue team (1), neither kNoTeam.
int TeamOfStatsId(std::int32_t statsId);

}  // namespace query
