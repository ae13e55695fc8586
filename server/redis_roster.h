// A roster kept in Redis, so that several server instances (behind a load
// balancer, on several machines) serve one roster. Each member is one key
// that expires on its own (its time-to-live is the member's expiry, the
// shorter offline linger after a logout, none for a pinned member), so expiry
// is the store's and needs no clock agreement between the instances. A set
// of the names lists the members; a report runs as one script in Redis, so
// the member limit holds across instances. Keys: PREFIX + "names" and
// PREFIX + "m:" + name.
#pragma once
#include <memory>
#include <string>

#include "redis_client.h"
#include "roster_store.h"

namespace clan {

class RedisRoster : public RosterStore {
 public:
  RedisRoster(std::shared_ptr<RedisClient> redis, std::string keyPrefix, RosterLimits limits);

  std::optional<Recorded> Report(const Member& member) override;
  bool Pin(const Member& member) override;
  std::optional<std::vector<Member>> Current(TimePoint now) override;

 private:
  const std::shared_ptr<RedisClient> redis_;
  const std::string namesKey_;
  const std::string memberPrefix_;
  const RosterLimits limits_;
};

}  // namespace clan
