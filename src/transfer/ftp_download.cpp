#include "transfer/ftp_download.h"

#include <QFileInfo>

#include "platform/ftp.h"
#include "transfer/newer_check.h"
#include "transfer/replacement_file.h"
#include "transfer/transfer_date.h"
#include "transfer/url_routines.h"

namespace {
constexpr std::int64_t kBlock = 4096;
// Unobserved, a block is whatever the connection has delivered, up to this.
constexpr std::int64_t kUnobservedBlock = 1 << 20;
}  // namespace

std::unique_ptr<platform::FtpConnection> ConnectFtp(TransferRunContext& context, const TFileTransferItem& item) {
  platform::FtpLogin login;
  login.host = item.FTPHost;
  login.port = item.FTPPort;
  login.user = item.FTPUserID;
  login.password = item.FTPPassword;
  login.passive = context.Settings().FTPPassive;
  const platform::InternetOptions options = context.Session() ? context.Session()->Options() : platform::InternetOptions{};
  std::unique_ptr<platform::FtpConnection> connection;
  if (!item.FTPHost.isEmpty()) connection = platform::FtpConnection::Connect(options, login);
  if (!connection) context.Error(6, QStringLiteral("Cannot connect to FTP server ") + item.FTPHost);
  return connection;
}

bool FtpDownloadPath::Copy(const TFileTransferItem& item, TDateTime& workingDate, bool& notNewer) {
  const RunSettings& s = context_.Settings();
  notNewer = false;
  const QString fileName = FileNameOfURL(item.URL);
  context_.SetFileLine(fileName, s.DlgFromServerLabel, item.FTPHost);
  const std::unique_ptr<platform::FtpConnection> ftp = ConnectFtp(context_, item);
  if (!ftp) return false;

  const int slash = item.URL.lastIndexOf(u'/');
  if (slash >= 0) ftp->SetCurrentDirectory(item.URL.left(slash + 1));  // a failure shows when the file is opened
  const std::optional<platform::FtpFileInfo> listed = ftp->FindFile(fileName);
  const std::int64_t total = listed ? listed->size : 0;
  if (item.CopyNewerOnly && listed) {
    if (!listed->modified) return false;  // no date to compare: the item is not copied
    if (!SourceIsNewer(context_, fileName, DateTimeFromUnixSeconds(*listed->modified), workingDate, notNewer))
      return false;
  }

  std::unique_ptr<platform::FtpReader> remote = ftp->OpenRead(fileName);
  if (!remote) {
    if (!context_.Cancelled()) context_.URLNotFound(item.URL);
    return false;
  }
  // Cancelled while the file was being opened: nothing is written any more.
  if (context_.Cancelled()) return false;
  const QString target = JoinPath(item.TargetDir, item.TargetFilename.isEmpty() ? fileName : item.TargetFilename);
  context_.SetLastTarget(target, item.TargetDir);
  const QFileInfo existing(target);
  if (existing.exists() && !existing.isDir() && !context_.AllowOverwrite(target)) return false;
  ReplacementFile file;
  if (!file.Create(target)) {
    context_.Error(3, QStringLiteral("Cannot create target file ") + target);
    return false;
  }

  const std::int64_t start = TransferRunContext::NowMs();
  const std::int64_t blockSize = context_.ProgressObserved() ? kBlock : kUnobservedBlock;
  const char* block = nullptr;
  std::int64_t done = 0;
  std::int64_t got = 0;
  do {
    got = remote->ReadInPlace(blockSize, block);
    if (got < 0) return false;  // broken off or stalled: the old file stays
    if (got > 0 && !file.File().Write(block, got)) {
      context_.Error(5, QStringLiteral("Error writing to destination file ") + target);
      return false;
    }
    done += got;
    context_.Progress(done, total, start, s.DlgDwnload);
  } while (got > 0 && !context_.Cancelled());

  if (context_.Cancelled()) return false;
  if (!file.Finish()) {
    context_.Error(5, QStringLiteral("Error writing to destination file ") + target);
    return false;
  }
  if (!file.Replace()) {
    context_.Error(3, QStringLiteral("Cannot create target file ") + target);
    return false;
  }
  return true;
}
