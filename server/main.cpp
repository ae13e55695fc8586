// quavik-clan-server: the clan's presence script as a small HTTP server.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <thread>

#include "clan_http_server.h"
#include "store_choice.h"
#include "server_options.h"

int main(int argc, char** argv) {
  clan::Environment environment;
  for (const char* variable : {"QUAVIK_CLAN_PASS", "QUAVIK_MASTER_PASS"}) {
    if (const char* value = std::getenv(variable)) environment[variable] = value;
  }
  const auto parsed =
      clan::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), environment);
  if (const auto* error = std::get_if<std::string>(&parsed)) {
    std::cerr << "quavik-clan-server: " << *error << "\n";
    if (error->starts_with("unknown option")) std::cerr << clan::HelpText();
    return 2;
  }
  const auto& options = std::get<clan::ServerOptions>(parsed);
  if (options.help) {
    std::cout << clan::HelpText();
    return 0;
  }
  for (const auto& warning : options.warnings) std::cerr << "quavik-clan-server: " << warning << "\n";

  // The signals are taken by sigwait below; every thread started from here on
  // inherits the blocked mask, so none of them is interrupted by them.
  signal(SIGPIPE, SIG_IGN);  // a client that hangs up mid-answer is no reason to end
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  clan::ClanScript script(options.script, [] { return std::chrono::system_clock::now(); },
                          clan::OpenRosterStores(options.store, options.script.limits));
  for (const auto& seed : options.seeds) {
    if (!script.Seed(seed.name, seed.server, seed.map)) {
      std::cerr << "quavik-clan-server: cannot seed " << seed.name << ": the roster store "
                << options.store << " can't be reached\n";
      return 1;
    }
  }

  // A roster in Redis makes each answer wait for a command: threads of
  // their own wait for it, while the event-loop threads serve the others.
  clan::HttpLimits limits = options.http;
  if (options.store != "memory") limits.waitingThreads = 32;
  std::mutex logMutex;
  clan::ClanHttpServer server(
      script,
      [&logMutex](const std::string& line) {
        std::lock_guard lock(logMutex);
        std::fprintf(stderr, "%s\n", line.c_str());
      },
      limits);
  std::string listenError;
  const int port = server.Bind(options.address, options.port, &listenError);
  if (port < 0) {
    std::cerr << "quavik-clan-server: cannot listen on " << options.address << ":"
              << options.port << ": " << listenError << "\n";
    return 1;
  }
  std::cout << "listening on " << options.address << ":" << port << std::endl;

  bool served = true;
  std::thread serving([&] {
    served = server.Run();
    kill(getpid(), SIGTERM);  // wakes the sigwait below when serving ends by itself
  });
  int received = 0;
  sigwait(&stopSignals, &received);
  server.Stop();
  serving.join();
  if (!served) {
    std::cerr << "quavik-clan-server: serving failed\n";
    return 1;
  }
  std::cerr << "quavik-clan-server: stopped\n";
  return 0;
}
