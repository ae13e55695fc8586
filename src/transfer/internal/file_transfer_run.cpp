#include "transfer/internal/file_transfer_run.h"

#include <exception>
#include <optional>

#include "platform/net/internet.h"
#include "transfer/internal/transfer_context.h"
#include "transfer/internal/transfer_protocols.h"
#include "transfer/internal/transfer_run.h"

namespace {

bool NeedsInternet(const TransferRun& run) {
  for (const RunItem& item : run.items) {
    const TransferProtocolRow* row = ProtocolRow(item.fields.Protocol);
    if (item.fields.Active && row && row->needsInternet) return true;
  }
  return false;
}

bool CopyItem(const TFileTransferItem& item, const TransferProtocolRow* row, TransferRunContext& context,
              WorkingDate& workingDate, bool& notNewer) {
  if (!row) return false;
  try {
    const std::unique_ptr<TransferPath> path = row->makePath(context);
    return path->Copy(item, workingDate, notNewer);
  } catch (const std::exception&) {
    return false;  // an error the path does not handle ends the item
  }
}

}  // namespace

void CopyAll(TransferRun& run, UiDispatcher& ui) {
  TransferRunContext context(run, ui);
  context.BuildDialog();  // the run's cancel flag starts clear: each run has its own

  std::optional<platform::InternetSession> session;
  if (NeedsInternet(run)) {
    platform::InternetOptions options;
    options.proxy = run.settings.Proxy;
    options.connectTimeoutMs = run.settings.ConnectTimeoutMs;
    options.stallTimeoutMs = run.settings.StallTimeoutMs;
    options.lowSpeedBytesPerSecond = run.settings.LowSpeedBytesPerSecond;
    options.abort = run.cancel;
    session.emplace(options);
    context.SetSession(&*session);
  }

  for (int i = 0; i < static_cast<int>(run.items.size()); ++i) {
    const TFileTransferItem& item = run.items[static_cast<std::size_t>(i)].fields;
    if (!item.Active) continue;
    const TransferProtocolRow* row = ProtocolRow(item.Protocol);
    context.StartItem(i, row ? run.settings.*(row->captionWord) : run.settings.DlgDwnload);
    if (row) context.SetClip(row->clip);
    WorkingDate workingDate(item.FileDate);
    bool notNewer = false;
    const bool copied = CopyItem(item, row, context, workingDate, notNewer);
    context.StoreResults(i, copied && !run.Cancelled(), notNewer, workingDate.AsDateTime());
    if (run.Cancelled()) break;
    context.FileDone(i);
  }

  context.SetSession(nullptr);
  session.reset();
  context.CopyDone();
  context.EndDialog();
}
