// HTTP downloads against a real server on loopback: what lands on disk, the
// item's result and the events, for the answers a server can give.
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <thread>

#include "transfer/internal/http_download.h"
#include <QDir>

#include "transfer_fixture.h"

namespace transfer_test {
namespace {

using httplib::Request;
using httplib::Response;

struct DownloadCase {
  const char* name;
  std::function<void(testing_support::LoopbackHttpServer&)> serve;  // answers GET /file
  bool copied;
  const char* fileContent;  // nullptr: no target file
  QStringList events;       // without FileStart/FileDone/CopyDone
  std::int64_t announcedTotal;
  friend void PrintTo(const DownloadCase& c, std::ostream* os) { *os << c.name; }
};

class DownloadAnswers : public TransferTest, public ::testing::WithParamInterface<DownloadCase> {};

TEST_P(DownloadAnswers, StoresBodyAndReportsOutcome) {
  const DownloadCase& c = GetParam();
  c.serve(server);
  AddDownload("/file", "out.txt");
  RunToEnd();

  EXPECT_EQ(transfer->Items[0].Copied(), c.copied);
  if (c.fileContent) {
    EXPECT_EQ(dir.Read("out.txt"), c.fileContent);
    EXPECT_TRUE(dir.Exists("out.txt"));
  } else {
    EXPECT_FALSE(dir.Exists("out.txt"));
  }
  QStringList expected{"FileStart 0"};
  expected << c.events << "FileDone 0"
           << "CopyDone";
  EXPECT_EQ(events->lines, expected);
  if (c.copied) {
    ASSERT_FALSE(events->progress.empty());
    EXPECT_EQ(events->progress.back().size, std::int64_t(std::strlen(c.fileContent)));
    EXPECT_EQ(events->progress.back().totsize, c.announcedTotal);
    EXPECT_EQ(events->progress.back().fileidx, 1);
  }
}

const std::string kBody(10000, 'x');

INSTANTIATE_TEST_SUITE_P(
    Http, DownloadAnswers,
    ::testing::Values(
        DownloadCase{"WithLength", [](auto& s) { s.Serve("/file", "hello world"); }, true, "hello world", {}, 11},
        DownloadCase{"WithoutLength",
                     [](auto& s) {
                       s.Handle("GET", "/file", [](const Request&, Response& res) {
                         res.set_chunked_content_provider("text/plain", [](size_t offset, httplib::DataSink& sink) {
                           if (offset == 0) {
                             sink.write("chunked ", 8);
                             sink.write("body", 4);
                           } else {
                             sink.done();
                           }
                           return true;
                         });
                       });
                     },
                     true, "chunked body", {}, 0},
        DownloadCase{"EmptyBody", [](auto& s) { s.Serve("/file", ""); }, false, nullptr, {}, 0},
        DownloadCase{"NotFound", [](auto& s) { s.Serve("/file", "missing", 404); }, false, nullptr,
                     {"Error 404", "ErrorInfo 404 Returned http error code 404"}, 0},
        DownloadCase{"ServerError", [](auto& s) { s.Serve("/file", "boom", 500); }, false, nullptr,
                     {"Error 500", "ErrorInfo 500 Returned http error code 500"}, 0},
        DownloadCase{"Redirect",
                     [](auto& s) {
                       s.Handle("GET", "/file", [](const Request&, Response& res) { res.set_redirect("/moved"); });
                       s.Serve("/moved", "moved body");
                     },
                     true, "moved body", {}, 10}),
    [](const auto& info) { return std::string(info.param.name); });

// A body cut short fails the item and leaves the earlier file as it was.
TEST_F(TransferTest, BodyCutShortFailsAndLeavesTheEarlierFile) {
  server.Handle("GET", "/file", [](const Request&, Response& res) {
    res.set_content_provider(kBody.size(), "text/plain", [](size_t offset, size_t, httplib::DataSink& sink) {
      if (offset > 0) return false;
      sink.write(kBody.data(), 5000);
      return true;
    });
  });
  dir.Write("out.txt", "the earlier file");
  AddDownload("/file", "out.txt");
  RunToEnd();
  EXPECT_FALSE(transfer->Items[0].Copied());
  EXPECT_EQ(dir.Read("out.txt"), "the earlier file");
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.txt"});
}

// An answer of "200" with an empty body is no download: the item fails, and
// the earlier file stays as with every other failure.
TEST_F(TransferTest, EmptyBodyFailsAndLeavesTheEarlierFile) {
  server.Handle("GET", "/file", [](const Request&, Response& res) {
    res.status = 200;
    res.set_header("Content-Length", "0");
  });
  dir.Write("out.txt", "the earlier file");
  AddDownload("/file", "out.txt");
  RunToEnd();
  EXPECT_FALSE(transfer->Items[0].Copied());
  EXPECT_EQ(dir.Read("out.txt"), "the earlier file");
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.txt"});
}

// As a copy or an FTP download, an HTTP download that meets a full disk
// raises error 5; the item fails and the earlier file stays.
TEST_F(TransferTest, FullDiskRaisesErrorFiveAndLeavesTheEarlierFile) {
  server.Serve("/file", std::string(3 << 20, 'b'));
  dir.Write("out.bin", "the earlier file");
  AddDownload("/file", "out.bin");
  {
    const FileSizeLimit full(1 << 20);
    RunToEnd();
  }
  const QString target = dir.File("out.bin");
  EXPECT_FALSE(transfer->Items[0].Copied());
  EXPECT_EQ(events->lines, QStringList({"FileStart 0", "CopyOverWrite " + target, "Error 5",
                                        "ErrorInfo 5 Error writing to destination file " + target, "FileDone 0",
                                        "CopyDone"}));
  EXPECT_EQ(dir.Read("out.bin"), "the earlier file");
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.bin"});
}

TEST_F(TransferTest, StalledBodyEndsTheItemAsFailed) {
  transfer->StallTimeoutMs = 200;
  server.Handle("GET", "/file", [](const Request&, Response& res) {
    res.set_content_provider(kBody.size(), "text/plain", [](size_t offset, size_t, httplib::DataSink& sink) {
      if (offset > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        return false;
      }
      sink.write(kBody.data(), 4096);
      return true;
    });
  });
  AddDownload("/file", "out.txt");
  const auto started = std::chrono::steady_clock::now();
  RunToEnd();
  EXPECT_FALSE(transfer->Items[0].Copied());
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(550));
}

// A body that trickles in, never silent for the stall time but slower than
// the low speed over it, fails the item as a stall does: without an event,
// the earlier file untouched.
TEST_F(TransferTest, TricklingBodyEndsTheItemAsFailed) {
  transfer->StallTimeoutMs = 1000;
  transfer->LowSpeedBytesPerSecond = 1024;
  server.Handle("GET", "/file", [](const Request&, Response& res) {
    res.set_content_provider(kBody.size(), "text/plain", [](size_t offset, size_t, httplib::DataSink& sink) {
      if (offset > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
      return sink.write(kBody.data() + offset, 50);  // 500 bytes a second
    });
  });
  dir.Write("out.txt", "the earlier file");
  AddDownload("/file", "out.txt");
  const auto started = std::chrono::steady_clock::now();
  RunToEnd();
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(3000));
  EXPECT_FALSE(transfer->Items[0].Copied());
  EXPECT_EQ(events->lines, QStringList({"FileStart 0", "CopyOverWrite " + dir.File("out.txt"), "FileDone 0", "CopyDone"}));
  EXPECT_EQ(dir.Read("out.txt"), "the earlier file");
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.txt"});
}

TEST_F(TransferTest, UnreachableServerRaisesURLNotFoundWithTheRequestedURL) {
  int closedPort = 0;
  {
    testing_support::LoopbackHttpServer gone;
    closedPort = gone.Port();
  }
  const QString refused = QStringLiteral("http://127.0.0.1:%1/report.php?x=1").arg(closedPort);
  transfer->ProxyUserID = "ann";
  transfer->ProxyPassword = "pw";
  for (const QString& url : {refused, QStringLiteral("HTTP://quavik-test.invalid/report.php")}) {
    TFileTransferItem& item = transfer->Items.Add();
    item.URL = url;
    item.TargetDir = dir.Path();
    item.TargetFilename = "out.txt";
  }
  RunToEnd();
  EXPECT_EQ(events->lines,
            QStringList({"FileStart 0",
                         QStringLiteral("URLNotFound http://ann:pw@127.0.0.1:%1/report.php?x=1").arg(closedPort),
                         "FileDone 0", "FileStart 1", "URLNotFound http://ann:pw@quavik-test.invalid/report.php",
                         "FileDone 1", "CopyDone"}));
  EXPECT_FALSE(dir.Exists("out.txt"));
}

// Last-Modified of the answer: Sun, 06 Nov 1994 08:49:37 GMT.
constexpr std::int64_t kServerSeconds = 784111777;

struct NewerCase {
  const char* name;
  bool sendDate;
  double fileDateOffset;  // days relative to the server's date
  bool copied;
  bool noNewFile;
  friend void PrintTo(const NewerCase& c, std::ostream* os) { *os << c.name; }
};

class CopyNewerOnly : public TransferTest, public ::testing::WithParamInterface<NewerCase> {};

TEST_P(CopyNewerOnly, ComparesTheServerDateWithFileDate) {
  const NewerCase& c = GetParam();
  const bool sendDate = c.sendDate;
  server.Handle("GET", "/file", [sendDate](const Request&, Response& res) {
    if (sendDate) res.set_header("Last-Modified", "Sun, 06 Nov 1994 08:49:37 GMT");
    res.set_content("fresh", "text/plain");
  });
  const TDateTime serverDate = DateTimeFromUnixSeconds(kServerSeconds);
  TFileTransferItem& item = AddDownload("/file", "out.txt");
  item.CopyNewerOnly = true;
  item.FileDate = serverDate + c.fileDateOffset;
  RunToEnd();

  EXPECT_EQ(item.Copied(), c.copied);
  EXPECT_EQ(item.NoNewFile(), c.noNewFile);
  EXPECT_EQ(item.FileDate, serverDate + c.fileDateOffset);  // never changed by the run
  EXPECT_EQ(dir.Exists("out.txt"), c.copied);
  if (c.sendDate) EXPECT_DOUBLE_EQ(item.NewFileDate(), serverDate);
  else EXPECT_EQ(item.NewFileDate(), item.FileDate);
  const QString noNew = QStringLiteral("NoNewFile file %1 %1").arg(serverDate, 0, 'f', 4);
  EXPECT_EQ(events->lines.contains(noNew), c.noNewFile) << events->lines.join(" | ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Http, CopyNewerOnly,
                         ::testing::Values(NewerCase{"ServerNewer", true, -1.0, true, false},
                                           NewerCase{"SameDate", true, 0.0, false, true},
                                           NewerCase{"ServerOlder", true, 2.5, false, true},
                                           NewerCase{"NoDateSent", false, -1.0, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransferTest, ExistingTargetIsReplacedOnlyWhenTheHandlerAllows) {
  server.Serve("/file", "new");
  for (const bool allow : {false, true}) {
    SCOPED_TRACE(allow);
    dir.Write("out.txt", "old");
    events->lines.clear();
    events->allowOverwrite = allow;
    transfer->Items.Clear();
    AddDownload("/file", "out.txt");
    RunToEnd();
    EXPECT_EQ(dir.Read("out.txt"), allow ? "new" : "old");
    EXPECT_EQ(transfer->Items[0].Copied(), allow);
    EXPECT_EQ(events->lines.at(1), "CopyOverWrite " + dir.File("out.txt"));
  }
}

TEST_F(TransferTest, TargetThatCannotBeCreatedRaisesErrorThree) {
  server.Serve("/dir/", "listing");
  AddDownload("/dir/", "");  // no file name: the target is the directory itself
  RunToEnd();
  const QString target = dir.Path() + "/";
  EXPECT_EQ(events->lines, QStringList({"FileStart 0", "Error 3", "ErrorInfo 3 Cannot create file " + target,
                                        "FileDone 0", "CopyDone"}));
  EXPECT_EQ(transfer->LastTarget(), target);
}

// A target of any valid name, up to the 255 bytes a folder entry may have,
// is downloaded and replaced: the temporary file beside it must fit too.
TEST_F(TransferTest, TargetsWithTheLongestNamesAreReplaced) {
  const std::string umlaut = "\xC3\xA4";  // two bytes in UTF-8
  std::string umlauts;
  for (int i = 0; i < 127; ++i) umlauts += umlaut;
  const std::vector<std::string> names = {std::string(232, 'a'), std::string(233, 'b'), std::string(255, 'c'),
                                          umlauts + "d", "e" + umlauts};
  server.Serve("/file", "new content");
  for (const std::string& name : names) {
    const QString target = QString::fromUtf8(name);
    ASSERT_EQ(QFile::encodeName(target).size(), qsizetype(name.size()));
    SCOPED_TRACE(name.size());
    dir.Write(target, "the earlier file");
    transfer->Items.Clear();
    AddDownload("/file", target);
    RunToEnd();
    EXPECT_TRUE(transfer->Items[0].Copied());
    EXPECT_EQ(dir.Read(target), "new content");
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{target});
    ASSERT_TRUE(QFile::remove(dir.File(target)));
  }
}

TEST_F(TransferTest, MissingTargetDirectoriesAreCreated) {
  server.Serve("/news.txt", "news");
  TFileTransferItem& item = AddDownload("/news.txt", "");
  item.TargetDir = dir.File("a/b");
  RunToEnd();
  EXPECT_TRUE(item.Copied());
  EXPECT_EQ(dir.Read("a/b/news.txt"), "news");
  EXPECT_EQ(transfer->LastTarget(), dir.File("a/b/news.txt"));
  EXPECT_EQ(transfer->LastTargetDir(), dir.File("a/b"));
}

TEST_F(TransferTest, RequestIsAPlainUncachedGetWithTheAgentName) {
  server.Serve("/to/home.php", "ok");
  AddDownload("/to/home.php?name=Ann%20B&map=DM-1", "zephanor.tmp");
  RunToEnd();
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].target, "/to/home.php?name=Ann%20B&map=DM-1");
  EXPECT_EQ(requests[0].Header("User-Agent"), "Quavik");
  EXPECT_EQ(requests[0].Header("Cache-Control"), "no-cache");
}

}  // namespace
}  // namespace transfer_test

namespace transfer_test {
namespace {

// Without a progress handler or dialog the body moves in larger blocks.
TEST_F(TransferTest, UnwatchedDownloadStoresTheWholeBody) {
  std::string body(3 * 1024 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 31 + i / 4096);
  server.Serve("/big.bin", body, 200, "application/octet-stream");
  transfer->OnCopyProgress = nullptr;
  AddDownload("/big.bin", "big.bin");
  RunToEnd();
  EXPECT_TRUE(transfer->Items[0].Copied());
  EXPECT_TRUE(dir.Read("big.bin") == body);
}

}  // namespace
}  // namespace transfer_test
