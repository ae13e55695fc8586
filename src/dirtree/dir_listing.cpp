#include "dirtree/dir_listing.h"

#include <QDir>
#include <QDirIterator>
#include <algorithm>

namespace dirtree {
namespace {

constexpr QDir::Filters kFolders = QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;

void SortByName(QStringList& names) {
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
}

}  // namespace

QStringList SubfolderNames(const QString& dir) {
  QStringList names = QDir(dir).entryList(kFolders, QDir::Unsorted);
  SortByName(names);
  return names;
}

bool HasSubfolder(const QString& dir) { return QDirIterator(dir, kFolders).hasNext(); }

QStringList FileNames(const QString& dir) {
  QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
  SortByName(names);
  return names;
}

QString JoinPath(const QString& dir, const QString& name) {
  return dir.endsWith('/') ? dir + name : dir + '/' + name;
}

int MatchName(const QStringList& names, const QString& component) {
  const int exact = int(names.indexOf(component));
  if (exact >= 0) return exact;
  for (int i = 0; i < names.size(); ++i)
    if (names[i].compare(component, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

int MatchDriveRoot(const std::vector<QString>& roots, const QString& path) {
  for (const Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
    int best = -1;
    for (int i = 0; i < int(roots.size()); ++i)
      if (path.startsWith(roots[i], cs) && (best < 0 || roots[i].size() > roots[best].size())) best = i;
    if (best >= 0) return best;
  }
  return -1;
}

}  // namespace dirtree
