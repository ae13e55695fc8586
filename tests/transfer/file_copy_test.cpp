// File copies on real files: the bytes and events of a copy, the failures
// (the same file under another spelling, an empty or missing source, a
// target that can't be created or written), newer-only, a cancel, and the
// source reached through a share.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <sys/time.h>
#include <unistd.h>

#include "transfer/progress_dialog.h"
#include "transfer/transfer_date.h"
#include "transfer_fixture.h"

namespace transfer_test {
namespace {

class FileCopyTest : public TransferTest {
 protected:
  // A copy of `source` into the temp dir's "out" directory.
  TFileTransferItem& AddCopy(const QString& source, const QString& targetDir = QString()) {
    TFileTransferItem& item = transfer->Items.Add();
    item.Protocol = wpFile;
    item.URL = source;
    item.TargetDir = targetDir.isEmpty() ? dir.File("out") : targetDir;
    return item;
  }
  QStringList Framed(const QStringList& inner) const {
    return QStringList{"FileStart 0"} + inner + QStringList{"FileDone 0", "CopyDone"};
  }
};

TEST_F(FileCopyTest, CopiesTheBytesInBlocksIntoANewDirectory) {
  std::string bytes(40000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 300);
  const QString source = dir.Write("src/data.bin", bytes);
  TFileTransferItem& item = AddCopy(source, dir.File("out/deeper"));
  RunToEnd();

  EXPECT_TRUE(item.Copied());
  EXPECT_TRUE(dir.Read("out/deeper/data.bin") == bytes);
  EXPECT_EQ(events->lines, Framed({}));
  std::vector<std::int64_t> sizes;
  for (const ProgressCall& p : events->progress) {
    sizes.push_back(p.size);
    EXPECT_EQ(p.totsize, 40000);
    EXPECT_EQ(p.fileidx, 1);
  }
  EXPECT_EQ(sizes, (std::vector<std::int64_t>{16384, 32768, 40000, 40000}));
  EXPECT_EQ(transfer->LastTarget(), dir.File("out/deeper/data.bin"));
}

TEST_F(FileCopyTest, FailuresEndTheItemWithTheirCode) {
  const QString source = dir.Write("src/data.txt", "data");
  dir.Write("src/empty.txt", "");
  dir.Write("blocker", "a file where a directory should be");
  ASSERT_EQ(symlink(QFile::encodeName(dir.File("src")).constData(), QFile::encodeName(dir.File("link")).constData()), 0);
  ASSERT_EQ(::link(QFile::encodeName(source).constData(), QFile::encodeName(dir.File("src/hard.txt")).constData()), 0);
  struct Case {
    const char* name;
    QString source;
    QString targetDir;
    QString targetName;
    QStringList events;
  };
  const QString same = "ErrorInfo 0 Cannot copy identical files " + source;
  const std::vector<Case> cases = {
      {"SameText", source, dir.File("src"), "", {"Error 0", same}},
      {"DotInPath", source, dir.File("src/."), "", {"Error 0", same}},
      {"DoubledSeparator", source, dir.Path() + "//src/", "", {"Error 0", same}},
      {"ThroughALinkedDirectory", source, dir.File("link"), "", {"Error 0", same}},
      {"HardLinkAsTarget", source, dir.File("src"), "hard.txt", {"Error 0", same}},
      {"MissingSource", dir.File("src/none.txt"), "", "", {"Error 1", "ErrorInfo 1 Cannot open source file " + dir.File("src/none.txt")}},
      {"DirectoryAsSource", dir.File("src"), "", "", {"Error 1", "ErrorInfo 1 Cannot open source file " + dir.File("src")}},
      {"EmptySource", dir.File("src/empty.txt"), "", "", {"Error 2", "ErrorInfo 2 Zero length source file " + dir.File("src/empty.txt")}},
      {"TargetBelowAFile", source, dir.File("blocker/sub"), "",
       {"Error 3", "ErrorInfo 3 Cannot create target file " + dir.File("blocker/sub/data.txt")}},
      {"FullDevice", source, "/dev", "full",
       {"CopyOverWrite /dev/full", "Error 5", "ErrorInfo 5 Error writing to destination file /dev/full"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    transfer->Items.Clear();
    events->lines.clear();
    TFileTransferItem& item = AddCopy(c.source, c.targetDir);
    item.TargetFilename = c.targetName;
    RunToEnd();
    EXPECT_FALSE(item.Copied());
    EXPECT_EQ(events->lines, Framed(c.events));
    EXPECT_EQ(dir.Read("src/data.txt"), "data");
  }
  EXPECT_FALSE(dir.Exists("out"));
}

TEST_F(FileCopyTest, NewerOnlyComparesTheSourceDate) {
  constexpr std::int64_t kSourceSeconds = 1600000000;
  const QString source = dir.Write("src/dated.txt", "dated");
  const timeval times[2] = {{kSourceSeconds, 0}, {kSourceSeconds, 0}};
  ASSERT_EQ(utimes(QFile::encodeName(source).constData(), times), 0);
  const TDateTime sourceDate = DateTimeFromUnixSeconds(kSourceSeconds);
  for (const double offset : {-0.5, 0.0}) {
    SCOPED_TRACE(offset);
    transfer->Items.Clear();
    events->lines.clear();
    TFileTransferItem& item = AddCopy(source, dir.File(offset < 0 ? "newer" : "same"));
    item.CopyNewerOnly = true;
    item.FileDate = sourceDate + offset;
    RunToEnd();
    const bool newer = offset < 0;
    EXPECT_EQ(item.Copied(), newer);
    EXPECT_EQ(item.NoNewFile(), !newer);
    EXPECT_DOUBLE_EQ(item.NewFileDate(), sourceDate);
    EXPECT_EQ(dir.Exists(offset < 0 ? "newer/dated.txt" : "same/dated.txt"), newer);
    if (!newer)
      EXPECT_EQ(events->lines, Framed({QStringLiteral("NoNewFile %1 %2 %2").arg(source).arg(sourceDate, 0, 'f', 4)}));
  }
}

TEST_F(FileCopyTest, CancelledCopyIsNotSuccessfulAndKeepsThePartialFile) {
  const QString source = dir.Write("src/big.bin", std::string(1 << 20, 'b'));
  transfer->ShowDialog = true;
  transfer->OnCopyProgress = [this](QObject*, int, std::int64_t, std::int64_t) {
    if (transfer->Dialog() && transfer->Dialog()->isVisible()) transfer->Dialog()->CancelButton()->click();
  };
  TFileTransferItem& item = AddCopy(source);
  RunToEnd();
  EXPECT_FALSE(item.Copied());
  EXPECT_EQ(events->lines, QStringList({"FileStart 0", "CopyCancel", "CopyDone"}));
  EXPECT_EQ(QFileInfo(dir.File("out/big.bin")).size(), 16384);
}

TEST_F(FileCopyTest, SourceOnAShare) {
  dir.Write("share/sub/f.txt", "shared");
  struct Case {
    const char* name;
    QString host;
    bool copied;
    QStringList events;
  };
  const std::vector<Case> cases = {
      {"MountedDirectory", dir.File("share"), true, {}},
      {"MissingDirectory", dir.File("no-share"), false, {"ConnectError"}},
      {"ShareThatCannotBeMounted", "//127.0.0.1/no-share", false, {"ConnectError"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    transfer->Items.Clear();
    events->lines.clear();
    TFileTransferItem& item = AddCopy("sub/f.txt");
    item.FTPHost = c.host;
    item.FTPUserID = "u";
    item.FTPPassword = "p";
    RunToEnd();
    EXPECT_EQ(item.Copied(), c.copied);
    EXPECT_EQ(events->lines, Framed(c.events));
    EXPECT_EQ(dir.Read("out/f.txt"), c.copied ? "shared" : "");
    QFile::remove(dir.File("out/f.txt"));
  }
}

}  // namespace
}  // namespace transfer_test
