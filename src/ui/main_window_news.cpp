// The news panel: fetches the news text with its own transfer, waits a fixed
// five seconds with the update indicator, then shows the file on disk.
#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "ui/main_window.h"

const QString TForm1::kNewsUrl = QStringLiteral("http://news.quavik.de/to/quaviknews.txt");
const QString TForm1::kNewsSiteName = QStringLiteral("www.quavik.de");

namespace {
const QString kNewsFileName = QStringLiteral("quaviknews.txt");
const QString kNewsUnreachable = QStringLiteral("Die News konnten nicht geladen werden.");
}  // namespace

void TForm1::Image9Click() {
  NewsPanel->show();
  NewsMemo->clear();
  NewsMemo->appendPlainText(QStringLiteral("Einen Moment, die aktuellen News werden von der Website ") +
                            kNewsSiteName + QStringLiteral(" geladen. Dauert ein paar Sekunden..."));
  newsUnreachable = false;
  // The news has a transfer of its own, so a click never disturbs a report.
  newsget->Items.Clear();
  TFileTransferItem& item = newsget->Items.Add();
  item.URL = newsUrl;
  item.HTTPCommand = hcPut;
  item.TargetDir = services.paths.TempDir();
  item.TargetFilename = kNewsFileName;
  newsget->Start();
  UpdateVisDelay(5000);
  NewsMemo->clear();
  if (newsUnreachable) NewsMemo->appendPlainText(kNewsUnreachable);
  const QString path = platform::JoinDir(services.paths.TempDir(), kNewsFileName);
  const auto lines = platform::ReadTextFileLines(path);
  if (!lines) {
    if (newsUnreachable) return;  // the memo already says why
    throw platform::IoError(QStringLiteral("Cannot open file %1").arg(path));
  }
  if (newsUnreachable) NewsMemo->appendPlainText(QString());
  for (const QString& line : *lines) NewsMemo->appendPlainText(line);
  NewsMemo->moveCursor(QTextCursor::Start);
}
