#include "presence/log_file_reading.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstring>
#include <string_view>

#include "platform/text/cp1252.h"

namespace presence {
namespace {

constexpr qint64 kBlock = qint64(1) << 20;

// The most of the log a reading has held in memory at once.
void NoteHeld(qint64* mostHeld, qint64 bytes) {
  if (mostHeld) *mostHeld = std::max(*mostHeld, bytes);
}

// Reads `file` from its current offset, reading.ResumeAt(), to its end.
void ReadForward(QFile& file, LogReading& reading, qint64* mostHeld) {
  // Read in blocks rather than mapped: a mapping of a log of hundreds of
  // megabytes costs a page fault every few pages, a read a copy from the
  // page cache. `pending` holds the text from reading.ResumeAt() on: the
  // start of a line still without its line end, at most kLongestLine bytes
  // of it, and the block after it. A longer line is passed over, so what a
  // reading holds stays bounded whatever the log holds.
  QByteArray pending;
  while (!reading.Ended()) {
    const qsizetype had = pending.size();
    pending.resize(had + kBlock);
    NoteHeld(mostHeld, pending.capacity());
    const qint64 got = file.read(pending.data() + had, kBlock);
    if (got <= 0) break;
    pending.resize(had + got);
    const long long before = reading.ResumeAt();
    reading.Read({pending.constData(), static_cast<size_t>(pending.size())});
    const auto consumed = static_cast<qsizetype>(reading.ResumeAt() - before);
    pending.remove(0, consumed);
    if (!reading.Ended() && pending.size() > kLongestLine) {
      reading.PassOverLine(pending.size());
      pending.clear();
    }
  }
}

bool ReadAt(QFile& file, qint64 from, qint64 size, QByteArray& into) {
  into.resize(size);
  if (!file.seek(from)) return false;
  qint64 done = 0;
  while (done < size) {
    const qint64 got = file.read(into.data() + done, size - done);
    if (got <= 0) return false;
    done += got;
  }
  return true;
}

// Offset of the first Ctrl-Z of `file`, or its size when it has none;
// nullopt when it can't be read through.
std::optional<qint64> TextEnd(QFile& file, qint64 size) {
  if (!file.seek(0)) return std::nullopt;
  QByteArray block(kBlock, Qt::Uninitialized);
  for (qint64 offset = 0; offset < size;) {
    const qint64 got = file.read(block.data(), block.size());
    if (got <= 0) return std::nullopt;
    if (const void* z = std::memchr(block.constData(), '\x1a', size_t(got)))
      return offset + (static_cast<const char*>(z) - block.constData());
    offset += got;
  }
  return size;
}

// A fresh reading of the whole of `file` from its end; false when the log
// is to be read from its start instead.
bool ReadFromTail(QFile& file, qint64 size, LogReading& reading, TailWindows windows,
                  std::optional<qint64> knownEnd, qint64* mostHeld) {
  const std::optional<qint64> end = knownEnd && *knownEnd <= size ? knownEnd : TextEnd(file, size);
  if (!end) return false;
  const qint64 through = std::min(size, *end + 1);  // with the Ctrl-Z, which ends the reading
  QByteArray text;
  if (!ReadAt(file, 0, std::min<qint64>(size, platform::kUtf8Bom.size()), text)) return false;
  const struct Noted {
    const QByteArray& text;
    qint64* mostHeld;
    ~Noted() { NoteHeld(mostHeld, text.capacity()); }
  } noted{text, mostHeld};
  const bool utf8 = std::string_view(text.constData(), size_t(text.size())).starts_with(platform::kUtf8Bom);
  for (qint64 window = windows.first; window <= windows.most; window *= 2) {
    const qint64 from = *end - window;
    if (from <= 0) return false;
    if (!ReadAt(file, from, through - from, text)) return false;
    // The window's first line may have begun before it: start after its end.
    const std::string_view bytes(text.constData(), size_t(text.size()));
    const size_t lineEnd = bytes.find_first_of("\r\n");
    if (lineEnd == std::string_view::npos) continue;
    reading.StartAt(from + qint64(lineEnd) + 1, utf8);
    reading.Read(bytes.substr(lineEnd + 1));
    if (reading.FoundCountingLine()) return true;
  }
  return false;
}

// Opens `path` for reading when it is a plain file; a pipe in its place is
// refused at once instead of waited on until someone writes to it.
bool OpenPlainFile(const QString& path, QFile& file) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  const int flags = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
      ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
      !file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return false;
  }
  return true;
}

}  // namespace

void ReadOnFromFile(const QString& path, LogReading& reading, TailWindows windows,
                    std::optional<qint64> textEnd, qint64* mostHeld) {
  QFile file;
  if (!OpenPlainFile(path, file)) return;
  const qint64 size = file.size();
  if (size <= reading.ResumeAt()) return;
  if (reading.ResumeAt() == 0 && size > windows.first) {
    if (ReadFromTail(file, size, reading, windows, textEnd, mostHeld)) return;
    reading.StartAt(0, false);
  }
  if (!file.seek(reading.ResumeAt())) return;
  ReadForward(file, reading, mostHeld);
}

std::optional<std::string> LastRelevantLineInFile(const QString& path) {
  LogReading reading(LogFormat::LoadMap);
  ReadOnFromFile(path, reading);
  return reading.Result().last;
}

}  // namespace presence
