#include "cli/find_player_output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "query/display_text.h"

namespace {

QString Shown(const QString& text) {
  QString shown = query::WithoutColourCodes(text);
  // A lone surrogate has no UTF-8 form: it becomes the replacement character.
  for (qsizetype i = 0; i < shown.size(); ++i) {
    const QChar c = shown[i];
    if (c.isHighSurrogate() && i + 1 < shown.size() && shown[i + 1].isLowSurrogate()) {
      ++i;
    } else if (c.isSurrogate()) {
      shown[i] = QChar::ReplacementCharacter;
    }
  }
  return shown;
}

QString Field(const QString& text) {
  QString field = Shown(text);
  for (QChar& c : field) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return field;
}

QString Count(int value) { return value < 0 ? QString() : QString::number(value); }

QJsonValue Number(int value) { return value < 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(value); }

QByteArray Line(const QStringList& fields) { return (fields.join('\t') + '\n').toUtf8(); }

QJsonObject ServerFields(const FoundServer& s) {
  return QJsonObject{{"server", s.JoinAddress()},       {"server_name", Shown(s.name)},
                     {"map", Shown(s.map)},             {"gametype", Shown(s.gameType)},
                     {"players", Number(s.players)},    {"max_players", Number(s.maxPlayers)},
                     {"ping", Number(s.pingMs)}};
}

QJsonObject SummaryObject(const FinderSummary& summary) {
  QJsonArray masters;
  for (const MasterOutcome& m : summary.masters) {
    masters.append(QJsonObject{{"master", m.master},
                               {"servers", m.servers},
                               {"error", m.error.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(m.error)}});
  }
  QJsonObject object{{"game", summary.game},
                     {"masters", masters},
                     {"servers_listed", summary.serversListed},
                     {"servers_answered", summary.serversAnswered},
                     {"seconds", std::round(summary.seconds * 10) / 10}};
  if (summary.mode == FinderMode::FindPlayer) object.insert("player", Shown(summary.player));
  return object;
}

QByteArray Document(const QJsonObject& object) { return QJsonDocument(object).toJson(QJsonDocument::Compact) + "\n"; }

}  // namespace

QString FoundServer::JoinAddress() const { return QStringLiteral("%1:%2").arg(address).arg(joinPort); }

QByteArray FormatMatchLine(const FoundPlayer& m) {
  const FoundServer& s = m.server;
  return Line({Field(m.name), s.JoinAddress(), Field(s.name), Field(s.map), Field(s.gameType), Count(s.players),
               Count(s.maxPlayers), QString::number(m.score), QString::number(m.pingMs), QString::number(m.team)});
}

QByteArray FormatServerLine(const FoundServer& s) {
  return Line({s.JoinAddress(), QString::number(s.queryPort), s.answered ? "answered" : "silent", Field(s.name),
               Field(s.map), Field(s.gameType), Count(s.players), Count(s.maxPlayers), Count(s.pingMs),
               s.masters.join(',')});
}

QByteArray FormatFindJson(const FinderSummary& summary, const std::vector<FoundPlayer>& matches) {
  QJsonArray list;
  for (const FoundPlayer& m : matches) {
    QJsonObject match = ServerFields(m.server);
    match.insert("name", Shown(m.name));
    match.insert("score", m.score);
    match.insert("ping", m.pingMs);  // the player's own ping
    match.insert("team", m.team);
    list.append(match);
  }
  QJsonObject object = SummaryObject(summary);
  object.insert("matches", list);
  return Document(object);
}

QByteArray FormatListJson(const FinderSummary& summary, const std::vector<FoundServer>& servers) {
  QJsonArray list;
  for (const FoundServer& s : servers) {
    QJsonObject server = ServerFields(s);
    server.insert("query_port", s.queryPort);
    server.insert("masters", QJsonArray::fromStringList(s.masters));
    server.insert("answered", s.answered);
    list.append(server);
  }
  QJsonObject object = SummaryObject(summary);
  object.insert("servers", list);
  return Document(object);
}

QString ProgressLine(int answered, int listed, qint64 elapsedMs) {
  return QStringLiteral("%1 of %2 servers answered, %3 s").arg(answered).arg(listed).arg(elapsedMs / 1000);
}

int FinderExitCode(FinderMode mode, bool haveList, size_t matches) {
  if (!haveList) return 3;
  if (mode == FinderMode::ListServers) return 0;
  return matches > 0 ? 0 : 1;
}
