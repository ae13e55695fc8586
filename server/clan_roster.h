// The members that reported recently, one entry per name (names compare byte
// for byte). A member stays listed until more than `expire` has passed since
// its last report; a member whose last report said "offline" stays only for
// `offlineLinger`. Pinned members (a seeded demo roster) never expire, until
// a real report under the same name makes them ordinary members. The roster
// holds at most `maxMembers` names; a new name beyond that is not recorded.
// All methods may be called from several threads at once.
#pragma once
#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace clan {

using TimePoint = std::chrono::system_clock::time_point;
using Clock = std::function<TimePoint()>;

struct Member {
  std::string name;
  std::string server;  // as reported, placeholders with their marks
  std::string map;
  TimePoint reported;
  bool pinned = false;
};

struct RosterLimits {
  std::chrono::seconds expire{15 * 60};
  std::chrono::seconds offlineLinger{5 * 60};
  std::size_t maxMembers = 10000;
};

// Names by their letters without regard to ASCII case; names that differ
// only in case follow each other in byte order.
struct NameOrder {
  bool operator()(const std::string& a, const std::string& b) const;
};

enum class Recorded { kAdded, kUpdated, kRosterFull };

class ClanRoster {
 public:
  explicit ClanRoster(RosterLimits limits) : limits_(limits) {}

  // Records a report of `member.name`; `member.pinned` is ignored.
  Recorded Report(const Member& member);
  // Adds or replaces a member that never expires; ignores the member limit.
  void Pin(const Member& member);
  // The members still listed at `now`, ordered by name without regard to the
  // case of ASCII letters. Drops the others.
  std::vector<Member> Current(TimePoint now);

 private:
  bool Expired(const Member& member, TimePoint now) const;
  void DropExpired(TimePoint now);

  const RosterLimits limits_;
  std::mutex mutex_;
  std::map<std::string, Member, NameOrder> members_;
};

}  // namespace clan
