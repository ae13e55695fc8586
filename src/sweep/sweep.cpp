#include "sweep/sweep.h"

#include <netinet/in.h>

#include <QPointer>
#include <algorithm>
#include <cstring>

#include "query/protocol_readers.h"

namespace sweep {

namespace {

constexpr int kAttempts = 2;
// Datagrams read in one go before the event loop gets its turn again: a
// flood neither starves the timers nor delays a cancel.
constexpr int kDatagramsPerRead = 256;
// Servers started at once when the pace allows it.
constexpr int kBurst = 8;

// The family, port and address bytes: one key per server, whatever the
// padding of the socket address around them.
std::string AddressKey(const platform::UdpAddress& address) {
  std::string key;
  const quint16 port = address.Port();
  key.push_back(char(address.Family()));
  key.push_back(char(port >> 8));
  key.push_back(char(port & 0xFF));
  if (address.Family() == AF_INET) {
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(address.SocketAddress());
    key.append(reinterpret_cast<const char*>(&v4->sin_addr), sizeof v4->sin_addr);
  } else if (address.Family() == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address.SocketAddress());
    key.append(reinterpret_cast<const char*>(&v6->sin6_addr), sizeof v6->sin6_addr);
  }
  return key;
}

}  // namespace

// One server being asked.
struct Sweep::Query {
  int target = -1;  // position in targets_; -1 while the slot is free
  std::string key;
  platform::UdpSocket* socket = nullptr;
  std::unique_ptr<query::ReplyReader> reader;
  qint64 firstSentMs = 0;
  QElapsedTimer attemptSent;  // the ping's start
  int attempts = 0;
  int pingMs = -1;
  std::vector<QByteArray> followUps;  // sent after the info; sent once more when nothing came back
  bool followUpsRepeated = false;
  bool heardSinceFollowUps = false;
  // The deadline the slot wants, and the one waiting in the queue for it
  // (never later); `stamp` tells the slot's queue entry from stale ones.
  qint64 wantedAtMs = 0;
  qint64 queuedAtMs = 0;
  bool queued = false;
  std::uint64_t stamp = 0;
};

Sweep::Sweep(QObject* parent) : QObject(parent) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &Sweep::Pump);
}

Sweep::~Sweep() { running_ = false; }

void Sweep::Start(std::vector<SweepTarget> targets, SweepOptions options) {
  if (ran_) return;
  ran_ = running_ = true;
  targets_ = std::move(targets);
  options_ = options;
  options_.timeoutMs = std::max(1, options_.timeoutMs);
  if (options_.retryAfterMs < 0) options_.retryAfterMs = options_.timeoutMs / 2;
  options_.retryAfterMs = std::clamp(options_.retryAfterMs, 1, options_.timeoutMs);
  options_.maxInFlight = std::max(1, options_.maxInFlight);
  options_.queriesPerSecond = std::max(1, options_.queriesPerSecond);
  options_.settleMs = std::max(1, options_.settleMs);
  slots_.resize(size_t(std::min<size_t>(size_t(options_.maxInFlight), std::max<size_t>(1, targets_.size()))));
  for (int i = int(slots_.size()) - 1; i >= 0; --i) freeSlots_.push_back(i);
  summary_.total = int(targets_.size());
  clock_.start();
  // Everything, even an empty sweep's end, happens on the event loop.
  timer_.start(0);
}

void Sweep::Cancel() {
  if (running_) FinishSweep(true);
}

bool Sweep::Pump() {
  if (!running_) return false;
  const qint64 now = NowMs();
  while (!deadlines_.empty() && deadlines_.top().atMs <= now) {
    const Deadline due = deadlines_.top();
    deadlines_.pop();
    Query& q = slots_[size_t(due.slot)];
    if (q.target < 0 || due.stamp != q.stamp) continue;
    q.queued = false;
    if (now < q.wantedAtMs) {
      SetDeadline(due.slot, q.wantedAtMs);
      continue;
    }
    if (!Expire(due.slot, now)) return false;
  }
  if (!StartNext()) return false;
  if (nextTarget_ >= targets_.size() && asking_.empty()) {
    FinishSweep(false);
    return false;
  }
  if (!ReportProgress()) return false;
  Schedule();
  return true;
}

