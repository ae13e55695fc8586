#include "master/list_cache.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <algorithm>
#include <string_view>

#include "master/entry_filter.h"
#include "platform/os/paths.h"
#include "platform/os/safe_write.h"

namespace master {

namespace {

const QString kFormat = QStringLiteral("quavik master lists 1");
constexpr int kMaxRecords = 64;
constexpr qsizetype kMaxEntriesPerMaster = 100000;
constexpr qsizetype kMaxTextLength = 512;

QJsonObject EncodeEntry(const ServerEntry& e) {
  // Longer texts than a reader takes are cut, so that the file reads back.
  return QJsonObject{{"address", e.address},
                     {"query_port", e.queryPort},
                     {"game_port", e.gamePort},
                     {"name", e.name.left(kMaxTextLength)},
                     {"map", e.map.left(kMaxTextLength)},
                     {"gametype", e.gameType.left(kMaxTextLength)},
                     {"players", e.players},
                     {"max_players", e.maxPlayers}};
}

// Exactly the keys `keys`, nothing more or less.
bool HasExactly(const QJsonObject& object, std::initializer_list<const char*> keys) {
  if (object.size() != qsizetype(keys.size())) return false;
  for (const char* key : keys) {
    if (!object.contains(QLatin1String(key))) return false;
  }
  return true;
}

std::optional<qint64> Integer(const QJsonValue& value, qint64 low, qint64 high) {
  if (!value.isDouble()) return std::nullopt;
  const double d = value.toDouble();
  if (d < double(low) || d > double(high) || d != double(qint64(d))) return std::nullopt;
  return qint64(d);
}

std::optional<QString> Text(const QJsonValue& value) {
  if (!value.isString()) return std::nullopt;
  QString text = value.toString();
  if (text.size() > kMaxTextLength) return std::nullopt;
  return text;
}

std::optional<ServerEntry> DecodeEntry(const QJsonValue& value, bool masterIsLocal) {
  if (!value.isObject()) return std::nullopt;
  const QJsonObject o = value.toObject();
  if (!HasExactly(o, {"address", "query_port", "game_port", "name", "map", "gametype", "players", "max_players"}))
    return std::nullopt;
  const auto address = Text(o["address"]);
  const auto queryPort = Integer(o["query_port"], 1, 65535);
  const auto gamePort = Integer(o["game_port"], 0, 65535);
  const auto name = Text(o["name"]);
  const auto map = Text(o["map"]);
  const auto gameType = Text(o["gametype"]);
  const auto players = Integer(o["players"], -1, 100000);
  const auto maxPlayers = Integer(o["max_players"], -1, 100000);
  if (!address || !queryPort || !gamePort || !name || !map || !gameType || !players || !maxPlayers)
    return std::nullopt;
  ServerEntry e;
  e.address = *address;
  e.queryPort = quint16(*queryPort);
  e.gamePort = quint16(*gamePort);
  e.name = *name;
  e.map = *map;
  e.gameType = *gameType;
  e.players = int(*players);
  e.maxPlayers = int(*maxPlayers);
  if (JudgeEntry(e, masterIsLocal) != EntryVerdict::Keep) return std::nullopt;
  return e;
}

std::optional<MasterRecord> DecodeRecord(const QJsonValue& value) {
  if (!value.isObject()) return std::nullopt;
  const QJsonObject o = value.toObject();
  if (!HasExactly(o, {"master", "address", "asked_at_ms", "error", "listed_at_ms", "servers"})) return std::nullopt;
  const auto master = Text(o["master"]);
  const auto address = Text(o["address"]);
  const auto askedAt = Integer(o["asked_at_ms"], 0, qint64(1) << 52);
  const auto error = Text(o["error"]);
  const auto listedAt = Integer(o["listed_at_ms"], 0, qint64(1) << 52);
  if (!master || master->isEmpty() || !address || !askedAt || !error || !listedAt || !o["servers"].isArray())
    return std::nullopt;
  const QJsonArray servers = o["servers"].toArray();
  if (servers.size() > kMaxEntriesPerMaster) return std::nullopt;
  if (*listedAt == 0 && !servers.isEmpty()) return std::nullopt;
  MasterRecord record{*master, *address, *askedAt, *error, *listedAt, {}};
  const bool local = IsLocalMasterAddress(record.address);
  record.entries.reserve(size_t(servers.size()));
  for (const QJsonValue& server : servers) {
    std::optional<ServerEntry> entry = DecodeEntry(server, local);
    if (!entry) return std::nullopt;
    record.entries.push_back(std::move(*entry));
  }
  return record;
}

MasterRecord& RecordOf(GameLists& lists, const QString& master) {
  for (MasterRecord& r : lists.masters) {
    if (r.master == master) return r;
  }
  lists.masters.push_back(MasterRecord{master, {}, 0, {}, 0, {}});
  return lists.masters.back();
}

}  // namespace

const MasterRecord* GameLists::Find(const QString& master) const {
  for (const MasterRecord& r : masters) {
    if (r.master == master) return &r;
  }
  return nullptr;
}

QString ListCacheFile(const QString& cacheDir, const QString& game) {
  return platform::JoinDir(cacheDir, QStringLiteral("masterlists-%1.json").arg(game));
}

QByteArray EncodeGameLists(const GameLists& lists) {
  QJsonArray records;
  for (const MasterRecord& r : lists.masters) {
    QJsonArray servers;
    for (const ServerEntry& e : r.entries) servers.append(EncodeEntry(e));
    records.append(QJsonObject{{"master", r.master},
                               {"address", r.address},
                               {"asked_at_ms", double(r.askedAtMs)},
                               {"error", r.error},
                               {"listed_at_ms", double(r.listedAtMs)},
                               {"servers", servers}});
  }
  const QJsonObject root{{"format", kFormat}, {"game", lists.game}, {"masters", records}};
  return QJsonDocument(root).toJson(QJsonDocument::Compact) + "\n";
}

std::optional<GameLists> DecodeGameLists(const QByteArray& bytes, const QString& game) {
  if (bytes.size() > kMaxCacheFileBytes) return std::nullopt;
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
  const QJsonObject root = document.object();
  if (!HasExactly(root, {"format", "game", "masters"})) return std::nullopt;
  if (root["format"] != kFormat || root["game"] != game || !root["masters"].isArray()) return std::nullopt;
  const QJsonArray records = root["masters"].toArray();
  if (records.size() > kMaxRecords) return std::nullopt;
  GameLists lists{game, {}};
  for (const QJsonValue& value : records) {
    std::optional<MasterRecord> record = DecodeRecord(value);
    if (!record || lists.Find(record->master)) return std::nullopt;
    lists.masters.push_back(std::move(*record));
  }
  return lists;
}

GameLists ReadGameLists(const QString& path, const QString& game) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return GameLists{game, {}};
  const QByteArray bytes = file.read(kMaxCacheFileBytes + 1);
  std::optional<GameLists> lists = DecodeGameLists(bytes, game);
  return lists ? std::move(*lists) : GameLists{game, {}};
}

