// Test fixture: a ClanScript served over real HTTP on a free loopback port,
// and a way to send raw bytes that no well-behaved client would send.
#pragma once
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "clan_http_server.h"

namespace clan::testing {

class LoopbackServer {
 public:
  explicit LoopbackServer(ScriptConfig config, HttpLimits limits = {});
  // With rosters of the test's own.
  LoopbackServer(ScriptConfig config, HttpLimits limits, RosterStores stores);
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

// A TCP port on 127.0.0.1 that was free a moment ago; -1 when none was found.
int FreeLoopbackPort();

// A TCP connection to `port` on 127.0.0.1 whose reads give up after
// `receiveTimeout`; -1 on failure.
int ConnectLoopback(int port, std::chrono::milliseconds receiveTimeout);

// Sends `request` as it is and returns everything the server answers until
// it closes the connection (or a few seconds pass).
std::string RawExchange(int port, const std::string& request);

// A TCP connection to `port` on 127.0.0.1 from the loopback address `source`
// (any 127.x.y.z), so that a test can play several clients; -1 on failure.
// A `receiveBuffer` in bytes keeps what the server sends mostly on its side.
int ConnectFrom(const std::string& source, int port, int receiveBuffer = 0);
// Reads until the server closes the connection or `wait` passes; true when
// it closed (or reset) the connection.
bool ClosedWithin(int fd, std::chrono::milliseconds wait, std::string* answer = nullptr);

}  // namespace clan::testing
