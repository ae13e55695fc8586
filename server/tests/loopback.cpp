#include "loopback.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <poll.h>
#include <unistd.h>

#include <stdexcept>

#include "memory_roster.h"

namespace clan::testing {

LoopbackServer::LoopbackServer(ScriptConfig config, HttpLimits limits)
    : LoopbackServer(config, limits,
                     {std::make_unique<MemoryRoster>(config.limits),
                      std::make_unique<MemoryRoster>(config.limits)}) {}

LoopbackServer::LoopbackServer(ScriptConfig config, HttpLimits limits, RosterStores stores)
    : script_(std::move(config), [] { return std::chrono::system_clock::now(); },
              std::move(stores)),
      server_(
          script_,
          [this](const std::string& line) {
            std::lock_guard lock(logMutex_);
            log_.push_back(line);
          },
          limits) {
  port_ = server_.Bind("127.0.0.1", 0);
  if (port_ <= 0) throw std::runtime_error("cannot bind a loopback port");
  serving_ = std::thread([this] { server_.Run(); });
}

LoopbackServer::~LoopbackServer() {
  server_.Stop();
  serving_.join();
}

std::vector<std::string> LoopbackServer::LogLines() {
  std::lock_guard lock(logMutex_);
  return log_;
}

int FreeLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = -1;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  close(fd);
  return port;
}

int ConnectLoopback(int port, std::chrono::milliseconds receiveTimeout) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(receiveTimeout);
  timeval timeout{static_cast<time_t>(micros.count() / 1000000),
                  static_cast<suseconds_t>(micros.count() % 1000000)};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

std::string RawExchange(int port, const std::string& request) {
  const int fd = ConnectLoopback(port, std::chrono::seconds(5));
  std::string answer;
  if (fd >= 0) {
    send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    shutdown(fd, SHUT_WR);
    char buffer[4096];
    for (ssize_t got; (got = recv(fd, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, got);
    close(fd);
  }
  return answer;
}

int ConnectFrom(const std::string& source, int port, int receiveBuffer) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (receiveBuffer > 0) {
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  }
  sockaddr_in local{};
  local.sin_family = AF_INET;
  inet_pton(AF_INET, source.c_str(), &local.sin_addr);
  sockaddr_in remote{};
  remote.sin_family = AF_INET;
  remote.sin_port = htons(static_cast<uint16_t>(port));
  remote.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
      connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

bool ClosedWithin(int fd, std::chrono::milliseconds wait, std::string* answer) {
  const auto until = std::chrono::steady_clock::now() + wait;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        until - std::chrono::steady_clock::now());
    pollfd ready{fd, POLLIN, 0};
    if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) return false;
    char buffer[4096];
    const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) return true;
    if (answer) answer->append(buffer, static_cast<size_t>(got));
  }
}

}  // namespace clan::testing
