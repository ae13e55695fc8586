#include "platform/os/netshare.h"

#include <QFileInfo>

#include "platform/os/gio_tool.h"

namespace platform {

NetShare::NetShare(QString name, QString gio) : name_(std::move(name)), gio_(std::move(gio)), uri_(ShareUri(name_)) {}

QString NetShare::ShareUri(const QString& name) {
  QString rest;
  if (name.startsWith(QStringLiteral("smb://"), Qt::CaseInsensitive)) {
    rest = name.mid(6);
  } else if (name.startsWith(QStringLiteral("//")) || name.startsWith(QStringLiteral("\\\\"))) {
    rest = name.mid(2);
  } else {
    return QString();
  }
  rest.replace(u'\\', u'/');
  while (rest.endsWith(u'/')) rest.chop(1);
  const int slash = rest.indexOf(u'/');
  if (slash <= 0 || slash == rest.size() - 1) return QString();  // needs a server and a share
  return QStringLiteral("smb://") + rest;
}

QString NetShare::MountedPath(int timeoutMs) const {
  const GioOutcome info =
      RunGio(gio_, {QStringLiteral("info"), QStringLiteral("-a"), QStringLiteral("standard::name"), uri_}, timeoutMs);
  if (!info.ok) return QString();
  for (const QString& line : info.message.split(u'\n')) {
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QStringLiteral("local path:"))) {
      const QString path = trimmed.mid(11).trimmed();
      if (QFileInfo(path).isDir()) return path;
    }
  }
  return QString();
}

bool NetShare::Connect(const QString& user, const QString& password, int timeoutMs) {
  localPath_.clear();
  mountedByUs_ = false;
  if (uri_.isEmpty()) {
    // Not a share name: a directory that is already there, or nothing.
    if (!QFileInfo(name_).isDir()) return false;
    localPath_ = name_;
    return true;
  }
  localPath_ = MountedPath(timeoutMs);
  if (!localPath_.isEmpty()) return true;
  QStringList args{QStringLiteral("mount")};
  QByteArray answers;
  if (user.isEmpty() && password.isEmpty()) {
    args << QStringLiteral("-a");
  } else {
    answers = user.toLocal8Bit() + "\n\n" + password.toLocal8Bit() + "\n";  // user, domain, password
  }
  args << uri_;
  if (!RunGio(gio_, args, timeoutMs, answers).ok) return false;
  mountedByUs_ = true;
  localPath_ = MountedPath(timeoutMs);
  if (localPath_.isEmpty()) {
    Disconnect(timeoutMs);
    return false;
  }
  return true;
}

bool NetShare::Disconnect(int timeoutMs) {
  if (!mountedByUs_) return true;
  mountedByUs_ = false;
  localPath_.clear();
  return RunGio(gio_, {QStringLiteral("mount"), QStringLiteral("-u"), uri_}, timeoutMs).ok;
}

}  // namespace platform
