#include "transfer/url_routines.h"

#include <QDir>
#include <QFileInfo>

#include "platform/os/errors.h"

namespace {

bool IsSeparator(QChar c) {
#ifdef Q_OS_WIN
  return c == u'\\' || c == u'/' || c == u':';
#else
  return c == u'/';
#endif
}

QString StripSchemeAndCredentials(QString url) {
  const int scheme = url.indexOf(QStringLiteral("://"));
  if (scheme >= 0) url.remove(0, scheme + 3);
  // User information ends with an "@" inside the authority, before the path
  // or query; an "@" further on belongs to them.
  int authorityEnd = url.size();
  for (const QChar end : {u'/', u'?', u'#'}) {
    const int at = url.indexOf(end);
    if (at >= 0 && at < authorityEnd) authorityEnd = at;
  }
  const int at = url.left(authorityEnd).indexOf(u'@');
  if (at >= 0) url.remove(0, at + 1);
  return url;
}

}  // namespace

QString AddProxyCredentials(const QString& url, const QString& user, const QString& password) {
  if (!url.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive) || user.isEmpty() || password.isEmpty())
    return url;
  return QStringLiteral("http://") + user + u':' + password + u'@' + url.mid(7);
}

QString FileNameOfURL(const QString& url) {
  QString name = url;
  name.remove(0, name.lastIndexOf(u'/') + 1);
  name.remove(0, name.lastIndexOf(u'\\') + 1);
  return name;
}

QString HostOfURL(const QString& url) {
  const QString rest = StripSchemeAndCredentials(url);
  const int slash = rest.indexOf(u'/');
  return slash >= 0 ? rest.left(slash) : rest;
}

QString PathOfURL(const QString& url) {
  const QString rest = StripSchemeAndCredentials(url);
  const int slash = rest.indexOf(u'/');
  return slash >= 0 ? rest.mid(slash) : rest;
}

QString JoinPath(const QString& dir, const QString& name) {
  if (dir.isEmpty()) return name;
  if (IsSeparator(dir.back()) || dir.endsWith(u'\\')) return dir + name;
  return dir + u'/' + name;
}

QString DirectoryPartOf(const QString& path) {
  for (int i = path.size() - 1; i >= 0; --i)
    if (IsSeparator(path[i])) return path.left(i + 1);
  return QString();
}

bool ForceDirectories(const QString& path) {
  if (path.isEmpty()) throw platform::IoError(QStringLiteral("Cannot create directory"));
  QString dir = path;
  if (IsSeparator(dir.back())) dir.chop(1);
  if (dir.size() < 3 || QFileInfo(dir).isDir()) return true;
  const QString parent = DirectoryPartOf(dir);
  if (parent == dir) return true;
  return (parent.isEmpty() || ForceDirectories(parent)) && QDir().mkdir(dir);
}
