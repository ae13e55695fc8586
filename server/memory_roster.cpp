#include "memory_roster.h"

namespace clan {

std::optional<Recorded> MemoryRoster::Report(const Member& member) {
  std::lock_guard lock(mutex_);
  if (members_.size() >= limits_.maxMembers && !members_.contains(member.name)) {
    DropExpired(member.reported);
    if (members_.size() >= limits_.maxMembers) return Recorded::kRosterFull;
  }
  const auto [entry, added] = members_.insert_or_assign(member.name, member);
  entry->second.pinned = false;
  current_.reset();
  return added ? Recorded::kAdded : Recorded::kUpdated;
}

bool MemoryRoster::Pin(const Member& member) {
  std::lock_guard lock(mutex_);
  const auto entry = members_.insert_or_assign(member.name, member).first;
  entry->second.pinned = true;
  current_.reset();
  return true;
}

Roster MemoryRoster::Current(TimePoint now) {
  std::lock_guard lock(mutex_);
  if (DropExpired(now) || !current_) {
    auto listed = std::make_shared<std::vector<Member>>();
    listed->reserve(members_.size());
    for (const auto& [name, member] : members_) listed->push_back(member);
    current_ = std::move(listed);
  }
  return current_;
}

bool MemoryRoster::Expired(const Member& member, TimePoint now) const {
  return !member.pinned && now - member.reported > KeepFor(member, limits_);
}

bool MemoryRoster::DropExpired(TimePoint now) {
  if (std::erase_if(members_, [&](const auto& entry) { return Expired(entry.second, now); }) == 0) {
    return false;
  }
  current_.reset();
  return true;
}

}  // namespace clan
