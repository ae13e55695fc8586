// FTP downloads against a server that misbehaves on purpose: a folder that
// can't be entered (the same name in the login folder is not the file), a
// listing that stalls, trickles or floods, sizes that don't match the bytes,
// and a data connection that can't be made. No fault is reported as success
// or as a missing file, the earlier local file stays byte for byte, and
// every case ends within the time-outs given.
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <sys/resource.h>

#include "support/loopback_ftp_server.h"
#include "transfer_fixture.h"

namespace transfer_test {
namespace {

using testing_support::LoopbackFtpServer;

// Byte i of a hostile server's {"size": n} file.
std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7) % 251);
  return bytes;
}

class HostileFtp : public TransferTest {
 protected:
  // Runs one download of `url` (the only item) from a server playing
  // `scenario` into a temp dir that holds an earlier "there.txt"; gives the
  // run's duration in ms. The events are those of this run.
  std::int64_t Download(const QString& scenario, const QString& url = "pub/there.txt") {
    transfer->Items.Clear();
    events->lines.clear();
    server_ = std::make_unique<LoopbackFtpServer>(LoopbackFtpServer::Hostile{scenario});
    EXPECT_TRUE(server_->Running()) << server_->Problem().toStdString();
    dir.Write("there.txt", "the earlier file");
    TFileTransferItem& item = transfer->Items.Add();
    item.Protocol = wpFtp;
    item.FTPHost = "127.0.0.1";
    item.FTPPort = server_->Port();
    item.URL = url;
    item.TargetDir = dir.Path();
    transfer->FTPPassive = true;
    QElapsedTimer timer;
    timer.start();
    RunToEnd();
    return timer.elapsed();
  }
  QStringList Framed(const QStringList& inner) const {
    return QStringList{"FileStart 0"} + inner + QStringList{"FileDone 0", "CopyDone"};
  }
  // The item failed with `inner` events; the earlier file is as it was,
  // and nothing else lies beside it.
  void ExpectFailed(const QStringList& inner) {
    EXPECT_FALSE(transfer->Items[0].Copied());
    EXPECT_EQ(events->lines, Framed(inner));
    ExpectEarlierFileOnly();
  }
  void ExpectEarlierFileOnly() {
    EXPECT_EQ(dir.Read("there.txt"), "the earlier file");
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{"there.txt"});
  }

  std::unique_ptr<LoopbackFtpServer> server_;
};

const QString kOverwrite = QStringLiteral("CopyOverWrite ");
const QString kNoServer = QStringLiteral("ErrorInfo 6 Cannot connect to FTP server 127.0.0.1");

TEST_F(HostileFtp, FolderThatCannotBeEnteredFailsTheItem) {
  struct Case {
    const char* name;
    const char* cwd;
    QStringList events;
  };
  const Case cases[] = {
      {"Refused", "fail", {"URLNotFound pub/there.txt"}},
      {"Stalled", "stall", {"Error 6", kNoServer}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::int64_t ms = Download(
        QStringLiteral(R"({"files": {"there.txt": "WRONG FOLDER", "pub/there.txt": "right"}, "cwd": "%1"})").arg(c.cwd));
    ExpectFailed(c.events);
    EXPECT_LT(ms, 6000);
  }
}

TEST_F(HostileFtp, ListingThatStallsOrTricklesEndsWithAnError) {
  struct Case {
    const char* name;
    const char* mlsd;
    int stallMs;
  };
  // The trickle (a byte every 1.5 s) never goes silent for the stall time,
  // but stays below a byte a second.
  const Case cases[] = {{"OneLineThenSilence", "stall-line", 1000}, {"ByteByByte", "dribble", 3000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    transfer->StallTimeoutMs = c.stallMs;
    const std::int64_t ms = Download(QStringLiteral(R"({"files": {"pub/there.txt": "right"}, "mlsd": "%1",
                                                        "dribble_ms": 1500})")
                                         .arg(c.mlsd));
    ExpectFailed({"Error 6", kNoServer});
    EXPECT_LT(ms, c.stallMs * 3 / 2 + 1500);  // a stall period after the trickle began
  }
}

TEST_F(HostileFtp, CancelEndsAStalledListing) {
  transfer->StallTimeoutMs = 60000;
  transfer->OnFileStart = [this](QObject*, int index) {
    events->lines << QStringLiteral("FileStart %1").arg(index);
    QTimer::singleShot(500, transfer.get(), [this] { transfer->Cancel(); });
  };
  const std::int64_t ms = Download(R"({"files": {"pub/there.txt": "right"}, "mlsd": "stall-line"})");
  EXPECT_FALSE(transfer->Items[0].Copied());
  EXPECT_EQ(events->lines, QStringList({"FileStart 0", "CopyDone"}));
  ExpectEarlierFileOnly();
  EXPECT_LT(ms, 3000);
}

TEST_F(HostileFtp, HugeListingCostsTheMemoryOfALine) {
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  transfer->OnCopyProgress = nullptr;
  transfer->StallTimeoutMs = 5000;
  const std::int64_t ms = Download(R"({"files": {"pub/there.txt": {"size": 1000}}, "mlsd": "flood",
                                       "flood_bytes": 33554432})");
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  EXPECT_TRUE(transfer->Items[0].Copied());
  EXPECT_TRUE(dir.Read("there.txt") == Pattern(1000));
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024) << "KiB more at the peak";
  EXPECT_LT(ms, 10000);
}

// The listing, the SIZE answer or the start of the transfer say how long the
// file is; other bytes than that are a broken transfer, also when the server
// ends it with "226". The first case is the same server telling the truth.
TEST_F(HostileFtp, LengthOtherThanTheServerGaveFailsTheItem) {
  struct Case {
    const char* name;
    const char* faults;
    bool copied;
  };
  const Case cases[] = {
      {"Truthful", R"("announce": true)", true},
      {"ShortWithoutSize", R"("size": "unsupported", "retr": "short:1000")", false},
      {"SizeSmallerThanTheData", R"("mlsd": "missing", "size": "1000")", false},
      {"NegativeSize", R"("mlsd": "missing", "size": "-5", "retr": "short:1000")", false},
      {"NegativeListedSize", R"("list_size": "-9223372036854775808", "size": "unsupported", "retr": "short:1000")",
       false},
      {"ShortAfterAnnouncing", R"("mlsd": "missing", "size": "unsupported", "announce": true, "retr": "short:1000")",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Download(QStringLiteral(R"({"files": {"pub/there.txt": {"size": 300000}}, %1})").arg(c.faults));
    EXPECT_EQ(transfer->Items[0].Copied(), c.copied);
    EXPECT_EQ(events->lines, Framed({kOverwrite + dir.File("there.txt")}));
    if (c.copied) {
      EXPECT_TRUE(dir.Read("there.txt") == Pattern(300000));
    } else {
      ExpectEarlierFileOnly();
    }
  }
}

TEST_F(HostileFtp, DataConnectionThatCannotBeMadeIsNoMissingFile) {
  // The listing's data connection works, the file's can't be made.
  const std::int64_t ms = Download(R"({"files": {"pub/there.txt": "right"}, "pasv_dead_from": 1})");
  ExpectFailed({"Error 6", kNoServer});
  EXPECT_LT(ms, 6000);
}

}  // namespace
}  // namespace transfer_test
