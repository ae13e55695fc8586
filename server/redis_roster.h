// A roster kept in Redis, so that several server instances (behind a load
// balancer, on several machines) serve one roster. Each member is one key
// that expires on its own (its time-to-live is the member's expiry, the
// shorter offline linger after a logout, none for a pinned member), so expiry
// is the store's and needs no clock agreement between the instances. A
// sorted set of the names by the time they expire, on Redis's clock, lists
// the members; a report runs as one script in Redis that costs O(log n)
// however many members there are, so the member limit holds exactly across
// instances. Keys: PREFIX + "expiry" and PREFIX + "m:" + name.
//
// Reading a large roster from Redis costs far more than the report itself,
// so the roster read is kept for `freshFor`, as its formatted answer, and
// shared by the requests of that time (and by those that come while one
// request reads it anew); this instance's own reports change it in place at
// once, so only the reports made
// through other instances, and expiries, show up to `freshFor` late, a
// moment against the minutes between two reports of a client. Any failed
// command drops it, so no request is answered from it while Redis is away.
// While requests use the roster, a thread of its own reads it anew shortly
// before it gets old, so that the threads serving connections seldom wait
// for a read of the whole roster.
#pragma once
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "redis_client.h"
#include "roster_lines.h"
#include "roster_store.h"

namespace clan {

class RedisRoster : public RosterStore {
 public:
  RedisRoster(std::shared_ptr<RedisClient> redis, std::string keyPrefix, RosterLimits limits,
              std::chrono::milliseconds freshFor = std::chrono::milliseconds(1000));
  ~RedisRoster() override;
  RedisRoster(const RedisRoster&) = delete;
  RedisRoster& operator=(const RedisRoster&) = delete;

  std::optional<Recorded> Report(const Member& member) override;
  bool Pin(const Member& member) override;
  Roster Current(TimePoint now) override;
  LinesAnswer Lines(TimePoint now, AnswerMemory& memory) override;

 private:
  // Reads the roster anew when the last read is too old; false when Redis
  // can't be reached. Takes the lock and hands it back held.
  bool Refresh(std::unique_lock<std::mutex>& lock);
  // Reads the roster (lock released meanwhile) and keeps it unless a newer
  // read came first; false when Redis can't be reached.
  bool Read(std::unique_lock<std::mutex>& lock);
  void ReadAhead();  // the thread that reads the roster before it gets old
  std::optional<std::vector<Member>> Fetch();
  void Forget();
  void Remember(const Member& member);  // a member this instance recorded

  const std::shared_ptr<RedisClient> redis_;
  const std::string expiryKey_;
  const std::string memberPrefix_;
  const RosterLimits limits_;
  const std::chrono::milliseconds freshFor_;
  std::mutex mutex_;
  std::chrono::steady_clock::time_point readAt_;
  bool reading_ = false;  // a request is reading the roster anew
  std::unique_ptr<RosterLines> read_;  // none: nothing read yet, or Redis away
  Roster current_;  // read_'s members as last listed, until they change
  bool usedSinceRead_ = false;
  bool stopping_ = false;
  std::condition_variable used_;
  std::thread readAhead_;
};

}  // namespace clan
