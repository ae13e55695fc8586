// A game server's query port on 127.0.0.1 for tests: it binds a free UDP
// port as soon as it is constructed, answers on a background thread (so a
// test may block, e.g. on a child process, while it answers) and stops in
// its destructor. The answer function turns one request datagram into the
// reply datagrams, sent in the order given: a test leaves one out (a lost
// datagram) or reorders them. Every request is counted.
#pragma once
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

class LoopbackUdpServer {
 public:
  using Answer = std::function<std::vector<std::string>(const std::string& request)>;

  // The first `ignoredRequests` requests get no reply; every reply datagram
  // waits `replyDelayMs` before it goes (a slow server; a paced stream).
  // `port` 0 takes any free port; another it binds or throws.
  explicit LoopbackUdpServer(Answer answer, int ignoredRequests = 0, int replyDelayMs = 0, unsigned short port = 0);
  ~LoopbackUdpServer();
  LoopbackUdpServer(const LoopbackUdpServer&) = delete;
  LoopbackUdpServer& operator=(const LoopbackUdpServer&) = delete;

  unsigned short Port() const { return port_; }
  int Requests() const { return requests_; }
  std::vector<std::string> RequestBytes() const;
  // The port the last request came from: where the client listens.
  unsigned short ClientPort() const { return clientPort_; }

 private:
  void Serve();

  Answer answer_;
  int ignoredRequests_;
  int replyDelayMs_;
  int fd_ = -1;
  unsigned short port_ = 0;
  std::atomic<int> requests_{0};
  std::atomic<unsigned short> clientPort_{0};
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requestBytes_;
  std::thread thread_;
};

}  // namespace testing_support
