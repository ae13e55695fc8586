// Many game servers' query ports on loopback at once, for benchmarks of a
// sweep and for looking at one by hand:
//
//   quavik-server-swarm-standin [--count N] [--silent-percent P]
//       [--protocol text|binary] [--seed S] [--player NAME@INDEX]...
//       [--list FILE]
//
// Starts N servers (default 1000) on 127.1.x.y, each with up to eight
// players, P percent of them silent (default 10), chosen by the seed
// (default 1); --player adds a player to the server at that position.
// Prints one "address:port" line per server in their order, or writes them
// to FILE (whole, then renamed into place), then "ready" once all answer.
// Runs until SIGTERM or SIGINT.
//
// The lines give query ports. Tools that take a server's game port (qstat's
// "uns" type adds one to find the query port) want each port minus one.
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

#include "support/server_swarm.h"

namespace {

constexpr const char* kUsage =
    "Usage: quavik-server-swarm-standin [--count N] [--silent-percent P] [--protocol text|binary]\n"
    "       [--seed S] [--player NAME@INDEX]... [--list FILE]\n"
    "N game servers' query ports on 127.1.x.y (default 1000, P percent silent, default 10); prints\n"
    "their addresses (or writes them to FILE), then \"ready\"; runs until SIGTERM or SIGINT.\n";

int Usage(const std::string& why) {
  std::fprintf(stderr, "quavik-server-swarm-standin: %s\n%s", why.c_str(), kUsage);
  return 2;
}

bool ToInt(const std::string& text, int* value) {
  try {
    size_t used = 0;
    *value = std::stoi(text, &used);
    return used == text.size();
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  int count = 1000, silentPercent = 10, seed = 1;
  bool binary = false;
  std::string listFile;
  std::vector<std::pair<QString, int>> players;
  for (int i = 1; i < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (i + 1 >= argc) return Usage(option + " needs a value");
    const std::string value = argv[i + 1];
    if (option == "--count") {
      if (!ToInt(value, &count) || count < 1 || count > 60000) return Usage("--count wants 1 to 60000");
    } else if (option == "--silent-percent") {
      if (!ToInt(value, &silentPercent) || silentPercent < 0 || silentPercent > 100)
        return Usage("--silent-percent wants 0 to 100");
    } else if (option == "--seed") {
      if (!ToInt(value, &seed)) return Usage("--seed wants a number");
    } else if (option == "--protocol") {
      if (value != "text" && value != "binary") return Usage("--protocol wants text or binary");
      binary = value == "binary";
    } else if (option == "--player") {
      const size_t at = value.rfind('@');
      int index = -1;
      if (at == std::string::npos || at == 0 || !ToInt(value.substr(at + 1), &index) || index < 0)
        return Usage("--player wants NAME@INDEX");
      players.emplace_back(QString::fromUtf8(value.substr(0, at)), index);
    } else if (option == "--list") {
      listFile = value;
    } else {
      return Usage("unknown option " + option);
    }
  }
  for (const auto& [name, index] : players) {
    if (index >= count) return Usage("--player " + name.toStdString() + ": no server at that position");
  }
  // The swarm's thread inherits the blocked signals: they reach sigwait below.
  sigset_t ending;
  sigemptyset(&ending);
  sigaddset(&ending, SIGTERM);
  sigaddset(&ending, SIGINT);
  pthread_sigmask(SIG_BLOCK, &ending, nullptr);

  try {
    testing_support::ServerSwarm swarm(
        testing_support::RandomSwarm(count, silentPercent, binary, unsigned(seed), players));
    std::string lines;
    for (const auto& endpoint : swarm.Endpoints())
      lines += endpoint.address + ":" + std::to_string(endpoint.port) + "\n";
    if (listFile.empty()) {
      std::fputs(lines.c_str(), stdout);
    } else {
      const std::string part = listFile + ".part";
      std::ofstream(part) << lines;
      if (std::rename(part.c_str(), listFile.c_str()) != 0) return Usage("cannot write " + listFile);
    }
    std::puts("ready");
    std::fflush(stdout);
    int signal = 0;
    sigwait(&ending, &signal);
  } catch (const std::exception& error) {
    return Usage(error.what());
  }
  return 0;
}
