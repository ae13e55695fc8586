// The event loop's TCP stream against plain sockets on loopback: a whole
// exchange on both families, bytes queued before the connection is up, a
// large send that drains as the peer reads, a refusal in words, and a
// stream deleted or closed from inside its own signal.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <string>
#include <thread>

#include "platform/net/tcp_stream.h"

namespace {

using platform::TcpStream;
using platform::UdpAddress;

// A listening socket on loopback; Serve() runs `peer` on the first
// connection on a thread of its own.
class Listener {
 public:
  explicit Listener(int family) {
    fd_ = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const platform::UdpAddress loopback =
        *platform::UdpAddress::FromText(family == AF_INET ? "127.0.0.1" : "::1", 0);
    if (fd_ < 0 || ::bind(fd_, loopback.SocketAddress(), loopback.Length()) != 0 || ::listen(fd_, 4) != 0) return;
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&bound), &length);
    address_ = UdpAddress::FromSocketAddress(reinterpret_cast<sockaddr*>(&bound), length);
    ready_ = true;
  }
  ~Listener() {
    if (thread_.joinable()) thread_.join();
    if (fd_ >= 0) ::close(fd_);
  }
  bool Ready() const { return ready_; }
  const UdpAddress& Address() const { return address_; }

  template <typename Peer>
  void Serve(Peer peer) {
    thread_ = std::thread([this, peer] {
      pollfd ready{fd_, POLLIN, 0};
      if (::poll(&ready, 1, 3000) <= 0) return;
      const int connection = ::accept(fd_, nullptr, nullptr);
      if (connection < 0) return;
      peer(connection);
      ::close(connection);
    });
  }

 private:
  int fd_ = -1;
  bool ready_ = false;
  UdpAddress address_;
  std::thread thread_;
};

// Reads from `fd` until `count` bytes came or the peer closed.
std::string ReadBytes(int fd, size_t count) {
  std::string got;
  char buffer[65536];
  while (got.size() < count) {
    const ssize_t n = ::recv(fd, buffer, std::min(sizeof buffer, count - got.size()), 0);
    if (n <= 0) break;
    got.append(buffer, size_t(n));
  }
  return got;
}

TEST(TcpStream, AnExchangeOnBothFamilies) {
  for (const int family : {AF_INET, AF_INET6}) {
    SCOPED_TRACE(family == AF_INET ? "IPv4" : "IPv6");
    Listener listener(family);
    if (!listener.Ready()) {
      ASSERT_EQ(family, AF_INET6) << "no IPv4 loopback";
      continue;
    }
    std::string request;
    listener.Serve([&request](int fd) {
      request = ReadBytes(fd, 9);
      const std::string reply = "\\basic\\\\secure\\wookie";
      ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
    });
    TcpStream stream;
    QSignalSpy connected(&stream, &TcpStream::Connected);
    QSignalSpy closed(&stream, &TcpStream::Closed);
    QSignalSpy failed(&stream, &TcpStream::Failed);
    QByteArray received;
    QObject::connect(&stream, &TcpStream::ReadyRead, [&] { received += stream.Read(); });
    stream.Send("\\list\\");  // queued until the connection is up
    stream.Connect(listener.Address());
    EXPECT_EQ(connected.count(), 0);  // never from inside Connect()
    stream.Send("ut\\");
    ASSERT_TRUE(closed.wait(3000)) << (failed.isEmpty() ? "" : failed.first().first().toString().toStdString());
    EXPECT_EQ(connected.count(), 1);
    EXPECT_TRUE(failed.isEmpty());
    EXPECT_EQ(received, QByteArray("\\basic\\\\secure\\wookie"));
    EXPECT_EQ(request, "\\list\\ut\\");
    EXPECT_FALSE(stream.IsConnected());
  }
}

TEST(TcpStream, ALargeSendDrainsAsThePeerReads) {
  Listener listener(AF_INET);
  ASSERT_TRUE(listener.Ready());
  const size_t size = size_t(16) << 20;  // far beyond what the kernel buffers at once
  std::atomic<size_t> got{0};
  listener.Serve([&got, size](int fd) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // a slow start: the sender must wait
    got = ReadBytes(fd, size).size();
  });
  TcpStream stream;
  QByteArray bytes(qsizetype(size), 'x');
  QSignalSpy closed(&stream, &TcpStream::Closed);
  QObject::connect(&stream, &TcpStream::Connected, [&] { stream.Send(bytes); });
  stream.Connect(listener.Address());
  ASSERT_TRUE(closed.wait(10000));
  EXPECT_EQ(got.load(), size);
}

TEST(TcpStream, ARefusalIsFailedInWords) {
  // A port that was just free: nothing listens there.
  UdpAddress address;
  {
    Listener gone(AF_INET);
    ASSERT_TRUE(gone.Ready());
    address = gone.Address();
  }
  TcpStream stream;
  QSignalSpy failed(&stream, &TcpStream::Failed);
  QSignalSpy connected(&stream, &TcpStream::Connected);
  stream.Connect(address);
  EXPECT_EQ(failed.count(), 0);
  ASSERT_TRUE(failed.wait(3000));
  EXPECT_EQ(failed.first().first().toString(), QStringLiteral("connection refused"));
  QTest::qWait(50);
  EXPECT_EQ(failed.count(), 1);
  EXPECT_EQ(connected.count(), 0);
}

TEST(TcpStream, DeletedOrClosedFromInsideItsOwnSignal) {
  for (const bool deleteIt : {true, false}) {
    SCOPED_TRACE(deleteIt ? "deleted" : "closed");
    Listener listener(AF_INET);
    ASSERT_TRUE(listener.Ready());
    listener.Serve([](int fd) {
      ::send(fd, "\\ip\\", 4, MSG_NOSIGNAL);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      ::send(fd, "more", 4, MSG_NOSIGNAL);
    });
    auto* stream = new TcpStream;
    QPointer<TcpStream> alive(stream);
    int emitted = 0;
    QObject::connect(stream, &TcpStream::ReadyRead, [&] {
      ++emitted;
      if (deleteIt) {
        delete stream;
      } else {
        stream->Close();
      }
    });
    QObject::connect(stream, &TcpStream::Closed, [&] { ++emitted; });
    QObject::connect(stream, &TcpStream::Failed, [&] { ++emitted; });
    stream->Connect(listener.Address());
    QTest::qWait(300);
    EXPECT_EQ(emitted, 1);
    EXPECT_EQ(alive.isNull(), deleteIt);
    delete alive.data();
  }
}

}  // namespace
