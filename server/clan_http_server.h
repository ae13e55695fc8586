// Serves a ClanScript over HTTP, made to face the open internet: GET (or HEAD)
// on any path is a request to the script, its query keys decoded to raw bytes.
// Connections are served by a small pool of event-loop threads, so clients
// that trickle their bytes hold a connection, never a thread. Bounds (see
// HttpLimits): path and headers, the query (414 beyond), no request body
// (413), a whole request within a fixed time, connections per client address.
// Range headers are ignored. Every request that arrives whole leaves one line
// in the log sink: time, client address, method, path, roster, name, server
// and map (never the password), status and outcome.
#pragma once
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "clan_script.h"
#include "http_limits.h"

namespace clan {

class ClanHttpServer {
 public:
  using LogSink = std::function<void(const std::string& line)>;

  ClanHttpServer(ClanScript& script, LogSink log, HttpLimits limits = {});
  ~ClanHttpServer();
  ClanHttpServer(const ClanHttpServer&) = delete;
  ClanHttpServer& operator=(const ClanHttpServer&) = delete;

  // Binds `host`:`port` and listens; port 0 picks a free port. Returns the
  // bound port, or -1 when the address can't be bound; `error` (if given)
  // then says why.
  int Bind(const std::string& host, int port, std::string* error = nullptr);
  // Serves on the bound port until Stop(); false when serving failed. On
  // return every connection is closed.
  bool Run();
  // Ends Run(); may be called from any thread, also before Run() begins.
  void Stop();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
  int listenFd_ = -1;
  std::mutex mutex_;
  std::condition_variable stopped_;
  bool stopRequested_ = false;
};

}  // namespace clan
