#include "presence/relevant_log_line.h"

#include <QFile>
#include <cstring>

#include "platform/text_file.h"

namespace presence {
namespace {

constexpr std::string_view kLoadMapPrefix = "Log: LoadMap: ";
constexpr std::string_view kExitPrefix = "Exit: Exiting";

bool IsRelevant(std::string_view line) {
  return line.starts_with(kLoadMapPrefix) || line.starts_with(kExitPrefix);
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

// Forward reading, for a file that can't be mapped into memory.
std::optional<std::string> LastRelevantLineStreamed(const QString& path) {
  platform::TextLineReader reader;
  if (!reader.Open(path)) return std::nullopt;
  std::optional<std::string> last;
  std::string line;
  while (reader.Next(line)) {
    if (IsRelevant(line)) last = line;
  }
  return last;
}

}  // namespace

std::optional<std::string_view> LastRelevantLine(std::string_view bytes) {
  const std::string_view text = bytes.substr(0, bytes.find('\x1a'));
  // Walk the line starts from the last one back to the first. A line starts
  // at 0 and after every CR, past an LF that follows the CR directly.
  size_t lineEnd = text.size();
  for (;;) {
    const size_t cr = LastCr(text, lineEnd);
    size_t start = 0;
    if (cr != std::string_view::npos) {
      start = cr + 1;
      if (start < text.size() && text[start] == '\n') ++start;
    }
    const std::string_view line = text.substr(start, lineEnd - start);
    if (IsRelevant(line)) return line;
    if (cr == std::string_view::npos) return std::nullopt;
    lineEnd = cr;
  }
}

std::optional<std::string> LastRelevantLineInFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const qint64 size = file.size();
  if (size == 0) return std::nullopt;
  const uchar* data = file.map(0, size);
  if (data == nullptr) return LastRelevantLineStreamed(path);
  const auto line = LastRelevantLine({reinterpret_cast<const char*>(data), static_cast<size_t>(size)});
  std::optional<std::string> result;
  if (line) result.emplace(*line);
  file.unmap(const_cast<uchar*>(data));
  return result;
}

}  // namespace presence
