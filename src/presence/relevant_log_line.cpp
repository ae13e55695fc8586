#include "presence/relevant_log_line.h"

#include "platform/text/cp1252.h"
#include "presence/browse_url.h"

#include <algorithm>
#include <cstring>

namespace presence {
namespace {

constexpr size_t npos = std::string_view::npos;

// A Browse line that only closes the connection of the moment.
bool IsClosing(std::string_view line) {
  if (!line.starts_with(kBrowsePrefix)) return false;
  const BrowseUrl url = ParseBrowseUrl(line.substr(kBrowsePrefix.size()));
  return url.host.empty() && BrowseOption(url.options, "closed").has_value();
}

bool Counts(std::string_view line, LogFormat format) {
  if (line.starts_with(kLoadMapPrefix) || line.starts_with(kExitPrefix)) return true;
  return format == LogFormat::BrowseAndLevel && line.starts_with(kBrowsePrefix) && !IsClosing(line);
}

// Line ends are searched with memrchr and memchr, one character at a time,
// within windows of this size: a log with CR LF or LF line ends costs what
// its lines are long, and one with CR-only line ends no more than a window a
// line.
constexpr size_t kWindow = 4096;

const char* LastOf(const char* from, size_t size, char c) {
#ifdef __GLIBC__
  return static_cast<const char*>(memrchr(from, c, size));
#else
  for (size_t i = size; i > 0; --i)
    if (from[i - 1] == c) return from + i - 1;
  return nullptr;
#endif
}

// Position of the last CR or LF in text[0, end); npos when there is none.
size_t LastLineEnd(std::string_view text, size_t end) {
  while (end > 0) {
    const size_t from = end > kWindow ? end - kWindow : 0;
    const char* lf = LastOf(text.data() + from, end - from, '\n');
    const size_t afterLf = lf ? static_cast<size_t>(lf - text.data()) + 1 : from;
    if (const char* cr = LastOf(text.data() + afterLf, end - afterLf, '\r')) {
      return static_cast<size_t>(cr - text.data());
    }
    if (lf) return afterLf - 1;
    end = from;
  }
  return npos;
}

// Position of the first CR or LF in text[from, size); npos when there is none.
size_t NextLineEnd(std::string_view text, size_t from) {
  while (from < text.size()) {
    const size_t to = std::min(text.size(), from + kWindow);
    const void* lfHit = std::memchr(text.data() + from, '\n', to - from);
    const size_t lf = lfHit ? static_cast<size_t>(static_cast<const char*>(lfHit) - text.data()) : to;
    if (const void* cr = std::memchr(text.data() + from, '\r', lf - from)) {
      return static_cast<size_t>(static_cast<const char*>(cr) - text.data());
    }
    if (lfHit) return lf;
    from = to;
  }
  return npos;
}

// Where the line end that starts at `at` stops: after its CR LF, CR or LF.
size_t PastLineEnd(std::string_view text, size_t at) {
  if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') return at + 2;
  return at + 1;
}

// Where the text of the line that ends at `end` (exclusive, its line end
// included) stops.
size_t TextEnd(std::string_view text, size_t end) {
  if (end > 0 && text[end - 1] == '\n') {
    --end;
    if (end > 0 && text[end - 1] == '\r') --end;
  } else if (end > 0 && text[end - 1] == '\r') {
    --end;
  }
  return end;
}

}  // namespace

void LogReading::Follow(std::string_view line) {
  if (line.starts_with(kLevelUpPrefix)) {
    if (closed_ && !client_) {
      finished_.levelUp.reset();
    } else {
      finished_.levelUp.emplace(line);
    }
  } else if (line.starts_with(kClientNetModeLine)) {
    client_ = true;
  } else if (IsClosing(line)) {
    closed_ = true;
    client_ = false;
    finished_.levelUp.reset();
  }
}

void LogReading::Take(std::string_view text) {
  // Backwards to the last counting line: what came before it no longer matters.
  size_t follow = 0;  // where the lines to follow begin
  size_t lineEnd = TextEnd(text, text.size());
  for (;;) {
    const size_t end = LastLineEnd(text, lineEnd);
    const size_t start = end == npos ? 0 : end + 1;
    const std::string_view line = text.substr(start, lineEnd - start);
    if (Counts(line, format_)) {
      finished_.last.emplace(line);
      finished_.levelUp.reset();
      closed_ = client_ = false;
      follow = lineEnd < text.size() ? PastLineEnd(text, lineEnd) : text.size();
      break;
    }
    if (end == npos) break;
    lineEnd = TextEnd(text, end + 1);
  }
  if (format_ != LogFormat::BrowseAndLevel) return;
  // Forwards through the lines after it.
  while (follow < text.size()) {
    const size_t end = NextLineEnd(text, follow);
    Follow(text.substr(follow, (end == npos ? text.size() : end) - follow));
    if (end == npos) break;
    follow = PastLineEnd(text, end);
  }
}

void LogReading::PassOverLine(long long bytes) {
  resumeAt_ += bytes;
  passingOver_ = true;
  unfinishedExit_.reset();
}

void LogReading::Read(std::string_view more) {
  if (ended_) return;
  if (passingOver_) {
    // On to the line end or the Ctrl-Z that ends the line passed over.
    size_t end = npos;
    for (const char c : {'\r', '\n', '\x1a'}) {
      if (more.empty()) break;
      if (const void* hit = std::memchr(more.data(), c, std::min(end, more.size())))
        end = static_cast<size_t>(static_cast<const char*>(hit) - more.data());
    }
    resumeAt_ += static_cast<long long>(end == npos ? more.size() : end);
    if (end == npos) return;
    passingOver_ = false;
    more.remove_prefix(end);
  }
  // The byte at ResumeAt() follows a line end: an LF there is the second half
  // of a CR LF, or an empty line. Neither matters.
  size_t skip = resumeAt_ > 0 && more.starts_with('\n') ? 1 : 0;
  if (resumeAt_ == 0) {
    utf8_ = more.starts_with(platform::kUtf8Bom);
    if (utf8_) skip = platform::kUtf8Bom.size();
  }
  std::string_view text = more.substr(std::min(skip, more.size()));
  if (const void* z = std::memchr(text.data(), '\x1a', text.size())) {
    text = text.substr(0, static_cast<size_t>(static_cast<const char*>(z) - text.data()));
    ended_ = true;
  }
  unfinishedExit_.reset();
  const size_t end = LastLineEnd(text, text.size());
  if (end != npos) {
    Take(text.substr(0, end + 1));
    resumeAt_ += static_cast<long long>(skip + end + 1);
    text.remove_prefix(end + 1);
  }
  if (text.empty()) return;
  if (ended_) {
    Take(text);
  } else if (text.starts_with(kExitPrefix)) {
    unfinishedExit_.emplace(text);
  }
}

void LogReading::StartAt(long long lineStart, bool utf8) {
  *this = LogReading(format_);
  resumeAt_ = lineStart;
  utf8_ = utf8;
}

LogFinding LogReading::Result() const {
  LogFinding result = unfinishedExit_ ? LogFinding{unfinishedExit_, std::nullopt} : finished_;
  result.utf8 = utf8_;
  return result;
}

std::optional<std::string> LastRelevantLine(std::string_view bytes) {
  LogReading reading(LogFormat::LoadMap);
  reading.Read(bytes);
  return reading.Result().last;
}

}  // namespace presence
