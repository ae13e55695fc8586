#include "answer_memory.h"

#include <malloc.h>

#include <atomic>

namespace clan {
namespace {

// A body of this size or more gives its memory back when freed.
constexpr std::size_t kLargeBody = 1 << 20;

}  // namespace

struct AnswerMemory::Count {
  std::atomic<std::size_t> held = 0;
};

AnswerMemory::AnswerMemory(std::size_t bound) : bound_(bound), count_(std::make_shared<Count>()) {}

bool AnswerMemory::HasRoom() const { return Held() < bound_; }

std::size_t AnswerMemory::Held() const { return count_->held.load(); }

std::shared_ptr<void> AnswerMemory::Reserve(std::size_t bytes) {
  for (std::size_t held = count_->held.load();;) {
    if (held + bytes > bound_) return nullptr;
    if (count_->held.compare_exchange_weak(held, held + bytes)) break;
  }
  // The token owns nothing but its share (it points at the count only to be
  // non-empty): its deleter gives the share back.
  return std::shared_ptr<void>(static_cast<void*>(count_.get()), [count = count_, bytes](void*) {
    count->held -= bytes;
    if (bytes >= kLargeBody) malloc_trim(0);
  });
}

}  // namespace clan
