// One query protocol's side of a server query: the request datagrams it
// sends and the reading of the reply datagrams as they come, in any order.
// A reader holds at most kMaxReplyBytes of reply; a reply that is larger,
// or a datagram that contradicts itself (a length past its end, a count it
// cannot hold), fails the reader instead of growing it.
#pragma once
#include <QByteArray>
#include <QString>
#include <memory>
#include <string_view>
#include <vector>

#include "query/server_info.h"

namespace query {

inline constexpr size_t kMaxReplyBytes = 256 * 1024;
inline constexpr int kMaxPlayers = 256;
inline constexpr int kMaxRules = 256;

class ReplyReader {
 public:
  enum class Progress {
    Waiting,   // more of the reply may come
    Complete,  // the whole reply is in
    Failed,    // the reply is unusable: Error() says why
  };

  virtual ~ReplyReader() = default;
  // The datagrams of one attempt, sent in this order.
  virtual std::vector<QByteArray> Requests() const = 0;
  virtual Progress Take(std::string_view datagram) = 0;
  // The requests the reply read so far calls for (the players, once the
  // info counts some), each handed out once: send them after Take().
  virtual std::vector<QByteArray> TakeFollowUpRequests() { return {}; }
  // The server's own description (name, map, counts) has arrived: the
  // reply counts as an answer even when the rest never comes.
  virtual bool HasInfo() const = 0;
  virtual ServerInfo Answer() const = 0;
  virtual QString Error() const = 0;
};

enum class QueryProtocol {
  Text,    // Engine 1 (UT, Tactical Ops): "\status\" and \key\value replies
  Binary,  // Engine 2 (UT 2003, UT 2004): the binary info, rules and players requests
};

// How much a query asks of a server: all it tells (info, rules, players,
// asked at once), or what finding players needs: the info, and the players
// only once the info counts some, so an empty server costs one datagram.
// The text query's one request always brings everything.
enum class QueryScope { Everything, InfoAndPlayers };

}  // namespace query
