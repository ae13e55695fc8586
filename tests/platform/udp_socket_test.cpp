// The event loop's UDP socket and name lookup: numeric addresses, a
// datagram out and its reply back on IPv4 and IPv6 loopback, names looked
// up off the event loop, and a lookup that is gone before its answer.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <cstring>

#include "platform/net/host_lookup.h"
#include "platform/net/udp_socket.h"

namespace {

using platform::UdpAddress;

TEST(UdpAddress, FromNumericTextOnly) {
  struct Case {
    const char* text;
    bool valid;
    int family;
    const char* shown;
  } const cases[] = {
      {"10.0.0.5", true, AF_INET, "10.0.0.5"},
      {"::1", true, AF_INET6, "::1"},
      {"2001:db8::7", true, AF_INET6, "2001:db8::7"},
      {"::ffff:10.0.0.5", true, AF_INET6, "::ffff:10.0.0.5"},
      {"clan.example", false, 0, ""},
      {"10.0.0", false, 0, ""},
      {"[::1]", false, 0, ""},
      {"", false, 0, ""},
  };
  for (const Case& c : cases) {
    const std::optional<UdpAddress> address = UdpAddress::FromText(c.text, 7778);
    ASSERT_EQ(address.has_value(), c.valid) << c.text;
    if (!address) continue;
    EXPECT_EQ(address->Family(), c.family) << c.text;
    EXPECT_EQ(address->Text(), c.shown) << c.text;
    EXPECT_EQ(address->Port(), 7778) << c.text;
  }
  // The same address on another port is another peer.
  EXPECT_FALSE(*UdpAddress::FromText("10.0.0.5", 7778) == *UdpAddress::FromText("10.0.0.5", 7779));
  EXPECT_FALSE(*UdpAddress::FromText("10.0.0.5", 7778) == *UdpAddress::FromText("10.0.0.6", 7778));
  EXPECT_TRUE(*UdpAddress::FromText("::1", 1) == *UdpAddress::FromText("0:0::1", 1));
}

// A plain socket bound to loopback that answers every datagram with its
// bytes reversed, once, when Echo() is called.
class Peer {
 public:
  explicit Peer(int family) : family_(family) {
    fd_ = ::socket(family, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const platform::UdpAddress loopback =
        *platform::UdpAddress::FromText(family == AF_INET ? "127.0.0.1" : "::1", 0);
    if (fd_ < 0 || ::bind(fd_, loopback.SocketAddress(), loopback.Length()) != 0) return;
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&bound), &length);
    address_ = UdpAddress::FromSocketAddress(reinterpret_cast<sockaddr*>(&bound), length);
    ready_ = true;
  }
  ~Peer() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Ready() const { return ready_; }
  const UdpAddress& Address() const { return address_; }

  QByteArray Echo() {
    char buffer[2048];
    sockaddr_storage from{};
    socklen_t length = sizeof from;
    timeval wait{2, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    const ssize_t got = ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
    if (got < 0) return {};
    QByteArray bytes(buffer, qsizetype(got));
    std::reverse(buffer, buffer + got);
    ::sendto(fd_, buffer, size_t(got), 0, reinterpret_cast<sockaddr*>(&from), length);
    return bytes;
  }

 private:
  int family_;
  int fd_ = -1;
  bool ready_ = false;
  UdpAddress address_;
};

TEST(UdpSocket, ADatagramOutAndTheReplyBackOnBothFamilies) {
  for (const int family : {AF_INET, AF_INET6}) {
    SCOPED_TRACE(family == AF_INET ? "IPv4" : "IPv6");
    Peer peer(family);
    if (!peer.Ready()) {
      ASSERT_EQ(family, AF_INET6) << "no IPv4 loopback";
      continue;  // a machine without IPv6 loopback
    }
    platform::UdpSocket socket;
    ASSERT_TRUE(socket.Open(family)) << socket.ErrorText().toStdString();
    QSignalSpy readyRead(&socket, &platform::UdpSocket::ReadyRead);
    EXPECT_FALSE(socket.Receive().has_value());  // nothing waits: no blocking
    ASSERT_TRUE(socket.Send(peer.Address(), QByteArray("\\status\\")));
    EXPECT_EQ(peer.Echo(), QByteArray("\\status\\"));
    ASSERT_TRUE(readyRead.wait(2000));
    const std::optional<platform::UdpDatagram> reply = socket.Receive();
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->data, QByteArray("\\sutats\\"));
    EXPECT_TRUE(reply->sender == peer.Address());
    EXPECT_FALSE(socket.Receive().has_value());
  }
}

TEST(UdpSocket, AClosedSocketNeitherSendsNorReceives) {
  platform::UdpSocket socket;
  EXPECT_FALSE(socket.Send(*UdpAddress::FromText("127.0.0.1", 9), QByteArray("x")));
  EXPECT_FALSE(socket.Receive().has_value());
  ASSERT_TRUE(socket.Open(AF_INET));
  socket.Close();
  EXPECT_FALSE(socket.IsOpen());
  EXPECT_FALSE(socket.Send(*UdpAddress::FromText("127.0.0.1", 9), QByteArray("x")));
}

TEST(HostLookup, NamesAreFoundOffTheEventLoop) {
  platform::HostLookup lookup;
  QSignalSpy found(&lookup, &platform::HostLookup::Found);
  lookup.Start("localhost", 7778);
  ASSERT_TRUE(found.wait(5000));
  const auto addresses = found.first().first().value<std::vector<UdpAddress>>();
  ASSERT_FALSE(addresses.empty());
  EXPECT_EQ(addresses.front().Family(), AF_INET);
  EXPECT_EQ(addresses.front().Text(), "127.0.0.1");
  EXPECT_EQ(addresses.front().Port(), 7778);
}

TEST(HostLookup, ALookupGoneBeforeItsAnswerEmitsNothing) {
  // The resolver's thread outlives the lookup; its answer must reach no one.
  for (int i = 0; i < 20; ++i) {
    auto lookup = std::make_unique<platform::HostLookup>();
    bool reached = false;
    QObject::connect(lookup.get(), &platform::HostLookup::Found, [&reached] { reached = true; });
    lookup->Start("localhost", 1);
    // Every other round lets the event loop run once first: a quick
    // resolver may have answered by then, which is no fault; what counts is
    // that nothing arrives once the lookup is gone.
    if (i % 2) QCoreApplication::processEvents();
    const bool answeredBeforeDeletion = reached;
    lookup.reset();
    reached = false;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_FALSE(reached) << "round " << i << (answeredBeforeDeletion ? ", answered before deletion" : "");
  }
}

}  // namespace
