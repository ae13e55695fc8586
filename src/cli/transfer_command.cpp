#include "cli/transfer_command.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <limits>

#include "transfer/file_transfer.h"
#include "transfer/transfer_date.h"
#include "transfer/url_routines.h"

namespace {

struct FtpUrl {
  QString host, user, password, path;
  std::optional<int> port;
};

// "ftp://[user[:password]@]host[:port]/path"; the path without its first
// "/" (relative to the login directory), decoded.
std::optional<FtpUrl> ParseFtpUrl(const QString& text) {
  if (!text.startsWith(QStringLiteral("ftp://"), Qt::CaseInsensitive)) return std::nullopt;
  const QString rest = text.mid(6);
  const int slash = rest.indexOf(u'/');
  QString authority = slash >= 0 ? rest.left(slash) : rest;
  FtpUrl url;
  url.path = slash >= 0 ? QUrl::fromPercentEncoding(rest.mid(slash + 1).toUtf8()) : QString();
  const int at = authority.lastIndexOf(u'@');
  if (at >= 0) {
    const QString login = authority.left(at);
    authority = authority.mid(at + 1);
    const int colon = login.indexOf(u':');
    url.user = QUrl::fromPercentEncoding(login.left(colon).toUtf8());
    if (colon >= 0) url.password = QUrl::fromPercentEncoding(login.mid(colon + 1).toUtf8());
  }
  const int bracket = authority.lastIndexOf(u']');
  const int colon = authority.lastIndexOf(u':');
  if (colon > bracket) {
    bool ok = false;
    const int port = authority.mid(colon + 1).toInt(&ok);
    if (!ok || port < 1 || port > 65535) return std::nullopt;
    url.port = port;
    authority = authority.left(colon);
  }
  if (authority.startsWith(u'[') && authority.endsWith(u']')) authority = authority.mid(1, authority.size() - 2);
  if (authority.isEmpty()) return std::nullopt;
  url.host = authority;
  return url;
}

bool IsHttpUrl(const QString& text) {
  return text.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive) ||
         text.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive);
}

QString DateText(TDateTime date) {
  const QDateTime utc = QDateTime::fromSecsSinceEpoch(UnixSecondsFromDateTime(date), Qt::UTC);
  return utc.toString(Qt::ISODate);
}

}  // namespace

QString TransferUsage() {
  return QStringLiteral(
      "Usage: quavik-transfer [options] SOURCE\n"
      "Copies one file: an HTTP or FTP download, an FTP or HTTP upload, or a file copy.\n"
      "\n"
      "  --protocol http|ftp|ftp-upload|file   (default: from SOURCE's scheme; a plain path is file)\n"
      "  --host H --port N --user U --password P --passive   (FTP server or share)\n"
      "  --target-dir DIR --target-name NAME\n"
      "  --newer-only        copy only when the source is newer than the target\n"
      "  --upload            HTTP upload of the local file SOURCE to --target-dir's URL\n"
      "  --dialog            show the progress dialog\n"
      "  --help              this text\n"
      "\n"
      "SOURCE may be an ftp://[user[:password]@]host[:port]/path URL. One line per event:\n"
      "  start N FILE           the item begins\n"
      "  overwrite TARGET       the target exists and is replaced\n"
      "  error CODE TEXT        e.g. 6 when the FTP server or an HTTP upload's server can't be reached\n"
      "  not-found URL          an HTTP download that can't be opened at all (unknown host, refused\n"
      "                         connection) or an FTP remote file that can't be opened\n"
      "  no-new-file FILE CURRENT SOURCE   --newer-only and the source is not newer\n"
      "  connect-error HOST     a file copy's network share --host can't be connected\n"
      "  cancelled              the dialog's Cancel button\n"
      "  done N copied=0|1      the item's outcome\n"
      "Exit status: 0 copied, 1 not copied, 2 usage error.\n");
}

