// The roster kept as its answer: each member's four lines formatted once,
// when it reports, and the members kept in stretches of a few dozen, in name
// order, each stretch with its piece of the answer. A change rebuilds only
// its stretch's piece, at the next answer; the answer is the row of pieces,
// the same object for every request until the roster changes. Not
// thread-safe: its owner locks.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "answer_text.h"
#include "roster_store.h"

namespace clan {

class RosterLines {
 public:
  // `stretch`: members per stretch at most (split in halves beyond).
  explicit RosterLines(std::size_t stretch = 64);

  // Adds `member` or replaces the member of that name; true when added.
  bool Put(const Member& member);
  // True when there was a member of that name.
  bool Remove(const std::string& name);
  // Makes the roster exactly `members` (in name order, one per name),
  // changing only the members that differ, so the pieces of the unchanged
  // stretches stay as they are.
  void Assign(const std::vector<Member>& members);
  const Member* Find(const std::string& name) const;
  std::size_t Size() const { return size_; }
  std::vector<Member> Members() const;  // in name order

  // The four-line answer; none when the answer memory has no room for a
  // piece that changed (asked again next time).
  AnswerRef Answer(AnswerMemory& memory);

 private:
  struct Entry {
    Member member;
    std::string record;  // its four lines
  };
  struct Stretch {
    std::vector<Entry> entries;  // never empty, in name order
    PieceRef piece;              // none while changed
  };

  // The stretch that holds `name` or would take it; only on a non-empty roster.
  std::size_t StretchFor(const std::string& name) const;
  void Changed(Stretch& stretch);

  const std::size_t stretchSize_;
  std::vector<Stretch> stretches_;
  std::size_t size_ = 0;
  AnswerRef answer_;
};

}  // namespace clan