bool Sweep::StartNext() {
  const qint64 elapsedNs = clock_.nsecsElapsed();
  const qint64 allowed = kBurst + elapsedNs * options_.queriesPerSecond / 1000000000;
  while (nextTarget_ < targets_.size() && !freeSlots_.empty() && started_ < allowed) {
    const int target = int(nextTarget_++);
    const SweepTarget& t = targets_[size_t(target)];
    std::string key = AddressKey(t.address);
    if (!seen_.insert(key).second) {
      ++summary_.duplicates;
      progressChanged_ = true;
      continue;
    }
    ++started_;
    const int slot = freeSlots_.back();
    freeSlots_.pop_back();
    Query& q = slots_[size_t(slot)];
    q = Query{};
    q.target = target;
    q.key = std::move(key);
    q.socket = SocketFor(t.address.Family());
    q.reader = query::MakeReplyReader(t.protocol, query::QueryScope::InfoAndPlayers);
    q.firstSentMs = NowMs();
    asking_.emplace(q.key, slot);
    if (!q.socket || !SendAttempt(slot)) {
      if (!End(slot, Outcome::Failed)) return false;
      continue;
    }
    SetDeadline(slot, q.firstSentMs + options_.retryAfterMs);
  }
  return true;
}

bool Sweep::SendAttempt(int slot) {
  Query& q = slots_[size_t(slot)];
  ++q.attempts;
  q.attemptSent.start();
  return Send(q, q.reader->Requests());
}

bool Sweep::Send(Query& q, const std::vector<QByteArray>& requests) {
  const platform::UdpAddress& to = targets_[size_t(q.target)].address;
  for (const QByteArray& request : requests) {
    ++summary_.requestsSent;
    if (!q.socket->Send(to, request)) return false;
  }
  return true;
}

void Sweep::ReadDatagrams(platform::UdpSocket* socket) {
  if (!running_) return;
  for (int i = 0; i < kDatagramsPerRead; ++i) {
    const std::optional<platform::UdpDatagram> datagram = socket->Receive();
    if (!datagram) break;
    const auto asked = asking_.find(AddressKey(datagram->sender));
    if (asked == asking_.end()) {
      ++summary_.strangers;
      continue;
    }
    if (!TakeDatagram(asked->second, datagram->data)) return;
  }
  Pump();
}

bool Sweep::TakeDatagram(int slot, const QByteArray& bytes) {
  Query& q = slots_[size_t(slot)];
  const bool hadInfo = q.reader->HasInfo();
  const query::ReplyReader::Progress progress =
      q.reader->Take(std::string_view(bytes.constData(), size_t(bytes.size())));
  if (!hadInfo && q.reader->HasInfo()) q.pingMs = int(q.attemptSent.elapsed());
  if (progress == query::ReplyReader::Progress::Failed) return End(slot, Outcome::Failed);
  if (progress == query::ReplyReader::Progress::Complete) return End(slot, Outcome::Answered);
  if (!q.reader->HasInfo()) return true;
  const qint64 now = NowMs();
  qint64 quietAt = now + options_.settleMs;
  std::vector<QByteArray> followUps = q.reader->TakeFollowUpRequests();
  if (!followUps.empty()) {
    // The rest is asked only now: give it a round trip more than a stalled reply.
    if (!Send(q, followUps)) return End(slot, Outcome::Answered);
    q.followUps = std::move(followUps);
    quietAt += 2 * std::max(0, q.pingMs);
  } else {
    q.heardSinceFollowUps = true;
  }
  SetDeadline(slot, std::min(quietAt, q.firstSentMs + options_.timeoutMs));
  return true;
}

bool Sweep::Expire(int slot, qint64 nowMs) {
  Query& q = slots_[size_t(slot)];
  const qint64 giveUpAt = q.firstSentMs + options_.timeoutMs;
  if (q.reader->HasInfo()) {
    // The follow-up got no answer at all: it may have been lost, ask once more.
    if (!q.followUps.empty() && !q.heardSinceFollowUps && !q.followUpsRepeated && nowMs < giveUpAt) {
      q.followUpsRepeated = true;
      if (!Send(q, q.followUps)) return End(slot, Outcome::Answered);
      SetDeadline(slot, std::min(nowMs + options_.settleMs + 2 * std::max(0, q.pingMs), giveUpAt));
      return true;
    }
    return End(slot, Outcome::Answered);
  }
  if (q.attempts < kAttempts && nowMs < giveUpAt) {
    // The second answer is read afresh, not mixed with pieces of the first.
    q.reader = query::MakeReplyReader(targets_[size_t(q.target)].protocol, query::QueryScope::InfoAndPlayers);
    if (!SendAttempt(slot)) return End(slot, Outcome::Failed);
    SetDeadline(slot, giveUpAt);
    return true;
  }
  return End(slot, Outcome::TimedOut);
}

