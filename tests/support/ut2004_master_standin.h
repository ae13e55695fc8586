// A UT 2004 master on 127.0.0.1 for tests, answering on its own thread one
// connection after another, as the real master did in 2021: a nine-digit
// challenge (eight for readers that refuse nine), a check of the client's
// key hashes, "APPROVED" and "VERIFIED", then the servers of the one game
// type asked for (nothing to a query without one), names cut to 25
// characters with every colour code shown as "zzz ", maps cut to 16 with
// their colour codes as they are, and the connection closed after the list.
// Hostile modes stall, send garbage, announce an absurd message, split
// every message into single bytes or close in the middle of the list.
#pragma once
#include <atomic>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

class Ut2004MasterStandIn {
 public:
  struct Server {
    std::string address;  // dotted IPv4
    unsigned short gamePort = 0;
    unsigned short queryPort = 0;
    std::string name;  // as the server calls itself, colour codes included
    std::string map;
    std::string gameType;
    int players = 0;
    int maxPlayers = 0;
  };

  enum class Mode {
    Normal,
    SplitBytes,           // every byte in its own segment
    StallAfterChallenge,  // says the challenge, then nothing
    StallBeforeList,      // verifies, then nothing
    GarbageAfterVerified, // random bytes instead of the list
    AbsurdLength,         // announces a gigabyte message instead of the list
    CloseMidList,         // announces every server, sends half, closes
  };

  struct Options {
    std::string challenge = "987654321";
    // The key the client must prove it holds; nullopt takes any hashes.
    std::optional<std::string> expectedKey;
    Mode mode = Mode::Normal;
    // A pause between the server count and the records: qstat reads the
    // count only when it arrives in a segment of its own.
    int countPauseMs = 0;
    std::vector<Server> servers;
  };

  explicit Ut2004MasterStandIn(Options options);
  ~Ut2004MasterStandIn();
  Ut2004MasterStandIn(const Ut2004MasterStandIn&) = delete;
  Ut2004MasterStandIn& operator=(const Ut2004MasterStandIn&) = delete;

  unsigned short Port() const { return port_; }
  int Connections() const { return connections_; }
  // Clients whose key hashes did not match (they were refused).
  int Refusals() const { return refusals_; }
  // The game type each query asked for, "" for a query without a filter.
  std::vector<std::string> Queries() const;
  // The first message each client sent, for tests that check its bytes.
  std::vector<std::string> Logins() const;

  // What the real master puts in its list for a name and a map.
  static std::string ListedName(const std::string& name);
  static std::string ListedMap(const std::string& map);

 private:
  void Serve();
  void Converse(int client);

  Options options_;
  int fd_ = -1;
  unsigned short port_ = 0;
  std::atomic<int> connections_{0};
  std::atomic<int> refusals_{0};
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> queries_;
  std::vector<std::string> logins_;
  std::thread thread_;
};

}  // namespace testing_support
