#include "transfer_fixture.h"

#include <csignal>

namespace transfer_test {

EventRecorder::EventRecorder(TFileTransfer& t) {
  t.OnConnectError = [this](QObject*) { lines << "ConnectError"; };
  t.OnCopyCancel = [this](QObject*) { lines << "CopyCancel"; };
  t.OnCopyDone = [this](QObject*) { lines << "CopyDone"; };
  t.OnCopyOverWrite = [this](QObject*, const QString& file, bool& allow) {
    lines << "CopyOverWrite " + file;
    allow = allowOverwrite;
  };
  t.OnCopyProgress = [this](QObject*, int idx, std::int64_t size, std::int64_t total) {
    progress.push_back({idx, size, total});
  };
  t.OnError = [this](QObject*, int code) { lines << QStringLiteral("Error %1").arg(code); };
  t.OnErrorInfo = [this](QObject*, int code, const QString& info) {
    lines << QStringLiteral("ErrorInfo %1 %2").arg(code).arg(info);
  };
  t.OnFileDone = [this](QObject*, int idx) { lines << QStringLiteral("FileDone %1").arg(idx); };
  t.OnFileStart = [this](QObject*, int idx) { lines << QStringLiteral("FileStart %1").arg(idx); };
  t.OnURLNotFound = [this](QObject*, const QString& url) { lines << "URLNotFound " + url; };
  t.OnNoNewFileFound = [this](QObject*, const QString& file, TDateTime cur, TDateTime now) {
    lines << QStringLiteral("NoNewFile %1 %2 %3").arg(file).arg(cur, 0, 'f', 4).arg(now, 0, 'f', 4);
  };
}

TransferTest::TransferTest() {
  // Loopback requests must never be sent to a proxy of the environment.
  for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) qunsetenv(name);
  transfer = std::make_unique<TFileTransfer>();
  transfer->ShowDialog = false;
  transfer->ConnectTimeoutMs = 2000;
  transfer->StallTimeoutMs = 1000;
  events = std::make_unique<EventRecorder>(*transfer);
}

TFileTransferItem& TransferTest::AddDownload(const std::string& path, const QString& targetName) {
  TFileTransferItem& item = transfer->Items.Add();
  item.URL = Url(path);
  item.TargetDir = dir.Path();
  item.TargetFilename = targetName;
  return item;
}

void TransferTest::RunToEnd() {
  transfer->Start();
  ASSERT_TRUE(transfer->WaitUntilIdle(10000)) << "the run did not end";
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) : oldSignal_(signal(SIGXFSZ, SIG_IGN)) {
  EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &old_), 0);
  rlimit small = old_;
  small.rlim_cur = bytes;
  EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
}

FileSizeLimit::~FileSizeLimit() {
  setrlimit(RLIMIT_FSIZE, &old_);
  signal(SIGXFSZ, oldSignal_);
}

}  // namespace transfer_test