ParsedArguments ParseTransferArguments(const QStringList& arguments) {
  ParsedArguments parsed;
  const auto fail = [&](const QString& why) {
    parsed.error = why;
    return parsed;
  };
  TransferCommand c;
  QString source;
  QString protocol;
  bool upload = false;
  std::optional<int> port;
  for (int i = 0; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    const auto value = [&](QString& into) {
      if (i + 1 >= arguments.size()) return false;
      into = arguments[++i];
      return true;
    };
    bool ok = true;
    if (a == QStringLiteral("--help") || a == QStringLiteral("-h")) {
      parsed.help = true;
      return parsed;
    } else if (a == QStringLiteral("--protocol")) ok = value(protocol);
    else if (a == QStringLiteral("--host")) ok = value(c.host);
    else if (a == QStringLiteral("--user")) ok = value(c.user);
    else if (a == QStringLiteral("--password")) ok = value(c.password);
    else if (a == QStringLiteral("--target-dir")) ok = value(c.targetDir);
    else if (a == QStringLiteral("--target-name")) ok = value(c.targetName);
    else if (a == QStringLiteral("--passive")) c.passive = true;
    else if (a == QStringLiteral("--newer-only")) c.newerOnly = true;
    else if (a == QStringLiteral("--upload")) upload = true;
    else if (a == QStringLiteral("--dialog")) c.dialog = true;
    else if (a == QStringLiteral("--port")) {
      QString text;
      int number = 0;
      ok = value(text);
      if (ok) number = text.toInt(&ok);
      if (!ok || number < 1 || number > 65535) return fail(QStringLiteral("--port needs a number from 1 to 65535"));
      port = number;
    } else if (a.startsWith('-')) {
      return fail(QStringLiteral("unknown option ") + a);
    } else if (source.isEmpty()) {
      source = a;
    } else {
      return fail(QStringLiteral("only one SOURCE, not also ") + a);
    }
    if (!ok) return fail(a + QStringLiteral(" needs a value"));
  }
  if (source.isEmpty()) return fail(QStringLiteral("SOURCE is missing"));

  if (upload) {
    if (!protocol.isEmpty() && protocol != QStringLiteral("http"))
      return fail(QStringLiteral("--upload is an HTTP upload; it does not go with --protocol ") + protocol);
    c.protocol = wpHttpUpload;
  } else if (protocol.isEmpty()) {
    c.protocol = source.startsWith(QStringLiteral("ftp://"), Qt::CaseInsensitive) ? wpFtp
                 : IsHttpUrl(source)                                              ? wpHttp
                                                                                  : wpFile;
  } else if (protocol == QStringLiteral("http")) c.protocol = wpHttp;
  else if (protocol == QStringLiteral("ftp")) c.protocol = wpFtp;
  else if (protocol == QStringLiteral("ftp-upload")) c.protocol = wpFtpUpload;
  else if (protocol == QStringLiteral("file")) c.protocol = wpFile;
  else return fail(QStringLiteral("unknown protocol ") + protocol + QStringLiteral(" (http, ftp, ftp-upload or file)"));

  const auto takeFtpUrl = [&](const QString& text, QString& path) {
    const std::optional<FtpUrl> url = ParseFtpUrl(text);
    if (!url) return false;
    if (c.host.isEmpty()) c.host = url->host;
    if (!port && url->port) port = url->port;
    if (c.user.isEmpty()) c.user = url->user;
    if (c.password.isEmpty()) c.password = url->password;
    path = url->path;
    return true;
  };
  switch (c.protocol) {
    case wpFtp:
      c.url = source;
      if (source.startsWith(QStringLiteral("ftp://"), Qt::CaseInsensitive) && !takeFtpUrl(source, c.url))
        return fail(QStringLiteral("not an FTP URL: ") + source);
      if (c.targetDir.isEmpty()) c.targetDir = QStringLiteral(".");
      break;
    case wpFtpUpload:
      c.url = source;
      if (c.targetDir.startsWith(QStringLiteral("ftp://"), Qt::CaseInsensitive) && !takeFtpUrl(c.targetDir, c.targetDir))
        return fail(QStringLiteral("not an FTP URL: ") + c.targetDir);
      break;
    case wpHttp:
      c.url = source;
      if (c.targetDir.isEmpty()) c.targetDir = QStringLiteral(".");
      break;
    case wpHttpUpload: {
      if (!IsHttpUrl(c.targetDir)) return fail(QStringLiteral("--upload needs the address to upload to in --target-dir"));
      const QFileInfo local(source);
      c.url = c.targetDir;
      c.targetDir = local.absolutePath();
      c.targetName = local.fileName();
      break;
    }
    case wpFile:
      c.url = source;
      if (c.targetDir.isEmpty()) c.targetDir = QStringLiteral(".");
      break;
  }
  if ((c.protocol == wpFtp || c.protocol == wpFtpUpload) && c.host.isEmpty())
    return fail(QStringLiteral("an FTP transfer needs --host or an ftp:// URL"));
  if (c.newerOnly && (c.protocol == wpFtpUpload || c.protocol == wpHttpUpload))
    return fail(QStringLiteral("--newer-only compares with a local target; it does not go with an upload"));
  if (port) c.port = *port;
  parsed.command = c;
  return parsed;
}

