// Asks one master server for its list. The master is "host:port", "host"
// (the default port), "[v6]:port" or a numeric address; a name is looked up
// with platform::HostLookup. Each conversation runs on a TCP connection of
// its own, all at once (the UT 2004 master answers one game type per
// connection; a Tactical Ops list is asked under two names). Bounds: each
// connection is up within `connectMs`, the whole exchange, look-up included,
// ends within `exchangeMs`; the list takes at most `maxBytes` and
// `maxEntries` over all its connections (beyond that it is cut, with a
// warning). Entries of a connection that failed after some arrived are kept,
// and its failure is a warning; `error` is set only when no list came at all.
// An address listed twice by the master (under two names, say) is kept once.
//
// Finished() is emitted exactly once, from the event loop (never from inside
// Start()); the receiver may delete the client there. Deleting the client
// before that cancels everything and nothing is emitted. Nothing blocks and
// no nested event loop runs.
#pragma once
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "master/master_conversation.h"
#include "master/server_entry.h"

class QTimer;

namespace platform {
class HostLookup;
class TcpStream;
class UdpAddress;
}  // namespace platform

namespace master {

struct MasterLimits {
  int connectMs = 5000;
  int exchangeMs = 20000;
  qint64 maxBytes = qint64(4) << 20;
  int maxEntries = 20000;
};

struct MasterResult {
  QString master;    // "host:port" as asked, the port always written
  QString address;   // the numeric address the master was asked at; empty when none was found
  std::vector<ServerEntry> entries;  // in the order listed; masters = {master}
  QString error;     // why no list came; empty when one did
  QStringList warnings;
};

// A master's host and port from "host:port", "host", "[v6]:port", "v6";
// nullopt when the text is not one of these or the port is not 1..65535.
struct MasterAddress {
  QString host;
  quint16 port = 0;
  QString Text() const;  // "host:port", "[v6]:port"
};
std::optional<MasterAddress> ParseMasterAddress(const QString& text, quint16 defaultPort);

class MasterClient : public QObject {
  Q_OBJECT
 public:
  MasterClient(QString master, quint16 defaultPort, std::vector<std::unique_ptr<MasterConversation>> conversations,
               MasterLimits limits = {}, QObject* parent = nullptr);
  ~MasterClient() override;

  // Once per client.
  void Start();

 signals:
  void Finished(const master::MasterResult& result);

 private:
  struct Link;

  void Begin(const platform::UdpAddress& address);
  void OnConnected(Link& link);
  void OnReadyRead(Link& link);
  void OnClosed(Link& link);
  void OnFailed(Link& link, const QString& reason);
  void Send(Link& link);
  void Collect(Link& link);
  void EndLink(Link& link, const QString& failure = {});
  void OnTimeOut();
  void Finish(const QString& error = {});

  QString text_;
  quint16 defaultPort_;
  MasterLimits limits_;
  std::vector<std::unique_ptr<Link>> links_;
  platform::HostLookup* lookup_ = nullptr;
  QTimer* exchangeTimer_ = nullptr;
  bool started_ = false;
  bool finished_ = false;
  bool cut_ = false;
  qint64 receivedBytes_ = 0;
  int completed_ = 0;
  QStringList failures_;
  QSet<QString> listed_;
  MasterResult result_;
};

}  // namespace master
