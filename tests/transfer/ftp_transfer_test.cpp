// FTP downloads and uploads against a real FTP server on loopback: the
// directory change and listing, both logins and both data-connection modes,
// newer-only, the failures a server can give, a large file byte for byte,
// a transfer that breaks off, a full disk, and a cancel mid-file (none
// leaves a file).
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <sys/time.h>

#include "support/loopback_ftp_server.h"
#include "transfer/internal/progress_dialog.h"
#include "transfer/transfer_date.h"
#include "transfer_fixture.h"

namespace transfer_test {
namespace {

using testing_support::LoopbackFtpServer;

std::string Pattern(std::size_t size, int seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 2654435761u + seed) >> 11);
  return bytes;
}

void SetModified(const QString& path, std::int64_t unixSeconds) {
  const timeval times[2] = {{static_cast<time_t>(unixSeconds), 0}, {static_cast<time_t>(unixSeconds), 0}};
  ASSERT_EQ(utimes(QFile::encodeName(path).constData(), times), 0);
}

class FtpTest : public TransferTest {
 protected:
  FtpTest() : server_(root.Path()) {}
  void SetUp() override { ASSERT_TRUE(server_.Running()) << server_.Problem().toStdString(); }

  TFileTransferItem& AddFtp(TTransferProtocol protocol, const QString& url, bool named = true) {
    TFileTransferItem& item = transfer->Items.Add();
    item.Protocol = protocol;
    item.FTPHost = "127.0.0.1";
    item.FTPPort = server_.Port();
    if (named) {
      item.FTPUserID = LoopbackFtpServer::kUser;
      item.FTPPassword = LoopbackFtpServer::kPassword;
    }
    item.URL = url;
    return item;
  }
  TFileTransferItem& AddFtpDownload(const QString& url, bool named = true) {
    TFileTransferItem& item = AddFtp(wpFtp, url, named);
    item.TargetDir = dir.Path();
    return item;
  }
  QStringList Framed(const QStringList& inner) const {
    return QStringList{"FileStart 0"} + inner + QStringList{"FileDone 0", "CopyDone"};
  }

  testing_support::TempDir root;
  LoopbackFtpServer server_;
};

struct LoginCase {
  const char* name;
  bool passive;
  bool named;
  friend void PrintTo(const LoginCase& c, std::ostream* os) { *os << c.name; }
};

class FtpLogins : public FtpTest, public ::testing::WithParamInterface<LoginCase> {};

TEST_P(FtpLogins, DownloadChangesIntoTheDirectoryAndStoresTheBytes) {
  const std::string bytes = Pattern(100000, 1);
  root.Write("pub/x/file.bin", bytes);
  transfer->FTPPassive = GetParam().passive;
  AddFtpDownload("pub/x/file.bin", GetParam().named);
  RunToEnd();

  EXPECT_TRUE(transfer->Items[0].Copied());
  EXPECT_TRUE(dir.Read("file.bin") == bytes);
  EXPECT_EQ(events->lines, Framed({}));
  ASSERT_FALSE(events->progress.empty());
  EXPECT_EQ(events->progress.back().size, 100000);
  EXPECT_EQ(events->progress.back().totsize, 100000);  // the listed size
  EXPECT_EQ(transfer->LastTarget(), dir.File("file.bin"));
}

