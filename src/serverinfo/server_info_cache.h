// The live info of the game servers the user looks at, asked for on
// demand and kept for a while. A server is queried only when someone asks
// for it (a row hovered or a panel opened), at most once per kRefreshMs:
// an answer, or the failure of a query, is kept and handed out until then,
// and a query in flight is shared by everyone asking for the same server.
// While idle (the program sits in the tray) nothing is queried, and going
// idle abandons the queries in flight. The cache keeps at most
// kMaxServers answers (the oldest go first) and runs at most
// kMaxQueriesInFlight queries at once.
//
// Nothing here blocks or runs a nested event loop: answers arrive later
// through Answered().
#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <map>

#include "query/server_query.h"
#include "serverinfo/query_target.h"
#include "serverinfo/server_lookup.h"

namespace serverinfo {

inline constexpr qint64 kRefreshMs = 30'000;
inline constexpr int kMaxServers = 64;
inline constexpr int kMaxQueriesInFlight = 8;

class ServerInfoCache : public QObject {
  Q_OBJECT

 public:
  // Milliseconds on a clock that only moves forward; tests pass their own.
  using Clock = std::function<qint64()>;

  explicit ServerInfoCache(QObject* parent = nullptr, Clock clock = {}, int timeoutMs = query::kDefaultTimeoutMs);
  ~ServerInfoCache() override;

  // What is known of `target`; starts a query for it when one is due: no
  // answer younger than kRefreshMs, none in flight, not idle, and fewer
  // than kMaxQueriesInFlight under way.
  ServerLookup Ask(const QueryTarget& target);
  // What is known of `target`, without ever querying.
  ServerLookup Peek(const QueryTarget& target) const;
  // How long until Ask may query `target` again: 0 when it may now (idle
  // and a full set of queries in flight aside).
  qint64 MsUntilDue(const QueryTarget& target) const;

  void SetIdle(bool idle);
  bool Idle() const { return idle_; }
  int QueriesInFlight() const { return int(inFlight_.size()); }
  int ServersKept() const { return int(answers_.size()); }

 signals:
  // A query for the server of `key` (QueryTarget::Key) ended.
  void Answered(const QString& key, const query::QueryResult& result);

 private:
  struct Kept {
    query::QueryResult result;
    qint64 answeredAtMs = 0;
  };

  void Keep(const QString& key, const query::QueryResult& result);

  Clock clock_;
  int timeoutMs_;
  bool idle_ = false;
  std::map<QString, Kept> answers_;
  std::map<QString, query::ServerQuery*> inFlight_;  // children of this
};

}  // namespace serverinfo
