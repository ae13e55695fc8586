// The bounds the HTTP layer holds every client to.
#pragma once
#include <chrono>
#include <algorithm>
#include <cstddef>
#include <thread>

namespace clan {

// A connection holds memory for a request at these bounds (about 14 KB with
// the defaults, sized for a report of a few hundred bytes and a browser's
// headers), and the whole of it once it has served a request: the bounds
// are what one held connection costs.
struct HttpLimits {
  std::size_t maxPathBytes = 1024;         // the request line without its query (414 beyond)
  std::size_t maxHeaderBytes = 6 * 1024;   // all header lines together (431 beyond)
  std::size_t maxQueryBytes = 6 * 1024;    // 414 beyond
  std::chrono::milliseconds requestTime{10'000};  // to receive and answer one request
  unsigned connectionsPerAddress = 64;     // at once, from one client address
  // At once in total, also held below the open files the process may have.
  unsigned maxConnections = 20000;
  // Event-loop threads serving the connections: one per core. A request
  // costs little CPU and waits for Redis only for a short command (the
  // roster is read ahead on a thread of its own); more threads than cores
  // only take turns on them.
  unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  // Threads that work out the answers when the roster lives elsewhere
  // (Redis): the event-loop thread hands the request over and serves its
  // other connections meanwhile. 0: the event-loop threads answer themselves.
  unsigned waitingThreads = 0;
};

}  // namespace clan
