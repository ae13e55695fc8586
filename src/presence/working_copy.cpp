#include "presence/working_copy.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
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

// Copies from the current offset of `in` to the current offset of `out`,
// advancing both, through a buffer small enough to stay in the processor's
// cache while the copy looks for a Ctrl-Z in it: the bytes are read from
// memory once, for the copy and the search together. `ctrlZ` gets the
// offset in `in` of the first Ctrl-Z copied, when there is one.
bool CopyContents(int in, int out, std::optional<off_t>& ctrlZ) {
  std::vector<char> buffer(size_t(128) << 10);
  off_t offset = ::lseek(in, 0, SEEK_CUR);
  for (;;) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!ctrlZ) {
      if (const void* z = std::memchr(buffer.data(), '\x1a', size_t(n)))
        ctrlZ = offset + (static_cast<const char*>(z) - buffer.data());
    }
    if (!WriteAll(out, buffer.data(), size_t(n))) return false;
    offset += n;
  }
}

bool OverwriteInPlace(int in, Fd& out, std::optional<off_t>& ctrlZ) {
  const bool copied = CopyContents(in, out.get(), ctrlZ);
  const off_t length = ::lseek(out.get(), 0, SEEK_CUR);
  const bool cut = length >= 0 && ::ftruncate(out.get(), length) == 0;
  return out.Close() && copied && cut;
}

bool CopyBesideAndReplace(int in, const QByteArray& target, std::optional<off_t>& ctrlZ) {
  const QByteArray temp = target + ".part";
  ::unlink(temp.constData());
  Fd out(::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (out.get() < 0) return false;
  if (!CopyContents(in, out.get(), ctrlZ) || !out.Close()) {
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

constexpr off_t kCompared = 4096;

bool ReadAt(int fd, char* buffer, size_t size, off_t offset) {
  while (size > 0) {
    const ssize_t n = ::pread(fd, buffer, size, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    buffer += n;
    size -= size_t(n);
    offset += n;
  }
  return true;
}

bool SameBytes(int a, int b, off_t offset, off_t size) {
  std::array<char, kCompared> x;
  std::array<char, kCompared> y;
  return ReadAt(a, x.data(), size_t(size), offset) && ReadAt(b, y.data(), size_t(size), offset) &&
         std::memcmp(x.data(), y.data(), size_t(size)) == 0;
}

bool SameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

// The working copy `out` is the one `last` describes and `in` (stat `log`)
// is that log, grown or as it was.
bool OnlyGrown(int in, const struct stat& log, int out, const CopiedLog& last) {
  struct stat copy {};
  if (log.st_dev != last.logDevice || log.st_ino != last.logInode || log.st_size < last.length) return false;
  if (::fstat(out, &copy) != 0 || !S_ISREG(copy.st_mode) || copy.st_nlink != 1 ||
      copy.st_dev != last.copyDevice || copy.st_ino != last.copyInode || copy.st_size != last.length ||
      !SameTime(copy.st_mtim, last.copyModified)) {
    return false;
  }
  const off_t compared = std::min(kCompared, last.length);
  return SameBytes(in, out, 0, compared) && SameBytes(in, out, last.length - compared, compared);
}

std::optional<CopiedLog> Describe(const struct stat& log, const QByteArray& workingCopy) {
  struct stat copy {};
  if (::lstat(workingCopy.constData(), &copy) != 0 || !S_ISREG(copy.st_mode)) return std::nullopt;
  return CopiedLog{log.st_dev, log.st_ino, copy.st_size, copy.st_dev, copy.st_ino, copy.st_mtim};
}

}  // namespace

Refreshed RefreshWorkingCopy(const QString& gameLog, const QString& workingCopy,
                             std::optional<CopiedLog>& last, std::optional<off_t>* textEnd) {
  const std::optional<CopiedLog> before = last;
  last.reset();
  if (textEnd) textEnd->reset();
  // Without O_NONBLOCK, opening a pipe in the log's place would wait for a
  // writer that may never come; anything but a plain file is no log.
  Fd in(::open(QFile::encodeName(gameLog).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat logStat {};
  if (in.get() < 0 || ::fstat(in.get(), &logStat) != 0 || !S_ISREG(logStat.st_mode)) return Refreshed::Failed;
  const int flags = ::fcntl(in.get(), F_GETFL);
  if (flags < 0 || ::fcntl(in.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return Refreshed::Failed;

  const QByteArray target = QFile::encodeName(workingCopy);
  Fd out(::open(target.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
  struct stat copy {};
  std::optional<off_t> ctrlZ;
  if (out.get() >= 0 && ::fstat(out.get(), &copy) == 0 && S_ISREG(copy.st_mode) && copy.st_nlink == 1) {
    if (copy.st_dev == logStat.st_dev && copy.st_ino == logStat.st_ino) return Refreshed::Whole;  // the log itself
    if (before && OnlyGrown(in.get(), logStat, out.get(), *before)) {
      if (::lseek(in.get(), before->length, SEEK_SET) != before->length ||
          ::lseek(out.get(), before->length, SEEK_SET) != before->length) {
        return Refreshed::Failed;
      }
      if (!OverwriteInPlace(in.get(), out, ctrlZ)) return Refreshed::Failed;
      last = Describe(logStat, target);
      return Refreshed::Appended;
    }
    if (!OverwriteInPlace(in.get(), out, ctrlZ)) return Refreshed::Failed;
  } else if (!CopyBesideAndReplace(in.get(), target, ctrlZ)) {
    return Refreshed::Failed;
  }
  last = Describe(logStat, target);
  if (textEnd && last) *textEnd = ctrlZ ? *ctrlZ : last->length;
  return Refreshed::Whole;
}

bool RefreshWorkingCopy(const QString& gameLog, const QString& workingCopy) {
  std::optional<CopiedLog> none;
  return RefreshWorkingCopy(gameLog, workingCopy, none) != Refreshed::Failed;
}

}  // namespace presence
