// Whole-file replacement against links, locked-down directories, planted
// names and leftovers of a killed save.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/os/ini_file.h"
#include "platform/os/safe_write.h"
#include "support/temp_dir.h"

using namespace platform;
using testing_support::TempDir;

namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

struct stat StatOf(const QString& path) {
  struct stat st {};
  ::lstat(Native(path).constData(), &st);
  return st;
}

TEST(WriteFileAtomically, ReplacesWholeAndLeavesNoTempFiles) {
  TempDir dir;
  const QString path = dir.Write("a.ini", "old");
  ASSERT_TRUE(WriteFileAtomically(path, "new content"));
  EXPECT_EQ(dir.Read("a.ini"), "new content");
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.ini"});
  EXPECT_FALSE(WriteFileAtomically(dir.File("no/such/dir/a.ini"), "x"));
}

// Players keep their game configs in a synced folder and link them in.
TEST(WriteFileAtomically, WritesThroughLinksAndTheLinkStays) {
  TempDir dir;
  const QString target = dir.Write("synced/TOUser.ini", "[Engine.Input]\r\nF2=\r\n");
  ::chmod(Native(target).constData(), 0640);
  dir.Write("System/.keep", "");
  const QString link = dir.File("System/TOUser.ini");
  ASSERT_EQ(::symlink("../synced/TOUser.ini", Native(link).constData()), 0);
  const QString chained = dir.File("System/User.ini");
  ASSERT_EQ(::symlink(Native(link).constData(), Native(chained).constData()), 0);

  IniWriteString(chained, "Engine.Input", "F2", "EXEC quavik_say.txt");

  EXPECT_TRUE(S_ISLNK(StatOf(link).st_mode));
  EXPECT_TRUE(S_ISLNK(StatOf(chained).st_mode));
  EXPECT_EQ(dir.Read("synced/TOUser.ini"), "[Engine.Input]\r\nF2=EXEC quavik_say.txt\r\n");
  EXPECT_EQ(StatOf(target).st_mode & 0777, 0640u);
  EXPECT_EQ(QDir(dir.File("synced")).entryList(QDir::Files | QDir::Hidden), QStringList{"TOUser.ini"});
}

// A link whose file doesn't exist yet: the file is created where it points.
TEST(WriteFileAtomically, DanglingLinkCreatesItsTarget) {
  TempDir dir;
  dir.Write("synced/.keep", "");
  const QString link = dir.File("quavik.ini");
  ASSERT_EQ(::symlink("synced/quavik.ini", Native(link).constData()), 0);
  ASSERT_TRUE(WriteFileAtomically(link, "x", 0600));
  EXPECT_TRUE(S_ISLNK(StatOf(link).st_mode));
  EXPECT_EQ(dir.Read("synced/quavik.ini"), "x");
  EXPECT_EQ(StatOf(dir.File("synced/quavik.ini")).st_mode & 0777, 0600u);
}

// A writable file in a directory that can't take a new file (a locked-down
// program or System directory) is rewritten in place.
TEST(WriteFileAtomically, WritableFileInReadOnlyDirectoryIsRewrittenInPlace) {
  TempDir dir;
  const QString path = dir.Write("System/TOUser.ini", "[Engine.Input]\r\nF2=a long old value\r\n");
  const ino_t inode = StatOf(path).st_ino;
  const QByteArray system = Native(dir.File("System"));
  ASSERT_EQ(::chmod(system.constData(), 0555), 0);

  IniWriteString(path, "Engine.Input", "F2", "x");
  EXPECT_EQ(dir.Read("System/TOUser.ini"), "[Engine.Input]\r\nF2=x\r\n");
  EXPECT_EQ(StatOf(path).st_ino, inode);
  // A new file can't be made there.
  EXPECT_FALSE(WriteFileAtomically(dir.File("System/new.ini"), "x"));
  ::chmod(system.constData(), 0755);
  EXPECT_EQ(QDir(dir.File("System")).entryList(QDir::Files | QDir::Hidden), QStringList{"TOUser.ini"});
}

// The temporary name must not be predictable: a link planted under the old
// "<file>.tmp-<pid>" name must not get its target overwritten.
TEST(WriteFileAtomically, PlantedLinkUnderATempNameIsNotFollowed) {
  TempDir dir;
  const QString path = dir.Write("quavik.ini", "[MAIN]\r\nPass=a\r\n");
  const QString victim = dir.Write("victim.txt", "keep me");
  const QString planted = path + ".tmp-" + QString::number(::getpid());
  ASSERT_EQ(::symlink(Native(victim).constData(), Native(planted).constData()), 0);

  IniWriteString(path, "MAIN", "Pass", "secret", 0600);
  EXPECT_EQ(dir.Read("victim.txt"), "keep me");
  EXPECT_EQ(dir.Read("quavik.ini"), "[MAIN]\r\nPass=secret\r\n");
  EXPECT_TRUE(S_ISLNK(StatOf(planted).st_mode));
}

TEST(RemoveStaleTempFiles, RemovesOnlyLeftoversOfThatFile) {
  TempDir dir;
  const QString path = dir.Write("quavik.ini", "[MAIN]\r\n");
  for (const char* name : {"quavik.ini.tmp-4711", "quavik.ini.tmp-aZ09xY"}) dir.Write(name, "Pass=x");
  const QStringList kept{"other.ini.tmp-4711", "quavik.ini", "quavik.ini.tmp-", "quavik.ini.tmp-a.b",
                         "quavik.ini.tmp-link", "quavik.ini.tmp-sub", "quavik.ini.tmp-x.bak"};
  for (const QString& name : {kept[0], kept[2], kept[3], kept[6]}) dir.Write(name, "x");
  const QString victim = dir.Write("victim.txt", "keep me");
  ASSERT_EQ(::symlink(Native(victim).constData(), Native(dir.File("quavik.ini.tmp-link")).constData()), 0);
  ASSERT_TRUE(QDir(dir.Path()).mkdir("quavik.ini.tmp-sub"));

  EXPECT_EQ(RemoveStaleTempFiles(path), 2);
  QStringList left = QDir(dir.Path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
  left.removeAll("victim.txt");
  EXPECT_EQ(left, kept);
  EXPECT_EQ(dir.Read("victim.txt"), "keep me");
}

}  // namespace
