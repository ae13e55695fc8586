// Asks many game servers who is playing, each with the query of its game,
// over one UDP socket (one per address family in use), driven by the event
// loop: Start() returns at once, ServerAnswered() streams each answer as it
// comes, Finished() is emitted once at the end. Nothing blocks and nothing
// runs a nested event loop.
//
// At most maxInFlight servers are asked at a time, and new ones are started
// no faster than queriesPerSecond. A server has timeoutMs from its first
// request: the request goes out once more after retryAfterMs without an
// answer, and the server is given up at timeoutMs. A reply that stops
// before it is complete ends settleMs after its last datagram once the
// server's info is in. Binary (Engine 2) servers are asked for their info
// and, only when the info counts players, for the players; rules are not
// asked. The sweep ends as soon as every server is answered or given up.
//
// A datagram counts only when it comes from the address and port a running
// query asked; every other datagram is dropped. Memory is bounded by the
// number of servers: a running query holds at most one reply (capped by the
// reader), an answer is handed on and not kept.
//
// A server listed twice (same address and query port) is asked once; its
// later entries are counted as duplicates. A server the socket cannot send
// to is finished as failed; the sweep goes on. Cancel() ends the sweep at
// once and emits Finished() with `cancelled` before it returns. A sweep
// deleted while it runs emits nothing more.
#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <queue>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/net/udp_socket.h"
#include "query/reply_reader.h"
#include "query/server_info.h"
#include "sweep/sweep_target.h"

namespace sweep {

struct SweepOptions {
  int timeoutMs = 1500;         // from a server's first request to giving it up
  int retryAfterMs = -1;        // when the request goes out again; -1: half the time-out
  int maxInFlight = 64;         // servers asked at the same time
  int queriesPerSecond = 2000;  // how fast new servers are started
  int settleMs = 250;           // a stalled reply with the info in ends this long after its last datagram
};

struct SweepSummary {
  int total = 0;         // targets given to Start()
  int answered = 0;      // ServerAnswered() emitted
  int timedOut = 0;      // no usable answer within the time-out
  int failed = 0;        // unusable reply, or the request could not be sent
  int duplicates = 0;    // entries of a server listed before; not asked again
  int requestsSent = 0;  // request datagrams sent, retries and follow-ups included
  int strangers = 0;     // datagrams dropped: from no address and port a running query asked
  bool cancelled = false;
  qint64 elapsedMs = 0;
};

class Sweep : public QObject {
  Q_OBJECT
 public:
  explicit Sweep(QObject* parent = nullptr);
  ~Sweep() override;

  // Starts asking `targets`; a sweep runs once. Every target's address is
  // numeric with its query port.
  void Start(std::vector<SweepTarget> targets, SweepOptions options = {});
  void Cancel();
  bool IsRunning() const { return running_; }

 signals:
  // `info.pingMs` is the round trip of the request the info answered.
  void ServerAnswered(int index, const query::ServerInfo& info);
  // `finished` counts every target done: answered, timed out, failed or a duplicate.
  void ProgressChanged(int answered, int finished, int total);
  void Finished(const sweep::SweepSummary& summary);

 private:
  struct Query;
  enum class Outcome { Answered, TimedOut, Failed };

  // Each step returns false when the sweep ended (or was deleted) under it:
  // the caller then touches nothing more.
  bool Pump();
  bool StartNext();
  bool SendAttempt(int slot);
  bool Send(Query& q, const std::vector<QByteArray>& requests);
  void ReadDatagrams(platform::UdpSocket* socket);
  bool TakeDatagram(int slot, const QByteArray& bytes);
  bool Expire(int slot, qint64 nowMs);
  bool End(int slot, Outcome outcome);
  void SetDeadline(int slot, qint64 atMs);
  void Schedule();
  bool ReportProgress();
  void FinishSweep(bool cancelled);
  platform::UdpSocket* SocketFor(int family);
  qint64 NowMs() const { return clock_.elapsed(); }

  std::vector<SweepTarget> targets_;
  SweepOptions options_;
  size_t nextTarget_ = 0;
  std::vector<Query> slots_;
  std::vector<int> freeSlots_;
  std::unordered_map<std::string, int> asking_;  // address key -> slot of the running query
  std::unordered_set<std::string> seen_;         // address keys of every server started
  struct Deadline {
    qint64 atMs;
    int slot;
    std::uint64_t stamp;
    bool operator>(const Deadline& other) const { return atMs > other.atMs; }
  };
  std::priority_queue<Deadline, std::vector<Deadline>, std::greater<>> deadlines_;
  std::unique_ptr<platform::UdpSocket> socket4_;
  std::unique_ptr<platform::UdpSocket> socket6_;
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 started_ = 0;  // servers started, for the pace
  std::uint64_t stamps_ = 0;
  SweepSummary summary_;
  bool progressChanged_ = false;
  bool running_ = false;
  bool ran_ = false;
};

}  // namespace sweep

Q_DECLARE_METATYPE(sweep::SweepSummary)
