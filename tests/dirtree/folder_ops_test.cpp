// Folder operations, tree sums and drive lists against real temp trees.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "dirtree/dir_listing.h"
#include "dirtree/drive_list.h"
#include "dirtree/folder_ops.h"
#include "dirtree/tree_size.h"
#include "support/temp_dir.h"
#include "user_home.h"

using namespace dirtree;
using testing_support::TempDir;

namespace {

// src/ with a file, a subfolder with two files, a link back to src (a loop
// for anything that follows links) and a link to a file outside.
struct Tree {
  TempDir dir;
  Tree() {
    dir.Write("src/a.txt", std::string(1000, 'a'));
    dir.Write("src/sub/b.txt", std::string(400, 'b'));
    dir.Write("src/sub/.hidden", std::string(100, 'h'));
    dir.Write("outside.bin", std::string(5000, 'o'));
    QFile::link(dir.File("src"), dir.File("src/sub/loop"));
    QFile::link(dir.File("outside.bin"), dir.File("src/outside-link"));
    QDir().mkpath(dir.File("target"));
  }
};

}  // namespace

TEST(FolderOps, CreateAndRenameNeverReplaceAFolder) {
  TempDir dir;
  EXPECT_TRUE(CreateFolder(dir.File("New Folder")).ok);
  EXPECT_FALSE(CreateFolder(dir.File("New Folder")).ok);  // the second time: nothing

  dir.Write("keep/inside.txt", "x");
  QDir().mkpath(dir.File("empty"));
  const FolderOpResult onto = RenameFolder(dir.File("New Folder"), dir.File("keep"));
  EXPECT_FALSE(onto.ok);
  EXPECT_FALSE(onto.error.isEmpty());
  EXPECT_EQ(dir.Read("keep/inside.txt"), "x");
  // rename(2) alone would replace an empty folder.
  EXPECT_FALSE(RenameFolder(dir.File("New Folder"), dir.File("empty")).ok);
  EXPECT_TRUE(dir.Exists("New Folder"));

  EXPECT_TRUE(RenameFolder(dir.File("New Folder"), dir.File("Games")).ok);
  EXPECT_TRUE(dir.Exists("Games"));
  EXPECT_FALSE(dir.Exists("New Folder"));
}

TEST(FolderOps, CopyIsCompleteAndKeepsLinksAsLinks) {
  Tree t;
  ASSERT_TRUE(CopyFolderInto(t.dir.File("src"), t.dir.File("target")).ok);
  EXPECT_EQ(t.dir.Read("target/src/a.txt"), std::string(1000, 'a'));
  EXPECT_EQ(t.dir.Read("target/src/sub/b.txt"), std::string(400, 'b'));
  EXPECT_EQ(t.dir.Read("target/src/sub/.hidden"), std::string(100, 'h'));
  EXPECT_TRUE(QFileInfo(t.dir.File("target/src/sub/loop")).isSymLink());
  EXPECT_EQ(QFileInfo(t.dir.File("target/src/sub/loop")).symLinkTarget(), t.dir.File("src"));
  EXPECT_TRUE(QFileInfo(t.dir.File("target/src/outside-link")).isSymLink());
  // No partial copy is left beside the result.
  EXPECT_EQ(QDir(t.dir.File("target")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"src"});
  EXPECT_TRUE(t.dir.Exists("src/a.txt"));
}

TEST(FolderOps, PasteIsRefusedIntoItselfIntoItsSubfoldersAndOntoAnExistingFolder) {
  Tree t;
  t.dir.Write("target/src/mine.txt", "mine");
  for (const char* target : {"src", "src/sub", "target"}) {
    EXPECT_FALSE(CopyFolderInto(t.dir.File("src"), t.dir.File(target)).ok) << target;
    EXPECT_FALSE(MoveFolderInto(t.dir.File("src"), t.dir.File(target)).ok) << target;
  }
  EXPECT_EQ(t.dir.Read("target/src/mine.txt"), "mine");
  EXPECT_FALSE(t.dir.Exists("target/src/a.txt"));
  EXPECT_FALSE(t.dir.Exists("src/src"));
  EXPECT_FALSE(t.dir.Exists("src/sub/src"));
  EXPECT_TRUE(t.dir.Exists("src/a.txt"));
  // Through a link the subfolder is still inside the source.
  QFile::link(t.dir.File("src/sub"), t.dir.File("via-link"));
  EXPECT_FALSE(CopyFolderInto(t.dir.File("src"), t.dir.File("via-link")).ok);
  EXPECT_FALSE(CopyFolderInto(t.dir.File("missing"), t.dir.File("target")).ok);
}

