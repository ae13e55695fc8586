#include "transfer/replacement_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file a write to `path` must change: the end of a chain of links.
QString ResolveLinks(const QString& path) {
  QString target = path;
  for (int hops = 0; hops < 40 && QFileInfo(target).isSymLink(); ++hops) target = QFileInfo(target).symLinkTarget();
  return target;
}

QByteArray RandomSuffix() {
  static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  QByteArray suffix(16, '0');
  for (char& c : suffix) c = kDigits[QRandomGenerator::system()->bounded(36)];
  return suffix;
}

}  // namespace

ReplacementFile::~ReplacementFile() { Discard(); }

bool ReplacementFile::Create(const QString& target) {
  const QFileInfo resolved(ResolveLinks(target));
  target_ = QFile::encodeName(resolved.filePath());
  mode_t mode = 0666;  // less the umask, as for any new file
  bool keepMode = false;
  struct stat st {};
  if (::stat(target_.constData(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return false;
    mode = st.st_mode & 07777;
    keepMode = true;
  }
  const QByteArray dir = QFile::encodeName(resolved.path());
  const QByteArray stem = dir + "/." + QFile::encodeName(resolved.fileName()) + ".part-";
  for (int attempt = 0; attempt < 8; ++attempt) {
    const QByteArray name = stem + RandomSuffix();
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    temporary_ = name;
    if ((keepMode && ::fchmod(fd, mode) != 0) || !file_.Adopt(fd)) {
      Discard();
      return false;
    }
    return true;
  }
  return false;
}

bool ReplacementFile::Finish() {
  if (file_.Close()) return true;
  Discard();
  return false;
}

bool ReplacementFile::Replace() {
  if (temporary_.isEmpty() || ::rename(temporary_.constData(), target_.constData()) != 0) {
    Discard();
    return false;
  }
  temporary_.clear();
  return true;
}

void ReplacementFile::Discard() {
  file_.Close();
  if (!temporary_.isEmpty()) ::unlink(temporary_.constData());
  temporary_.clear();
}
