#include "roster_lines.h"

#include <algorithm>

#include "roster_answer.h"

namespace clan {
namespace {

bool Before(const std::string& a, const std::string& b) { return NameOrder()(a, b); }

}  // namespace

RosterLines::RosterLines(std::size_t stretch) : stretchSize_(std::max<std::size_t>(2, stretch)) {}

std::size_t RosterLines::StretchFor(const std::string& name) const {
  // The last stretch whose first member does not come after `name`.
  const auto after = std::upper_bound(
      stretches_.begin(), stretches_.end(), name,
      [](const std::string& key, const Stretch& s) { return Before(key, s.entries.front().member.name); });
  return after == stretches_.begin() ? 0 : static_cast<std::size_t>(after - stretches_.begin()) - 1;
}

void RosterLines::Changed(Stretch& stretch) {
  stretch.piece.reset();
  answer_.reset();
}

bool RosterLines::Put(const Member& member) {
  Entry entry{member, AnswerRecord(member)};
  if (stretches_.empty()) {
    stretches_.push_back({{std::move(entry)}, nullptr});
    ++size_;
    answer_.reset();
    return true;
  }
  const std::size_t index = StretchFor(member.name);
  Stretch& stretch = stretches_[index];
  auto& entries = stretch.entries;
  const auto at = std::lower_bound(
      entries.begin(), entries.end(), member.name,
      [](const Entry& e, const std::string& key) { return Before(e.member.name, key); });
  Changed(stretch);
  if (at != entries.end() && at->member.name == member.name) {
    *at = std::move(entry);
    return false;
  }
  entries.insert(at, std::move(entry));
  ++size_;
  if (entries.size() > stretchSize_) {
    Stretch upper;
    upper.entries.assign(std::make_move_iterator(entries.begin() + entries.size() / 2),
                         std::make_move_iterator(entries.end()));
    entries.resize(entries.size() / 2);
    stretches_.insert(stretches_.begin() + index + 1, std::move(upper));
  }
  return true;
}

bool RosterLines::Remove(const std::string& name) {
  if (stretches_.empty()) return false;
  const std::size_t index = StretchFor(name);
  auto& entries = stretches_[index].entries;
  const auto at = std::lower_bound(
      entries.begin(), entries.end(), name,
      [](const Entry& e, const std::string& key) { return Before(e.member.name, key); });
  if (at == entries.end() || at->member.name != name) return false;
  entries.erase(at);
  --size_;
  Changed(stretches_[index]);
  if (entries.empty()) stretches_.erase(stretches_.begin() + index);
  return true;
}

void RosterLines::Assign(const std::vector<Member>& members) {
  std::vector<std::string> gone;
  auto next = members.begin();
  for (const Stretch& stretch : stretches_) {
    for (const Entry& entry : stretch.entries) {
      while (next != members.end() && Before(next->name, entry.member.name)) ++next;
      if (next == members.end() || next->name != entry.member.name) gone.push_back(entry.member.name);
    }
  }
  for (const std::string& name : gone) Remove(name);
  for (const Member& member : members) {
    const Member* kept = Find(member.name);
    if (!kept || !(*kept == member)) Put(member);
  }
}

const Member* RosterLines::Find(const std::string& name) const {
  if (stretches_.empty()) return nullptr;
  const auto& entries = stretches_[StretchFor(name)].entries;
  const auto at = std::lower_bound(
      entries.begin(), entries.end(), name,
      [](const Entry& e, const std::string& key) { return Before(e.member.name, key); });
  return at != entries.end() && at->member.name == name ? &at->member : nullptr;
}

std::vector<Member> RosterLines::Members() const {
  std::vector<Member> out;
  out.reserve(size_);
  for (const Stretch& stretch : stretches_) {
    for (const Entry& entry : stretch.entries) out.push_back(entry.member);
  }
  return out;
}

AnswerRef RosterLines::Answer(AnswerMemory& memory) {
  if (answer_) return answer_;
  std::vector<PieceRef> pieces;
  pieces.reserve(stretches_.size());
  for (Stretch& stretch : stretches_) {
    if (!stretch.piece) {
      std::size_t bytes = 0;
      for (const Entry& entry : stretch.entries) bytes += entry.record.size();
      auto held = memory.Reserve(bytes);
      if (!held) return nullptr;
      std::string text;
      text.reserve(bytes);
      for (const Entry& entry : stretch.entries) text += entry.record;
      stretch.piece = std::make_shared<const AnswerPiece>(std::move(text), std::move(held));
    }
    pieces.push_back(stretch.piece);
  }
  answer_ = std::make_shared<const AnswerText>(std::move(pieces));
  return answer_;
}

}  // namespace clan
