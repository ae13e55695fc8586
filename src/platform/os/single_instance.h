// One running copy per set of program files: the first start holds an
// exclusive lock on a file in the directory of its temporary files and
// listens for later starts; a later start finds the lock held, asks the
// first copy to come to the front and ends. Two copies would otherwise share
// (and at close delete) each other's temporary files.
//
// The lock is an flock on "<dir>/quavik.lock", released by the system when
// the holder ends, however it ends. The request to come to the front travels
// over a local (AF_UNIX) stream socket in the abstract namespace, named after
// the user and the lock file, so nothing is left on disk to clean up; the
// first copy watches it with a QSocketNotifier on its event loop.
// A directory where no lock can be taken (read-only, a file system without
// locks) guards nothing: the program then runs as if it were alone.
#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace platform {

class SingleInstance {
 public:
  // Takes the lock in `dir` at once, if it is free. Needs a
  // QCoreApplication for the listening side.
  explicit SingleInstance(const QString& dir);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when another running copy holds the lock.
  bool HeldByAnother() const { return heldByAnother_; }
  // From a later start: asks the copy holding the lock to come to the
  // front; true when it took the request. Does not block beyond a short
  // connect on the local socket.
  bool AskHolderToShow() const;
  // In the holder: called on the event loop for each later start.
  std::function<void()> OnShowRequested;

 private:
  void Listen();
  void AcceptRequests();

  QString lockPath_;
  int lockFd_ = -1;
  int listenFd_ = -1;
  bool heldByAnother_ = false;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace platform
