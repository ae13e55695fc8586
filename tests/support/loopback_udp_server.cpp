#include "support/loopback_udp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace testing_support {

LoopbackUdpServer::LoopbackUdpServer(Answer answer, int ignoredRequests, int replyDelayMs, unsigned short port)
    : answer_(std::move(answer)), ignoredRequests_(ignoredRequests), replyDelayMs_(replyDelayMs) {
  fd_ = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  socklen_t length = sizeof address;
  if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    throw std::runtime_error("loopback UDP server: no port");
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

LoopbackUdpServer::~LoopbackUdpServer() {
  stop_ = true;
  thread_.join();
  ::close(fd_);
}

std::vector<std::string> LoopbackUdpServer::RequestBytes() const {
  std::lock_guard lock(mutex_);
  return requestBytes_;
}

void LoopbackUdpServer::Serve() {
  std::vector<char> buffer(65536);
  while (!stop_) {
    pollfd ready{fd_, POLLIN, 0};
    if (::poll(&ready, 1, 20) <= 0) continue;
    sockaddr_storage from{};
    socklen_t fromLength = sizeof from;
    const ssize_t got = ::recvfrom(fd_, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (got < 0) continue;
    const std::string request(buffer.data(), size_t(got));
    {
      std::lock_guard lock(mutex_);
      requestBytes_.push_back(request);
    }
    if (from.ss_family == AF_INET) clientPort_ = ntohs(reinterpret_cast<const sockaddr_in*>(&from)->sin_port);
    if (++requests_ <= ignoredRequests_) continue;
    for (const std::string& reply : answer_(request)) {
      if (replyDelayMs_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(replyDelayMs_));
      ::sendto(fd_, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from), fromLength);
    }
  }
}

}  // namespace testing_support