bool WriteGameLists(const QString& path, const GameLists& lists) {
  const QByteArray bytes = EncodeGameLists(lists);
  return platform::WriteFileAtomically(path, std::string_view(bytes.constData(), size_t(bytes.size())), 0600);
}

std::vector<MasterPlan> PlanMasters(const GameLists& lists, const QStringList& masters, qint64 nowMs,
                                    bool refresh) {
  std::vector<MasterPlan> plan;
  for (const QString& master : masters) {
    MasterPlan item{master, MasterSource::Ask, 0};
    const MasterRecord* record = lists.Find(master);
    // A time in the future (the clock was set back) proves nothing.
    const auto recent = [nowMs](qint64 at) { return at > 0 && at <= nowMs && nowMs - at < kListLifetimeMs; };
    if (!refresh && record) {
      if (recent(record->listedAtMs)) {
        item.source = MasterSource::Cached;
        item.sinceMs = nowMs - record->listedAtMs;
      } else if (recent(record->askedAtMs)) {
        item.source = MasterSource::Resting;
        item.sinceMs = nowMs - record->askedAtMs;
      }
    }
    plan.push_back(item);
  }
  return plan;
}

void RecordList(GameLists& lists, const QString& master, const QString& address, qint64 nowMs,
                std::vector<ServerEntry> entries) {
  MasterRecord& r = RecordOf(lists, master);
  r.address = address;
  r.askedAtMs = nowMs;
  r.error.clear();
  r.listedAtMs = nowMs;
  r.entries = std::move(entries);
}

void RecordFailure(GameLists& lists, const QString& master, qint64 nowMs, const QString& error) {
  MasterRecord& r = RecordOf(lists, master);
  r.askedAtMs = nowMs;
  r.error = error.isEmpty() ? QStringLiteral("no list") : error.left(kMaxTextLength);
}

void PruneGameLists(GameLists& lists, qint64 nowMs) {
  constexpr qint64 kDayMs = 24 * 60 * 60 * 1000;
  std::erase_if(lists.masters, [nowMs](const MasterRecord& r) { return nowMs - r.askedAtMs > kDayMs; });
  std::stable_sort(lists.masters.begin(), lists.masters.end(),
                   [](const MasterRecord& a, const MasterRecord& b) { return a.askedAtMs > b.askedAtMs; });
  if (lists.masters.size() > size_t(kMaxRecords)) lists.masters.resize(size_t(kMaxRecords));
}

std::optional<MasterListing> FreshListing(const GameLists& lists, const QString& master, qint64 nowMs) {
  const MasterRecord* r = lists.Find(master);
  if (!r || r->listedAtMs <= 0 || r->listedAtMs > nowMs || nowMs - r->listedAtMs >= kListLifetimeMs)
    return std::nullopt;
  return MasterListing{master, r->entries};
}

}  // namespace master
