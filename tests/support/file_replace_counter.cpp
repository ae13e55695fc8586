#include "support/file_replace_counter.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <sys/inotify.h>
#include <unistd.h>

namespace testing_support {

FileReplaceCounter::FileReplaceCounter(const QString& filePath)
    : name_(QFileInfo(filePath).fileName()) {
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ >= 0)
    ::inotify_add_watch(fd_, QFile::encodeName(QFileInfo(filePath).absolutePath()).constData(),
                        IN_MOVED_TO | IN_CLOSE_WRITE);
}

FileReplaceCounter::~FileReplaceCounter() {
  if (fd_ >= 0) ::close(fd_);
}

int FileReplaceCounter::Count() {
  alignas(inotify_event) char buffer[8192];
  for (;;) {
    const ssize_t n = fd_ < 0 ? -1 : ::read(fd_, buffer, sizeof buffer);
    if (n <= 0) break;
    for (ssize_t pos = 0; pos < n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(buffer + pos);
      if (e->len > 0 && QFile::decodeName(e->name) == name_) ++count_;
      pos += ssize_t(sizeof(inotify_event) + e->len);
    }
  }
  return count_;
}

}  // namespace testing_support
