#include "transfer/internal/ftp_download.h"

#include <algorithm>

#include "platform/net/ftp.h"
#include "transfer/internal/block_receive.h"
#include "transfer/internal/newer_check.h"
#include "transfer/internal/replacement_file.h"
#include "transfer/internal/target_file.h"
#include "transfer/transfer_date.h"
#include "transfer/url_routines.h"

namespace {
// Whether `received` bytes are what the server said the file holds (when
// it said anything).
bool LengthAgrees(std::int64_t received, std::optional<std::int64_t> expected) {
  return expected.value_or(received) == received;
}
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
  if (!connection && !context.Cancelled()) context.Error({TransferErrorCode::CannotConnect, QStringLiteral("Cannot connect to FTP server ") + item.FTPHost});
  return connection;
}

bool FtpFailed(TransferRunContext& context, const TFileTransferItem& item, platform::FtpFailure failure) {
  if (context.Cancelled()) return false;
  if (failure == platform::FtpFailure::kRefused)
    context.URLNotFound(item.URL);
  else
    context.Error({TransferErrorCode::CannotConnect, QStringLiteral("Cannot connect to FTP server ") + item.FTPHost});
  return false;
}

bool FtpDownloadPath::Copy(const TFileTransferItem& item, WorkingDate& workingDate, bool& notNewer) {
  const RunSettings& s = context_.Settings();
  notNewer = false;
  const QString fileName = FileNameOfURL(item.URL);
  context_.SetFileLine(fileName, s.DlgFromServerLabel, item.FTPHost);
  const std::unique_ptr<platform::FtpConnection> ftp = ConnectFtp(context_, item);
  if (!ftp) return false;

  // The file is looked for in the URL's folder only: when that can't be
  // entered, a file of the same name elsewhere is not the one asked for.
  platform::FtpFailure failure = platform::FtpFailure::kNone;
  const int slash = item.URL.lastIndexOf(u'/');
  if (slash >= 0 && !ftp->SetCurrentDirectory(item.URL.left(slash + 1), &failure))
    return FtpFailed(context_, item, failure);
  const platform::FtpLookup listed = ftp->FindFile(fileName);
  if (listed.failure != platform::FtpFailure::kNone) return FtpFailed(context_, item, listed.failure);
  const std::optional<std::int64_t> listedSize = listed.file ? listed.file->size : std::nullopt;
  const std::int64_t total = std::max<std::int64_t>(listedSize.value_or(0), 0);
  if (item.CopyNewerOnly) {
    const std::optional<std::int64_t> modified = listed.file ? listed.file->modified : std::nullopt;
    if (!modified) return DateUnknown(context_, fileName, workingDate, notNewer);
    if (!SourceIsNewer(context_, fileName, TransferTimeFromUnixSeconds(*modified), workingDate, notNewer)) return false;
  }

  std::unique_ptr<platform::FtpReader> remote = ftp->OpenRead(fileName, &failure);
  if (!remote) return FtpFailed(context_, item, failure);
  // Cancelled while the file was being opened: nothing is written any more.
  if (context_.Cancelled()) return false;
  const QString target = JoinPath(item.TargetDir, item.TargetFilename.isEmpty() ? fileName : item.TargetFilename);
  context_.SetLastTarget(target, item.TargetDir);
  const TransferError cannotCreate{TransferErrorCode::CannotCreateTarget,
                                   QStringLiteral("Cannot create target file ") + target};
  ReplacementFile file;
  if (!PrepareTarget(context_, target, {TargetFolders::None, cannotCreate, {}}, file)) return false;

  // A transfer that breaks off or stalls fails quietly. A file of another
  // length than the server gave (in its listing, its SIZE answer or when it
  // began to send) came short or mixed up, even when the server called it
  // complete.
  ReceiveRules rules;
  rules.captionWord = s.DlgDwnload;
  rules.total = total;
  rules.startMs = TransferRunContext::NowMs();
  rules.lengthAgrees = [&](std::int64_t received) {
    return LengthAgrees(received, listedSize) && LengthAgrees(received, remote->AnnouncedSize());
  };
  rules.writeError = TransferError{TransferErrorCode::WriteError, QStringLiteral("Error writing to destination file ") + target};
  rules.replaceError = cannotCreate;
  return ReceiveInBlocks(context_, file, rules, InPlaceMover(*remote)).replaced;
}