TEST(FolderOps, MoveTakesTheWholeFolder) {
  Tree t;
  ASSERT_TRUE(MoveFolderInto(t.dir.File("src"), t.dir.File("target")).ok);
  EXPECT_FALSE(t.dir.Exists("src"));
  EXPECT_EQ(t.dir.Read("target/src/sub/b.txt"), std::string(400, 'b'));
}

TEST(FolderOps, AFailedCopyLeavesNoTarget) {
  Tree t;
  // A pipe can't be copied as a file: the copy fails after copying other files.
  ASSERT_EQ(::mkfifo(QFile::encodeName(t.dir.File("src/sub/zz-pipe")).constData(), 0600), 0);
  EXPECT_FALSE(CopyFolderInto(t.dir.File("src"), t.dir.File("target")).ok);
  EXPECT_TRUE(QDir(t.dir.File("target")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                  QDir::NoDotAndDotDot).isEmpty());
}

TEST(FolderOps, LinksPlantedWhereACopyCouldBeBuiltAreNeitherUsedNorFollowed) {
  Tree t;
  // Someone who can write into the target folder plants links under every
  // name a copy built from the process id and a counter could take.
  t.dir.Write("victim/keep.txt", "keep");
  const QByteArray victim = QFile::encodeName(t.dir.File("victim"));
  ASSERT_EQ(::chmod(victim.constData(), 0500), 0);
  for (int n = 1; n <= 200; ++n)
    QFile::link(t.dir.File("victim"),
                t.dir.File(QStringLiteral("target/.src.partial-%1-%2").arg(::getpid()).arg(n)));

  const FolderOpResult copied = CopyFolderInto(t.dir.File("src"), t.dir.File("target"));
  struct stat after {};
  ASSERT_EQ(::stat(victim.constData(), &after), 0);
  ::chmod(victim.constData(), 0700);
  EXPECT_TRUE(copied.ok) << copied.error.toStdString();
  EXPECT_EQ(after.st_mode & 07777, 0500u);
  EXPECT_EQ(t.dir.Read("target/src/a.txt"), std::string(1000, 'a'));
  EXPECT_EQ(t.dir.Read("victim/keep.txt"), "keep");
  EXPECT_TRUE(QFileInfo(t.dir.File(QStringLiteral("target/.src.partial-%1-1").arg(::getpid()))).isSymLink());
}

