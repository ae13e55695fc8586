#include "store_choice.h"

#include "memory_roster.h"
#include "redis_roster.h"

namespace clan {

RosterStores OpenRosterStores(const std::string& store, const RosterLimits& limits) {
  const auto redis = ParseRedisUrl(store);
  if (!redis) {
    return {std::make_unique<MemoryRoster>(limits), std::make_unique<MemoryRoster>(limits)};
  }
  auto client = std::make_shared<RedisClient>(*redis);
  return {std::make_unique<RedisRoster>(client, "quavik:clan:", limits),
          std::make_unique<RedisRoster>(client, "quavik:master:", limits)};
}

}  // namespace clan
