#include "transfer/internal/ftp_upload.h"

#include "platform/net/ftp.h"
#include "transfer/internal/block_send.h"
#include "transfer/internal/ftp_download.h"
#include "transfer/internal/local_file.h"
#include "transfer/internal/newer_check.h"
#include "transfer/transfer_date.h"
#include "transfer/url_routines.h"

bool FtpUploadPath::Copy(const TFileTransferItem& item, WorkingDate& workingDate, bool& notNewer) {
  const RunSettings& s = context_.Settings();
  notNewer = false;
  context_.SetFileLine(FileNameOfURL(item.URL), s.DlgToServerLabel, item.FTPHost);
  const std::unique_ptr<platform::FtpConnection> ftp = ConnectFtp(context_, item);
  if (!ftp) return false;

  platform::FtpFailure failure = platform::FtpFailure::kNone;
  if (!item.TargetDir.isEmpty() && !ftp->SetCurrentDirectory(item.TargetDir, &failure)) {
    if (failure != platform::FtpFailure::kRefused) return FtpFailed(context_, item, failure);
    if (!(ftp->CreateDirectory(item.TargetDir) && ftp->SetCurrentDirectory(item.TargetDir))) return false;
  }
  const QString remoteName = item.TargetFilename.isEmpty() ? FileNameOfURL(item.URL) : item.TargetFilename;
  if (item.CopyNewerOnly) {
    const platform::FtpLookup listed = ftp->FindFile(remoteName);
    if (listed.failure != platform::FtpFailure::kNone) return FtpFailed(context_, item, listed.failure);
    if (listed.file) {
      if (!listed.file->modified) return false;  // no date to compare: the item is not copied
      if (!SourceIsNewer(context_, remoteName, TransferTimeFromUnixSeconds(*listed.file->modified), workingDate, notNewer))
        return false;
    }
  }

  // The local file first: a source that can't be read leaves no empty file
  // on the server.
  LocalFile file;
  const std::int64_t size = file.OpenRead(item.URL) ? file.Size() : -1;
  if (size < 0) {
    // The code of a source that can't be opened, with the text the component
    // has always given it here.
    context_.Error({TransferErrorCode::CannotOpenSource, QStringLiteral("Cannot create target file ") + item.URL});
    return false;
  }
  std::unique_ptr<platform::FtpWriter> remote = ftp->OpenWrite(remoteName, &failure);
  if (!remote) return FtpFailed(context_, item, failure);
  context_.SetLastTarget(item.URL, item.TargetDir);

  const auto write = [&](const char* data, std::int64_t n) { return remote->Write(data, n); };
  const BlockSendResult sent = SendInBlocks(context_, file, size, write);
  switch (sent.outcome) {
    case BlockSend::Sent:
      if (sent.bytes == size) return remote->End();
      [[fallthrough]];  // the file shrank on the way
    case BlockSend::ReadFailed:
      context_.Error({TransferErrorCode::ReadError, QStringLiteral("Error reading source file ") + item.URL});
      return false;
    case BlockSend::WriteFailed:  // the server broke off
    case BlockSend::Cancelled:
      return false;
  }
  return false;
}
