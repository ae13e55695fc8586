#include "clan_roster.h"

#include "report_text.h"

namespace clan {
namespace {

unsigned char FoldAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

}  // namespace

bool NameOrder::operator()(const std::string& a, const std::string& b) const {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const unsigned char x = FoldAscii(a[i]);
    const unsigned char y = FoldAscii(b[i]);
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;  // names that differ only in case are still two members
}

Recorded ClanRoster::Report(const Member& member) {
  std::lock_guard lock(mutex_);
  if (members_.size() >= limits_.maxMembers && !members_.contains(member.name)) {
    DropExpired(member.reported);
    if (members_.size() >= limits_.maxMembers) return Recorded::kRosterFull;
  }
  const auto [entry, added] = members_.insert_or_assign(member.name, member);
  entry->second.pinned = false;
  return added ? Recorded::kAdded : Recorded::kUpdated;
}

void ClanRoster::Pin(const Member& member) {
  std::lock_guard lock(mutex_);
  const auto entry = members_.insert_or_assign(member.name, member).first;
  entry->second.pinned = true;
}

std::vector<Member> ClanRoster::Current(TimePoint now) {
  std::lock_guard lock(mutex_);
  DropExpired(now);
  std::vector<Member> out;
  out.reserve(members_.size());
  for (const auto& [name, member] : members_) out.push_back(member);
  return out;
}

bool ClanRoster::Expired(const Member& member, TimePoint now) const {
  if (member.pinned) return false;
  const auto keep = IsOfflineReport(member.server) ? limits_.offlineLinger : limits_.expire;
  return now - member.reported > keep;
}

void ClanRoster::DropExpired(TimePoint now) {
  std::erase_if(members_, [&](const auto& entry) { return Expired(entry.second, now); });
}

}  // namespace clan
