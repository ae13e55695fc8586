// Reading folders for the tree: subfolders sorted by name, whether a folder
// has any subfolder (for its expand button), its files, and joining and
// matching path components. A folder that can't be read has no entries.
#pragma once
#include <QString>
#include <QStringList>
#include <vector>

namespace dirtree {

// Names of the folders in `dir`, hidden ones and links to folders included,
// sorted alphabetically without regard to letter case.
QStringList SubfolderNames(const QString& dir);

// True as soon as `dir` holds one folder (a link to a folder counts).
bool HasSubfolder(const QString& dir);

// Names of the files (not folders) in `dir`, sorted by name.
QStringList FileNames(const QString& dir);

// `dir` + "/" + `name`, without doubling the separator.
QString JoinPath(const QString& dir, const QString& name);

// The entry among `names` that stands for the path component `component`:
// the first exact match, otherwise the first match without regard to case;
// -1 when none matches.
int MatchName(const QStringList& names, const QString& component);

// The drive whose root (ending with "/") holds `path`: the longest root that
// `path` starts with, exact spelling before a match without regard to case;
// -1 when none does.
int MatchDriveRoot(const std::vector<QString>& roots, const QString& path);

}  // namespace dirtree
