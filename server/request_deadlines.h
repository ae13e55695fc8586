// Holds every open connection to a deadline: a request must arrive whole and
// be answered within `allowed` of the connection opening or of the previous
// answer on it. A connection past its deadline has its socket shut down, which
// the server sees as a client that went away; so a client that trickles one
// byte at a time, or never reads its answer, holds a connection for at most
// `allowed`. A watcher thread sleeps until the nearest deadline.
#pragma once
#include <chrono>
#include <condition_variable>
#include <list>
#include <mutex>
#include <thread>

namespace clan {

class RequestDeadlines {
 public:
  struct Entry;
  using Handle = Entry*;

  explicit RequestDeadlines(std::chrono::milliseconds allowed);
  ~RequestDeadlines();
  RequestDeadlines(const RequestDeadlines&) = delete;
  RequestDeadlines& operator=(const RequestDeadlines&) = delete;

  // A connection on socket `fd` opened; its first request is due now + allowed.
  Handle Opened(int fd);
  // A request on the connection was answered; the next one gets the full time.
  void Answered(Handle handle);
  // The connection closed; must come before its socket is closed.
  void Closed(Handle handle);

 private:
  using SteadyTime = std::chrono::steady_clock::time_point;
  void Watch();

  const std::chrono::milliseconds allowed_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::list<Entry> entries_;  // in the order of their deadlines
  std::list<Entry> cut_;      // shut down, waiting for their close
  bool stopping_ = false;
  std::thread watcher_;
};

struct RequestDeadlines::Entry {
  int fd;
  SteadyTime due;
  bool cut = false;
  std::list<Entry>::iterator self;
};

}  // namespace clan
