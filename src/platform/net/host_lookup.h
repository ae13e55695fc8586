// A host name looked up without blocking the event loop: the system's
// resolver runs on a thread of its own, and Found() is emitted on the
// lookup's thread with the addresses, IPv4 ones first (the games' servers
// speak IPv4; a name with both kinds is reached on its IPv4 address), or
// with none when the name is unknown. A lookup deleted before its answer
// came emits nothing; the resolver's thread then ends on its own and its
// answer is dropped.
#pragma once
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "platform/net/udp_socket.h"

namespace platform {

class HostLookup : public QObject {
  Q_OBJECT
 public:
  explicit HostLookup(QObject* parent = nullptr);
  ~HostLookup() override;

  // Starts the lookup of `host`; the addresses carry `port`. Virtual so
  // that a test can stand in for the system's resolver.
  virtual void Start(const QString& host, quint16 port);

 signals:
  void Found(const std::vector<platform::UdpAddress>& addresses);

 private:
  struct Link;  // what the resolver's thread shares with the lookup
  std::shared_ptr<Link> link_;
};

}  // namespace platform
