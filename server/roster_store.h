// The roster of members that reported recently, one entry per name (names
// compare byte for byte), behind an interface with a store in memory and a
// shared one (Redis) for several server instances.
//
// A member stays listed until more than `expire` has passed since its last
// report; a member whose last report said "offline" stays only for
// `offlineLinger`. Pinned members (a seeded demo roster) never expire, until
// a real report under the same name makes them ordinary members. The roster
// holds at most `maxMembers` names; a new name beyond that is not recorded.
// A store whose backing service can't be reached says so (nullopt, false,
// no roster) instead of answering a wrong roster. All methods may be called
// from several threads at once.
#pragma once
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "answer_text.h"

namespace clan {

using TimePoint = std::chrono::system_clock::time_point;
using Clock = std::function<TimePoint()>;

struct Member {
  std::string name;
  std::string server;  // as reported, placeholders with their marks
  std::string map;
  TimePoint reported;
  bool pinned = false;

  bool operator==(const Member&) const = default;
};

// The members listed at one moment, read-only, so that it can be shared by
// every request that answers with it; the same roster may come as the same
// object again.
using Roster = std::shared_ptr<const std::vector<Member>>;

struct RosterLimits {
  std::chrono::milliseconds expire{15 * 60 * 1000};
  std::chrono::milliseconds offlineLinger{5 * 60 * 1000};
  std::size_t maxMembers = 10000;
};

// Names by their letters without regard to ASCII case; names that differ
// only in case follow each other in byte order.
struct NameOrder {
  bool operator()(const std::string& a, const std::string& b) const;
};

enum class Recorded { kAdded, kUpdated, kRosterFull };

// The four-line answer of a roster: none while the store can't be reached
// (`reachable` false) or while the answer memory has no room for it.
struct LinesAnswer {
  bool reachable = true;
  AnswerRef text;
};

class RosterStore {
 public:
  virtual ~RosterStore() = default;

  // Records a report of `member.name` made at `member.reported`;
  // `member.pinned` is ignored. nullopt: the store can't be reached.
  virtual std::optional<Recorded> Report(const Member& member) = 0;
  // Adds or replaces a member that never expires; ignores the member limit.
  // False: the store can't be reached.
  virtual bool Pin(const Member& member) = 0;
  // The members still listed at `now`, ordered by NameOrder. None: the
  // store can't be reached.
  virtual Roster Current(TimePoint now) = 0;
  // The same members as their four-line answer, kept between reports so
  // that a report costs what it changes.
  virtual LinesAnswer Lines(TimePoint now, AnswerMemory& memory) = 0;
};

// How long a member of this last report stays listed.
std::chrono::milliseconds KeepFor(const Member& member, const RosterLimits& limits);

}  // namespace clan
