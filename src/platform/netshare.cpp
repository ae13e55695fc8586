#include "platform/netshare.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace platform {
namespace {

struct GioResult {
  bool ok = false;
  QString output;
};

GioResult RunGio(const QString& gio, const QStringList& args, const QByteArray& input, int timeoutMs) {
  GioResult result;
  const QString program = QStandardPaths::findExecutable(gio);
  if (program.isEmpty() && !QFileInfo(gio).isExecutable()) return result;
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program.isEmpty() ? gio : program, args);
  if (!process.waitForStarted(timeoutMs)) return result;
  process.write(input);
  process.closeWriteChannel();
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished(1000);
    return result;
  }
  result.output = QString::fromLocal8Bit(process.readAll());
  result.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
  return result;
}

}  // namespace

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
  const GioResult info = RunGio(gio_, {QStringLiteral("info"), QStringLiteral("-a"), QStringLiteral("standard::name"), uri_}, {}, timeoutMs);
  if (!info.ok) return QString();
  for (const QString& line : info.output.split(u'\n')) {
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
  if (!RunGio(gio_, args, answers, timeoutMs).ok) return false;
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
  return RunGio(gio_, {QStringLiteral("mount"), QStringLiteral("-u"), uri_}, {}, timeoutMs).ok;
}

}  // namespace platform