bool Sweep::End(int slot, Outcome outcome) {
  Query& q = slots_[size_t(slot)];
  const int index = targets_[size_t(q.target)].index;
  std::unique_ptr<query::ReplyReader> reader = std::move(q.reader);
  const int pingMs = q.pingMs;
  asking_.erase(q.key);
  q = Query{};
  q.stamp = ++stamps_;  // whatever the queue holds for this slot is stale now
  freeSlots_.push_back(slot);
  progressChanged_ = true;
  switch (outcome) {
    case Outcome::TimedOut:
      ++summary_.timedOut;
      return true;
    case Outcome::Failed:
      ++summary_.failed;
      return true;
    case Outcome::Answered:
      break;
  }
  ++summary_.answered;
  query::ServerInfo info = reader->Answer();
  reader.reset();
  info.pingMs = pingMs;
  QPointer<Sweep> alive(this);
  emit ServerAnswered(index, info);
  return alive && running_;
}

void Sweep::SetDeadline(int slot, qint64 atMs) {
  Query& q = slots_[size_t(slot)];
  q.wantedAtMs = atMs;
  // A later deadline waits behind the queued one, which moves it on when it comes.
  if (q.queued && q.queuedAtMs <= atMs) return;
  q.queued = true;
  q.queuedAtMs = atMs;
  q.stamp = ++stamps_;
  deadlines_.push({atMs, slot, q.stamp});
}

void Sweep::Schedule() {
  const qint64 now = NowMs();
  qint64 wakeAt = deadlines_.empty() ? now + options_.timeoutMs : deadlines_.top().atMs;
  if (nextTarget_ < targets_.size() && !freeSlots_.empty()) {
    // The pace allows the next start one interval after the last.
    const qint64 nextStartNs = (started_ + 1 - kBurst) * 1000000000 / options_.queriesPerSecond;
    wakeAt = std::min(wakeAt, std::max(now + 1, (nextStartNs + 999999) / 1000000));
  }
  timer_.start(int(std::clamp<qint64>(wakeAt - now, 0, options_.timeoutMs)));
}

bool Sweep::ReportProgress() {
  if (!progressChanged_) return true;
  progressChanged_ = false;
  const int finished = summary_.answered + summary_.timedOut + summary_.failed + summary_.duplicates;
  QPointer<Sweep> alive(this);
  emit ProgressChanged(summary_.answered, finished, summary_.total);
  return alive && running_;
}

void Sweep::FinishSweep(bool cancelled) {
  QPointer<Sweep> alive(this);
  if (!cancelled && !ReportProgress()) return;
  if (!alive || !running_) return;
  running_ = false;
  timer_.stop();
  slots_.clear();
  freeSlots_.clear();
  asking_.clear();
  deadlines_ = {};
  // Closed, not deleted: this may run inside one of their own signals.
  if (socket4_) socket4_->Close();
  if (socket6_) socket6_->Close();
  summary_.cancelled = cancelled;
  summary_.elapsedMs = NowMs();
  emit Finished(summary_);
}

platform::UdpSocket* Sweep::SocketFor(int family) {
  std::unique_ptr<platform::UdpSocket>& socket = family == AF_INET6 ? socket6_ : socket4_;
  if (family != AF_INET && family != AF_INET6) return nullptr;
  if (!socket) {
    auto opened = std::make_unique<platform::UdpSocket>();
    if (!opened->Open(family)) return nullptr;
    platform::UdpSocket* raw = opened.get();
    connect(raw, &platform::UdpSocket::ReadyRead, this, [this, raw] { ReadDatagrams(raw); });
    socket = std::move(opened);
  }
  return socket.get();
}

}  // namespace sweep
