// Test fixture: a ClanScript served over real HTTP on a free loopback port,
// and a way to send raw bytes that no well-behaved client would send.
#pragma once
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "clan_http_server.h"

namespace clan::testing {

class LoopbackServer {
 public:
  explicit LoopbackServer(ScriptConfig config);
  ~LoopbackServer();

  int port() const { return port_; }
  std::vector<std::string> LogLines();

 private:
  ClanScript script_;
  std::mutex logMutex_;
  std::vector<std::string> log_;
  ClanHttpServer server_;
  int port_ = -1;
  std::thread serving_;
};

// Sends `request` as it is and returns everything the server answers until
// it closes the connection (or a few seconds pass).
std::string RawExchange(int port, const std::string& request);

}  // namespace clan::testing
