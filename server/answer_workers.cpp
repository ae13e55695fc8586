#include "answer_workers.h"

namespace clan {

AnswerWorkers::AnswerWorkers(unsigned threads) {
  for (unsigned i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
}

AnswerWorkers::~AnswerWorkers() { Finish(); }

bool AnswerWorkers::Submit(const std::function<void()>& handOver, std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    if (finishing_) return false;
    handOver();
    jobs_.push_back(std::move(job));
  }
  queued_.notify_one();
  return true;
}

void AnswerWorkers::Finish() {
  {
    std::lock_guard lock(mutex_);
    finishing_ = true;
  }
  queued_.notify_all();
  for (auto& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
}

void AnswerWorkers::Work() {
  std::unique_lock lock(mutex_);
  while (true) {
    queued_.wait(lock, [this] { return finishing_ || !jobs_.empty(); });
    if (jobs_.empty()) return;  // finishing, and nothing left to do
    auto job = std::move(jobs_.front());
    jobs_.pop_front();
    lock.unlock();
    job();
    lock.lock();
  }
}

}  // namespace clan
