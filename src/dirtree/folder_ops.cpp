#include "dirtree/folder_ops.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace dirtree {
namespace {

fs::path Native(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

FolderOpResult Failed(const std::error_code& ec) {
  return {false, QString::fromLocal8Bit(ec.message().c_str())};
}
FolderOpResult Failed(int error) { return Failed(std::error_code(error, std::generic_category())); }
FolderOpResult Ok() { return {true, {}}; }

// rename(2) that never replaces `to`; falls back to a test before the rename
// on file systems without RENAME_NOREPLACE.
int RenameNoReplace(const fs::path& from, const fs::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
  struct stat st {};
  if (::lstat(to.c_str(), &st) == 0) return EEXIST;
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// Copies what the directory `from` (not a link) holds into the empty
// directory `to`, then gives `to` the permissions of `from`.
void CopyTreeInto(const fs::path& from, const fs::path& to, std::error_code& ec);

// Copies the directory `from` (not a link) to the new directory `to`.
void CopyTree(const fs::path& from, const fs::path& to, std::error_code& ec) {
  // Writable while it fills; the source's permissions are applied at the end.
  if (!fs::create_directory(to, ec)) {
    if (!ec) ec = std::make_error_code(std::errc::file_exists);
    return;
  }
  CopyTreeInto(from, to, ec);
}

void CopyTreeInto(const fs::path& from, const fs::path& to, std::error_code& ec) {
  for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path target = to / it->path().filename();
    const fs::file_status status = it->symlink_status(ec);
    if (ec) return;
    if (fs::is_symlink(status)) {
      const fs::path link = fs::read_symlink(it->path(), ec);
      if (!ec) fs::create_symlink(link, target, ec);
    } else if (fs::is_directory(status)) {
      CopyTree(it->path(), target, ec);
    } else if (fs::is_regular_file(status)) {
      fs::copy_file(it->path(), target, fs::copy_options::none, ec);
    } else {
      // Devices, pipes and sockets can't be copied as files.
      ec = std::make_error_code(std::errc::operation_not_supported);
    }
    if (ec) return;
  }
  if (ec) return;
  const fs::perms mode = fs::status(from, ec).permissions();
  if (!ec) fs::permissions(to, mode, ec);
}

// Removes a tree the program made itself, read-only folders included. Links
// met on the way are removed, never followed: whatever was planted below the
// root, nothing outside it changes.
void RemoveTree(const fs::path& root) {
  std::error_code ec;
  constexpr auto kAddNoFollow = fs::perm_options::add | fs::perm_options::nofollow;
  if (!fs::is_directory(fs::symlink_status(root, ec))) return;
  fs::permissions(root, fs::perms::owner_all, kAddNoFollow, ec);
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
    if (fs::is_directory(it->symlink_status(ec)))
      fs::permissions(it->path(), fs::perms::owner_all, kAddNoFollow, ec);
  fs::remove_all(root, ec);
}

// Makes the hidden folder a copy is built in: beside the target, under a
// name no one can guess beforehand, created by us alone (mkdtemp fails on
// anything already there, a planted link included).
std::optional<fs::path> MakePartialFolder(const fs::path& targetDir, const fs::path& name,
                                          std::error_code& ec) {
  std::string pattern = (targetDir / ("." + name.string() + ".partial-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    ec = std::error_code(errno, std::generic_category());
    return std::nullopt;
  }
  return fs::path(pattern);
}

// The checks every paste makes; empty when the paste may go on.
std::optional<FolderOpResult> RefusePaste(const QString& source, const QString& targetDir) {
  const QFileInfo info(source);
  if (!info.isDir() || info.isSymLink()) return Failed(ENOENT);
  if (!QFileInfo(targetDir).isDir()) return Failed(ENOENT);
  if (IsSameOrInside(targetDir, source)) return Failed(EINVAL);
  const fs::path target = Native(targetDir) / Native(source).filename();
  std::error_code ec;
  if (fs::exists(fs::symlink_status(target, ec))) return Failed(EEXIST);
  return std::nullopt;
}

// Creates `path` and any missing folder above it, readable by the user only,
// as the desktop's folder rules ask for the user's own folders.
void MakeUserFolder(const QString& path) {
  if (path.isEmpty() || QFileInfo(path).isDir()) return;
  MakeUserFolder(QFileInfo(path).absolutePath());
  ::mkdir(Native(path).c_str(), 0700);
}

QString NoTrashReason(const QString& dataHome) {
  return QStringLiteral("no trash folder could be made in ") + dataHome;
}

}  // namespace

FolderOpResult CreateFolder(const QString& path) {
  if (::mkdir(Native(path).c_str(), 0777) != 0) return Failed(errno);
  return Ok();
}

FolderOpResult RenameFolder(const QString& from, const QString& to) {
  if (const int error = RenameNoReplace(Native(from), Native(to))) return Failed(error);
  return Ok();
}

FolderOpResult MoveFolderToTrash(const QString& path) {
  // The home trash lies in the user's data folder, which a fresh account may
  // not have yet; without it Qt trashes into the working directory.
  const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  MakeUserFolder(dataHome);
  const QString workDir = QDir::currentPath();
  const bool hadFiles = QFileInfo::exists(workDir + "/files");
  const bool hadInfo = QFileInfo::exists(workDir + "/info");

  QFile folder(path);
  if (!folder.moveToTrash()) return {false, folder.errorString()};
  const QString trashed = folder.fileName();
  if (IsInTrashFolder(trashed, dataHome)) return Ok();

  // It went somewhere that is no trash: put it back and tidy up behind it.
  const QString place = QFileInfo(QFileInfo(trashed).absolutePath()).absolutePath();
  if (const int error = RenameNoReplace(Native(trashed), Native(path)))
    return {false, NoTrashReason(dataHome) + QStringLiteral("; the folder is now ") + trashed + QStringLiteral(": ") +
                       Failed(error).error};
  QFile::remove(place + "/info/" + QFileInfo(trashed).fileName() + ".trashinfo");
  if (QFileInfo(place).canonicalFilePath() == QFileInfo(workDir).canonicalFilePath()) {
    if (!hadFiles) QDir(place).rmdir(QStringLiteral("files"));
    if (!hadInfo) QDir(place).rmdir(QStringLiteral("info"));
  }
  return {false, NoTrashReason(dataHome)};
}

bool IsInTrashFolder(const QString& trashed, const QString& dataHome) {
  const QFileInfo files(QFileInfo(trashed).absolutePath());
  if (files.fileName() != QLatin1String("files")) return false;
  const QFileInfo trash(files.absolutePath());
  const QString uid = QString::number(::getuid());
  if (trash.fileName() == QStringLiteral(".Trash-") + uid) return true;  // a file system's own trash
  if (trash.fileName() == uid && QFileInfo(trash.absolutePath()).fileName() == QLatin1String(".Trash")) return true;
  const QString home = QFileInfo(dataHome + "/Trash").canonicalFilePath();
  return !home.isEmpty() && trash.canonicalFilePath() == home;
}

bool IsSameOrInside(const QString& target, const QString& folder) {
  const QString t = QFileInfo(target).canonicalFilePath();
  QString f = QFileInfo(folder).canonicalFilePath();
  if (t.isEmpty() || f.isEmpty()) return false;
  if (t == f) return true;
  if (!f.endsWith('/')) f += '/';
  return t.startsWith(f);
}

FolderOpResult CopyFolderInto(const QString& source, const QString& targetDir) {
  if (auto refused = RefusePaste(source, targetDir)) return *refused;
  const fs::path from = Native(source);
  std::error_code ec;
  const std::optional<fs::path> madePartial = MakePartialFolder(Native(targetDir), from.filename(), ec);
  if (!madePartial) return Failed(ec);
  const fs::path& partial = *madePartial;
  CopyTreeInto(from, partial, ec);
  if (!ec) {
    if (const int error = RenameNoReplace(partial, Native(targetDir) / from.filename()))
      ec = std::error_code(error, std::generic_category());
  }
  if (ec) {
    RemoveTree(partial);
    return Failed(ec);
  }
  return Ok();
}

FolderOpResult MoveFolderInto(const QString& source, const QString& targetDir) {
  if (auto refused = RefusePaste(source, targetDir)) return *refused;
  const fs::path from = Native(source);
  const int error = RenameNoReplace(from, Native(targetDir) / from.filename());
  if (error == 0) return Ok();
  if (error != EXDEV) return Failed(error);
  // Another file system: copy completely first, then remove the source.
  FolderOpResult copied = CopyFolderInto(source, targetDir);
  if (!copied.ok) return copied;
  std::error_code ec;
  fs::remove_all(from, ec);
  if (ec) return Failed(ec);
  return Ok();
}

}  // namespace dirtree
