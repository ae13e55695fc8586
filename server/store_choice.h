// The rosters a server keeps, from the --store option: "memory" or a Redis
// URL (the clan and master rosters then share one connection pool, under the
// key prefixes "quavik:clan:" and "quavik:master:").
#pragma once
#include <string>

#include "clan_script.h"

namespace clan {

// `store` must be valid (the option parser checks it).
RosterStores OpenRosterStores(const std::string& store, const RosterLimits& limits);

}  // namespace clan
