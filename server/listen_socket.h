// A listening TCP socket for the server: address reuse, so that a restart can
// bind while old connections linger, but no port sharing (a second server on
// the same port would silently take half of the reports into a roster of its
// own), and the longest accept queue the system allows, so that a burst of
// clients waits in the queue instead of being turned away.
#pragma once
#include <string>

namespace clan {

struct ListenSocket {
  int fd = -1;
  int port = 0;        // the bound port, also when 0 was asked for
  std::string error;   // when fd is -1: why, in words for the administrator
};

// Binds `host` (a numeric address or a host name) and `port`, and listens.
// fd is -1 when no address of `host` can be bound; `error` then names the
// reason of the last address tried (in use, not on this machine, no
// permission for the port, unknown host).
ListenSocket OpenListenSocket(const std::string& host, int port);

// The accept queue length the system allows (net.core.somaxconn).
int SystemListenBacklog();

}  // namespace clan
