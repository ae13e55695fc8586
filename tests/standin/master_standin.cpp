// A GameSpy-style master for benchmarks and for looking at the player finder
// by hand: lists the servers of a file on 127.0.0.1 to whoever answers its
// challenge for the game.
//
//   quavik-master-standin --game NAME --list FILE [--game NAME --list FILE]...
//       [--no-check] [--no-challenge-final] [--no-list-final]
//
// FILE holds one "A.B.C.D:PORT" (a query port) a line. --no-check lists to a
// client whatever its validate answer; --no-challenge-final and
// --no-list-final leave \final\ off the challenge or the list. Prints "port N" on its first line once it listens.
// Runs until SIGTERM or SIGINT.
#include <csignal>
#include <cstdio>
#include <fstream>
#include <thread>

#include "support/gamespy_master_standin.h"

namespace {

volatile std::sig_atomic_t stop = 0;

}  // namespace

int main(int argc, char** argv) {
  testing_support::GamespyMasterBehaviour behaviour;
  std::string game;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      std::printf("Usage: %s --game NAME --list FILE [...] [--no-check] [--no-challenge-final] [--no-list-final]\n"
                  "A GameSpy-style master on 127.0.0.1 listing FILE's addresses for NAME; prints \"port N\",\n"
                  "runs until SIGTERM or SIGINT.\n",
                  argv[0]);
      return 0;
    }
    if (option == "--no-check") {
      behaviour.checkValidate = false;
    } else if (option == "--no-challenge-final") {
      behaviour.challengeFinal = false;
    } else if (option == "--no-list-final") {
      behaviour.listFinal = false;
    } else if (option == "--game" && i + 1 < argc) {
      game = argv[++i];
    } else if (option == "--list" && i + 1 < argc && !game.empty()) {
      std::ifstream file(argv[++i]);
      if (!file) {
        std::fprintf(stderr, "cannot read %s\n", argv[i]);
        return 2;
      }
      std::vector<std::string>& entries = behaviour.lists[game];
      for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) entries.push_back(line);
      }
    } else {
      std::fprintf(stderr, "%s: unknown option %s\n", argv[0], option.c_str());
      std::fprintf(stderr, "Usage: %s --game NAME --list FILE [...] [--no-check] [--no-challenge-final] [--no-list-final]\n", argv[0]);
      return 2;
    }
  }
  if (behaviour.lists.empty()) {
    std::fprintf(stderr, "no --game NAME --list FILE given\n");
    return 2;
  }
  testing_support::GamespyMasterStandin master(behaviour);
  std::printf("port %u\n", unsigned(master.Port()));
  std::fflush(stdout);
  std::signal(SIGTERM, [](int) { stop = 1; });
  std::signal(SIGINT, [](int) { stop = 1; });
  while (!stop) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return 0;
}
