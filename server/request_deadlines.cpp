#include "request_deadlines.h"

#include <sys/socket.h>

namespace clan {

RequestDeadlines::RequestDeadlines(std::chrono::milliseconds allowed)
    : allowed_(allowed), watcher_([this] { Watch(); }) {}

RequestDeadlines::~RequestDeadlines() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  watcher_.join();
}

RequestDeadlines::Handle RequestDeadlines::Opened(int fd) {
  std::lock_guard lock(mutex_);
  const bool wasEmpty = entries_.empty();
  // Deadlines are kept in order: a new one is the latest of all.
  entries_.push_back({fd, std::chrono::steady_clock::now() + allowed_, false, {}});
  entries_.back().self = std::prev(entries_.end());
  if (wasEmpty) changed_.notify_all();
  return &entries_.back();
}

void RequestDeadlines::Answered(Handle handle) {
  std::lock_guard lock(mutex_);
  if (handle->cut) return;
  handle->due = std::chrono::steady_clock::now() + allowed_;
  entries_.splice(entries_.end(), entries_, handle->self);
}

void RequestDeadlines::Closed(Handle handle) {
  std::lock_guard lock(mutex_);
  (handle->cut ? cut_ : entries_).erase(handle->self);
}

void RequestDeadlines::Watch() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    if (entries_.empty()) {
      changed_.wait(lock);
      continue;
    }
    Entry& first = entries_.front();
    if (const SteadyTime due = first.due; std::chrono::steady_clock::now() < due) {
      changed_.wait_until(lock, due);
      continue;
    }
    // The socket stays open (its owner closes it after Closed()), so the
    // descriptor can't have been reused for another connection meanwhile.
    shutdown(first.fd, SHUT_RDWR);
    first.cut = true;
    cut_.splice(cut_.end(), entries_, first.self);
  }
}

}  // namespace clan
