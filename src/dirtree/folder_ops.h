// The folder operations behind the tree's menu: create, rename, move to the
// trash, copy and move into another folder. None of them ever replaces or
// merges into an existing folder, and a failed copy leaves no target behind.
// They block until done; the tree runs the long ones on a worker thread.
#pragma once
#include <QString>

namespace dirtree {

struct FolderOpResult {
  bool ok = false;
  QString error;  // the system's reason when !ok
};

// Creates the folder `path`; fails when anything exists there.
FolderOpResult CreateFolder(const QString& path);

// Renames the folder `from` to `to`; fails when `to` exists.
FolderOpResult RenameFolder(const QString& from, const QString& to);

// Moves `path` to the desktop trash (it can be restored from there): the
// home trash in the user's data folder, made when missing, or the trash of
// the folder's own file system. When no trash can be had the folder stays
// where it is and the result says so.
FolderOpResult MoveFolderToTrash(const QString& path);

// True when `trashed` lies in the "files" folder of a trash: the home trash
// below `dataHome`, or a file system's ".Trash-<uid>" or ".Trash/<uid>".
bool IsInTrashFolder(const QString& trashed, const QString& dataHome);

// True when `target` is `folder` itself or lies inside it (symbolic links
// resolved on both sides).
bool IsSameOrInside(const QString& target, const QString& folder);

// Copies the folder `source` with everything below it into `targetDir`, as
// targetDir/<name of source>. Symbolic links are copied as links, never
// followed. The copy is built under a hidden temporary name and takes its
// name only when complete; on failure that partial copy is removed. Refused
// when the target exists or lies inside the source.
FolderOpResult CopyFolderInto(const QString& source, const QString& targetDir);

// Moves `source` into `targetDir` the same way: renamed when both lie on one
// file system, otherwise copied as above and the source removed afterwards.
FolderOpResult MoveFolderInto(const QString& source, const QString& targetDir);

}  // namespace dirtree