int RunTransferCommand(const TransferCommand& c, QTextStream& out) {
  TFileTransfer transfer;
  transfer.ShowDialog = c.dialog;
  transfer.FTPPassive = c.passive;
  TFileTransferItem& item = transfer.Items.Add();
  item.Protocol = c.protocol;
  item.URL = c.url;
  item.FTPHost = c.host;
  item.FTPPort = c.port;
  item.FTPUserID = c.user;
  item.FTPPassword = c.password;
  item.TargetDir = c.targetDir;
  item.TargetFilename = c.targetName;
  // The FTP download writes into an existing directory only; on the command
  // line --target-dir names where the file should land, so it is made.
  if (c.protocol == wpFtp) QDir().mkpath(c.targetDir);
  if (c.newerOnly) {
    item.CopyNewerOnly = true;
    const QString name = c.targetName.isEmpty() ? FileNameOfURL(c.url) : c.targetName;
    const QFileInfo target(JoinPath(c.targetDir, name));
    if (target.isFile()) item.FileDate = DateTimeFromUnixMilliseconds(target.lastModified().toMSecsSinceEpoch());
  }

  const auto line = [&out](const QString& text) {
    out << text << '\n';
    out.flush();
  };
  const QString fileName = c.protocol == wpHttpUpload ? c.targetName : FileNameOfURL(c.url);
  transfer.OnFileStart = [&](QObject*, int) { line(QStringLiteral("start %1 %2").arg(transfer.CurrentIndex()).arg(fileName)); };
  transfer.OnCopyOverWrite = [&](QObject*, const QString& target, bool&) { line(QStringLiteral("overwrite ") + target); };
  transfer.OnErrorInfo = [&](QObject*, int code, const QString& info) { line(QStringLiteral("error %1 %2").arg(code).arg(info)); };
  transfer.OnURLNotFound = [&](QObject*, const QString& url) { line(QStringLiteral("not-found ") + url); };
  transfer.OnNoNewFileFound = [&](QObject*, const QString& file, TDateTime cur, TDateTime now) {
    line(QStringLiteral("no-new-file %1 %2 %3").arg(file, DateText(cur), DateText(now)));
  };
  transfer.OnConnectError = [&](QObject*) { line(QStringLiteral("connect-error ") + c.host); };
  transfer.OnCopyCancel = [&](QObject*) { line(QStringLiteral("cancelled")); };
  transfer.OnFileDone = [&](QObject*, int) {
    line(QStringLiteral("done %1 copied=%2").arg(transfer.CurrentIndex()).arg(item.Copied() ? 1 : 0));
  };
  transfer.Start();
  transfer.WaitUntilIdle(std::numeric_limits<int>::max());
  return item.Copied() ? 0 : 1;
}
