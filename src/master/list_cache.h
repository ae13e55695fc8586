// What the masters of one game said lately, kept in a file of the cache
// folder so that Quavik asks each master at most once per kListLifetimeMs
// per game, and has a recent list when the masters can't be reached.
//  - One file per game; in it one record per master ("host:port"): when it
//    was last asked, why that ask gave no list, and its last list with the
//    time it came. A list for a set of masters is made of their records
//    only, never of other masters' lists.
//  - The file is replaced whole (never half-written). Reading is strict: a
//    file that is damaged, too large, of another format or another game, or
//    holds one entry the entry filter would not keep, counts as no file.
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "master/master_list.h"
#include "master/server_entry.h"

namespace master {

inline constexpr qint64 kListLifetimeMs = 15 * 60 * 1000;
inline constexpr qint64 kMaxCacheFileBytes = 16 * 1024 * 1024;

struct MasterRecord {
  QString master;          // "host:port"
  QString address;         // the numeric address it was reached on, "" when never reached
  qint64 askedAtMs = 0;    // last ask, with or without a list (ms since the epoch, UTC)
  QString error;           // why the last ask gave no list; empty when it gave one
  qint64 listedAtMs = 0;   // when `entries` came; 0 when no list ever came
  std::vector<ServerEntry> entries;  // filtered, in the order listed
};

struct GameLists {
  QString game;  // "ut", "to", "ut2003", "ut2004"
  std::vector<MasterRecord> masters;

  const MasterRecord* Find(const QString& master) const;
};

// "<cacheDir>/masterlists-<game>.json".
QString ListCacheFile(const QString& cacheDir, const QString& game);

QByteArray EncodeGameLists(const GameLists& lists);
// nullopt for anything EncodeGameLists would not have written for `game`.
std::optional<GameLists> DecodeGameLists(const QByteArray& bytes, const QString& game);

// An empty GameLists for `game` when the file is missing, unreadable or refused.
GameLists ReadGameLists(const QString& path, const QString& game);
bool WriteGameLists(const QString& path, const GameLists& lists);

// What to do about one master now.
enum class MasterSource {
  Ask,      // ask it
  Cached,   // its list is younger than kListLifetimeMs: use that
  Resting,  // asked within kListLifetimeMs without a list: not asked again yet
};
struct MasterPlan {
  QString master;
  MasterSource source = MasterSource::Ask;
  qint64 sinceMs = 0;  // Cached: the list's age; Resting: time since the last ask
};
// `refresh` (the user's wish) asks every master.
std::vector<MasterPlan> PlanMasters(const GameLists& lists, const QStringList& masters, qint64 nowMs,
                                    bool refresh);

// Records the outcome of an ask: a list, or the reason there was none (the
// master's earlier list is kept with its time).
void RecordList(GameLists& lists, const QString& master, const QString& address, qint64 nowMs,
                std::vector<ServerEntry> entries);
void RecordFailure(GameLists& lists, const QString& master, qint64 nowMs, const QString& error);

// Drops the records of masters not asked for a day, and the oldest beyond
// the number a file may hold, so that the file stays small however many
// masters were named over time.
void PruneGameLists(GameLists& lists, qint64 nowMs);

// The kept list of `master` when it is younger than kListLifetimeMs.
std::optional<MasterListing> FreshListing(const GameLists& lists, const QString& master, qint64 nowMs);

}  // namespace master
