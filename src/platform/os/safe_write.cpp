#include "platform/os/safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr char kTempMarker[] = ".tmp-";

bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += size_t(n);
  }
  return true;
}

// The file a write to `path` must change: the end of a chain of links.
QByteArray ResolveTarget(const QString& path) {
  QString target = path;
  for (int hops = 0; hops < 40 && QFileInfo(target).isSymLink(); ++hops)
    target = QFileInfo(target).symLinkTarget();
  return QFile::encodeName(target);
}

bool DirectoryTakesNewFiles(const QByteArray& dir) {
  struct stat st {};
  if (::stat(dir.constData(), &st) != 0) return false;
  return (st.st_mode & 0222) != 0 && ::access(dir.constData(), W_OK) == 0;
}

bool RewriteInPlace(const QByteArray& target, std::string_view bytes) {
  const int fd = ::open(target.constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes);
  ok = ok && ::ftruncate(fd, off_t(bytes.size())) == 0;
  ok = ok && ::fsync(fd) == 0;
  return (::close(fd) == 0) && ok;
}

bool ReplaceThroughTemp(const QByteArray& target, std::string_view bytes, mode_t mode) {
  QByteArray name = target + kTempMarker + "XXXXXX";
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes);
  ok = ok && ::fchmod(fd, mode) == 0;
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(name.constData(), target.constData()) == 0;
  if (!ok) ::unlink(name.constData());
  return ok;
}

// `name` is `prefix` and the 1 to 16 letters or digits a temporary file of
// ours carries behind it.
bool IsTempName(const QString& name, const QString& prefix) {
  if (!name.startsWith(prefix)) return false;
  const qsizetype tail = name.size() - prefix.size();
  if (tail < 1 || tail > 16) return false;
  for (qsizetype i = prefix.size(); i < name.size(); ++i) {
    const char16_t c = name[i].unicode();
    const bool alnum = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    if (!alnum) return false;
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const QString& path, std::string_view bytes, int newFileMode) {
  const QByteArray target = ResolveTarget(path);
  mode_t mode = mode_t(newFileMode);
  struct stat st {};
  const bool exists = ::stat(target.constData(), &st) == 0;
  if (exists) {
    if (!S_ISREG(st.st_mode)) return false;
    // A write-protected file stays as it is, as Windows refuses to write a
    // read-only file: also for root, who would pass the access check.
    if ((st.st_mode & 0222) == 0 || ::access(target.constData(), W_OK) != 0) return false;
    mode = st.st_mode & 07777;
  }
  const QByteArray dir = QFile::encodeName(QFileInfo(QFile::decodeName(target)).absolutePath());
  if (DirectoryTakesNewFiles(dir) && ReplaceThroughTemp(target, bytes, mode)) return true;
  return exists && RewriteInPlace(target, bytes);
}

int RemoveStaleTempFiles(const QString& path) {
  const QFileInfo info(path);
  const QString prefix = info.fileName() + QLatin1String(kTempMarker);
  int removed = 0;
  const QDir dir = info.absoluteDir();
  for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
    if (!IsTempName(name, prefix)) continue;
    const QByteArray file = QFile::encodeName(dir.filePath(name));
    struct stat st {};
    if (::lstat(file.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid()) continue;
    if (::unlink(file.constData()) == 0) ++removed;
  }
  return removed;
}

}  // namespace platform
