#include "cli/query_command.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "query/server_query.h"

namespace {

std::optional<query::QueryProtocol> ProtocolOfGame(const QString& game) {
  if (game == "ut" || game == "to") return query::QueryProtocol::Text;
  if (game == "ut2003" || game == "ut2004") return query::QueryProtocol::Binary;
  return std::nullopt;
}

std::optional<int> NumberIn(const QString& text, int low, int high) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < low || value > high) return std::nullopt;
  return value;
}

struct HostAndPort {
  QString host;
  QString port;  // empty when not given
};

// "host", "host:7777", "[::1]:7777", "::1".
std::optional<HostAndPort> SplitAddress(const QString& address) {
  if (address.startsWith('[')) {
    const qsizetype close = address.indexOf(']');
    if (close < 0) return std::nullopt;
    const QString rest = address.mid(close + 1);
    if (!rest.isEmpty() && !rest.startsWith(':')) return std::nullopt;
    return HostAndPort{address.mid(1, close - 1), rest.mid(1)};
  }
  if (address.count(':') == 1) {
    const qsizetype colon = address.indexOf(':');
    return HostAndPort{address.left(colon), address.mid(colon + 1)};
  }
  return HostAndPort{address, {}};
}

QString OneLine(QString text) {
  for (QChar& c : text) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

}  // namespace

ParsedQueryArguments ParseQueryArguments(const QStringList& arguments) {
  QString address, game, timeout, queryPort;
  bool json = false;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (a == "--json") json = true;
    else if (a == "--query" && hasValue) address = arguments[++i];
    else if (a == "--game" && hasValue) game = arguments[++i];
    else if (a == "--timeout" && hasValue) timeout = arguments[++i];
    else if (a == "--query-port" && hasValue) queryPort = arguments[++i];
    else return {std::nullopt, QStringLiteral("unusable argument: %1").arg(a)};
  }
  if (address.isEmpty()) return {std::nullopt, QStringLiteral("--query needs HOST[:PORT]")};
  const std::optional<query::QueryProtocol> protocol = ProtocolOfGame(game);
  if (!protocol) return {std::nullopt, QStringLiteral("--game must be ut, to, ut2003 or ut2004")};
  const std::optional<HostAndPort> split = SplitAddress(address);
  if (!split || split->host.isEmpty()) return {std::nullopt, QStringLiteral("unusable address: %1").arg(address)};
  QueryCommand command;
  command.host = split->host;
  command.protocol = *protocol;
  command.json = json;
  int gamePort = 7777;
  if (!split->port.isEmpty()) {
    const std::optional<int> port = NumberIn(split->port, 1, 65534);
    if (!port) return {std::nullopt, QStringLiteral("unusable port: %1").arg(split->port)};
    gamePort = *port;
  }
  command.queryPort = quint16(gamePort + 1);
  if (!queryPort.isEmpty()) {
    const std::optional<int> port = NumberIn(queryPort, 1, 65535);
    if (!port) return {std::nullopt, QStringLiteral("unusable query port: %1").arg(queryPort)};
    command.queryPort = quint16(*port);
  }
  if (!timeout.isEmpty()) {
    const std::optional<int> ms = NumberIn(timeout, 1, 60000);
    if (!ms) return {std::nullopt, QStringLiteral("--timeout takes milliseconds from 1 to 60000")};
    command.timeoutMs = *ms;
  }
  return {command, {}};
}

QByteArray FormatServerInfo(const query::ServerInfo& info, bool json) {
  if (json) {
    QJsonArray players;
    for (const query::PlayerInfo& p : info.playerList)
      players.append(QJsonObject{{"name", p.name}, {"score", p.score}, {"ping", p.ping}, {"team", p.team}});
    QJsonObject rules;
    for (const auto& [key, value] : info.rules) {
      if (!rules.contains(key)) rules.insert(key, value);
    }
    const QJsonObject object{{"server", info.name},        {"map", info.map},
                             {"gametype", info.gameType},  {"players", info.players},
                             {"max_players", info.maxPlayers}, {"ping_ms", info.pingMs},
                             {"player_list", players},     {"rules", rules}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + "\n";
  }
  QString text;
  const auto line = [&text](const QStringList& fields) { text += fields.join('\t') + '\n'; };
  line({"server", OneLine(info.name)});
  line({"map", OneLine(info.map)});
  line({"gametype", OneLine(info.gameType)});
  line({"players", QString::number(info.players)});
  line({"max_players", QString::number(info.maxPlayers)});
  line({"ping_ms", QString::number(info.pingMs)});
  for (const query::PlayerInfo& p : info.playerList)
    line({"player", OneLine(p.name), QString::number(p.score), QString::number(p.ping), QString::number(p.team)});
  for (const auto& [key, value] : info.rules) line({"rule", OneLine(key), OneLine(value)});
  return text.toUtf8();
}

QString QueryFailureText(const query::QueryResult& result) {
  switch (result.failure) {
    case query::QueryFailure::UnknownHost:
      return QStringLiteral("unknown server %1").arg(result.target);
    case query::QueryFailure::LookupTimedOut:
      return QStringLiteral("name not resolved: %1 (the resolver did not answer)").arg(result.target);
    case query::QueryFailure::NoSocket:
      return QStringLiteral("no socket for %1 (%2)").arg(result.target, result.systemError);
    case query::QueryFailure::NotSent:
      return QStringLiteral("request to %1 not sent (%2)").arg(result.target, result.systemError);
    case query::QueryFailure::NoAnswer:
      return QStringLiteral("no answer from %1").arg(result.target);
    case query::QueryFailure::BadAnswer:
      return QStringLiteral("unusable answer from %1").arg(result.target);
    case query::QueryFailure::None:
      break;
  }
  return QStringLiteral("no answer from %1").arg(result.target);
}

int RunQueryCommandLine(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QStringList arguments = application.arguments();
  arguments.removeFirst();
  const ParsedQueryArguments parsed = ParseQueryArguments(arguments);
  if (!parsed.command) {
    std::fprintf(stderr, "quavik: %s\n", qPrintable(parsed.error));
    return 2;
  }
  query::QueryResult result;
  query::ServerQuery serverQuery(parsed.command->protocol);
  QObject::connect(&serverQuery, &query::ServerQuery::Finished, &application, [&](const query::QueryResult& r) {
    result = r;
    application.quit();
  });
  serverQuery.Start(parsed.command->host, parsed.command->queryPort, parsed.command->timeoutMs);
  application.exec();
  if (!result.ok) {
    std::fprintf(stderr, "quavik: %s\n", qPrintable(QueryFailureText(result)));
    return 1;
  }
  const QByteArray text = FormatServerInfo(result.info, parsed.command->json);
  std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
  return 0;
}
