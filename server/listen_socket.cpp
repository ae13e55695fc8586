#include "listen_socket.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>

namespace clan {

int SystemListenBacklog() {
  std::ifstream in("/proc/sys/net/core/somaxconn");
  int backlog = 0;
  if (in >> backlog && backlog > 0) return backlog;
  return SOMAXCONN;
}

ListenSocket OpenListenSocket(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &found) != 0) {
    return {};
  }
  ListenSocket out;
  for (addrinfo* at = found; at && out.fd < 0; at = at->ai_next) {
    const int fd = socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC, at->ai_protocol);
    if (fd < 0) continue;
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (bind(fd, at->ai_addr, at->ai_addrlen) != 0 || listen(fd, SystemListenBacklog()) != 0) {
      close(fd);
      continue;
    }
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
    out.fd = fd;
    out.port = bound.ss_family == AF_INET6
                   ? ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port)
                   : ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
  }
  freeaddrinfo(found);
  return out;
}

}  // namespace clan
