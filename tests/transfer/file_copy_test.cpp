// File copies on real files: the bytes and events of a copy, the failures
// (the same file under another spelling, an empty, missing or special
// source, a target that can't be created or written), newer-only, a copy
// that stops early or meets a full disk (the earlier target stays), a
// source that changes size meanwhile, and the source reached through a share.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>
#include <utility>

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
      {"PipeAsSource", dir.File("src/pipe"), "", "", {"Error 1", "ErrorInfo 1 Cannot open source file " + dir.File("src/pipe")}},
      {"DeviceAsTarget", source, "/dev", "null",
       {"CopyOverWrite /dev/null", "Error 3", "ErrorInfo 3 Cannot create target file /dev/null"}},
  };
  // A pipe nobody writes to: opening it for reading the usual way would wait for ever.
  ASSERT_EQ(mkfifo(QFile::encodeName(dir.File("src/pipe")).constData(), 0600), 0);
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
    if (!newer) {
      EXPECT_EQ(events->lines, Framed({QStringLiteral("NoNewFile %1 %2 %2").arg(source).arg(sourceDate, 0, 'f', 4)}));
    }
  }
}

// The names in `path` (a directory), hidden ones included.
QStringList NamesIn(const QString& path) {
  return QDir(path).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

TEST_F(FileCopyTest, CopyThatStopsEarlyLeavesTheEarlierTargetUntouched) {
  const std::string big(1 << 20, 'b');
  const QString source = dir.Write("src/big.bin", big);
  struct Case {
    const char* name;
    // Called at the first progress update.
    std::function<void()> interfere;
    QStringList events;
  };
  const QString overwrite = "CopyOverWrite " + dir.File("out/big.bin");
  const std::vector<Case> cases = {
      {"Cancelled", [this] { transfer->Cancel(); }, {"FileStart 0", overwrite, "CopyDone"}},
      {"SourceCutShort", [&] { QFile::resize(source, 20000); },
       Framed({overwrite, "Error 4", "ErrorInfo 4 Error reading source file " + source})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    transfer->Items.Clear();
    events->lines.clear();
    dir.Write("src/big.bin", big);
    const QString earlier = dir.Write("out/big.bin", "the earlier file");
    bool first = true;
    transfer->OnCopyProgress = [&](QObject*, int, std::int64_t, std::int64_t) {
      if (std::exchange(first, false)) c.interfere();
    };
    TFileTransferItem& item = AddCopy(source);
    RunToEnd();
    EXPECT_FALSE(item.Copied());
    EXPECT_EQ(events->lines, c.events);
    EXPECT_EQ(dir.Read("out/big.bin"), "the earlier file");
    EXPECT_EQ(NamesIn(dir.File("out")), QStringList{"big.bin"});  // no temporary file left
  }
}

TEST_F(FileCopyTest, FullDiskLeavesTheEarlierTargetUntouched) {
  const QString source = dir.Write("src/big.bin", std::string(3 << 20, 'b'));
  dir.Write("out/big.bin", "the earlier file");
  transfer->OnCopyProgress = nullptr;  // in large blocks, through the system
  TFileTransferItem& item = AddCopy(source);
  {
    const FileSizeLimit full(1 << 20);
    RunToEnd();
  }

  EXPECT_FALSE(item.Copied());
  const QString target = dir.File("out/big.bin");
  EXPECT_EQ(events->lines,
            Framed({"CopyOverWrite " + target, "Error 5", "ErrorInfo 5 Error writing to destination file " + target}));
  EXPECT_EQ(dir.Read("out/big.bin"), "the earlier file");
  EXPECT_EQ(NamesIn(dir.File("out")), QStringList{"big.bin"});
}

TEST_F(FileCopyTest, ReplacedTargetKeepsItsLinkAndPermissions) {
  const QString source = dir.Write("src/data.txt", "new content");
  const QString real = dir.Write("real/data.txt", "old");
  ASSERT_EQ(chmod(QFile::encodeName(real).constData(), 0640), 0);
  QDir().mkpath(dir.File("out"));
  ASSERT_EQ(symlink(QFile::encodeName(real).constData(), QFile::encodeName(dir.File("out/data.txt")).constData()), 0);
  TFileTransferItem& item = AddCopy(source);
  RunToEnd();
  EXPECT_TRUE(item.Copied());
  EXPECT_TRUE(QFileInfo(dir.File("out/data.txt")).isSymLink());
  EXPECT_EQ(dir.Read("real/data.txt"), "new content");
  struct stat st {};
  ASSERT_EQ(stat(QFile::encodeName(real).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(NamesIn(dir.File("real")), QStringList{"data.txt"});
}

TEST_F(FileCopyTest, SourceThatGrowsIsCopiedAsItWasWhenTheCopyBegan) {
  const std::string bytes(100000, 'g');
  const QString source = dir.Write("src/log.txt", bytes);
  bool first = true;
  transfer->OnCopyProgress = [&](QObject*, int, std::int64_t, std::int64_t) {
    if (std::exchange(first, false)) dir.Append("src/log.txt", std::string(50000, '+'));
  };
  TFileTransferItem& item = AddCopy(source);
  RunToEnd();
  EXPECT_TRUE(item.Copied());
  EXPECT_TRUE(dir.Read("out/log.txt") == bytes);
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
