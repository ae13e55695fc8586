#include "transfer/internal/transfer_context.h"

#include <QApplication>
#include <QProgressBar>
#include <chrono>

#include "transfer/internal/progress_dialog.h"
#include "transfer/internal/progress_format.h"
#include "transfer/run_observer.h"
#include "transfer/internal/ui_dispatcher.h"

TransferRunContext::TransferRunContext(TransferRun& run, UiDispatcher& ui)
    : run_(run), ui_(ui), widgetsAvailable_(qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {}

std::int64_t TransferRunContext::NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void TransferRunContext::BuildDialog() {
  ui_.OnUi([](TransferRunObserver& o) { o.RunStarting(); });
  if (!DialogShown()) return;  // a dialog nobody sees is not worth building
  ui_.OnUi([&](TransferRunObserver& o) { dialog_ = o.BuildDialog(run_); });
}

void TransferRunContext::StartItem(int index, const QString& captionWord) {
  ++currentIndex_;
  const int current = currentIndex_;
  ui_.OnUi([&](TransferRunObserver& o) { o.ItemStarting(current, index); });
  ui_.OnUi([&](TransferRunObserver&) {
    if (dialog_) dialog_->setWindowTitle(captionWord + QStringLiteral(" ..."));
  });
}

void TransferRunContext::StoreResults(int index, bool copied, bool noNewFile, TDateTime newFileDate) {
  RunItem& item = run_.items[static_cast<std::size_t>(index)];
  ui_.OnUi([&](TransferRunObserver&) { item.shared->SetResults(copied, noNewFile, newFileDate); });
}

void TransferRunContext::FileDone(int index) {
  ui_.OnUi([&](TransferRunObserver& o) { o.ItemDone(index); });
}

void TransferRunContext::CopyDone() {
  ui_.OnUi([](TransferRunObserver& o) { o.RunDone(); });
}

void TransferRunContext::EndDialog() {
  ui_.OnUi([&](TransferRunObserver& o) { o.EndDialog(dialog_, run_, Cancelled()); });
}

void TransferRunContext::SetFileLine(const QString& fileName, const QString& hostWord, const QString& host) {
  const RunSettings& s = run_.settings;
  QString prefix;
  if (run_.items.size() >= 2)
    prefix = QStringLiteral("%1 %2 %3 : ").arg(currentIndex_).arg(s.DlgFileOfLabel).arg(run_.ActiveCount());
  const QString line = s.DlgFileLabel + u' ' + prefix + fileName + u' ' + hostWord + u' ' + host;
  if (!DialogShown()) return;
  ui_.OnUi([&](TransferRunObserver&) {
    if (dialog_) dialog_->SetFileLine(line);
  });
}

void TransferRunContext::SetClip(TransferClip clip) {
  if (!DialogShown()) return;
  ui_.OnUi([&](TransferRunObserver&) {
    if (dialog_) dialog_->SetClip(clip);
  });
}

void TransferRunContext::Progress(std::int64_t done, std::int64_t total, std::int64_t startMs,
                                  const QString& captionWord) {
  const RunSettings& s = run_.settings;
  if (!ProgressObserved() && !ProgressHandlerNow()) return;
  const std::int64_t elapsed = NowMs() - startMs;
  const int index = currentIndex_;
  ui_.OnUi([&](TransferRunObserver& o) {
    if (dialog_) {
      if (total > 0)
        dialog_->SetProgress(PercentDone(done, total), s.DlgProgressLabel + u' ' + FormatSize(done) +
                                                           QStringLiteral(" of ") + FormatSize(total));
      else
        dialog_->SetProgress(-1, s.DlgProgressLabel + u' ' + FormatSize(done));
    }
    o.Progress(index, done, total);
    if (!dialog_) return;
    if (s.ShowCompletion)
      dialog_->setWindowTitle(QStringLiteral("%1 : %2% %3").arg(captionWord).arg(dialog_->Bar()->value()).arg(s.DlgCompleted));
    dialog_->SetRateLine(s.DlgRateLabel + u' ' + FormatRate(TransferRate(done, elapsed)));
    dialog_->SetTimeLine(s.DlgTimeLabel + u' ' + FormatTimeLeft(elapsed, done, total));
  });
}

bool TransferRunContext::ProgressHandlerNow() {
  // Asking the user-interface thread costs a wait for it; a handler
  // assigned meanwhile is found within the probe interval.
  constexpr std::int64_t kProbeIntervalMs = 100;
  if (handlerAssigned_) return true;
  const std::int64_t now = NowMs();
  if (lastProbeMs_ >= 0 && now - lastProbeMs_ < kProbeIntervalMs) return false;
  lastProbeMs_ = now;
  ui_.OnUi([&](TransferRunObserver& o) { handlerAssigned_ = o.WatchesProgress(); });
  return handlerAssigned_;
}

void TransferRunContext::SetLastTarget(const QString& target, const QString& directory) {
  ui_.OnUi([&](TransferRunObserver& o) { o.TargetChosen(target, directory); });
}

void TransferRunContext::URLNotFound(const QString& url) {
  ui_.OnUi([&](TransferRunObserver& o) { o.UrlNotFound(url); });
}

void TransferRunContext::Error(const TransferError& error) {
  ui_.OnUi([&](TransferRunObserver& o) { o.Error(error.code); });
  ui_.OnUi([&](TransferRunObserver& o) { o.ErrorInfo(error.code, error.info); });
}

bool TransferRunContext::AllowOverwrite(const QString& target) {
  bool allow = false;
  const bool asked = ui_.OnUi([&](TransferRunObserver& o) { allow = o.AllowOverwrite(target); });
  return asked && allow;  // a component that is gone overwrites nothing
}

void TransferRunContext::NoNewFile(const QString& file, TDateTime curdate, TDateTime newdate) {
  ui_.OnUi([&](TransferRunObserver& o) { o.NoNewFile(file, curdate, newdate); });
}

void TransferRunContext::ConnectError() {
  ui_.OnUi([](TransferRunObserver& o) { o.ConnectError(); });
}
