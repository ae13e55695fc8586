#include "serverinfo/query_target.h"

#include "game/game_profile.h"
#include "game/server_address.h"

namespace serverinfo {

QString QueryTarget::Key() const {
  return QStringLiteral("%1/%2:%3").arg(protocol == query::QueryProtocol::Binary ? "binary" : "text", host).arg(queryPort);
}

namespace {

// The game port after the address: the leading digits of what follows ":".
std::optional<int> GamePortOf(const QString& serverText) {
  const qsizetype colon = serverText.indexOf(':');
  if (colon < 0) return kDefaultGamePort;
  qint64 port = 0;
  qsizetype i = colon + 1;
  for (; i < serverText.size() && serverText.at(i).isDigit() && serverText.at(i).unicode() < 128; ++i) {
    port = port * 10 + (serverText.at(i).unicode() - '0');
    if (port > 65534) return std::nullopt;
  }
  if (i == colon + 1 || port < 1) return std::nullopt;
  return int(port);
}

}  // namespace

std::optional<QueryTarget> QueryTargetFor(const QString& serverText, int gameIndex) {
  if (!game::IsValidServerIP(serverText, false)) return std::nullopt;
  const std::optional<int> gamePort = GamePortOf(serverText);
  if (!gamePort) return std::nullopt;
  QueryTarget target;
  target.host = serverText.left(serverText.indexOf(':'));
  target.queryPort = quint16(*gamePort + 1);
  target.protocol = game::GameProfileFor(gameIndex).unrealEngine2 ? query::QueryProtocol::Binary : query::QueryProtocol::Text;
  return target;
}

}  // namespace serverinfo
