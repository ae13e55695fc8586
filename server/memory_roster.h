// The roster held in this process's memory (the default store): expiry is
// judged by the clock of the reports, so a restart starts empty. A report
// changes its member in place; the members are also kept in the order they
// expire, so that dropping the expired ones costs nothing while none is due.
#pragma once
#include <mutex>
#include <set>
#include <utility>

#include "roster_lines.h"
#include "roster_store.h"

namespace clan {

class MemoryRoster : public RosterStore {
 public:
  explicit MemoryRoster(RosterLimits limits) : limits_(limits) {}

  std::optional<Recorded> Report(const Member& member) override;
  bool Pin(const Member& member) override;
  Roster Current(TimePoint now) override;
  LinesAnswer Lines(TimePoint now, AnswerMemory& memory) override;

 private:
  // Puts `member` in place of any member of its name; true when added.
  bool Put(const Member& member);
  void DropExpired(TimePoint now);

  const RosterLimits limits_;
  std::mutex mutex_;
  RosterLines lines_;
  std::set<std::pair<TimePoint, std::string>> expiries_;  // of the members not pinned
  Roster current_;  // the members as last listed, until they change
};

}  // namespace clan
