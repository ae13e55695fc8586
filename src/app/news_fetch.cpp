#include "app/news_fetch.h"

#include "platform/os/errors.h"
#include "platform/os/paths.h"
#include "platform/os/text_file.h"
#include "transfer/file_transfer.h"

namespace app {
namespace {
const QString kNewsUnreachable = QStringLiteral("Die News konnten nicht geladen werden.");
}  // namespace

NewsFetch::NewsFetch(TFileTransfer& transfer, QString dir) : transfer_(transfer), dir_(std::move(dir)) {
  transfer_.OnURLNotFound = [this](QObject*, const QString&) { unreachable_ = true; };
}

void NewsFetch::Start(const QString& url) {
  unreachable_ = false;
  transfer_.Items.Clear();
  TFileTransferItem& item = transfer_.Items.Add();
  item.URL = url;
  item.HTTPCommand = hcPut;
  item.TargetDir = dir_;
  item.TargetFilename = kNewsFileName;
  transfer_.Start();
}

QStringList NewsFetch::Text() const {
  QStringList text;
  if (unreachable_) text.append(kNewsUnreachable);
  const QString path = platform::JoinDir(dir_, kNewsFileName);
  const auto lines = platform::ReadPlainTextLines(path);
  if (!lines) {
    if (unreachable_) return text;  // the notice already says why
    throw platform::IoError(QStringLiteral("Cannot open file %1").arg(path));
  }
  if (unreachable_) text.append(QString());
  text.append(*lines);
  return text;
}

}  // namespace app
