#include "transfer/file_copy.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "platform/netshare.h"
#include "transfer/local_file.h"
#include "transfer/replacement_file.h"
#include "transfer/newer_check.h"
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

}  // namespace

bool SameFile(const QString& a, const QString& b) {
  if (a == b) return true;
  std::error_code error;
  return std::filesystem::equivalent(FsPath(a), FsPath(b), error) && !error;
}

bool FileCopyPath::Copy(const TFileTransferItem& item, TDateTime& workingDate, bool& notNewer) {
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

bool FileCopyPath::CopyFile(const TFileTransferItem& item, const QString& source, TDateTime& workingDate,
                            bool& notNewer) {
  const RunSettings& s = context_.Settings();
  const std::int64_t start = TransferRunContext::NowMs();
  const QString name = item.TargetFilename.isEmpty() ? FileNameOfURL(item.URL) : item.TargetFilename;
  const QString target = JoinPath(item.TargetDir, name);
  context_.SetLastTarget(target, item.TargetDir);

  if (SameFile(source, target)) {
    context_.Error(0, QStringLiteral("Cannot copy identical files ") + source);
    return false;
  }
  LocalFile in;
  if (!in.OpenRead(source)) {
    context_.Error(1, QStringLiteral("Cannot open source file ") + source);
    return false;
  }
  if (item.CopyNewerOnly) {
    const TDateTime sourceDate = DateTimeFromUnixMilliseconds(QFileInfo(source).lastModified().toMSecsSinceEpoch());
    if (!SourceIsNewer(context_, source, sourceDate, workingDate, notNewer)) return false;
  }
  const std::int64_t length = in.Size();
  if (length <= 0) {
    in.Close();
    context_.Error(2, QStringLiteral("Zero length source file ") + source);
    return false;
  }
  const QFileInfo existing(target);
  if (existing.exists() && !existing.isDir() && !context_.AllowOverwrite(target)) return false;
  const QString targetDir = DirectoryPartOf(target);
  if (!targetDir.isEmpty()) ForceDirectories(targetDir);
  ReplacementFile replacement;
  if (!replacement.Create(target)) {
    context_.Error(3, QStringLiteral("Cannot create target file ") + target);
    return false;
  }
  LocalFile& out = replacement.File();

  const std::int64_t blockSize = context_.ProgressObserved() ? kBlock : kUnobservedBlock;
  std::vector<char> buffer(static_cast<std::size_t>(blockSize));
  std::int64_t done = 0;
  std::int64_t got = 0;
  // The system moves the blocks while it can; once it can't (another file
  // system, a special file, an error) the buffer takes over, and a real read
  // or write error shows there with its own code. The copy takes what the
  // source held when it was opened; a source that ends before that was cut
  // short under our hands.
  bool inSystem = true;
  do {
    const std::int64_t want = std::min(blockSize, length - done);
    got = want > 0 && inSystem ? out.CopyFrom(in, want) : -1;
    if (want == 0) {
      got = 0;  // the last pass: all there was is copied
    } else if (got < 0) {
      inSystem = false;
      got = in.Read(buffer.data(), want);
      if (got <= 0) {
        context_.Error(4, QStringLiteral("Error reading source file ") + source);
        return false;
      }
      if (!out.Write(buffer.data(), got)) {
        context_.Error(5, QStringLiteral("Error writing to destination file ") + target);
        return false;
      }
    }
    done += got;
    context_.Progress(done, length, start, s.DlgCopying);
  } while (got > 0 && !context_.Cancelled());

  if (context_.Cancelled()) return false;  // the old target stays
  if (!replacement.Finish()) {  // bytes still buffered could not be written
    context_.Error(5, QStringLiteral("Error writing to destination file ") + target);
    return false;
  }
  if (!replacement.Replace()) {
    context_.Error(3, QStringLiteral("Cannot create target file ") + target);
    return false;
  }
  return true;
}
