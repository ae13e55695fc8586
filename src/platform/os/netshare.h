// A network share reached as a directory. The name is an SMB share
// ("//server/share", "\\server\share" or "smb://server/share"), connected
// through GLib's `gio mount` when it isn't mounted yet, or a directory that
// is already there (a share mounted by other means). Connect and Disconnect
// block until gio is done or the time limit has passed; they run no event
// loop, so they belong on a worker thread.
#pragma once
#include <QString>

namespace platform {

class NetShare {
 public:
  // `gio` is the program that mounts and unmounts (found on the PATH by name).
  explicit NetShare(QString name, QString gio = QStringLiteral("gio"));

  // Makes the share's directory available; `user` and `password` answer
  // gio's questions (both empty: an anonymous mount). False when the share
  // can't be reached (gio missing, refused, no local directory for it).
  bool Connect(const QString& user, const QString& password, int timeoutMs = 30000);
  // The share's directory once connected.
  const QString& LocalPath() const { return localPath_; }
  // Unmounts what Connect mounted; a share that was there before stays. True
  // when there was nothing to undo or the unmount worked.
  bool Disconnect(int timeoutMs = 30000);

  // "smb://server/share" for a share name in any of its spellings; empty
  // for anything else.
  static QString ShareUri(const QString& name);

 private:
  QString MountedPath(int timeoutMs) const;

  QString name_;
  QString gio_;
  QString uri_;
  QString localPath_;
  bool mountedByUs_ = false;
};

}  // namespace platform
