// One query of one game server over UDP, driven by the event loop: Start()
// returns at once and Finished() is emitted once, later, with the answer
// or the reason there is none. Nothing blocks and nothing runs a nested
// event loop.
//
// The request goes out once more when no answer came within the time-out;
// after the second time-out the query ends. A reply that stops before it is
// complete (a lost last datagram) ends kSettleMs after its last datagram
// when the server's info is in. The ping is the info request's round trip.
// Datagrams from other addresses are ignored. A query deleted before it
// finished emits nothing.
//
// The errors tell what went wrong: a name the resolver does not know, a
// resolver that did not answer within the first attempt's time-out, a
// request the system refused to send, no answer, an unusable answer.
#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "platform/net/host_lookup.h"
#include "platform/net/udp_socket.h"
#include "query/reply_reader.h"

namespace query {

inline constexpr int kDefaultTimeoutMs = 1500;
inline constexpr int kSettleMs = 250;

// Why a query ended without an answer.
enum class QueryFailure {
  None,            // there is an answer
  UnknownHost,     // the resolver does not know the name
  LookupTimedOut,  // the resolver did not answer within the first attempt's time-out
  NoSocket,        // the system gave no socket
  NotSent,         // the system refused to send the request
  NoAnswer,        // nothing came back after the last attempt
  BadAnswer,       // what came back can't be read
};

struct QueryResult {
  bool ok = false;
  QString error;  // why there is no answer, when !ok: the window's German words
  ServerInfo info;
  QueryFailure failure = QueryFailure::None;
  QString target;       // HOST:PORT as asked
  QString systemError;  // the system's words, for NoSocket and NotSent
};

}  // namespace query

Q_DECLARE_METATYPE(query::QueryResult)

namespace query {

class ServerQuery : public QObject {
  Q_OBJECT
 public:
  explicit ServerQuery(QueryProtocol protocol, QObject* parent = nullptr);
  ~ServerQuery() override;

  // `host` is an address or a name (looked up first); `port` the query port.
  void Start(const QString& host, quint16 port, int timeoutMs = kDefaultTimeoutMs);

  // Makes the lookups of names in place of the system's resolver (tests).
  using LookupMaker = std::function<std::unique_ptr<platform::HostLookup>()>;
  void SetLookupMaker(LookupMaker make) { makeLookup_ = std::move(make); }

 signals:
  void Finished(const query::QueryResult& result);

 private:
  void Send(const platform::UdpAddress& address);
  void AddressesFound(const std::vector<platform::UdpAddress>& addresses);
  void ReadDatagrams();
  void AttemptTimedOut();
  void Finish(QueryResult result);
  void FinishWithAnswer();

  QueryProtocol protocol_;
  std::unique_ptr<ReplyReader> reader_;
  platform::UdpSocket socket_;
  LookupMaker makeLookup_;
  std::unique_ptr<platform::HostLookup> lookup_;
  QTimer attemptTimer_;
  QTimer settleTimer_;
  QElapsedTimer sentAt_;
  std::optional<platform::UdpAddress> address_;
  QString target_;
  int pingMs_ = -1;
  int attempts_ = 0;
  bool finished_ = false;
};

}  // namespace query
