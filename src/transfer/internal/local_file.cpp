#include "transfer/internal/local_file.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr std::size_t kBufferSize = 256 * 1024;
}

LocalFile::~LocalFile() { Close(); }

bool LocalFile::Adopt(int fd) {
  file_ = ::fdopen(fd, "wb");
  if (!file_) {
    ::close(fd);
    return false;
  }
  std::setvbuf(file_, nullptr, _IOFBF, kBufferSize);
  return true;
}

bool LocalFile::OpenRead(const QString& path) {
  // Without O_NONBLOCK, opening a pipe waits until someone writes to it.
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  const int flags = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
      ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 || !(file_ = ::fdopen(fd, "rb"))) {
    ::close(fd);
    return false;
  }
  std::setvbuf(file_, nullptr, _IOFBF, kBufferSize);
  return true;
}

std::int64_t LocalFile::Size() const {
  struct stat info {};
  if (!file_ || fstat(fileno(file_), &info) != 0) return -1;
  return static_cast<std::int64_t>(info.st_size);
}

std::int64_t LocalFile::Read(char* buffer, std::int64_t size) {
  const std::size_t n = std::fread(buffer, 1, static_cast<std::size_t>(size), file_);
  if (n == 0 && std::ferror(file_)) return -1;
  return static_cast<std::int64_t>(n);
}

bool LocalFile::Write(const char* data, std::int64_t size) {
  return std::fwrite(data, 1, static_cast<std::size_t>(size), file_) == static_cast<std::size_t>(size);
}

std::int64_t LocalFile::CopyFrom(LocalFile& source, std::int64_t size) {
  const ssize_t n = copy_file_range(fileno(source.file_), nullptr, fileno(file_), nullptr, static_cast<size_t>(size), 0);
  // 0 is also what some special files answer before their end: let a read tell.
  return n > 0 ? static_cast<std::int64_t>(n) : -1;
}

bool LocalFile::Close() {
  if (!file_) return true;
  const bool ok = std::fclose(file_) == 0;
  file_ = nullptr;
  return ok;
}
