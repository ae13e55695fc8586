#include "transfer/internal/file_copy.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <vector>

#include "platform/os/netshare.h"
#include "transfer/internal/block_receive.h"
#include "transfer/internal/local_file.h"
#include "transfer/internal/newer_check.h"
#include "transfer/internal/replacement_file.h"
#include "transfer/internal/target_file.h"
#include "transfer/transfer_date.h"
#include "transfer/url_routines.h"

namespace {
constexpr std::int64_t kBlock = 16384;
// Unobserved, the file moves in larger pieces.
constexpr std::int64_t kUnobservedBlock = 8 << 20;

std::filesystem::path FsPath(const QString& path) { return std::filesystem::path(QFile::encodeName(path).toStdString()); }

// The directory of `path` without its closing separator ("/" stays "/").
QString DirectoryOf(const QString& path) {
  QString dir = DirectoryPartOf(path);
  if (dir.size() > 1) dir.chop(1);
  return dir;
}

// Moves a local file's blocks. The system moves them while it can; once it
// can't (another file system, a special file, an error) they pass through a
// buffer, where a real read or write error shows.
BlockMover LocalMover(LocalFile& in) {
  return [&in, inSystem = true, buffer = std::vector<char>()](LocalFile& out, std::int64_t max) mutable -> BlockMoved {
    std::int64_t got = inSystem ? out.CopyFrom(in, max) : -1;
    if (got >= 0) return {got, BlockMoved::None};
    inSystem = false;
    if (buffer.size() < static_cast<std::size_t>(max)) buffer.resize(static_cast<std::size_t>(max));
    got = in.Read(buffer.data(), max);
    if (got < 0) return {0, BlockMoved::ReadFailed};
    if (got > 0 && !out.Write(buffer.data(), got)) return {0, BlockMoved::WriteFailed};
    return {got, BlockMoved::None};
  };
}

}  // namespace

bool SameFile(const QString& a, const QString& b) {
  if (a == b) return true;
  std::error_code error;
  return std::filesystem::equivalent(FsPath(a), FsPath(b), error) && !error;
}

bool FileCopyPath::Copy(const TFileTransferItem& item, WorkingDate& workingDate, bool& notNewer) {
  const RunSettings& s = context_.Settings();
  notNewer = false;
  const QString host = item.FTPHost.isEmpty() ? DirectoryOf(item.URL) : item.FTPHost;
  context_.SetFileLine(FileNameOfURL(item.URL), s.DlgFromServerLabel, host);

  if (item.FTPHost.isEmpty()) return CopyFile(item, item.URL, workingDate, notNewer);

  platform::NetShare share(item.FTPHost);
  if (!share.Connect(item.FTPUserID, item.FTPPassword)) {
    context_.ConnectError();
    return false;
  }
  const bool copied = CopyFile(item, JoinPath(share.LocalPath(), item.URL), workingDate, notNewer);
  if (!share.Disconnect()) {
    context_.ConnectError();
    return false;
  }
  return copied;
}

bool FileCopyPath::CopyFile(const TFileTransferItem& item, const QString& source, WorkingDate& workingDate,
                            bool& notNewer) {
  const RunSettings& s = context_.Settings();
  const std::int64_t start = TransferRunContext::NowMs();
  const QString name = item.TargetFilename.isEmpty() ? FileNameOfURL(item.URL) : item.TargetFilename;
  const QString target = JoinPath(item.TargetDir, name);
  context_.SetLastTarget(target, item.TargetDir);

  if (SameFile(source, target)) {
    context_.Error({TransferErrorCode::IdenticalFiles, QStringLiteral("Cannot copy identical files ") + source});
    return false;
  }
  LocalFile in;
  if (!in.OpenRead(source)) {
    context_.Error({TransferErrorCode::CannotOpenSource, QStringLiteral("Cannot open source file ") + source});
    return false;
  }
  if (item.CopyNewerOnly) {
    const TransferTime sourceDate(std::chrono::milliseconds(QFileInfo(source).lastModified().toMSecsSinceEpoch()));
    if (!SourceIsNewer(context_, source, sourceDate, workingDate, notNewer)) return false;
  }
  const std::int64_t length = in.Size();
  if (length <= 0) {
    in.Close();
    context_.Error({TransferErrorCode::ZeroLengthSource, QStringLiteral("Zero length source file ") + source});
    return false;
  }
  const TransferError cannotCreate{TransferErrorCode::CannotCreateTarget,
                                   QStringLiteral("Cannot create target file ") + target};
  ReplacementFile replacement;
  if (!PrepareTarget(context_, target, {TargetFolders::AllWhenNamed, cannotCreate, {}}, replacement)) return false;

  // The copy takes what the source held when it was opened; a source that
  // ends before that was cut short under our hands. A copy that stops early
  // leaves the old target as it was.
  ReceiveRules rules;
  rules.captionWord = s.DlgCopying;
  rules.startMs = start;
  rules.total = length;
  rules.exactTotal = true;
  rules.observedBlock = kBlock;
  rules.unobservedBlock = kUnobservedBlock;
  rules.readError = TransferError{TransferErrorCode::ReadError, QStringLiteral("Error reading source file ") + source};
  rules.writeError = TransferError{TransferErrorCode::WriteError, QStringLiteral("Error writing to destination file ") + target};
  rules.replaceError = cannotCreate;
  return ReceiveInBlocks(context_, replacement, rules, LocalMover(in)).replaced;
}
