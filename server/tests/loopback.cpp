#include "loopback.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace clan::testing {

LoopbackServer::LoopbackServer(ScriptConfig config)
    : script_(std::move(config), [] { return std::chrono::system_clock::now(); }),
      server_(script_, [this](const std::string& line) {
        std::lock_guard lock(logMutex_);
        log_.push_back(line);
      }) {
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

std::string RawExchange(int port, const std::string& request) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return {};
  timeval timeout{5, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    shutdown(fd, SHUT_WR);
    char buffer[4096];
    for (ssize_t got; (got = recv(fd, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, got);
  }
  close(fd);
  return answer;
}

}  // namespace clan::testing
