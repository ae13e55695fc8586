// The upload of a wpFtpUpload item: the local file URL goes to FTPHost into
// the remote directory TargetDir (created with its missing parents) as
// TargetFilename or URL's file name, in binary. OnError 6 when the server
// can't be reached, refuses the login or breaks off an exchange (a listing,
// a data connection), OnURLNotFound when the server refuses the remote file,
// OnError 1 when the local file is not a regular file or can't be opened
// (checked before anything is created on the server), OnError 4 when it
// can't be read on or ends before the size it had when opened (bytes it
// gains meanwhile are not sent); the OnNoNewFileFound check under CopyNewerOnly
// against the remote file's date. A transfer the server does not take to
// its end fails the item.
#pragma once
#include "transfer/internal/transfer_path.h"

class FtpUploadPath : public TransferPath {
 public:
  explicit FtpUploadPath(TransferRunContext& context) : context_(context) {}
  bool Copy(const TFileTransferItem& item, WorkingDate& workingDate, bool& notNewer) override;

 private:
  TransferRunContext& context_;
};
