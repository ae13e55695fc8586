// Threads that work out answers which wait for a store elsewhere (Redis),
// so that an event-loop thread hands such a request over and goes on
// serving its other connections instead of waiting with all of them.
#pragma once
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace clan {

class AnswerWorkers {
 public:
  explicit AnswerWorkers(unsigned threads);
  ~AnswerWorkers();  // as Finish()
  AnswerWorkers(const AnswerWorkers&) = delete;
  AnswerWorkers& operator=(const AnswerWorkers&) = delete;

  // Runs `handOver` at once and queues `job`, unless Finish() has begun:
  // then neither runs and the result is false.
  bool Submit(const std::function<void()>& handOver, std::function<void()> job);
  // Takes no more jobs, runs the queued ones to their end and stops the threads.
  void Finish();

 private:
  void Work();

  std::mutex mutex_;
  std::condition_variable queued_;
  std::deque<std::function<void()>> jobs_;
  bool finishing_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace clan
