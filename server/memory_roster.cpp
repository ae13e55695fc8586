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
  return added ? Recorded::kAdded : Recorded::kUpdated;
}

bool MemoryRoster::Pin(const Member& member) {
  std::lock_guard lock(mutex_);
  const auto entry = members_.insert_or_assign(member.name, member).first;
  entry->second.pinned = true;
  return true;
}

std::optional<std::vector<Member>> MemoryRoster::Current(TimePoint now) {
  std::lock_guard lock(mutex_);
  DropExpired(now);
  std::vector<Member> out;
  out.reserve(members_.size());
  for (const auto& [name, member] : members_) out.push_back(member);
  return out;
}

bool MemoryRoster::Expired(const Member& member, TimePoint now) const {
  return !member.pinned && now - member.reported > KeepFor(member, limits_);
}

void MemoryRoster::DropExpired(TimePoint now) {
  std::erase_if(members_, [&](const auto& entry) { return Expired(entry.second, now); });
}

}  // namespace clan
