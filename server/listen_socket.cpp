#include "listen_socket.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace clan {
namespace {

// The reason a socket could not be bound or made to listen, with what the
// administrator can do about the common ones.
std::string ListenError(int error) {
  switch (error) {
    case EADDRINUSE:
      return "address already in use (another program, or a second quavik-clan-server, "
             "listens on this port)";
    case EACCES:
    case EPERM:
      return "permission denied (a port below 1024 needs root or the capability "
             "CAP_NET_BIND_SERVICE; choose a port from 1024 on)";
    case EADDRNOTAVAIL:
      return "cannot assign requested address (no network interface of this machine has "
             "this address)";
    default:
      return std::strerror(error);
  }
}

}  // namespace

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
  ListenSocket out;
  const int lookup =
      getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &found);
  if (lookup != 0) {
    out.error = lookup == EAI_SYSTEM ? ListenError(errno)
                                     : std::string("unknown address (") + gai_strerror(lookup) + ")";
    return out;
  }
  for (addrinfo* at = found; at && out.fd < 0; at = at->ai_next) {
    const int fd = socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC, at->ai_protocol);
    if (fd < 0) {
      out.error = ListenError(errno);
      continue;
    }
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (bind(fd, at->ai_addr, at->ai_addrlen) != 0 || listen(fd, SystemListenBacklog()) != 0) {
      out.error = ListenError(errno);
      close(fd);
      continue;
    }
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
    out.fd = fd;
    out.error.clear();
    out.port = bound.ss_family == AF_INET6
                   ? ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port)
                   : ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
  }
  freeaddrinfo(found);
  return out;
}

}  // namespace clan
