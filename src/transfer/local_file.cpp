#include "transfer/local_file.h"

#include <QFile>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr std::size_t kBufferSize = 256 * 1024;
}

LocalFile::~LocalFile() { Close(); }

bool LocalFile::Create(const QString& path) {
  file_ = std::fopen(QFile::encodeName(path).constData(), "wb");
  if (file_) std::setvbuf(file_, nullptr, _IOFBF, kBufferSize);
  return file_ != nullptr;
}

bool LocalFile::OpenRead(const QString& path) {
  file_ = std::fopen(QFile::encodeName(path).constData(), "rb");
  if (file_) std::setvbuf(file_, nullptr, _IOFBF, kBufferSize);
  return file_ != nullptr;
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
