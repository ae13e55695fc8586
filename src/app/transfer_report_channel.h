// The report channel over a transfer component: each request replaces the
// component's items with one HTTP item that writes the answer file, and
// starts a run (runs queue in the order they were started). The answer read
// back is the last request's own: one that failed brings none, even though
// the answer file of an earlier request (perhaps the other script's) stays.
#pragma once
#include <QString>
#include <memory>

#include "presence/login_cycle.h"

class TFileTransfer;
class TFileTransferItem;

namespace app {

class TransferReportChannel : public presence::ReportChannel {
 public:
  // `answerDir`/`answerFileName`: where the answer is written.
  TransferReportChannel(TFileTransfer& transfer, QString answerDir, QString answerFileName);
  void Send(const QByteArray& url) override;
  bool WaitUntilIdle(int timeoutMs) override;
  bool Idle() const override;
  std::optional<QByteArray> ReadAnswer() override;

 private:
  TFileTransfer& transfer_;
  QString answerDir_;
  QString answerFileName_;
  std::shared_ptr<const TFileTransferItem> lastRequest_;
};

}  // namespace app
