// The download of a wpHttp item: a GET of the URL (with the proxy
// credentials put in) streamed block by block into the local target file.
// OnURLNotFound when the URL can't be opened at all, OnError/OnErrorInfo for
// a status of 300 or more, a target that can't be created (3) or written
// (5, a full disk), the OnNoNewFileFound check under CopyNewerOnly,
// OnCopyOverWrite before an existing target is replaced. The body goes into
// a file beside the target that takes its place only once the body is
// complete and not empty: a download that breaks off, stalls, trickles,
// fails to write, brings an empty body or is cancelled leaves the file that
// was there untouched. A cancelled download reports no URL as not found.
// The body moves in blocks of 4096 bytes, each followed by the progress
// update, while anyone watches the progress; unwatched, a block is whatever
// the connection has delivered, so a large download costs no more than it must.
#pragma once
#include "transfer/transfer_date.h"
#include "transfer/internal/transfer_path.h"

class HttpDownloadPath : public TransferPath {
 public:
  explicit HttpDownloadPath(TransferRunContext& context) : context_(context) {}
  bool Copy(const TFileTransferItem& item, WorkingDate& workingDate, bool& notNewer) override;

 private:
  TransferRunContext& context_;
};
