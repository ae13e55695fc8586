#include "dirtree/tree_size.h"

#include <QFile>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace dirtree {

TreeTotals SumTree(const QString& root, const std::atomic<bool>* stop) {
  TreeTotals totals;
  const std::string top = QFile::encodeName(root).toStdString();
  struct stat topStat {};
  if (::stat(top.c_str(), &topStat) != 0) return totals;
  std::vector<std::string> pending{top};
  while (!pending.empty()) {
    if (stop && stop->load()) break;
    const std::string dir = std::move(pending.back());
    pending.pop_back();
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) continue;
    DIR* listing = ::fdopendir(fd);
    if (!listing) {
      ::close(fd);
      continue;
    }
    while (const dirent* entry = ::readdir(listing)) {
      if (stop && stop->load()) break;  // a folder may hold millions of entries
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      struct stat st {};
      if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
      if (st.st_dev != topStat.st_dev) continue;  // a mount point: another file system
      if (S_ISREG(st.st_mode)) {
        totals.bytes += std::uint64_t(st.st_size);
        ++totals.files;
      } else if (S_ISDIR(st.st_mode)) {
        ++totals.folders;
        pending.push_back(dir + (dir.ends_with('/') ? "" : "/") + name);
      }
    }
    ::closedir(listing);
  }
  return totals;
}

QString ShortSize(std::uint64_t bytes, TLanguage language, const QLocale& locale) {
  double kilobytes = double(bytes) / 1024.0;
  if (bytes >= 1 && bytes <= 1023) kilobytes = 1.0;
  if (kilobytes > 99999.0)
    return locale.toString(kilobytes / 1024.0, 'f', 2) + ' ' + Tr(language, Text::UnitMB);
  return locale.toString(kilobytes, 'f', 2) + ' ' + Tr(language, Text::UnitKB);
}

QString TreeSizeSubject(TLanguage language, bool isDrive, const QString& pathOrName) {
  if (isDrive) return Tr(language, Text::TreeSizeDrive) + pathOrName;
  return Tr(language, Text::TreeSizeFolder) + QStringLiteral(" \"") + pathOrName + '"';
}

QString TreeSizeText(TLanguage language, const QString& subject, std::uint64_t bytes,
                     const QLocale& locale) {
  const QString title = Tr(language, Text::TreeSizeTitle);
  return QStringLiteral("===== ") + title + QStringLiteral(" =====") + "\n\n" + subject + '\n' +
         Tr(language, Text::TreeSizeSubFolders) + '\n' + QStringLiteral(" =  ") +
         locale.toString(qulonglong(bytes)) + ' ' + Tr(language, Text::TreeSizeBytes) + '\n' +
         Tr(language, Text::TreeSizeShortForm) + ShortSize(bytes, language, locale) +
         QStringLiteral(" )");
}

QLocale DisplayLocale() {
  QLocale locale;  // the user's, unless the program chose another
  locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
  return locale;
}

}  // namespace dirtree
