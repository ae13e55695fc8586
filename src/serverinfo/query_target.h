// Which game server a roster row or a bookmark names, as a query target:
// the address, the query port (the game port + 1) and the protocol of the
// selected game. Only texts the game could join are targets: a dotted
// IPv4 address, optionally followed by ":" and the game port.
#pragma once
#include <QString>
#include <optional>

#include "query/reply_reader.h"

namespace serverinfo {

inline constexpr int kDefaultGamePort = 7777;

struct QueryTarget {
  QString host;
  quint16 queryPort = 0;
  query::QueryProtocol protocol = query::QueryProtocol::Text;

  // One key per server and protocol: rows naming the same server share it.
  QString Key() const;
  bool operator==(const QueryTarget&) const = default;
};

// `serverText` as a roster row's "Online auf:" or a bookmark holds it
// ("10.0.0.5:7777", "10.0.0.5"); `gameIndex` as the game list counts
// (Engine 2 games are asked with the binary query). No target when the
// text is no joinable address, or when what follows the ":" does not start
// with a game port from 1 to 65534 ("10.0.0.5:7777/DM-Deck16" is port 7777).
std::optional<QueryTarget> QueryTargetFor(const QString& serverText, int gameIndex);

}  // namespace serverinfo
