#include "platform/net/udp_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

namespace platform {

namespace {

QString SystemError(const char* what) {
  return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace

std::optional<UdpAddress> UdpAddress::FromText(const QString& address, quint16 port) {
  const QByteArray text = address.toLatin1();
  std::optional<UdpAddress> result;
  if (sockaddr_in v4{}; inet_pton(AF_INET, text.constData(), &v4.sin_addr) == 1) {
    v4.sin_family = AF_INET;
    result = FromSocketAddress(reinterpret_cast<const sockaddr*>(&v4), sizeof v4);
  } else if (sockaddr_in6 v6{}; inet_pton(AF_INET6, text.constData(), &v6.sin6_addr) == 1) {
    v6.sin6_family = AF_INET6;
    result = FromSocketAddress(reinterpret_cast<const sockaddr*>(&v6), sizeof v6);
  }
  if (result) result->SetPort(port);
  return result;
}

UdpAddress UdpAddress::FromSocketAddress(const sockaddr* address, socklen_t length) {
  UdpAddress result;
  result.length_ = std::min<socklen_t>(length, sizeof result.storage_);
  std::memcpy(&result.storage_, address, result.length_);
  return result;
}

quint16 UdpAddress::Port() const {
  if (Family() == AF_INET) return ntohs(reinterpret_cast<const sockaddr_in*>(&storage_)->sin_port);
  if (Family() == AF_INET6) return ntohs(reinterpret_cast<const sockaddr_in6*>(&storage_)->sin6_port);
  return 0;
}

void UdpAddress::SetPort(quint16 port) {
  if (Family() == AF_INET) reinterpret_cast<sockaddr_in*>(&storage_)->sin_port = htons(port);
  if (Family() == AF_INET6) reinterpret_cast<sockaddr_in6*>(&storage_)->sin6_port = htons(port);
}

QString UdpAddress::Text() const {
  if (Family() != AF_INET && Family() != AF_INET6) return {};
  char text[INET6_ADDRSTRLEN] = {};
  const void* address = Family() == AF_INET
                            ? static_cast<const void*>(&reinterpret_cast<const sockaddr_in*>(&storage_)->sin_addr)
                            : static_cast<const void*>(&reinterpret_cast<const sockaddr_in6*>(&storage_)->sin6_addr);
  inet_ntop(Family(), address, text, sizeof text);
  return QString::fromLatin1(text);
}

bool UdpAddress::operator==(const UdpAddress& other) const {
  if (Family() != other.Family() || Port() != other.Port()) return false;
  if (Family() == AF_INET) {
    return reinterpret_cast<const sockaddr_in*>(&storage_)->sin_addr.s_addr ==
           reinterpret_cast<const sockaddr_in*>(&other.storage_)->sin_addr.s_addr;
  }
  if (Family() == AF_INET6) {
    return std::memcmp(&reinterpret_cast<const sockaddr_in6*>(&storage_)->sin6_addr,
                       &reinterpret_cast<const sockaddr_in6*>(&other.storage_)->sin6_addr, sizeof(in6_addr)) == 0;
  }
  return false;
}

UdpSocket::UdpSocket(QObject* parent) : QObject(parent) {}

UdpSocket::~UdpSocket() { Close(); }

bool UdpSocket::Open(int family) {
  Close();
  fd_ = ::socket(family, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) {
    error_ = SystemError("socket");
    return false;
  }
  // Unbound, the first datagram sent binds the socket to a port the system
  // picks on every address: replies find it whichever way they come.
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &UdpSocket::ReadyRead);
  return true;
}

void UdpSocket::Close() {
  notifier_.reset();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool UdpSocket::Send(const UdpAddress& to, const QByteArray& datagram) {
  if (fd_ < 0) return false;
  const ssize_t sent = ::sendto(fd_, datagram.constData(), size_t(datagram.size()), MSG_NOSIGNAL, to.SocketAddress(),
                                to.Length());
  if (sent == datagram.size()) return true;
  error_ = SystemError("sendto");
  return false;
}

std::optional<UdpDatagram> UdpSocket::Receive() {
  if (fd_ < 0) return std::nullopt;
  // The largest datagram UDP can carry: nothing of one is cut off.
  char buffer[65536];
  for (;;) {
    sockaddr_storage from{};
    socklen_t fromLength = sizeof from;
    const ssize_t got =
        ::recvfrom(fd_, buffer, sizeof buffer, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (got >= 0) {
      return UdpDatagram{QByteArray(buffer, qsizetype(got)),
                         UdpAddress::FromSocketAddress(reinterpret_cast<const sockaddr*>(&from), fromLength)};
    }
    // An ICMP error queued for an earlier datagram is not a datagram: read on.
    if (errno == EINTR || errno == ECONNREFUSED) continue;
    return std::nullopt;
  }
}

}  // namespace platform
