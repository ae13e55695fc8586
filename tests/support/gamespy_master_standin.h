// A GameSpy-style master on 127.0.0.1 for tests: it listens on a free TCP
// port as soon as it is constructed, serves every connection on a thread of
// its own (so a test may block, e.g. on a child process, while it answers)
// and stops in its destructor. Per connection: the challenge, the client's
// answer and list request (recorded), the list of the asked game, close.
// The behaviour picks what a real or hostile master does instead: no
// \final\ after the challenge or the list, a wrong validate answer dropped,
// the bytes in any segmentation, silence, a stop half way, garbage, a list
// far too long.
#pragma once
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

struct GamespyMasterBehaviour {
  enum class Cuts { Whole, ByteByByte, Random };
  enum class Stall {
    None,
    Silent,          // accepts the connection and never says a word
    AfterChallenge,  // takes the list request and never answers it
    MidList,         // sends half the list and then nothing, the connection left open
  };

  std::string challenge = "wookie";
  bool challengeFinal = true;
  // The answer expected for each game to `challenge`, worked out apart from
  // the program's code; a client that answers otherwise is dropped.
  bool checkValidate = true;
  std::map<std::string, std::string> validates = {{"ut", "2/TYFMRc"}, {"tacticalops", "ZKZHWJ8d"}};
  // Each game's list: "A.B.C.D:PORT" as the master writes it (anything goes).
  std::map<std::string, std::vector<std::string>> lists;
  bool listFinal = true;
  Cuts cuts = Cuts::Whole;
  unsigned seed = 1;
  Stall stall = Stall::None;
  // Sent in place of the list when not empty (garbage, a list built by hand).
  std::string reply;
};

class GamespyMasterStandin {
 public:
  explicit GamespyMasterStandin(GamespyMasterBehaviour behaviour);
  ~GamespyMasterStandin();
  GamespyMasterStandin(const GamespyMasterStandin&) = delete;
  GamespyMasterStandin& operator=(const GamespyMasterStandin&) = delete;

  unsigned short Port() const { return port_; }
  int Connections() const { return connections_; }
  // Everything each connection's client sent, in the order they connected.
  std::vector<std::string> Requests() const;

  // "\ip\A\ip\B...\final\" for the entries given.
  static std::string ListBytes(const std::vector<std::string>& entries, bool final);

 private:
  void Accept();
  void Serve(int fd, size_t slot);
  bool Send(int fd, const std::string& bytes, unsigned seed);
  void Linger(int fd);  // until the client closes or the stand-in stops

  GamespyMasterBehaviour behaviour_;
  int listener_ = -1;
  unsigned short port_ = 0;
  std::atomic<int> connections_{0};
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<std::thread> servers_;
  std::thread acceptor_;
};

}  // namespace testing_support
