#include "platform/os/single_instance.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/os/paths.h"

namespace platform {
namespace {

const QString kLockFileName = QStringLiteral("quavik.lock");

// The socket's abstract name: the user and the lock file, hashed to a short,
// fixed length (a directory path may be longer than a socket name can be).
sockaddr_un SocketAddress(const QString& lockPath, socklen_t& length) {
  const QByteArray key = QByteArray::number(::getuid()) + '\0' + QFile::encodeName(lockPath);
  const QByteArray name =
      "quavik-" + QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(32);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  // sun_path[0] stays 0: the abstract namespace.
  std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size()));
  length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(name.size()));
  return address;
}

int LocalStreamSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0); }

}  // namespace

SingleInstance::SingleInstance(const QString& dir) : lockPath_(JoinDir(dir, kLockFileName)) {
  const QByteArray path = QFile::encodeName(lockPath_);
  lockFd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lockFd_ < 0) return;
  if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
    heldByAnother_ = errno == EWOULDBLOCK;
    ::close(lockFd_);
    lockFd_ = -1;
    return;
  }
  Listen();
}

SingleInstance::~SingleInstance() {
  notifier_.reset();
  if (listenFd_ >= 0) ::close(listenFd_);
  if (lockFd_ >= 0) ::close(lockFd_);  // releases the lock
}

void SingleInstance::Listen() {
  listenFd_ = LocalStreamSocket();
  if (listenFd_ < 0) return;
  socklen_t length = 0;
  const sockaddr_un address = SocketAddress(lockPath_, length);
  if (::bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), length) != 0 || ::listen(listenFd_, 4) != 0) {
    // Someone else has the name: later starts still end, they just can't
    // bring this window to the front.
    ::close(listenFd_);
    listenFd_ = -1;
    return;
  }
  notifier_ = std::make_unique<QSocketNotifier>(listenFd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { AcceptRequests(); });
}

void SingleInstance::AcceptRequests() {
  // Each connection is one request; nothing is read from it.
  int accepted = 0;
  for (;;) {
    const int connection = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) break;
    ::close(connection);
    ++accepted;
  }
  if (accepted > 0 && OnShowRequested) OnShowRequested();
}

bool SingleInstance::AskHolderToShow() const {
  const int fd = LocalStreamSocket();
  if (fd < 0) return false;
  socklen_t length = 0;
  const sockaddr_un address = SocketAddress(lockPath_, length);
  // A local connect lands in the listener's backlog without waiting for
  // the holder's event loop; a full backlog fails at once (non-blocking).
  const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
  ::close(fd);
  return connected;
}

}  // namespace platform
