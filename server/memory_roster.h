// The roster held in this process's memory (the default store): expiry is
// judged by the clock of the reports, so a restart starts empty.
#pragma once
#include <map>
#include <mutex>

#include "roster_store.h"

namespace clan {

class MemoryRoster : public RosterStore {
 public:
  explicit MemoryRoster(RosterLimits limits) : limits_(limits) {}

  std::optional<Recorded> Report(const Member& member) override;
  bool Pin(const Member& member) override;
  Roster Current(TimePoint now) override;

 private:
  bool Expired(const Member& member, TimePoint now) const;
  bool DropExpired(TimePoint now);  // true when any member was dropped

  const RosterLimits limits_;
  std::mutex mutex_;
  std::map<std::string, Member, NameOrder> members_;
  Roster current_;  // the members as last listed, until they change
};

}  // namespace clan
