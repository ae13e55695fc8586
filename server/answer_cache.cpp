#include "answer_cache.h"

namespace clan {

AnswerCache::AnswerCache(AnswerMemory& memory, Build build)
    : memory_(memory), build_(std::move(build)) {}

AnswerRef AnswerCache::For(const Roster& roster) {
  std::lock_guard lock(mutex_);
  if (body_ && (roster_ == roster || *roster_ == *roster)) {
    roster_ = roster;  // the next request with this roster needs no comparing
    return body_;
  }
  // The last answer is of an older roster: it stays with the requests still
  // sending it, and leaves room for the new one when they are done.
  body_.reset();
  roster_.reset();
  if (!memory_.HasRoom()) return nullptr;
  std::string text = build_(*roster);
  text.shrink_to_fit();
  auto held = memory_.Reserve(text.capacity());
  if (!held) return nullptr;
  body_ = std::make_shared<const AnswerText>(
      std::vector<PieceRef>{std::make_shared<const AnswerPiece>(std::move(text), std::move(held))});
  roster_ = roster;
  return body_;
}

}  // namespace clan
