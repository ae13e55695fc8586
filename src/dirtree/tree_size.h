// Summing a folder tree and the text of the tree-size box.
#pragma once
#include <QLocale>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>

#include "dirtree/dir_tree_texts.h"

namespace dirtree {

struct TreeTotals {
  std::uint64_t bytes = 0;    // sizes of all regular files, 64-bit
  std::uint64_t files = 0;    // regular files
  std::uint64_t folders = 0;  // folders below the root
};

// Walks `root` and everything below it, hidden files included, staying on
// the file system `root` lies on (as `du -x` does): another file system
// mounted below it, "/proc" below "/" or a network share, is neither entered
// nor counted. Symbolic links are neither followed nor counted, so a link
// back up the tree can't loop; folders that can't be read add nothing. Stops
// early, with what it has, once `*stop` is set. Safe to run on any thread.
TreeTotals SumTree(const QString& root, const std::atomic<bool>* stop = nullptr);

// What walks a tree for the tree-size box and the properties box; SumTree
// unless a test gives another.
using TreeSum = std::function<TreeTotals(const QString& root, const std::atomic<bool>* stop)>;

// The short form of a byte count: kilobytes with two decimals ("1.46 KB";
// 1 to 1023 bytes count as 1 KB), or megabytes above 99999 KB.
QString ShortSize(std::uint64_t bytes, TLanguage language, const QLocale& locale);

// The box subject: "Drive " + path for a drive, Folder "name" for a folder.
QString TreeSizeSubject(TLanguage language, bool isDrive, const QString& pathOrName);

// The whole text of the tree-size box.
QString TreeSizeText(TLanguage language, const QString& subject, std::uint64_t bytes,
                     const QLocale& locale);

// The locale whose separators the boxes use: the default one (the user's
// unless the program set another), with thousands
// separators always shown.
QLocale DisplayLocale();

}  // namespace dirtree
