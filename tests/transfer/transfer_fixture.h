// Shared set-up of the transfer tests: a component without dialog, a temp
// directory, a loopback server, a recorder of every event in order, and a
// disk that is full.
#pragma once
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

#include "support/loopback_http_server.h"
#include "support/temp_dir.h"
#include "transfer/file_transfer.h"

namespace transfer_test {

struct ProgressCall {
  int fileidx;
  std::int64_t size;
  std::int64_t totsize;
};

// Binds every event of `transfer` and writes one line per call, e.g.
// "FileStart 0", "ErrorInfo 404 Returned http error code 404", "CopyDone".
class EventRecorder {
 public:
  explicit EventRecorder(TFileTransfer& transfer);
  QStringList lines;
  std::vector<ProgressCall> progress;
  bool allowOverwrite = true;
};

// While it lives, no file of this process can grow beyond `bytes`, as on a
// disk that is full: a write past that fails (without SIGXFSZ).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*oldSignal_)(int);
};

class TransferTest : public ::testing::Test {
 protected:
  TransferTest();

  // Adds an active HTTP download of `path` on the loopback server into the
  // temp dir as `targetName`.
  TFileTransferItem& AddDownload(const std::string& path, const QString& targetName);
  // Starts and waits for the run to end (fails the test after 10 s).
  void RunToEnd();
  QString Url(const std::string& path) const { return QString::fromStdString(server.Url(path)); }

  testing_support::TempDir dir;
  testing_support::LoopbackHttpServer server;
  std::unique_ptr<TFileTransfer> transfer;
  std::unique_ptr<EventRecorder> events;
};

}  // namespace transfer_test
