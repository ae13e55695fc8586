#include "presence/working_copy.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace presence {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() { if (fd_ >= 0) ::close(fd_); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
  }
  return true;
}

// Copies the rest of `in` to `out` through a buffer.
bool CopyByReading(int in, int out) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!WriteAll(out, buffer.data(), size_t(n))) return false;
  }
}

// Copies from the current offset of `in` to the current offset of `out`,
// advancing both.
bool CopyContents(int in, int out) {
#ifdef __linux__
  for (;;) {
    const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, size_t(1) << 30, 0);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      // Not offered between these two files: go on from where it stopped.
      if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) break;
      return false;
    }
  }
#endif
  return CopyByReading(in, out);
}

bool OverwriteInPlace(int in, Fd& out) {
  const bool copied = CopyContents(in, out.get());
  const off_t length = ::lseek(out.get(), 0, SEEK_CUR);
  const bool cut = length >= 0 && ::ftruncate(out.get(), length) == 0;
  return out.Close() && copied && cut;
}

bool CopyBesideAndReplace(int in, const QByteArray& target) {
  const QByteArray temp = target + ".part";
  ::unlink(temp.constData());
  Fd out(::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (out.get() < 0) return false;
  if (!CopyContents(in, out.get()) || !out.Close()) {
    ::unlink(temp.constData());
    return false;
  }
  // Removing the old copy first spares the file system the flush that a
  // rename over an existing file triggers.
  ::unlink(target.constData());
  if (::rename(temp.constData(), target.constData()) != 0) {
    ::unlink(temp.constData());
    return false;
  }
  return true;
}

}  // namespace

bool RefreshWorkingCopy(const QString& gameLog, const QString& workingCopy) {
  Fd in(::open(QFile::encodeName(gameLog).constData(), O_RDONLY | O_CLOEXEC));
  struct stat logStat {};
  if (in.get() < 0 || ::fstat(in.get(), &logStat) != 0 || !S_ISREG(logStat.st_mode)) return false;

  const QByteArray target = QFile::encodeName(workingCopy);
  Fd out(::open(target.constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
  struct stat copy {};
  if (out.get() >= 0 && ::fstat(out.get(), &copy) == 0 && S_ISREG(copy.st_mode) && copy.st_nlink == 1) {
    if (copy.st_dev == logStat.st_dev && copy.st_ino == logStat.st_ino) return true;  // the log itself
    return OverwriteInPlace(in.get(), out);
  }
  return CopyBesideAndReplace(in.get(), target);
}

}  // namespace presence
