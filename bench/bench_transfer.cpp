// Download throughput of TFileTransfer against the curl command line, both
// fetching the same body from a loopback server started by this program.
//
//   quavik-bench-transfer [--size MiB] [--rounds N]
//       no dialog, no progress handler; best of N rounds (default 5); last line:
//       "download throughput vs curl: <ours / curl's>"
//   quavik-bench-transfer --ftp [--size MiB] [--rounds N]
//       the same for an FTP download from a loopback FTP server (passive
//       mode for both); last line "ftp download throughput vs curl: <ratio>"
//   quavik-bench-transfer --copy [--size MiB] [--rounds N]
//       a file copy against cp; last line "file copy vs cp: <ours / cp's time>"
//   quavik-bench-transfer --dialog [--size MiB] [--throttle-ms N] [--cancel-after-ms N]
//       shows the progress dialog on a slowed-down download (for watching it
//       on a display); with --cancel-after-ms the program clicks Cancel and
//       checks that the partial file is gone.
#include <httplib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "bench_body.h"
#include "bench_files.h"
#include "transfer/file_transfer.h"
#include "transfer/internal/progress_dialog.h"

namespace {

using bench::BodyByte;
using bench::FileHasBody;
using bench::kChunk;
using bench::Seconds;

struct Options {
  std::int64_t sizeMiB = 256;
  int rounds = 5;
  bool dialog = false;
  bool ftp = false;
  bool copy = false;
  int throttleMs = 0;
  int cancelAfterMs = -1;
};

Options ParseOptions(const QStringList& args) {
  Options o;
  for (int i = 1; i < args.size(); ++i) {
    const QString a = args[i];
    const auto next = [&] { return i + 1 < args.size() ? args[++i].toLongLong() : 0; };
    if (a == "--size") o.sizeMiB = next();
    else if (a == "--rounds") o.rounds = static_cast<int>(next());
    else if (a == "--dialog") o.dialog = true;
    else if (a == "--ftp") o.ftp = true;
    else if (a == "--copy") o.copy = true;
    else if (a == "--throttle-ms") o.throttleMs = static_cast<int>(next());
    else if (a == "--cancel-after-ms") o.cancelAfterMs = static_cast<int>(next());
  }
  if (o.dialog && o.throttleMs == 0) o.throttleMs = 20;
  return o;
}

// Serves GET /big with a known body of `size` bytes.
class BodyServer {
 public:
  BodyServer(std::int64_t size, int throttleMs) : size_(size), chunk_(kChunk, '\0') {
    for (std::size_t i = 0; i < kChunk; ++i) chunk_[i] = BodyByte(static_cast<std::int64_t>(i));
    server_.Get("/big", [this, throttleMs](const httplib::Request&, httplib::Response& res) {
      res.set_content_provider(static_cast<size_t>(size_), "application/octet-stream",
                               [this, throttleMs](size_t offset, size_t length, httplib::DataSink& sink) {
                                 if (throttleMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(throttleMs));
                                 const std::size_t at = offset % kChunk;
                                 const std::size_t n = std::min<std::size_t>(length, kChunk - at);
                                 return sink.write(chunk_.data() + at, n);
                               });
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~BodyServer() {
    server_.stop();
    thread_.join();
  }
  QString Url() const { return QStringLiteral("http://127.0.0.1:%1/big").arg(port_); }

 private:
  std::int64_t size_;
  std::string chunk_;
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};

struct Outcome {
  double seconds;
  bool copied;
};

Outcome DownloadOurs(const QString& url, const QString& dir, const QString& name, const Options& o) {
  TFileTransfer transfer;
  transfer.ShowDialog = o.dialog;
  transfer.ShowTime = o.dialog;
  transfer.ShowCompletion = o.dialog;
  TFileTransferItem& item = transfer.Items.Add();
  item.URL = url;
  item.TargetDir = dir;
  item.TargetFilename = name;
  if (o.cancelAfterMs >= 0) {
    QTimer::singleShot(o.cancelAfterMs, &transfer, [&transfer] {
      if (TFileTransferDialog* d = transfer.Dialog()) d->CancelButton()->click();
    });
  }
  QElapsedTimer timer;
  timer.start();
  transfer.Start();
  transfer.WaitUntilIdle(24 * 3600 * 1000);
  return {Seconds(timer), item.Copied()};
}

double DownloadCurl(const QString& url, const QString& target) {
  QElapsedTimer timer;
  timer.start();
  const int code = QProcess::execute(QStringLiteral("curl"), {"-s", "-o", target, url});
  return code == 0 ? Seconds(timer) : -1.0;
}

int RunDialog(const Options& o, const QString& url, const QString& dir) {
  const Outcome outcome = DownloadOurs(url, dir, "watched.bin", o);
  const bool present = QFile::exists(dir + "/watched.bin");
  std::printf("dialog run: %s after %.2f s, target file %s\n", outcome.copied ? "copied" : "not copied",
              outcome.seconds, present ? "present" : "absent");
  return (o.cancelAfterMs >= 0) == present ? 1 : 0;
}

}  // namespace

constexpr const char* kUsage =
    "Usage: quavik-bench-transfer [--ftp | --copy] [--size MiB] [--rounds N]\n"
    "       quavik-bench-transfer --dialog [--size MiB] [--throttle-ms N] [--cancel-after-ms N]\n";

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    const bool withValue = a == "--size" || a == "--rounds" || a == "--throttle-ms" || a == "--cancel-after-ms";
    if (withValue) {
      ++i;
    } else if (a != "--dialog" && a != "--ftp" && a != "--copy") {
      std::fprintf(stderr, "quavik-bench-transfer: unknown option %s\n%s", a.c_str(), kUsage);
      return 2;
    }
  }
  const bool wantsDialog = std::any_of(argv + 1, argv + argc, [](const char* a) { return std::string(a) == "--dialog"; });
  if (!wantsDialog && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const Options o = ParseOptions(app.arguments());
  const std::int64_t size = o.sizeMiB * 1024 * 1024;
  if (o.ftp) return bench::RunFtpBench(o.sizeMiB, o.rounds);
  if (o.copy) return bench::RunCopyBench(o.sizeMiB, o.rounds);
  BodyServer server(size, o.throttleMs);
  QTemporaryDir dir;
  if (o.dialog) return RunDialog(o, server.Url(), dir.path());

  double bestOurs = 1e30;
  double bestCurl = 1e30;
  for (int round = 0; round < o.rounds; ++round) {
    const QString ours = dir.filePath("ours.bin");
    const QString theirs = dir.filePath("curl.bin");
    // Alternate who goes first, so neither always meets a fuller page cache.
    Outcome result{};
    double b = 0;
    if (round % 2 == 0) {
      result = DownloadOurs(server.Url(), dir.path(), "ours.bin", o);
      b = DownloadCurl(server.Url(), theirs);
    } else {
      b = DownloadCurl(server.Url(), theirs);
      result = DownloadOurs(server.Url(), dir.path(), "ours.bin", o);
    }
    const double a = result.copied ? result.seconds : -1.0;
    if (a < 0 || b < 0 || !FileHasBody(ours, size) || !FileHasBody(theirs, size)) {
      std::printf("round %d: a download failed or its file differs (ours %.3f s, curl %.3f s)\n", round + 1, a, b);
      return 1;
    }
    const double mib = static_cast<double>(o.sizeMiB);
    std::printf("round %d: ours %.3f s (%.0f MiB/s), curl %.3f s (%.0f MiB/s)\n", round + 1, a, mib / a, b, mib / b);
    bestOurs = std::min(bestOurs, a);
    bestCurl = std::min(bestCurl, b);
    QFile::remove(ours);
    QFile::remove(theirs);
  }
  std::printf("download throughput vs curl: %.3f\n", bestCurl / bestOurs);
  return 0;
}
