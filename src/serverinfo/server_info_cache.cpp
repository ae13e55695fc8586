#include "serverinfo/server_info_cache.h"

#include <algorithm>
#include <chrono>

namespace serverinfo {

namespace {

qint64 SteadyMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

ServerInfoCache::ServerInfoCache(QObject* parent, Clock clock, int timeoutMs)
    : QObject(parent), clock_(clock ? std::move(clock) : Clock(&SteadyMs)), timeoutMs_(timeoutMs) {}

ServerInfoCache::~ServerInfoCache() = default;

ServerLookup ServerInfoCache::Peek(const QueryTarget& target) const {
  const QString key = target.Key();
  ServerLookup lookup;
  lookup.pending = inFlight_.count(key) > 0;
  if (const auto kept = answers_.find(key); kept != answers_.end()) {
    lookup.result = kept->second.result;
    lookup.ageMs = std::max<qint64>(0, clock_() - kept->second.answeredAtMs);
  }
  return lookup;
}

qint64 ServerInfoCache::MsUntilDue(const QueryTarget& target) const {
  const QString key = target.Key();
  if (inFlight_.count(key) > 0) return kRefreshMs;
  const auto kept = answers_.find(key);
  if (kept == answers_.end()) return 0;
  return std::clamp<qint64>(kept->second.answeredAtMs + kRefreshMs - clock_(), 0, kRefreshMs);
}

ServerLookup ServerInfoCache::Ask(const QueryTarget& target) {
  if (idle_ || MsUntilDue(target) > 0 || QueriesInFlight() >= kMaxQueriesInFlight) return Peek(target);
  const QString key = target.Key();
  auto* serverQuery = new query::ServerQuery(target.protocol, this);
  inFlight_[key] = serverQuery;
  connect(serverQuery, &query::ServerQuery::Finished, this, [this, key, serverQuery](const query::QueryResult& result) {
    // Deleted later: the query is still inside its own signal.
    serverQuery->deleteLater();
    inFlight_.erase(key);
    Keep(key, result);
    emit Answered(key, result);
  });
  serverQuery->Start(target.host, target.queryPort, timeoutMs_);
  return Peek(target);
}

void ServerInfoCache::Keep(const QString& key, const query::QueryResult& result) {
  answers_[key] = Kept{result, clock_()};
  if (answers_.size() <= size_t(kMaxServers)) return;
  // The oldest other answer goes; on a tie the new one stays all the same.
  auto oldest = answers_.end();
  for (auto it = answers_.begin(); it != answers_.end(); ++it) {
    if (it->first != key && (oldest == answers_.end() || it->second.answeredAtMs < oldest->second.answeredAtMs))
      oldest = it;
  }
  answers_.erase(oldest);
}

void ServerInfoCache::SetIdle(bool idle) {
  idle_ = idle;
  if (!idle_) return;
  // A query deleted before it finished emits nothing and sends no retry.
  for (auto& [key, serverQuery] : inFlight_) delete serverQuery;
  inFlight_.clear();
}

}  // namespace serverinfo
