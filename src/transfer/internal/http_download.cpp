#include "transfer/internal/http_download.h"

#include "platform/net/internet.h"
#include "transfer/internal/block_receive.h"
#include "transfer/internal/newer_check.h"
#include "transfer/internal/replacement_file.h"
#include "transfer/internal/target_file.h"
#include "transfer/url_routines.h"

bool HttpDownloadPath::Copy(const TFileTransferItem& item, WorkingDate& workingDate, bool& notNewer) {
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
    context_.Error(TransferError::Numbered(status, QStringLiteral("Returned http error code ") + QString::number(status)));
    return false;
  }
  if (item.CopyNewerOnly) {
    const std::optional<std::int64_t> modified = response->LastModified();
    if (!modified) return false;  // no date to compare: the item is not copied
    if (!SourceIsNewer(context_, fileName, TransferTimeFromUnixSeconds(*modified), workingDate, notNewer)) return false;
  }

  // Cancelled while the answer was on its way: nothing is written any more.
  if (context_.Cancelled()) return false;
  const QString name = item.TargetFilename.isEmpty() ? FileNameOfURL(url) : item.TargetFilename;
  const QString target = JoinPath(item.TargetDir, name);
  context_.SetLastTarget(target, item.TargetDir);
  const TransferError cannotCreate{TransferErrorCode::CannotCreateTarget, QStringLiteral("Cannot create file ") + target};
  ReplacementFile file;
  if (!PrepareTarget(context_, target, {TargetFolders::All, cannotCreate, [&] { response.reset(); }}, file))
    return false;

  // Only a complete body takes the target's place; otherwise (also after a
  // cancel) the file that was there stays. A broken or stalled body fails the
  // item without an event; a local write error (a full disk) raises error 5.
  // An empty body is no download: the item fails and the target stays as it
  // was.
  ReceiveRules rules;
  rules.captionWord = s.DlgDwnload;
  rules.total = response->ContentLength();
  rules.startMs = TransferRunContext::NowMs();
  rules.lengthAgrees = [](std::int64_t received) { return received > 0; };
  rules.writeError = TransferError{TransferErrorCode::WriteError, QStringLiteral("Error writing to destination file ") + target};
  rules.replaceError = cannotCreate;
  return ReceiveInBlocks(context_, file, rules, InPlaceMover(*response)).replaced;
}
