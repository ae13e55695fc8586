#include "memory_roster.h"

namespace clan {

bool MemoryRoster::Put(const Member& member) {
  if (const Member* old = lines_.Find(member.name); old && !old->pinned) {
    expiries_.erase({old->reported + KeepFor(*old, limits_), old->name});
  }
  if (!member.pinned) expiries_.emplace(member.reported + KeepFor(member, limits_), member.name);
  current_.reset();
  return lines_.Put(member);
}

std::optional<Recorded> MemoryRoster::Report(const Member& member) {
  std::lock_guard lock(mutex_);
  if (lines_.Size() >= limits_.maxMembers && !lines_.Find(member.name)) {
    DropExpired(member.reported);
    if (lines_.Size() >= limits_.maxMembers) return Recorded::kRosterFull;
  }
  Member reported = member;
  reported.pinned = false;
  return Put(reported) ? Recorded::kAdded : Recorded::kUpdated;
}

bool MemoryRoster::Pin(const Member& member) {
  std::lock_guard lock(mutex_);
  Member pinned = member;
  pinned.pinned = true;
  Put(pinned);
  return true;
}

Roster MemoryRoster::Current(TimePoint now) {
  std::lock_guard lock(mutex_);
  DropExpired(now);
  if (!current_) current_ = std::make_shared<const std::vector<Member>>(lines_.Members());
  return current_;
}

LinesAnswer MemoryRoster::Lines(TimePoint now, AnswerMemory& memory) {
  std::lock_guard lock(mutex_);
  DropExpired(now);
  return {true, lines_.Answer(memory)};
}

void MemoryRoster::DropExpired(TimePoint now) {
  // A member is listed while no more than its time has passed since its
  // last report: due strictly before `now`, it goes.
  while (!expiries_.empty() && expiries_.begin()->first < now) {
    lines_.Remove(expiries_.begin()->second);
    expiries_.erase(expiries_.begin());
    current_.reset();
  }
}

}  // namespace clan