TEST(FolderOps, TrashTakesTheFolderIntoATrashOrLeavesItInPlace) {
  struct Row {
    const char* name;
    const char* dataHome;  // XDG_DATA_HOME inside the temp folder; "" for unset
    const char* landed;    // where x.txt ends up; "" when trashing fails
  };
  const Row rows[] = {
      {"data folder named, not there yet", "data", "data/Trash/files/Games/x.txt"},
      {"default data folder missing", "", "home/.local/share/Trash/files/Games/x.txt"},
      {"data folder can't be made", "blocker/data", ""},
  };
  for (const Row& r : rows) {
    TempDir dir;
    dir.Write("blocker", "a file where a folder would have to be");
    dir.Write("Games/x.txt", "x");
    FolderOpResult trashed;
    {
      dirtree_tests::ScopedUserHome user(dir.File("home"), dir.File("cwd"), *r.dataHome ? dir.File(r.dataHome) : "");
      trashed = MoveFolderToTrash(dir.File("Games"));
    }
    if (*r.landed) {
      EXPECT_TRUE(trashed.ok) << r.name << ": " << trashed.error.toStdString();
      EXPECT_EQ(dir.Read(r.landed), "x") << r.name;
      EXPECT_FALSE(dir.Exists("Games")) << r.name;
    } else {
      EXPECT_FALSE(trashed.ok) << r.name;
      EXPECT_FALSE(trashed.error.isEmpty()) << r.name;
      EXPECT_EQ(dir.Read("Games/x.txt"), "x") << r.name;
    }
    // Never into the working directory.
    EXPECT_TRUE(QDir(dir.File("cwd")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        << r.name;
  }
}

TEST(FolderOps, TrashFoldersAreTheHomeTrashAndTheFileSystemsOwn) {
  TempDir dir;
  QDir().mkpath(dir.File("data/Trash/files"));
  const QString uid = QString::number(::getuid());
  const QString data = dir.File("data");
  EXPECT_TRUE(IsInTrashFolder(dir.File("data/Trash/files/Games"), data));
  EXPECT_TRUE(IsInTrashFolder("/media/usb/.Trash-" + uid + "/files/Games", data));
  EXPECT_TRUE(IsInTrashFolder("/media/usb/.Trash/" + uid + "/files/Games", data));
  EXPECT_FALSE(IsInTrashFolder(dir.File("cwd/files/Games"), data));
  EXPECT_FALSE(IsInTrashFolder(dir.File("data/Trash/info/Games"), data));
  EXPECT_FALSE(IsInTrashFolder("/media/usb/.Trash-" + uid + "0/files/Games", data));
  EXPECT_FALSE(IsInTrashFolder("/media/usb/Trash/" + uid + "/files/Games", data));
}

TEST(TreeSum, CountsEveryFileOnceWithoutFollowingLinks) {
  Tree t;
  const TreeTotals totals = SumTree(t.dir.File("src"));
  EXPECT_EQ(totals.bytes, 1500u);  // a.txt, b.txt, .hidden; not the linked files
  EXPECT_EQ(totals.files, 3u);
  EXPECT_EQ(totals.folders, 1u);
  EXPECT_EQ(SumTree(t.dir.File("missing")).bytes, 0u);
  const std::atomic<bool> stop{true};
  EXPECT_EQ(SumTree(t.dir.File("src"), &stop).files, 0u);
}

TEST(TreeSum, StaysOnTheFileSystemItStartsOn) {
  TempDir dir;
  dir.Write("top/own.txt", std::string(300, 'o'));
  QDir().mkpath(dir.File("top/mnt"));
  // A file system mounted below top, in a mount namespace of its own; this
  // process sees that namespace's view through /proc/<pid>/root.
  QProcess mounter;
  mounter.start("unshare", {"-rm", "sh", "-c",
                            "mount -t tmpfs none \"$1\" && head -c 5000 /dev/zero > \"$1/big\" && echo ready && exec sleep 30",
                            "sh", dir.File("top/mnt")});
  const bool ready = mounter.waitForStarted(5000) && mounter.waitForReadyRead(10000) &&
                     mounter.readAllStandardOutput().startsWith("ready");
  if (!ready) {
    mounter.kill();
    mounter.waitForFinished(5000);
    GTEST_SKIP() << "no mount namespace to be had here: " << mounter.readAllStandardError().toStdString();
  }
  const QString top = "/proc/" + QString::number(mounter.processId()) + "/root" + dir.File("top");
  EXPECT_EQ(QFileInfo(top + "/mnt/big").size(), 5000);
  const TreeTotals totals = SumTree(top);
  EXPECT_EQ(totals.bytes, 300u);
  EXPECT_EQ(totals.files, 1u);
  EXPECT_EQ(totals.folders, 0u);
  mounter.kill();
  mounter.waitForFinished(5000);
}

TEST(TreeSum, FilesOf2GiBAndMoreCountFully) {
  TempDir dir;
  const std::uint64_t big = (std::uint64_t(1) << 32) + 7;  // sparse: takes no disk space
  QDir().mkpath(dir.File("big"));
  QFile f(dir.File("big/huge.bin"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  ASSERT_TRUE(f.resize(qint64(big)));
  f.close();
  dir.Write("big/small.txt", "abc");
  EXPECT_EQ(SumTree(dir.File("big")).bytes, big + 3);
}

TEST(Listing, SubfoldersSortedWithHiddenAndLinkedOnes) {
  TempDir dir;
  for (const char* d : {"b", "A", "c", ".config", "a2"}) QDir().mkpath(dir.File(QString("top/") + d));
  dir.Write("top/file.txt", "x");
  QFile::link(dir.File("top/c"), dir.File("top/B-link"));
  EXPECT_EQ(SubfolderNames(dir.File("top")), (QStringList{".config", "A", "a2", "b", "B-link", "c"}));
  EXPECT_EQ(FileNames(dir.File("top")), QStringList{"file.txt"});
  EXPECT_TRUE(HasSubfolder(dir.File("top")));
  EXPECT_FALSE(HasSubfolder(dir.File("top/A")));
  EXPECT_FALSE(HasSubfolder(dir.File("missing")));
  EXPECT_TRUE(SubfolderNames(dir.File("missing")).isEmpty());
}

TEST(Drives, WinePrefixLettersInOrderWithMissingTargetsRemovable) {
  TempDir dir;
  QDir().mkpath(dir.File("wine/drive_c"));
  QDir().mkpath(dir.File("wine/dosdevices"));
  QFile::link("../drive_c", dir.File("wine/dosdevices/c:"));
  QFile::link("/", dir.File("wine/dosdevices/z:"));
  QFile::link(dir.File("no-cdrom"), dir.File("wine/dosdevices/d:"));
  QFile::link("/dev/null", dir.File("wine/dosdevices/d::"));  // raw device, not a drive
  const std::vector<Drive> drives = WineDrives(dir.File("wine"));
  ASSERT_EQ(drives.size(), 3u);
  EXPECT_EQ(drives[0].id, "C:");
  EXPECT_EQ(drives[0].root, QFileInfo(dir.File("wine/drive_c")).canonicalFilePath() + "/");
  EXPECT_EQ(drives[1].id, "D:");
  EXPECT_FALSE(SystemDriveList().IsReady(drives[1]));
  EXPECT_EQ(drives[2].id, "Z:");
  EXPECT_EQ(drives[2].root, "/");
  EXPECT_TRUE(SystemDriveList().IsReady(drives[2]));
  EXPECT_TRUE(WineDrives(dir.File("no-prefix")).empty());
}

TEST(Drives, GvfsMountsAreNetworkDrives) {
  TempDir dir;
  QDir().mkpath(dir.File("gvfs/smb-share:server=nas,share=games"));
  const std::vector<Drive> drives = GvfsDrives(dir.File("gvfs"));
  ASSERT_EQ(drives.size(), 1u);
  EXPECT_TRUE(drives[0].network);
  EXPECT_EQ(drives[0].id, "smb");
  EXPECT_EQ(drives[0].name, "games on nas");
  EXPECT_EQ(drives[0].root, dir.File("gvfs/smb-share:server=nas,share=games/"));
}

TEST(Drives, TheSystemListStartsWithRootAndHomeAndHasNoPseudoFileSystems) {
  const std::vector<Drive> drives = SystemDriveList().Drives();
  ASSERT_GE(drives.size(), 1u);
  EXPECT_EQ(drives[0].root, "/");
  for (const Drive& d : drives) {
    EXPECT_TRUE(d.root.endsWith('/')) << d.root.toStdString();
    EXPECT_FALSE(d.root.startsWith("/proc") || d.root.startsWith("/sys/") || d.root == "/dev/shm/")
        << d.root.toStdString();
  }
  EXPECT_TRUE(IsPseudoFileSystem("tmpfs") && IsPseudoFileSystem("squashfs") && IsPseudoFileSystem("overlay"));
  EXPECT_FALSE(IsPseudoFileSystem("ext4") || IsPseudoFileSystem("vfat") || IsPseudoFileSystem("cifs"));
  EXPECT_TRUE(IsNetworkFileSystem("cifs") && IsNetworkFileSystem("nfs4") && !IsNetworkFileSystem("ext4"));
}
