// The copy of a wpFile item: a local file, or one on the network share that
// FTPHost names (connected before and disconnected after the copy, with
// OnConnectError when either fails), into TargetDir. Error events 0 to 5 for
// an identical source and target (compared as the files they resolve to,
// not as text), a source that can't be opened, an empty source, a target that
// can't be created, and a read or write error; the OnNoNewFileFound check
// under CopyNewerOnly against the source's date; OnCopyOverWrite before an
// existing target is replaced. A source that is not a regular file (a pipe,
// a device, a folder) can't be opened. The copy takes the bytes the source
// held when it was opened (what it gains meanwhile stays behind); one that
// ends before that is a read error. The copy goes into a file beside the
// target that takes its place only when complete: a copy that stops early
// (cancel, error, a full disk) is not successful and leaves the old target
// untouched. Blocks of 16384 bytes, each followed by the progress update,
// while anyone watches the progress.
#pragma once
#include "transfer/internal/transfer_path.h"

class FileCopyPath : public TransferPath {
 public:
  explicit FileCopyPath(TransferRunContext& context) : context_(context) {}
  bool Copy(const TFileTransferItem& item, WorkingDate& workingDate, bool& notNewer) override;

 private:
  bool CopyFile(const TFileTransferItem& item, const QString& source, WorkingDate& workingDate, bool& notNewer);
  TransferRunContext& context_;
};

// Whether `a` and `b` name the same file: the same text, or two spellings
// (a link, "./", a doubled separator) of one existing file.
bool SameFile(const QString& a, const QString& b);
