#include "platform/net/tcp_stream.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstring>

namespace platform {

namespace {

// What a failed socket call means, in the words a user reads.
QString ErrorWords(int error) {
  switch (error) {
    case ECONNREFUSED: return QStringLiteral("connection refused");
    case ENETUNREACH: return QStringLiteral("network unreachable");
    case EHOSTUNREACH: return QStringLiteral("no route to host");
    case ETIMEDOUT: return QStringLiteral("connection timed out");
    case ECONNRESET: return QStringLiteral("connection reset by the peer");
    case EPIPE: return QStringLiteral("connection closed by the peer");
    case EADDRNOTAVAIL: return QStringLiteral("address not available");
    case EAFNOSUPPORT: return QStringLiteral("address family not supported");
    default: return QString::fromLocal8Bit(std::strerror(error));
  }
}

// Bytes taken from the kernel on one wake-up: a peer that sends without
// pause does not keep the event loop from everything else.
constexpr qsizetype kReadPerWakeUp = 1 << 20;

}  // namespace

TcpStream::TcpStream(QObject* parent) : QObject(parent) {}

TcpStream::~TcpStream() {
  state_ = State::Done;
  DropNotifiers();
}

void TcpStream::Connect(const UdpAddress& to) {
  if (state_ != State::Idle) {
    FailLater(QStringLiteral("the stream is already in use"));
    return;
  }
  state_ = State::Connecting;
  peer_ = to;
  fd_ = ::socket(to.Family(), SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) {
    FailLater(ErrorWords(errno));
    return;
  }
  if (::connect(fd_, to.SocketAddress(), to.Length()) != 0 && errno != EINPROGRESS && errno != EINTR) {
    FailLater(ErrorWords(errno));
    return;
  }
  // Connected or not, the socket turns writable once the attempt is decided.
  writeNotifier_ = new QSocketNotifier(fd_, QSocketNotifier::Write, this);
  connect(writeNotifier_, &QSocketNotifier::activated, this, &TcpStream::OnWritable);
}

void TcpStream::Send(const QByteArray& bytes) {
  if (state_ == State::Done || bytes.isEmpty()) return;
  outgoing_.append(bytes);
  if (state_ != State::Connected) return;
  if (const QString error = Flush(); !error.isEmpty()) FailLater(error);
}

QByteArray TcpStream::Read() {
  QByteArray taken;
  taken.swap(incoming_);
  return taken;
}

void TcpStream::Close() {
  state_ = State::Done;
  DropNotifiers();
}

void TcpStream::OnWritable() {
  if (state_ == State::Connecting) {
    FinishConnect();
    return;
  }
  if (state_ != State::Connected) return;
  if (const QString error = Flush(); !error.isEmpty()) Fail(error);
}

void TcpStream::FinishConnect() {
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
  if (error != 0) {
    Fail(ErrorWords(error));
    return;
  }
  state_ = State::Connected;
  writeNotifier_->setEnabled(!outgoing_.isEmpty());
  readNotifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
  connect(readNotifier_, &QSocketNotifier::activated, this, &TcpStream::OnReadable);
  QPointer<TcpStream> alive(this);
  emit Connected();
  if (!alive || state_ != State::Connected) return;
  if (const QString sendError = Flush(); !sendError.isEmpty()) Fail(sendError);
}

QString TcpStream::Flush() {
  while (!outgoing_.isEmpty()) {
    const ssize_t sent = ::send(fd_, outgoing_.constData(), size_t(outgoing_.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) break;
      return ErrorWords(errno);
    }
    outgoing_.remove(0, qsizetype(sent));
  }
  if (writeNotifier_) writeNotifier_->setEnabled(!outgoing_.isEmpty());
  return {};
}

void TcpStream::OnReadable() {
  if (state_ != State::Connected) return;
  bool ended = false;
  int error = 0;
  const qsizetype before = incoming_.size();
  char buffer[65536];
  while (incoming_.size() - before < kReadPerWakeUp) {
    const ssize_t got = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
    if (got > 0) {
      incoming_.append(buffer, qsizetype(got));
      continue;
    }
    if (got == 0) {
      ended = true;
    } else if (errno == EINTR) {
      continue;
    } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
      error = errno;
    }
    break;
  }
  QPointer<TcpStream> alive(this);
  if (incoming_.size() > before) {
    emit ReadyRead();
    if (!alive || state_ != State::Connected) return;
  }
  if (error != 0) {
    Fail(ErrorWords(error));
  } else if (ended) {
    state_ = State::Done;
    DropNotifiers();
    emit Closed();
  }
}

void TcpStream::Fail(const QString& reason) {
  state_ = State::Done;
  DropNotifiers();
  emit Failed(reason);
}

void TcpStream::FailLater(const QString& reason) {
  QTimer::singleShot(0, this, [this, reason] {
    if (state_ != State::Done) Fail(reason);
  });
}

void TcpStream::DropNotifiers() {
  // A notifier may be the very one whose signal is running: it goes once
  // control is back in the event loop.
  for (QSocketNotifier** notifier : {&readNotifier_, &writeNotifier_}) {
    if (!*notifier) continue;
    (*notifier)->setEnabled(false);
    (*notifier)->deleteLater();
    *notifier = nullptr;
  }
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace platform
