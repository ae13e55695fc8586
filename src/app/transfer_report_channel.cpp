#include "app/transfer_report_channel.h"

#include "platform/text/cp1252.h"
#include "platform/os/text_file.h"
#include "platform/os/paths.h"
#include "presence/roster.h"
#include "transfer/file_transfer.h"

namespace app {

TransferReportChannel::TransferReportChannel(TFileTransfer& transfer, QString answerDir, QString answerFileName)
    : transfer_(transfer), answerDir_(std::move(answerDir)), answerFileName_(std::move(answerFileName)) {}

void TransferReportChannel::Send(const QByteArray& url) {
  // A run still going keeps the items it started with: clearing the list
  // here never disturbs it, and this request's run queues behind it.
  transfer_.Items.Clear();
  TFileTransferItem& item = transfer_.Items.Add();
  // The report URL is Windows-1252 bytes; the item's URL text goes back to
  // exactly these bytes on the way out.
  item.URL = platform::FromCp1252({url.constData(), static_cast<size_t>(url.size())});
  item.HTTPCommand = hcPut;
  item.TargetDir = answerDir_;
  item.TargetFilename = answerFileName_;
  lastRequest_ = transfer_.Items.Shared(0);
  transfer_.Start();
}

bool TransferReportChannel::WaitUntilIdle(int timeoutMs) { return transfer_.WaitUntilIdle(timeoutMs); }
bool TransferReportChannel::Idle() const { return !transfer_.Busy(); }

std::optional<QByteArray> TransferReportChannel::ReadAnswer() {
  if (!lastRequest_) return std::nullopt;
  // One byte past the import's cap lets the import see that the answer was cut.
  const auto bytes =
      platform::ReadFileBytes(platform::JoinDir(answerDir_, answerFileName_), presence::kMaxAnswerBytes + 1);
  if (!bytes) return std::nullopt;
  // A failed request (no connection, an HTTP error, a broken body) left the
  // file as it was. A complete empty answer does replace it, though the
  // transfer does not count it as copied.
  if (!lastRequest_->Copied() && !bytes->empty()) return std::nullopt;
  return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
}

}  // namespace app
