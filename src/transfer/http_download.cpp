#include "transfer/http_download.h"

#include <QFileInfo>

#include "platform/internet.h"
#include "transfer/replacement_file.h"
#include "transfer/newer_check.h"
#include "transfer/transfer_context.h"
#include "transfer/url_routines.h"

namespace {
constexpr std::int64_t kBlock = 4096;
// Unobserved, a block is whatever the connection has delivered, up to this.
constexpr std::int64_t kUnobservedBlock = 1 << 20;
}

bool HttpDownloadPath::Copy(const TFileTransferItem& item, TDateTime& workingDate, bool& notNewer) {
  const RunSettings& s = context_.Settings();
  notNewer = false;
  const QString fileName = FileNameOfURL(item.URL);
  const QString url = AddProxyCredentials(item.URL, s.ProxyUserID, s.ProxyPassword);
  context_.SetFileLine(fileName, s.DlgFromServerLabel, HostOfURL(url));

  platform::InternetSession* session = context_.Session();
  std::unique_ptr<platform::HttpResponse> response = session ? session->OpenUrl(url) : nullptr;
  if (!response) {
    if (!context_.Cancelled()) context_.URLNotFound(url);
    return false;
  }
  const int status = response->Status();
  if (status >= 300) {
    response.reset();
    context_.Error(status, QStringLiteral("Returned http error code ") + QString::number(status));
    return false;
  }
  if (item.CopyNewerOnly) {
    const std::optional<std::int64_t> modified = response->LastModified();
    if (!modified) return false;  // no date to compare: the item is not copied
    if (!SourceIsNewer(context_, fileName, DateTimeFromUnixSeconds(*modified), workingDate, notNewer)) return false;
  }

  // Cancelled while the answer was on its way: nothing is written any more.
  if (context_.Cancelled()) return false;
  const QString name = item.TargetFilename.isEmpty() ? FileNameOfURL(url) : item.TargetFilename;
  const QString target = JoinPath(item.TargetDir, name);
  context_.SetLastTarget(target, item.TargetDir);
  const QFileInfo existing(target);
  if (existing.exists() && !existing.isDir() && !context_.AllowOverwrite(target)) return false;
  ForceDirectories(DirectoryPartOf(target));
  ReplacementFile file;
  if (!file.Create(target)) {
    response.reset();
    context_.Error(3, QStringLiteral("Cannot create file ") + target);
    return false;
  }

  const std::int64_t total = response->ContentLength();
  const std::int64_t start = TransferRunContext::NowMs();
  const std::int64_t blockSize = context_.ProgressObserved() ? kBlock : kUnobservedBlock;
  const char* block = nullptr;
  std::int64_t done = 0;
  std::int64_t got = 0;
  bool received = false;
  bool failed = false;
  do {
    got = response->ReadInPlace(blockSize, block);
    if (got < 0 || (got > 0 && !file.File().Write(block, got))) {
      failed = true;  // a broken or stalled body, or a local write error
      break;
    }
    done += got;
    context_.Progress(done, total, start, s.DlgDwnload);
    if (got > 0) received = true;
  } while (got > 0 && !context_.Cancelled());

  // Only a complete body takes the target's place; otherwise (also after a
  // cancel) the file that was there stays. A complete empty body does
  // replace it, though the item counts as failed.
  if (failed || context_.Cancelled() || !file.Finish()) return false;
  if (!file.Replace()) {
    context_.Error(3, QStringLiteral("Cannot create file ") + target);
    return false;
  }
  return received;
}
