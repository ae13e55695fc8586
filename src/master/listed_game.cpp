#include "master/listed_game.h"

namespace master {

std::optional<Game> GameFromName(const QString& name) {
  if (name == QLatin1String("ut")) return Game::UT;
  if (name == QLatin1String("to")) return Game::TacticalOps;
  if (name == QLatin1String("ut2003")) return Game::UT2003;
  if (name == QLatin1String("ut2004")) return Game::UT2004;
  return std::nullopt;
}

QString GameName(Game game) {
  switch (game) {
    case Game::UT: return QStringLiteral("ut");
    case Game::TacticalOps: return QStringLiteral("to");
    case Game::UT2003: return QStringLiteral("ut2003");
    case Game::UT2004: return QStringLiteral("ut2004");
  }
  return {};
}

QStringList GameSpyNames(Game game) {
  switch (game) {
    case Game::UT: return {QStringLiteral("ut")};
    case Game::TacticalOps: return {QStringLiteral("tacticalops"), QStringLiteral("ut")};
    case Game::UT2003:
    case Game::UT2004: return {};
  }
  return {};
}

bool IsTacticalOpsGameType(const QString& gameType) {
  return gameType.startsWith(QLatin1String("s_SWAT"), Qt::CaseInsensitive);
}

bool BelongsToGame(Game game, bool listedUnderOwnName, const std::optional<QString>& answeredGameType) {
  if (game != Game::TacticalOps) return true;
  if (answeredGameType) return IsTacticalOpsGameType(*answeredGameType);
  return listedUnderOwnName;
}

}  // namespace master

namespace master {

quint16 JoinPort(Game game, const ServerEntry& entry, const std::optional<QString>& hostportRule) {
  const bool engineOne = game == Game::UT || game == Game::TacticalOps;
  if (engineOne && hostportRule) {
    bool ok = false;
    const uint port = hostportRule->trimmed().toUInt(&ok);
    if (ok && port >= 1 && port <= 65535) return quint16(port);
  }
  if (!engineOne && entry.gamePort != 0) return entry.gamePort;
  return entry.queryPort > 0 ? quint16(entry.queryPort - 1) : quint16(0);
}

}  // namespace master