INSTANTIATE_TEST_SUITE_P(Ftp, FtpLogins,
                         ::testing::Values(LoginCase{"PassiveNamed", true, true}, LoginCase{"ActiveNamed", false, true},
                                           LoginCase{"PassiveAnonymous", true, false},
                                           LoginCase{"ActiveAnonymous", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FtpTest, UploadCreatesTheMissingDirectoryWithItsParents) {
  const std::string bytes = Pattern(70000, 2);
  const QString source = dir.Write("local.bin", bytes);
  for (const bool passive : {true, false}) {
    SCOPED_TRACE(passive);
    transfer->Items.Clear();
    events->lines.clear();
    transfer->FTPPassive = passive;
    TFileTransferItem& item = AddFtp(wpFtpUpload, source);
    item.TargetDir = passive ? "newdir/sub" : "/other/sub";
    item.TargetFilename = "up.bin";
    RunToEnd();

    EXPECT_TRUE(item.Copied());
    EXPECT_TRUE(root.Read(passive ? "newdir/sub/up.bin" : "other/sub/up.bin") == bytes);
    EXPECT_EQ(events->lines, Framed({}));
    ASSERT_FALSE(events->progress.empty());
    EXPECT_EQ(events->progress.back().size, 70000);
    EXPECT_EQ(events->progress.back().totsize, 70000);
  }
}

TEST_F(FtpTest, FileThatTheListingDoesNotShowIsCopiedWithoutATotal) {
  root.Write("pub/hidden-a.txt", "unlisted");
  AddFtpDownload("pub/hidden-a.txt");
  RunToEnd();
  EXPECT_TRUE(transfer->Items[0].Copied());
  EXPECT_EQ(dir.Read("hidden-a.txt"), "unlisted");
  ASSERT_FALSE(events->progress.empty());
  EXPECT_EQ(events->progress.back().totsize, 0);
}

TEST_F(FtpTest, FailuresOfServerAndFiles) {
  root.Write("pub/there.txt", "x");
  struct Case {
    const char* name;
    std::function<void(TFileTransferItem&)> change;
    QStringList events;
  };
  const QString refusedHost = "127.0.0.1";
  const std::vector<Case> cases = {
      {"WrongPassword", [](TFileTransferItem& i) { i.FTPPassword = "wrong"; },
       {"Error 6", "ErrorInfo 6 Cannot connect to FTP server 127.0.0.1"}},
      {"RefusedConnection", [](TFileTransferItem& i) { i.FTPPort = 1; },
       {"Error 6", "ErrorInfo 6 Cannot connect to FTP server 127.0.0.1"}},
      {"MissingFile", [](TFileTransferItem& i) { i.URL = "pub/missing.txt"; }, {"URLNotFound pub/missing.txt"}},
      {"MissingDirectory", [](TFileTransferItem& i) { i.URL = "nodir/there.txt"; }, {"URLNotFound nodir/there.txt"}},
      {"TargetIsADirectory", [this](TFileTransferItem&) { QDir(dir.Path()).mkdir("there.txt"); },
       {"Error 3", "ErrorInfo 3 Cannot create target file " + dir.File("there.txt")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    transfer->Items.Clear();
    events->lines.clear();
    c.change(AddFtpDownload("pub/there.txt"));
    RunToEnd();
    EXPECT_FALSE(transfer->Items[0].Copied());
    EXPECT_EQ(events->lines, Framed(c.events));
    EXPECT_FALSE(QFileInfo(dir.File("there.txt")).isFile());
  }
}

TEST_F(FtpTest, NewerOnlyComparesTheListedDate) {
  constexpr std::int64_t kRemoteSeconds = 1700000000;
  SetModified(root.Write("pub/dated.txt", "dated"), kRemoteSeconds);
  const TDateTime remoteDate = DateTimeFromUnixSeconds(kRemoteSeconds);
  for (const double offset : {-1.0, 0.0, 2.0}) {
    SCOPED_TRACE(offset);
    transfer->Items.Clear();
    events->lines.clear();
    QFile::remove(dir.File("dated.txt"));
    TFileTransferItem& item = AddFtpDownload("pub/dated.txt");
    item.CopyNewerOnly = true;
    item.FileDate = remoteDate + offset;
    RunToEnd();
    const bool newer = offset < 0;
    EXPECT_EQ(item.Copied(), newer);
    EXPECT_EQ(item.NoNewFile(), !newer);
    EXPECT_DOUBLE_EQ(item.NewFileDate(), remoteDate);
    EXPECT_EQ(dir.Exists("dated.txt"), newer);
    if (!newer) {
      EXPECT_EQ(events->lines, Framed({QStringLiteral("NoNewFile dated.txt %1 %1").arg(remoteDate, 0, 'f', 4)}));
    }
  }
}

TEST_F(FtpTest, UploadFailures) {
  root.Write("pub/old.txt", "old");
  SetModified(root.File("pub/old.txt"), 4000000000);  // newer than any FileDate below
  const QString source = dir.Write("old.txt", "new");
  struct Case {
    const char* name;
    std::function<void(TFileTransferItem&)> change;
    QStringList events;
  };
  const std::vector<Case> cases = {
      {"AnonymousMayNotWrite",
       [](TFileTransferItem& i) {
         i.FTPUserID.clear();
         i.FTPPassword.clear();
       },
       {"URLNotFound " + source}},
      {"MissingSource", [this](TFileTransferItem& i) { i.URL = dir.File("nothing.txt"); },
       {"Error 1", "ErrorInfo 1 Cannot create target file " + dir.File("nothing.txt")}},
      {"RemoteNotOlder",
       [](TFileTransferItem& i) {
         i.CopyNewerOnly = true;
         i.FileDate = DateTimeFromUnixSeconds(4000000000);
       },
       {QStringLiteral("NoNewFile old.txt %1 %1").arg(DateTimeFromUnixSeconds(4000000000), 0, 'f', 4)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    transfer->Items.Clear();
    events->lines.clear();
    TFileTransferItem& item = AddFtp(wpFtpUpload, source);
    item.TargetDir = "pub";
    c.change(item);
    RunToEnd();
    EXPECT_FALSE(transfer->Items[0].Copied());
    EXPECT_EQ(events->lines, Framed(c.events));
    EXPECT_EQ(root.Read("pub/old.txt"), "old");
    EXPECT_FALSE(root.Exists("pub/nothing.txt"));
  }
}

TEST_F(FtpTest, LargeFileArrivesByteForByte) {
  const std::string bytes = Pattern((64u << 20) + 4097, 3);
  root.Write("big.bin", bytes);
  transfer->OnCopyProgress = nullptr;
  transfer->FTPPassive = true;
  AddFtpDownload("big.bin");
  RunToEnd();
  EXPECT_TRUE(transfer->Items[0].Copied());
  EXPECT_TRUE(dir.Read("big.bin") == bytes);
}

TEST_F(FtpTest, TransferThatBreaksOffFailsAndLeavesTheEarlierFile) {
  root.Write("broken-file.bin", Pattern(300000, 4));
  dir.Write("broken-file.bin", "the earlier file");
  AddFtpDownload("broken-file.bin");
  RunToEnd();
  EXPECT_FALSE(transfer->Items[0].Copied());
  EXPECT_EQ(events->lines, Framed({"CopyOverWrite " + dir.File("broken-file.bin")}))
      << events->lines.join(" | ").toStdString();
  EXPECT_EQ(dir.Read("broken-file.bin"), "the earlier file");
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{"broken-file.bin"});
}

TEST_F(FtpTest, FullDiskRaisesErrorFiveAndLeavesTheEarlierFile) {
  root.Write("big.bin", Pattern(3u << 20, 6));
  dir.Write("big.bin", "the earlier file");
  AddFtpDownload("big.bin");
  {
    const FileSizeLimit full(1 << 20);
    RunToEnd();
  }
  const QString target = dir.File("big.bin");
  EXPECT_FALSE(transfer->Items[0].Copied());
  EXPECT_EQ(events->lines, Framed({"CopyOverWrite " + target, "Error 5",
                                   "ErrorInfo 5 Error writing to destination file " + target}));
  EXPECT_EQ(dir.Read("big.bin"), "the earlier file");
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{"big.bin"});
}

// Under newer-only, a file whose date can't be had is not newer: the local
// file stays, as when the listed date is not later.
TEST_F(FtpTest, NewerOnlyLeavesTheLocalFileWhenTheListingLacksTheEntry) {
  root.Write("pub/hidden-b.txt", "remote");
  dir.Write("hidden-b.txt", "local, newer");
  TFileTransferItem& item = AddFtpDownload("pub/hidden-b.txt");
  item.CopyNewerOnly = true;
  item.FileDate = 45000.5;
  RunToEnd();
  EXPECT_FALSE(item.Copied());
  EXPECT_TRUE(item.NoNewFile());
  EXPECT_DOUBLE_EQ(item.NewFileDate(), 45000.5);
  EXPECT_EQ(events->lines, Framed({"NoNewFile hidden-b.txt 45000.5000 45000.5000"}));
  EXPECT_EQ(dir.Read("hidden-b.txt"), "local, newer");
}

TEST_F(FtpTest, CancelMidFileEndsTheRunAndLeavesNoFile) {
  root.Write("slow-file.bin", Pattern(4u << 20, 5));
  transfer->ShowDialog = true;
  transfer->OnCopyProgress = [this](QObject*, int, std::int64_t, std::int64_t) {
    if (transfer->Dialog() && transfer->Dialog()->isVisible()) transfer->Dialog()->CancelButton()->click();
  };
  AddFtpDownload("slow-file.bin");
  AddFtpDownload("slow-file.bin").TargetFilename = "second.bin";
  RunToEnd();
  EXPECT_FALSE(transfer->Items[0].Copied());
  EXPECT_EQ(events->lines, QStringList({"FileStart 0", "CopyCancel", "CopyDone"}));
  EXPECT_TRUE(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

}  // namespace
}  // namespace transfer_test
