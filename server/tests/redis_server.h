// Test fixture: a real redis-server of our own on a free loopback port,
// without persistence, that a test can stop and start again on the same port.
#pragma once
#include <sys/types.h>

#include <string>

namespace clan::testing {

class RedisServer {
 public:
  RedisServer();  // started; throws when redis-server can't be started
  ~RedisServer();
  RedisServer(const RedisServer&) = delete;
  RedisServer& operator=(const RedisServer&) = delete;

  int port() const { return port_; }
  std::string Url(int database = 0) const;
  void Stop();   // ends the server and waits for it
  void Start();  // on the same port; waits until it answers

  // One server shared by the tests of this program, stopped at its end.
  static RedisServer& Shared();

 private:
  int port_ = 0;
  pid_t pid_ = -1;
};

}  // namespace clan::testing
