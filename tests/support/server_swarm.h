// Many game servers' query ports on loopback for sweep tests and benchmarks:
// each server its own UDP socket on its own address 127.1.x.y (a port the
// system picks), all served by one background thread. Each server answers
// as its FakeServer describes, in the text or the binary protocol, with a
// behaviour of its own (silent, slow, out of order, ...). Requests are
// counted per server, and the swarm keeps the peak number of servers asked
// and not yet answered (silent ones aside): a client with more queries in
// flight than it may have shows it.
//
// The open-file limit is raised to its hard limit when the swarm needs more
// sockets than the soft one allows; a swarm that cannot bind throws.
#pragma once
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/game_server_replies.h"

namespace testing_support {

enum class SwarmBehaviour {
  Normal,
  Silent,        // never answers
  Slow,          // answers `delayMs` after each request
  OutOfOrder,    // the reply's datagrams in reverse order (text: three datagrams)
  OnlyOnRetry,   // ignores its first request
  LosesPlayers,  // binary: ignores its first players request
  Stranger,      // answers from another port of its address
  Hostile,       // answers each request with a flood of datagrams, each a reply of its own
};

struct SwarmServer {
  FakeServer server;
  bool binary = false;  // the Engine 2 query, else the Engine 1 text query
  SwarmBehaviour behaviour = SwarmBehaviour::Normal;
  int delayMs = 0;
};

class ServerSwarm {
 public:
  explicit ServerSwarm(std::vector<SwarmServer> servers);
  ~ServerSwarm();
  ServerSwarm(const ServerSwarm&) = delete;
  ServerSwarm& operator=(const ServerSwarm&) = delete;

  struct Endpoint {
    std::string address;  // "127.1.0.1"
    unsigned short port = 0;
  };
  // Where each server listens, in the order the servers were given.
  const std::vector<Endpoint>& Endpoints() const { return endpoints_; }
  size_t Size() const { return endpoints_.size(); }

  // Requests server `i` received: all, or those whose binary command byte is `command`.
  int Requests(size_t i) const;
  int BinaryRequests(size_t i, char command) const;
  int TotalRequests() const;
  // The most servers that were asked and had not answered at one time.
  int PeakOutstanding() const { return peakOutstanding_; }

 private:
  struct Server;
  struct Pending;
  void Serve();
  void Answer(Server& server, const std::string& request, const void* to, unsigned toLength);

  std::vector<std::unique_ptr<Server>> servers_;
  std::vector<Endpoint> endpoints_;
  int epoll_ = -1;
  int wake_ = -1;  // an eventfd that ends the thread
  std::atomic<int> peakOutstanding_{0};
  int outstanding_ = 0;
  std::vector<Pending> pending_;  // slow replies, by due time (thread only)
  mutable std::mutex mutex_;
  std::thread thread_;
};

// A swarm for benchmarks and the stand-in: `count` servers of `protocol`
// with a few players each, `silentPercent` of them silent, chosen by
// `seed`. `extraPlayers` puts a player of that name on the server of that
// position.
std::vector<SwarmServer> RandomSwarm(int count, int silentPercent, bool binary, unsigned seed,
                                     const std::vector<std::pair<QString, int>>& extraPlayers = {});

}  // namespace testing_support
