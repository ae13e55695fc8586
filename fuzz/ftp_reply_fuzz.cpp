// The FTP answer reader on any line: a size it reads is a byte count or -1,
// and it reads one only from the last line of a "213", "150" or "125" answer.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/net/ftp_replies.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::optional<std::int64_t> announced = platform::AnnouncedSize(line);
  if (!announced) return 0;
  if (*announced < -1) std::abort();
  std::string_view text = line;
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n')) text.remove_suffix(1);
  const std::string_view code = text.substr(0, 3);
  if (code != "213" && code != "150" && code != "125") std::abort();
  if (text.size() > 3 && text[3] != ' ') std::abort();
  return 0;
}
