// A game server's query port for end-to-end runs and for looking at the
// program by hand: answers the text and the binary query on 127.0.0.1 as
// the server described by the arguments would, and counts the requests.
//
//   quavik-game-server-standin [--name TEXT] [--map TEXT] [--gametype TEXT]
//       [--max N] [--player NAME:SCORE:PING]... [--count-file FILE] [--port N]
//
// --port binds that query port (0, the default, takes any free one).
// Prints "port N" (the query port; the game port is N - 1) on its first
// line once it answers. With --count-file the number of requests so far
// is written to FILE whenever it changes (0 at the start). Runs until
// SIGTERM or SIGINT.
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <thread>

#include "support/game_server_replies.h"
#include "support/loopback_udp_server.h"

namespace {

volatile std::sig_atomic_t stop = 0;

constexpr const char* kUsage =
    "Usage: quavik-game-server-standin [--name TEXT] [--map TEXT] [--gametype TEXT] [--max N]\n"
    "       [--player NAME:SCORE:PING]... [--count-file FILE] [--port N]\n"
    "Answers the text and the binary game-server query on 127.0.0.1 until SIGTERM or SIGINT;\n"
    "prints \"port N\" (the query port) first. --port 0, the default, takes any free port.\n";

int Usage(const std::string& why) {
  std::fprintf(stderr, "quavik-game-server-standin: %s\n%s", why.c_str(), kUsage);
  return 2;
}

void WriteCount(const std::string& file, int count) {
  const std::string part = file + ".part";
  std::ofstream(part) << count << "\n";
  std::rename(part.c_str(), file.c_str());  // a reader never sees half a number
}

}  // namespace

int main(int argc, char** argv) {
  testing_support::FakeServer server{"Quavik Stand-in", "DM-Deck16][", "DeathMatchPlus", 16, {}, {}};
  std::string countFile;
  unsigned short port = 0;
  for (int i = 1; i < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (i + 1 >= argc) return Usage(option + " needs a value");
    const QString value = QString::fromUtf8(argv[i + 1]);
    if (option == "--name") server.name = value;
    else if (option == "--map") server.map = value;
    else if (option == "--gametype") server.gameType = value;
    else if (option == "--max") server.maxPlayers = value.toInt();
    else if (option == "--count-file") countFile = argv[i + 1];
    else if (option == "--port") {
      bool ok = false;
      const int number = value.toInt(&ok);
      if (!ok || number < 0 || number > 65535) return Usage("--port wants 0 to 65535");
      port = static_cast<unsigned short>(number);
    }
    else if (option == "--player") {
      const QStringList parts = value.split(':');
      server.players.push_back({parts.value(0), parts.value(1).toInt(), parts.value(2).toInt(), 255});
    } else {
      return Usage("unknown option " + option);
    }
  }
  std::signal(SIGTERM, [](int) { stop = 1; });
  std::signal(SIGINT, [](int) { stop = 1; });

  std::unique_ptr<testing_support::LoopbackUdpServer> listening;
  try {
    listening = std::make_unique<testing_support::LoopbackUdpServer>(
        [server](const std::string& request) { return testing_support::AnswerAs(server, request, 2); }, 0, 0, port);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quavik-game-server-standin: port %u: %s\n", unsigned(port), error.what());
    return 1;
  }
  testing_support::LoopbackUdpServer& standIn = *listening;
  int counted = 0;
  if (!countFile.empty()) WriteCount(countFile, counted);
  std::printf("port %u\n", unsigned(standIn.Port()));
  std::fflush(stdout);
  while (!stop) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!countFile.empty() && standIn.Requests() != counted) WriteCount(countFile, counted = standIn.Requests());
  }
  return 0;
}
