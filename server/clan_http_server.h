// Serves a ClanScript over HTTP (cpp-httplib): a GET on any path is a request
// to the script, its query keys decoded to raw bytes. Every request leaves one
// line in the log sink: time, client address, method, path, roster, name,
// server and map (never the password), status and outcome.
#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "clan_script.h"

namespace httplib {
class Server;
}

namespace clan {

class ClanHttpServer {
 public:
  using LogSink = std::function<void(const std::string& line)>;

  ClanHttpServer(ClanScript& script, LogSink log);
  ~ClanHttpServer();
  ClanHttpServer(const ClanHttpServer&) = delete;
  ClanHttpServer& operator=(const ClanHttpServer&) = delete;

  // Binds `host`:`port`; port 0 picks a free port. Returns the bound port, or
  // -1 when the address can't be bound.
  int Bind(const std::string& host, int port);
  // Serves on the bound port until Stop(); false when serving failed.
  bool Run();
  // Ends Run(); may be called from any thread, also before Run() begins.
  void Stop();

 private:
  std::unique_ptr<httplib::Server> server_;
  std::atomic<bool> runEntered_{false};
  std::atomic<bool> runDone_{false};
  std::atomic<bool> stopRequested_{false};
};

}  // namespace clan
