#include "presence/relevant_log_line.h"

#include <QFile>
#include <cstring>

namespace presence {
namespace {

enum class LineKind { Other, Decisive, LevelUp };

LineKind KindOf(std::string_view line, LogFormat format) {
  if (line.starts_with(kLoadMapPrefix) || line.starts_with(kExitPrefix)) return LineKind::Decisive;
  if (format == LogFormat::BrowseAndLevel) {
    if (line.starts_with(kBrowsePrefix)) return LineKind::Decisive;
    if (line.starts_with(kLevelUpPrefix)) return LineKind::LevelUp;
  }
  return LineKind::Other;
}

// Position of the last CR in text[0, end); npos when there is none.
size_t LastCr(std::string_view text, size_t end) {
#ifdef __GLIBC__
  const void* hit = memrchr(text.data(), '\r', end);
  return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text.data()) : std::string_view::npos;
#else
  return end == 0 ? std::string_view::npos : text.rfind('\r', end - 1);
#endif
}

// The finding of `text`, which begins at a line start and holds no Ctrl-Z.
// Walks the line starts from the last one back to the first and stops at the
// first decisive line. A line starts at 0 and after every CR, past an LF that
// follows the CR directly.
LogFinding FindingOf(std::string_view text, LogFormat format) {
  LogFinding found;
  size_t lineEnd = text.size();
  for (;;) {
    const size_t cr = LastCr(text, lineEnd);
    size_t start = 0;
    if (cr != std::string_view::npos) {
      start = cr + 1;
      if (start < text.size() && text[start] == '\n') ++start;
    }
    const std::string_view line = text.substr(start, lineEnd - start);
    switch (KindOf(line, format)) {
      case LineKind::Decisive:
        found.last.emplace(line);
        return found;
      case LineKind::LevelUp:
        if (!found.levelUp) found.levelUp.emplace(line);
        break;
      case LineKind::Other:
        break;
    }
    if (cr == std::string_view::npos) return found;
    lineEnd = cr;
  }
}

// The finding of two stretches of text, one right after the other.
LogFinding Followed(const LogFinding& earlier, const LogFinding& later) {
  if (later.last) return later;
  return {earlier.last, later.levelUp ? later.levelUp : earlier.levelUp};
}

}  // namespace

void LogReading::Read(std::string_view more) {
  if (ended_) return;
  // The byte at ResumeAt() follows a CR, so an LF there belongs to its line end.
  const size_t skip = resumeAt_ > 0 && more.starts_with('\n') ? 1 : 0;
  std::string_view text = more.substr(skip);
  if (const void* z = std::memchr(text.data(), '\x1a', text.size())) {
    text = text.substr(0, static_cast<size_t>(static_cast<const char*>(z) - text.data()));
    ended_ = true;
  }
  const size_t cr = LastCr(text, text.size());
  if (cr != std::string_view::npos) {
    finished_ = Followed(finished_, FindingOf(text.substr(0, cr), format_));
    resumeAt_ += static_cast<long long>(skip + cr + 1);
    text.remove_prefix(cr + 1);
    if (text.starts_with('\n')) text.remove_prefix(1);
  }
  unfinished_ = FindingOf(text, format_);
}

LogFinding LogReading::Result() const { return Followed(finished_, unfinished_); }

std::optional<std::string> LastRelevantLine(std::string_view bytes) {
  LogReading reading(LogFormat::LoadMap);
  reading.Read(bytes);
  return reading.Result().last;
}

void ReadOnFromFile(const QString& path, LogReading& reading) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return;
  const qint64 from = reading.ResumeAt();
  const qint64 size = file.size();
  if (size <= from) return;
  if (const uchar* data = file.map(from, size - from)) {
    reading.Read({reinterpret_cast<const char*>(data), static_cast<size_t>(size - from)});
    file.unmap(const_cast<uchar*>(data));
    return;
  }
  // Not mappable: read it instead.
  if (!file.seek(from)) return;
  const QByteArray rest = file.readAll();
  reading.Read({rest.constData(), static_cast<size_t>(rest.size())});
}

std::optional<std::string> LastRelevantLineInFile(const QString& path) {
  LogReading reading(LogFormat::LoadMap);
  ReadOnFromFile(path, reading);
  return reading.Result().last;
}

}  // namespace presence
