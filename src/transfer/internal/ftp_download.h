// The download of a wpFtp item: log in to FTPHost:FTPPort (anonymous unless
// both user and password are set; passive when the component says so),
// change into the directory part of URL, look the file up in the listing for
// its size and date, and stream it in binary into the local target.
// OnError 6 when the server can't be reached, refuses the login or breaks
// off an exchange (a listing, a data connection); OnURLNotFound when the
// URL's folder can't be entered or the file can't be opened; OnError 3 when
// the target can't be created, OnError 5 when a block can't be written; the
// OnNoNewFileFound check under CopyNewerOnly (a file without a listed date
// counts as not newer); OnCopyOverWrite before an existing target is
// replaced. The file goes into a file beside the target that takes its
// place only when complete: a transfer that breaks off, stalls, is
// cancelled or brings another length than the server gave fails the item
// (no event) and leaves the file that was there untouched.
#pragma once
#include <memory>

#include "transfer/internal/transfer_path.h"

namespace platform {
class FtpConnection;
enum class FtpFailure;
}

class FtpDownloadPath : public TransferPath {
 public:
  explicit FtpDownloadPath(TransferRunContext& context) : context_(context) {}
  bool Copy(const TFileTransferItem& item, WorkingDate& workingDate, bool& notNewer) override;

 private:
  TransferRunContext& context_;
};

// Logs in for `item`; raises error 6 and gives null when that fails.
std::unique_ptr<platform::FtpConnection> ConnectFtp(TransferRunContext& context, const TFileTransferItem& item);

// Reports an exchange that failed (unless the run was cancelled): a refusal
// as OnURLNotFound(URL), anything else as error 6. Gives false.
bool FtpFailed(TransferRunContext& context, const TFileTransferItem& item, platform::FtpFailure failure);
