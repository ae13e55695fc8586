// A UDP socket on the event loop, in place of the network library's (which
// would load a library of its own into a program that only ever sends a few
// datagrams). Send() hands a datagram to the kernel and returns at once;
// ReadyRead() is emitted when datagrams wait, and Receive() takes them one
// by one without blocking. Addresses are numeric (IPv4 or IPv6); names are
// looked up by platform::HostLookup.
#pragma once
#include <sys/socket.h>

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QSocketNotifier;

namespace platform {

// An IP address and port as the socket layer holds them.
class UdpAddress {
 public:
  // A numeric IPv4 or IPv6 address ("10.0.0.5", "::1"); nullopt for anything else.
  static std::optional<UdpAddress> FromText(const QString& address, quint16 port);
  static UdpAddress FromSocketAddress(const sockaddr* address, socklen_t length);

  int Family() const { return storage_.ss_family; }
  quint16 Port() const;
  void SetPort(quint16 port);
  QString Text() const;  // the address without the port
  bool operator==(const UdpAddress& other) const;

  const sockaddr* SocketAddress() const { return reinterpret_cast<const sockaddr*>(&storage_); }
  socklen_t Length() const { return length_; }

 private:
  sockaddr_storage storage_{};
  socklen_t length_ = 0;
};

struct UdpDatagram {
  QByteArray data;
  UdpAddress sender;
};

class UdpSocket : public QObject {
  Q_OBJECT
 public:
  explicit UdpSocket(QObject* parent = nullptr);
  ~UdpSocket() override;
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;

  // Opens a socket of `family` (AF_INET or AF_INET6) on a port the system
  // picks. False, with ErrorText() saying why, when it cannot.
  bool Open(int family);
  bool IsOpen() const { return fd_ >= 0; }
  void Close();

  // False when the kernel refused the datagram (ErrorText() says why).
  bool Send(const UdpAddress& to, const QByteArray& datagram);
  // The next waiting datagram, or nullopt when none waits.
  std::optional<UdpDatagram> Receive();

  QString ErrorText() const { return error_; }

 signals:
  void ReadyRead();

 private:
  int fd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
  QString error_;
};

}  // namespace platform
